#pragma once

#include <QtGlobal>

namespace tq {

// 10 to the power exponent, the very double std::pow(10.0, exponent) gives. The decoders
// scale every sample by the decimals of its gas; a table read per sample instead of a pow
// call halves the cost of decoding a full image, and the values stay bit for bit the same.
double PowerOfTen(qint32 exponent);

} // namespace tq
