#pragma once

#include <QtGlobal>

namespace tq {

class clsInterval;
class uclVtmGraph;

// The marks of an interval trend's events on the graph's series 0, at each event's time:
// every status and event word of gas slot 0 but the unit words "LEL" and "vol" ("ppm" is
// marked), written with `decimals`. The points must be on the graph first: marks are placed
// from the first point's time. The screen's graph and the printed one share it, so paper
// shows what the screen shows with "Event" ticked.
void MarkIntervalEvents(uclVtmGraph &graph, const clsInterval &log, qint16 decimals);

} // namespace tq
