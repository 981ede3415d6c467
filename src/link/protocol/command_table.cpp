#include "link/protocol/command_table.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tq {

namespace {

using O = clsInstrument::Option;
using T = clsInstrument::TextOption;
using GV = clsInstrument::GasValue;
using GI = clsInstrument::GasInteger;
using GF = clsInstrument::GasFlag;
using R = ReplyRule;
using P = PlainMember;

constexpr std::array<RangedField, 4> kBumpFields{{
    {O::BumpTime, 0, 5},
    {O::BumpThreshold, 0, 5},
    {O::BumpFailCalTime, 0, 2},
    {O::BumpFailAfter, 0, 1},
}};

constexpr std::array<RangedField, 3> kBarHoleFields{{
    {O::LcBhMode, 0, 1},
    {O::BhTime, 0, 2},
    {O::LcBuzzer, 0, 1},
}};

// The 22 reads "YA,R" to "YV,R" are accepted and store nothing.
constexpr int kIgnoredYCount = 22;
constexpr std::array<std::array<char, 4>, kIgnoredYCount> kIgnoredYCodes = [] {
    std::array<std::array<char, 4>, kIgnoredYCount> codes{};
    for (int i = 0; i < kIgnoredYCount; ++i)
        codes[i] = {'Y', static_cast<char>('A' + i), ',', 'R'};
    return codes;
}();

// clang-format off
constexpr CommandRow kRows[] = {
    // Reads.
    {"VP,R", R::Decimal, P::RomNumber},
    {"XZ,R", R::Text, T::UserID},
    {"XS,R", R::Station},
    {"IN,R", R::Text, T::SerialNo},
    {"HN,R", R::Text, T::DummySerial},
    {"BS,R", R::Text, T::SpecNo},
    {"UJ,R", R::Exact, T::SpecType},
    {"HC,R", R::Clock},
    {"VS,R", R::HexText, P::SUM},
    {"AP,R", R::Decimal, O::AlarmMode},
    {"SD,R", R::Decimal, O::DispCalLimit},
    {"SM,R", R::Decimal, O::CalCheck},
    {"XW,R", R::Decimal, O::LogOverWrite},
    {"UQ,R", R::Decimal, O::autoBackLight},
    {"AF,R", R::Decimal, O::AlarmOnOff},
    {"AM,R", R::Decimal, O::StelTwaOnOff},
    {"AT,R", R::Decimal, O::AlarmO2},
    {"LP,R", R::Decimal, O::HcMode},
    {"XP,R", R::Hex, O::Intervals},
    {"SC,R", R::Hex, O::CalLimit},
    {"XB,R", R::Hex, O::Confermation},
    {"XT,R", R::Hex, O::LcdBackLight},
    {"HF,R", R::Hex, O::pressOffset},
    {"CP,R", R::Hex, P::FlowLevel},
    {"SJ,R", R::Digit, O::AutoZero},
    {"SG,R", R::Digit, O::DemandZero},
    {"BU,R", R::Ranged, {}, 4, false, kBumpFields},
    {"WB,R", R::Ranged, {}, 3, true, kBarHoleFields},
    {"GJ,R", R::GasRecord, {}, 1, true},
    {"A1,R", R::Level, GasLevelMember{GV::Warning, GF::Warn}, 1},
    {"A2,R", R::Level, GasLevelMember{GV::Alarm, GF::Alarm}, 1},
    {"AS,R", R::Level, GasLevelMember{GV::Stel, GF::Stel}, 1},
    {"AW,R", R::Level, GasLevelMember{GV::Twa, GF::Twa}, 1},
    {"SA,R", R::Level, GasLevelMember{GV::AutoCalib, GF::AutoCal}, 1},
    {"SO,R", R::Calibration, {}, 1},
    {"UZ,R", R::FlagString, GasFlagsMember{GI::Zero, GF::Zero}},
    {"AO,R", R::FlagString, GasFlagsMember{GI::OverScale, GF::OverScale}},
    {"HA,R", R::Analog},
    {"DN,R", R::Readings},
    {"RC,R", R::Connect},
    {"SZ,R", R::Ignored, {}, 4, true},
    {"S1,R", R::Ignored, {}, 4, true},
    {"EF,R", R::DumpLine},
    {"EP,R", R::DumpLine},
    {"ES,R", R::DumpLine},
    {"UG,R", R::Ignored},
    {"BP,R", R::Ignored},

    // Writes: the detector echoes the value it now holds.
    {"XZ,W", R::Text, T::UserID},
    {"IN,W", R::Text, T::SerialNo},
    {"HN,W", R::Text, T::DummySerial},
    {"BS,W", R::Text, T::SpecNo},
    {"UJ,W", R::Exact, T::SpecType},
    {"AP,W", R::Decimal, O::AlarmMode},
    {"SM,W", R::Decimal, O::CalCheck},
    {"XW,W", R::Decimal, O::LogOverWrite},
    {"UQ,W", R::Decimal, O::autoBackLight},
    {"AF,W", R::Decimal, O::AlarmOnOff},
    {"AM,W", R::Decimal, O::StelTwaOnOff},
    {"AT,W", R::Decimal, O::AlarmO2},
    {"LP,W", R::Decimal, O::HcMode},
    {"XP,W", R::Hex, O::Intervals},
    {"SC,W", R::Hex, O::CalLimit},
    {"XB,W", R::Hex, O::Confermation},
    {"XT,W", R::Hex, O::LcdBackLight},
    {"HF,W", R::Hex, O::pressOffset},
    {"CP,W", R::Hex, P::FlowLevel},
    {"SD,W", R::Digit, O::DispCalLimit},
    {"SJ,W", R::Digit, O::AutoZero},
    {"SG,W", R::Digit, O::DemandZero},
    {"A1,W", R::Level, {}, 1},
    {"A2,W", R::Level, {}, 1},
    {"AS,W", R::Level, {}, 1},
    {"AW,W", R::Level, {}, 1},
    {"SA,W", R::Level, {}, 1},
    {"HC,W", R::FrameEcho},
    {"SZ,W", R::AckEcho},
    {"DW,W", R::AckEcho},
    {"XC,W", R::AckEcho},
    {"XY,W", R::AckEcho},
    {"RO,W", R::AckEcho},
    {"UX,W", R::AckEcho},
    {"UD,W", R::AckEcho},
    {"UP,W", R::AckEcho},
    {"UZ,W", R::LengthEcho},
    {"XS,W", R::Ignored},
    {"GJ,W", R::Ignored},
    {"UG,W", R::Ignored},
    {"BU,W", R::Ignored},
    {"WB,W", R::Ignored},
    {"S2,W", R::Ignored},
    {"BP,W", R::Ignored},

    // Confirms and calibration status.
    {"XC,C", R::ConfirmAck},
    {"XY,C", R::ConfirmAck},
    {"UX,C", R::ConfirmAck},
    {"SZ,C", R::ZeroConfirm},
    {"S1,W", R::SpanStatus},
    {"S2,C", R::SpanStatus},
};
// clang-format on

std::vector<CommandRow> buildTable() {
    std::vector<CommandRow> rows(std::begin(kRows), std::end(kRows));
    for (const auto &code : kIgnoredYCodes)
        rows.push_back({std::string_view(code.data(), code.size()), R::Ignored});
    return rows;
}

} // namespace

std::span<const CommandRow> CommandTable() {
    static const std::vector<CommandRow> rows = buildTable();
    return rows;
}

const CommandRow *FindCommand(QStringView code) {
    const std::span<const CommandRow> rows = CommandTable();
    const auto found = std::find_if(rows.begin(), rows.end(), [code](const CommandRow &row) {
        return code == QLatin1String(row.code.data(), qsizetype(row.code.size()));
    });
    return found == rows.end() ? nullptr : &*found;
}

} // namespace tq
