#pragma once

#include "graph/graph_model.h"

#include <QtGlobal>

#include <span>
#include <vector>

namespace tq {

// The samples of a trend that a curve draws, in time order. A run of equal values is drawn
// as its first and its last sample (the change points). When more change points remain than
// `maxPoints`, the curve is thinned over the whole log, not cut short: the first and the
// last sample stay, and the change points between them are split into equal groups, each
// keeping its lowest and its highest value, so every peak and dip of the log stays visible.
// The graph and the printout draw through this one rule.
std::vector<qint32> ThinTrendSamples(std::span<const float> values,
                                     qint32 maxPoints = kGraphMaxSample + 1);

} // namespace tq
