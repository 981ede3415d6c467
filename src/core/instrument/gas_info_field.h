#pragma once

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

namespace tq {

class clsInstrument;

// The detector's 25-character description of a gas slot:
//   name (10, blank-padded) | one unused character | full scale (5) | resolution (5) | unit (4)
// The full scale's number of decimals is the gas's number of decimals.
inline constexpr qsizetype kGasInfoFieldLength = 25;

struct GasInfoPart {
    qsizetype start; // 0-based
    qsizetype length;
};
inline constexpr GasInfoPart kGasInfoName{0, 10};
inline constexpr GasInfoPart kGasInfoFullScale{11, 5};
inline constexpr GasInfoPart kGasInfoResolution{16, 5};
inline constexpr GasInfoPart kGasInfoUnit{21, 4};

// The field of a slot that holds no gas.
inline constexpr QLatin1String kNoGasInfoField{"*************************"};
static_assert(kNoGasInfoField.size() == kGasInfoFieldLength);

// Stores `field` into gas slot `slot` of `instrument` through its setters, so their change
// flags rise. The no-gas field empties name and unit, disables the slot and sets full scale
// and decimals to -101 and the resolution to 0. A full scale or resolution that is not a
// number throws TqError(TypeMismatch) (one beyond a Single's range TqError(Overflow)) after
// the name and the enabled flag have been set.
void SetGasInfo(const QString &field, clsInstrument &instrument, qint16 slot);

// The field for a gas: the name blank-padded (or cut) to the ten name characters and the
// unused one, each number text (FormatValue5 gives five characters) right-aligned in its
// five, and the unit blank-padded (or cut) to four.
QString MakeGasInfoField(const QString &name, const QString &fullScaleText,
                         const QString &resolutionText, const QString &unit);

} // namespace tq
