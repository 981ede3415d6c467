#include "core/instrument/gas_info_field.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/instrument/clsInstrument.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tq {

namespace {

QString part(const QString &field, GasInfoPart where) {
    return field.mid(where.start, where.length);
}

float fieldNumber(const QString &text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        throw TqError(ErrorKind::TypeMismatch,
                      QStringLiteral("Gas information is not a number: \"%1\"").arg(text));
    }
    if (std::fabs(*value) > std::numeric_limits<float>::max()) {
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("Gas information out of range: \"%1\"").arg(text));
    }
    return static_cast<float>(*value);
}

} // namespace

void SetGasInfo(const QString &field, clsInstrument &instrument, qint16 slot) {
    if (field == kNoGasInfoField) {
        instrument.setGasName(slot, QString());
        instrument.setGasUnit(slot, QString());
        instrument.setGasEnabled(slot, false);
        instrument.setGasFullScale(slot, ReadingCode::NoValue);
        instrument.setGasDesit(slot, 0.0f);
        instrument.setGasPoint(slot, ReadingCode::NoValue);
        return;
    }
    instrument.setGasName(slot, part(field, kGasInfoName).trimmed());
    instrument.setGasEnabled(slot, true);
    const QString fullScale = part(field, kGasInfoFullScale);
    instrument.setGasFullScale(slot, fieldNumber(fullScale));
    instrument.setGasDesit(slot, fieldNumber(part(field, kGasInfoResolution)));
    instrument.setGasPoint(slot, CountDecimals(fullScale));
    instrument.setGasUnit(slot, part(field, kGasInfoUnit).trimmed());
}

QString MakeGasInfoField(const QString &name, const QString &fullScaleText,
                         const QString &resolutionText, const QString &unit) {
    return name.leftJustified(kGasInfoFullScale.start, u' ', true) +
           fullScaleText.rightJustified(kGasInfoFullScale.length, u' ', true) +
           resolutionText.rightJustified(kGasInfoResolution.length, u' ', true) +
           unit.leftJustified(kGasInfoUnit.length, u' ', true);
}

} // namespace tq
