#include "ui/instrument/rules/alarm_checks.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/instrument/clsInstrument.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tq {

namespace {

constexpr float kNotSet = -101.0f;

// The warning threshold of a slot whose warning level is not set.
float defaultThreshold(qint16 slot) {
    switch (slot) {
    case 0:
    case 2:
        return 10.0f;
    case 1:
        return 19.5f;
    case 3:
        return 25.0f;
    default:
        return 0.0f;
    }
}

using GasValue = clsInstrument::GasValue;

GasValue columnValue(int column) {
    switch (column) {
    case kWarningColumn:
        return GasValue::Warning;
    case kAlarmColumn:
        return GasValue::Alarm;
    case kStelColumn:
        return GasValue::Stel;
    case kTwaColumn:
        return GasValue::Twa;
    default:
        return GasValue::AutoCalib;
    }
}

bool clearable(int column) {
    return column == kStelColumn || column == kTwaColumn || column == kAutoCalColumn;
}

// The typed value on the gas's grid: whole steps of its resolution, or its decimals when
// it has none. nullopt for a negative value or more steps than 16 bits hold.
std::optional<float> roundTyped(const clsInstrument &instrument, qint16 slot, double typed) {
    if (typed < 0)
        return std::nullopt;
    const float step = instrument.GasDesit(slot);
    try {
        if (step > 0)
            return RoundToStep(static_cast<float>(typed), step);
        const double scale = std::pow(10.0, std::max<qint16>(instrument.GasPoint(slot), 0));
        return static_cast<float>(RoundToWhole<qint32>(typed * scale) / scale);
    } catch (const TqError &) {
        return std::nullopt;
    }
}

// Stores the value and gives the text the cell shows for what was stored.
AlarmEdit storeAndShow(clsInstrument &instrument, qint16 slot, int column, float value) {
    instrument.setGasValue(columnValue(column), slot, value);
    return {false, FormatGasValue(instrument.gasValue(columnValue(column), slot),
                                  instrument.GasPoint(slot))};
}

} // namespace

bool IsOxygenGas(const clsInstrument &instrument, qint16 slot) {
    const QString name = instrument.GasName(slot);
    return name == QLatin1String("O2") || name == QLatin1String("OXY");
}

bool FallingAlarms(const clsInstrument &instrument) {
    if (instrument.AlarmO2() == 0)
        return false;
    for (qint16 slot = 0; slot < clsInstrument::kGasSlotCount; ++slot) {
        if (IsOxygenGas(instrument, slot))
            return true;
    }
    return false;
}

bool CheckAutoCalRange(const clsInstrument &instrument, qint16 slot, float value) {
    if (value < 0)
        return true;
    const float warning = instrument.Warning(slot);
    const float threshold = warning >= 0 ? warning : defaultThreshold(slot);
    return IsOxygenGas(instrument, slot) ? value <= threshold : value >= threshold;
}

ValueRange AcceptedRange(const clsInstrument &instrument, qint16 slot, int column) {
    const float warning = instrument.Warning(slot);
    const float alarm = instrument.Alarm(slot);
    const float fullScale = instrument.GasFullScale(slot);
    const bool falling = FallingAlarms(instrument);
    switch (column) {
    case kWarningColumn:
        return falling ? ValueRange{alarm, fullScale} : ValueRange{0, alarm};
    case kAlarmColumn:
        return falling ? ValueRange{0, warning} : ValueRange{warning, fullScale};
    case kStelColumn:
    case kTwaColumn:
        return {0, fullScale};
    case kAutoCalColumn: {
        const float threshold = warning >= 0 ? warning : defaultThreshold(slot);
        return IsOxygenGas(instrument, slot) ? ValueRange{0, std::min(threshold, fullScale)}
                                             : ValueRange{threshold, fullScale};
    }
    default:
        return {1, 0};
    }
}

bool CheckAlarmValue(const clsInstrument &instrument, qint16 slot, float value, int column) {
    if (column < kWarningColumn || column > kTwaColumn)
        return false;
    const ValueRange range = AcceptedRange(instrument, slot, column);
    return value >= range.low && value <= range.high;
}

bool CheckAlarmOrder(const clsInstrument &instrument, qint16 slot) {
    const float warning = instrument.Warning(slot);
    const float alarm = instrument.Alarm(slot);
    if (warning < 0 || alarm < 0)
        return true;
    const bool falling = (slot == 1 && instrument.AlarmO2() != 0) || FallingAlarms(instrument);
    return falling ? warning >= alarm : warning <= alarm;
}

AlarmEdit EditAlarmValue(clsInstrument &instrument, qint16 slot, int column, const QString &text) {
    const QString dashes = FormatGasValue(kNotSet, 0);
    if (text.trimmed().isEmpty()) {
        if (!clearable(column))
            return {true, dashes, AlarmRefusal::Blank};
        instrument.setGasValue(columnValue(column), slot, kNotSet);
        return {false, dashes};
    }
    const std::optional<double> typed = ParseNumber(text);
    if (!typed) {
        if (text.contains(QLatin1String("--")) && clearable(column))
            return storeAndShow(instrument, slot, column, kNotSet);
        return {true, text, AlarmRefusal::NotANumber};
    }
    if (column < kWarningColumn || column > kAutoCalColumn)
        return {false, text};
    const ValueRange range = AcceptedRange(instrument, slot, column);
    const AlarmEdit outOfRange{true, text, AlarmRefusal::OutOfRange};
    // The concentration is judged as typed, the levels as stored on the gas's grid.
    const float typedValue = static_cast<float>(*typed);
    if (typedValue < 0 ||
        (column == kAutoCalColumn && (typedValue < range.low || typedValue > range.high)))
        return outOfRange;
    const std::optional<float> value = roundTyped(instrument, slot, *typed);
    if (!value)
        return typedValue > range.high ? outOfRange : AlarmEdit{true, text, AlarmRefusal::TooFine};
    if (column != kAutoCalColumn && !CheckAlarmValue(instrument, slot, *value, column))
        return outOfRange;
    return storeAndShow(instrument, slot, column, *value);
}

} // namespace tq
