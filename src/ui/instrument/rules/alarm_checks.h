#pragma once

#include <QString>
#include <QtGlobal>

namespace tq {

class clsInstrument;

// The rules that judge the alarm levels and the auto-calibration concentration of the
// connected detector. They read the values stored in the instrument, never a grid, so a
// value must be stored before it is judged against its neighbours.

// Columns of the Set page's alarm grid; the row of gas slot n is n + 2.
enum AlarmColumn : int {
    kWarningColumn = 1,
    kAlarmColumn = 2,
    kStelColumn = 3,
    kTwaColumn = 4,
    kAutoCalColumn = 5,
};
inline constexpr int kFirstGasRow = 2;

// True when the slot's gas is named exactly "O2" or "OXY" (case and blanks count).
bool IsOxygenGas(const clsInstrument &instrument, qint16 slot);
// True when the detector's alarms fall (L-LL type) and an oxygen gas sits on a slot: the
// warning then lies above the alarm.
bool FallingAlarms(const clsInstrument &instrument);

// A concentration below 0 (not set) passes; otherwise it must reach the slot's warning
// level (or the slot's default threshold while no warning is set), or stay at or below
// it for an oxygen gas.
bool CheckAutoCalRange(const clsInstrument &instrument, qint16 slot, float value);
// The value lies within the column's range (bounds included): Warning 0 to Alarm, Alarm
// Warning to full scale, STEL and TWA 0 to full scale; with falling alarms Warning runs
// from Alarm to full scale and Alarm from 0 to Warning. Any other column: false.
bool CheckAlarmValue(const clsInstrument &instrument, qint16 slot, float value, int column);
// Warning and alarm stand in the right order (equal passes; an unset level passes).
bool CheckAlarmOrder(const clsInstrument &instrument, qint16 slot);

// The values a column of the gas row accepts, bounds included: the level columns as
// CheckAlarmValue judges them, Auto Cal. from the slot's warning threshold to the full
// scale (from 0 up to the threshold for an oxygen gas). Low above high: none fits.
struct ValueRange {
    float low = 0;
    float high = 0;
};
ValueRange AcceptedRange(const clsInstrument &instrument, qint16 slot, int column);

// Why a typed text was refused.
enum class AlarmRefusal {
    None,
    Blank,      // Warning and Alarm cannot be cleared
    NotANumber, // neither a number nor a clearing "--"
    OutOfRange, // outside AcceptedRange
    TooFine,    // inside the range, but more steps of the resolution than 16 bits hold
};

// The outcome of a text typed into a level cell: either refused (with the reason, the
// editor text the typed one) or accepted with the text the cell shows.
struct AlarmEdit {
    bool cancel = false;
    QString editText;
    AlarmRefusal refusal = AlarmRefusal::None;
};
// Judges the text typed into a level or Auto Cal. cell of gas slot `slot`, stores an
// accepted value in the instrument (raising its change flag) and gives the cell's text.
// A blank STEL, TWA or Auto Cal. cell, or one holding "--", clears the value (-101).
// Negative numbers and values of more than 32767 steps are refused; a gas without a
// resolution rounds to its decimals.
AlarmEdit EditAlarmValue(clsInstrument &instrument, qint16 slot, int column, const QString &text);

} // namespace tq
