#include "logs/trend/powers_of_ten.h"

#include "logs/trend/flash_image.h"
#include "logs/trend/run_length.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace tq {
namespace {

// The call the table replaced, made at run time so that the compiler cannot fold it into a
// constant of its own rounding.
double powerByCall(qint32 exponent) {
    volatile qint32 e = exponent;
    return std::pow(10.0, e);
}

// Every exponent the decoders can meet (a gas's decimals are four bits, and their negatives),
// and some beyond: the same double to the last bit.
TEST(PowersOfTenTest, EveryExponentIsTheDoubleOfThePowCall) {
    for (qint32 exponent = -20; exponent <= 20; ++exponent)
        EXPECT_EQ(std::bit_cast<quint64>(PowerOfTen(exponent)),
                  std::bit_cast<quint64>(powerByCall(exponent)))
            << "10^" << exponent;
    EXPECT_EQ(PowerOfTen(101), powerByCall(101));
}

// The decoded samples stay bit for bit what the pow call gave, for every decimals and raw
// values across the pair range (the codes DD, FE, FF in the high byte excluded).
TEST(PowersOfTenTest, DecodedValuesAreThoseOfThePowCall) {
    const quint16 raws[] = {0, 1, 5, 7, 10, 99, 123, 500, 4999, 0x7FFF, 0x8001, 0xABCD, 0xDCFF};
    for (qint32 decimals = 0; decimals <= 15; ++decimals) {
        for (const quint16 raw : raws) {
            SCOPED_TRACE(testing::Message() << "raw " << raw << ", decimals " << decimals);
            QByteArray pair;
            pair.append(char(raw >> 8)).append(char(raw & 0xFF));
            EXPECT_EQ(std::bit_cast<quint32>(ReadCodedValue(pair, 0, decimals)),
                      std::bit_cast<quint32>(static_cast<float>(raw / powerByCall(decimals))));
            const QString digits = QStringLiteral("%1").arg(raw, 4, 16, QLatin1Char('0'));
            const double signedValue = static_cast<qint16>(raw) * powerByCall(-decimals);
            EXPECT_EQ(std::bit_cast<quint32>(HexSampleValue(digits, true, qint16(decimals))),
                      std::bit_cast<quint32>(static_cast<float>(signedValue)));
        }
    }
}

} // namespace
} // namespace tq
