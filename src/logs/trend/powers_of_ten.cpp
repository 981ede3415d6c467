#include "logs/trend/powers_of_ten.h"

#include <array>
#include <cmath>

namespace tq {

namespace {

// A gas's decimals are the low four bits of its format byte, so samples are scaled by
// 10^0 … 10^15 or their reciprocals.
constexpr qint32 kLargestExponent = 15;

// Filled by std::pow itself, so the table cannot differ from the call it replaces.
std::array<double, 2 * kLargestExponent + 1> makeTable() {
    std::array<double, 2 * kLargestExponent + 1> table{};
    for (qint32 exponent = -kLargestExponent; exponent <= kLargestExponent; ++exponent)
        table[exponent + kLargestExponent] = std::pow(10.0, exponent);
    return table;
}

} // namespace

double PowerOfTen(qint32 exponent) {
    static const std::array<double, 2 *kLargestExponent + 1> table = makeTable();
    if (exponent < -kLargestExponent || exponent > kLargestExponent)
        return std::pow(10.0, exponent);
    return table[exponent + kLargestExponent];
}

} // namespace tq
