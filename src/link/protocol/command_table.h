#pragma once

#include "core/instrument/clsInstrument.h"

#include <QStringView>

#include <span>
#include <string_view>
#include <variant>

namespace tq {

// How the parser checks a reply and what it stores. The field-format rules (Text to
// Level) work both ways: a read reply ("..,R") stores the field into the row's member, a
// write reply ("..,W") is accepted when its echo matches the member.
enum class ReplyRule {
    Text,        // read: trimmed text; write: trimmed texts equal
    Exact,       // read: "0" or "1", stored as text; write: equal character for character
    Decimal,     // read: numeric, rounded into the member; write: numeric and equal
    Hex,         // read: valid hex into the member; write: valid hex and equal
    Digit,       // read: numeric, 1 when it starts with "1" else 0; write: "1" for non-zero, "0"
    Level,       // read: "*****" or numeric into a gas level; write: the same form, not compared
    HexText,     // valid hex, stored as received
    Station,     // station index (hex, or "****" for the station ID) and name
    Clock,       // YYMMDDhhnnss: the detector's clock and its offset from the PC's
    Ranged,      // decimal fields, each stored only when in its range
    GasRecord,   // the 25-character gas field of slot 0
    Calibration, // the 22-character latest-calibration record of slot 0
    FlagString,  // four flag characters, one per gas slot
    Analog,      // eight hex analog values and one hex single
    Readings,    // current readings; raises Densty
    Connect,     // the connect poll's answer names the model
    DumpLine,    // hex memory lines into the dump-list page
    FrameEcho,   // the whole reply equals the frame sent
    AckEcho,     // ACK in the data position
    LengthEcho,  // field 1 has exactly four characters
    ConfirmAck,  // always accepted; records whether ACK came
    ZeroConfirm, // the zero-calibration status, or SUB while busy
    SpanStatus,  // always accepted; records the one-character span status
    Ignored,     // accepted, nothing stored
};

// Settings members that live outside the model's option and text tables.
enum class PlainMember { RomNumber, SUM, FlowLevel };

struct GasLevelMember {
    clsInstrument::GasValue value;
    clsInstrument::GasFlag flag;
};
struct GasFlagsMember {
    clsInstrument::GasInteger value;
    clsInstrument::GasFlag flag;
};

// The member a row fills or compares with (none for most special rules).
using ReplyMember = std::variant<std::monostate, clsInstrument::Option, clsInstrument::TextOption,
                                 PlainMember, GasLevelMember, GasFlagsMember>;

// One decimal field of a Ranged row.
struct RangedField {
    clsInstrument::Option member;
    qint16 min;
    qint16 max;
};

struct CommandRow {
    std::string_view code; // "AP,R": two letters, a comma, R, W or C
    ReplyRule rule;
    ReplyMember member = {};
    // The exact number of fields the reply must have (0: not checked), and whether a wrong
    // count is logged as a format error (otherwise it is rejected silently).
    int fieldCount = 0;
    bool countIsFormatError = false;
    std::span<const RangedField> ranged = {};

    bool isRead() const { return code.size() == 4 && code[3] == 'R'; }
};

// Every command code the parser knows, one row each.
std::span<const CommandRow> CommandTable();

// The row of a command code (compared exactly), or nullptr.
const CommandRow *FindCommand(QStringView code);

} // namespace tq
