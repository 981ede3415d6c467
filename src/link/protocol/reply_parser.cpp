#include "link/protocol/reply_parser.h"

#include "core/clsToken.h"
#include "core/instrument/gas_info_field.h"
#include "core/messages.h"
#include "link/protocol/command_table.h"
#include "link/protocol/frame.h"
#include "link/protocol/reply_fields.h"

#include <QDate>

#include <algorithm>
#include <limits>

namespace tq {

namespace {

constexpr qsizetype kShortestFrame = 15;
constexpr qsizetype kDataPosition = 10; // 0-based: STX, "0001", "XX,R", ","
constexpr const char *kFormatError = "<<< Format error >>>";
constexpr const char *kResponseError = "<<< Response error >>>";
constexpr const char *kChecksumError = "<<< Checksum error >>>";
constexpr qsizetype kGasRecordLength = 25;
constexpr qsizetype kCalibrationLength = 22;
constexpr qsizetype kFlagCount = 4;
constexpr qsizetype kDumpLineDigits = 32;
constexpr const char *kModelName = "TQ-6200";

template <typename F, typename... Args> void notify(const F &callback, Args &&...args) {
    if (callback)
        callback(std::forward<Args>(args)...);
}

// --- Members of a row ------------------------------------------------------------------

bool isWide(const ReplyMember &member) {
    return std::holds_alternative<PlainMember>(member);
}

qint64 integerOf(const clsInstrument &instrument, const ReplyMember &member) {
    if (const auto *option = std::get_if<clsInstrument::Option>(&member))
        return instrument.option(*option);
    return std::get<PlainMember>(member) == PlainMember::FlowLevel ? instrument.FlowLevel()
                                                                   : instrument.RomNumber();
}

// Stores the value and clears the member's change flag.
void storeInteger(clsInstrument &instrument, const ReplyMember &member, qint32 value) {
    if (const auto *option = std::get_if<clsInstrument::Option>(&member)) {
        instrument.setOption(*option, static_cast<qint16>(value));
        instrument.setChangeFlag(*option, false);
    } else if (std::get<PlainMember>(member) == PlainMember::FlowLevel) {
        instrument.setFlowLevel(value);
        instrument.setChange_FlowLevel(false);
    } else {
        instrument.setRomNumber(value);
    }
}

QString textOf(const clsInstrument &instrument, const ReplyMember &member) {
    if (const auto *text = std::get_if<clsInstrument::TextOption>(&member))
        return instrument.text(*text);
    return instrument.SUM();
}

void storeText(clsInstrument &instrument, const ReplyMember &member, const QString &value) {
    if (const auto *text = std::get_if<clsInstrument::TextOption>(&member)) {
        instrument.setText(*text, value);
        instrument.setChangeFlag(*text, false);
    } else {
        instrument.setSUM(value);
    }
}

qint32 decimalValue(const ReplyMember &member, const QString &field) {
    return isWide(member) ? DecimalField<qint32>(field) : DecimalField<qint16>(field);
}

qint32 hexValue(const ReplyMember &member, const QString &field) {
    return isWide(member) ? HexField32(field) : HexField16(field);
}

// Two characters of a record as a whole number, or nullopt when they are not numeric.
std::optional<qint16> recordNumber(const QString &record, qsizetype start) {
    const QString part = record.mid(start, 2);
    if (!IsNumericField(part))
        return std::nullopt;
    return DecimalField<qint16>(part);
}

// The calibration values of a record: -101 for stars or anything that is not a number.
float calibrationValue(const QString &record, qsizetype start) {
    const QString part = record.mid(start, 5);
    if (part.contains(QLatin1Char('*')) || !IsNumericField(part))
        return ReadingCode::NoValue;
    return ParseGasValue(part);
}

} // namespace

// One reply being applied.
struct ReplyParser::Reply {
    const QByteArray &frame; // with CR already turned into ","
    char dataPosition;
    const clsToken &fields;
    // Set by the rules that accept a reply before converting its fields: a conversion
    // failure after that point still leaves the reply accepted.
    bool accepted = false;

    QString field(int n) const { return fields.Tokens(n - 1); }
};

bool ReplyParser::ParseReply(QByteArray &frame) {
    if (frame.size() < kShortestFrame)
        return reject(kFormatError);
    if (!FrameChecksumValid(frame))
        return reject(kChecksumError);
    const char dataPosition = frame.at(kDataPosition);
    frame.replace(Ctrl::CR, ',');
    // NAK in place of the data is the detector refusing the command, whatever its code:
    // nothing of it is stored, and the link asks again or gives up.
    if (dataPosition == Ctrl::NAK)
        return reject(kResponseError);

    // "0001", the code, ",", the data; the checksum digits come last. Only ASCII is left.
    const QByteArray text = StripControlChars(frame);
    const QByteArray body = text.left(std::max<qsizetype>(text.size() - 2, 0)).mid(4);
    const QString code = QString::fromLatin1(body.left(4));

    clsToken fields;
    fields.AddDelimiters(QStringLiteral("\r"));
    fields.AddDelimiters(QStringLiteral(","));
    try {
        fields.setSource(QString::fromLatin1(body.mid(5)));
    } catch (const TqError &) {
        return false; // more fields than a reply can hold
    }

    const CommandRow *row = FindCommand(code);
    if (!row)
        return true;
    if (row->fieldCount != 0 && fields.TokenCount() != row->fieldCount)
        return row->countIsFormatError ? reject(kFormatError) : false;

    Reply reply{frame, dataPosition, fields};
    try {
        return apply(*row, reply);
    } catch (const TqError &) {
        return reply.accepted;
    }
}

bool ReplyParser::apply(const CommandRow &row, Reply &reply) {
    switch (row.rule) {
    case ReplyRule::Text:
    case ReplyRule::Exact:
    case ReplyRule::Decimal:
    case ReplyRule::Hex:
    case ReplyRule::Digit:
    case ReplyRule::Level:
    case ReplyRule::HexText:
        return applyField(row, reply);
    case ReplyRule::Station:
        return applyStation(reply);
    case ReplyRule::Clock:
        return applyClock(reply);
    case ReplyRule::Ranged:
        return applyRanged(row, reply);
    case ReplyRule::GasRecord:
        return applyGasRecord(reply);
    case ReplyRule::Calibration:
        return applyCalibration(reply);
    case ReplyRule::FlagString:
        return applyFlagString(row, reply);
    case ReplyRule::Analog:
        return applyAnalog(reply);
    case ReplyRule::Readings:
        return applyReadings(reply);
    case ReplyRule::Connect:
        return applyConnect(reply);
    case ReplyRule::DumpLine:
        return applyDumpLine(reply);
    case ReplyRule::FrameEcho:
        return reply.frame == m_context.LastSentFrame || reject(kResponseError);
    case ReplyRule::AckEcho:
        return reply.dataPosition == Ctrl::ACK || reject(kResponseError);
    case ReplyRule::LengthEcho:
        return reply.field(1).size() == kFlagCount || reject(kResponseError);
    case ReplyRule::ConfirmAck:
        m_context.ConfirmAcknowledged = reply.dataPosition == Ctrl::ACK;
        return true;
    case ReplyRule::ZeroConfirm:
        return applyZeroConfirm(reply);
    case ReplyRule::SpanStatus: {
        const QString status = reply.field(1).trimmed();
        m_context.SpanStatusText = status.size() == 1 ? status : QString();
        return true;
    }
    case ReplyRule::Ignored:
        return true;
    }
    return true;
}

// The field-format rules: a read stores field 1, a write compares its echo.
bool ReplyParser::applyField(const CommandRow &row, Reply &reply) {
    return row.isRead() ? storeField(row, reply) : echoMatches(row, reply.field(1));
}

bool ReplyParser::echoMatches(const CommandRow &row, const QString &echo) const {
    const ReplyMember &member = row.member;
    switch (row.rule) {
    case ReplyRule::Text:
        return textOf(instrument(), member).trimmed() == echo.trimmed();
    case ReplyRule::Exact:
        return textOf(instrument(), member) == echo;
    case ReplyRule::Decimal: {
        const std::optional<double> value = NumericField(echo);
        return value && *value == double(integerOf(instrument(), member));
    }
    case ReplyRule::Hex:
        return IsHexField(echo) && hexValue(member, echo) == integerOf(instrument(), member);
    case ReplyRule::Digit: {
        const bool raised = integerOf(instrument(), member) != 0;
        return IsNumericField(echo) && echo.trimmed() == QLatin1String(raised ? "1" : "0");
    }
    default: // Level: the form alone, the value is not compared
        return IsLevelField(echo);
    }
}

bool ReplyParser::storeField(const CommandRow &row, Reply &reply) {
    const QString field = reply.field(1);
    const ReplyMember &member = row.member;
    switch (row.rule) {
    case ReplyRule::Text:
        storeText(instrument(), member, field.trimmed());
        return true;
    case ReplyRule::Exact:
        if (field != QLatin1String("0") && field != QLatin1String("1"))
            return false;
        storeText(instrument(), member, field);
        return true;
    case ReplyRule::Decimal:
        if (!IsNumericField(field))
            return false;
        storeInteger(instrument(), member, decimalValue(member, field));
        return true;
    case ReplyRule::Hex:
        if (!IsHexField(field))
            return false;
        storeInteger(instrument(), member, hexValue(member, field));
        return true;
    case ReplyRule::Digit:
        if (!IsNumericField(field))
            return false;
        storeInteger(instrument(), member, field.startsWith(QLatin1Char('1')) ? 1 : 0);
        return true;
    case ReplyRule::HexText:
        if (!IsHexField(field))
            return false;
        storeText(instrument(), member, field);
        return true;
    default: { // Level
        if (!IsLevelField(field))
            return false;
        reply.accepted = true;
        const auto level = std::get<GasLevelMember>(member);
        instrument().setGasValue(level.value, 0, ParseGasValue(field));
        instrument().setGasChangeFlag(level.flag, 0, false);
        return true;
    }
    }
}

bool ReplyParser::applyStation(const Reply &reply) {
    const QString index = reply.field(1);
    const QString name = reply.field(2);
    if (index == QLatin1String("****")) {
        instrument().setStationID(name.trimmed());
        instrument().setChange_StationID(false);
    } else {
        const qint16 station = HexField16(index);
        instrument().setStationList(station, name);
        instrument().setChange_StationList(station, false);
    }
    return true;
}

bool ReplyParser::applyClock(const Reply &reply) {
    const QString digits = reply.field(1);
    if (digits.size() != 12)
        return false;
    std::optional<Date> clock;
    if (std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); })) {
        const auto part = [&digits](int i) { return digits.mid(2 * i, 2).toInt(); };
        clock = Date::tryFromParts(2000 + part(0), part(1), part(2), part(3), part(4), part(5));
    }
    if (!clock) {
        instrument().setFailLine(QStringLiteral("HC,R"));
        notify(m_context.AddLog, QStringLiteral("<<< improper date at HC >>> ") + digits);
        return false;
    }
    instrument().setSysDate(*clock);
    instrument().setSysDateOffset(Date(m_context.Now().days() - clock->days()));
    return true;
}

bool ReplyParser::applyRanged(const CommandRow &row, const Reply &reply) {
    for (qsizetype i = 0; i < qsizetype(row.ranged.size()); ++i) {
        const RangedField &ranged = row.ranged[i];
        const qint16 value = DecimalField<qint16>(reply.field(int(i) + 1));
        if (value < ranged.min || value > ranged.max)
            continue;
        instrument().setOption(ranged.member, value);
        instrument().setChangeFlag(ranged.member, false);
    }
    return true;
}

bool ReplyParser::applyGasRecord(const Reply &reply) {
    const QString record = reply.field(1);
    if (record.size() != kGasRecordLength)
        return false;
    SetGasInfo(record, instrument(), 0);
    instrument().setChange_GasEnable(0, false);
    return true;
}

bool ReplyParser::applyCalibration(const Reply &reply) {
    const QString record = reply.field(1);
    if (record.size() != kCalibrationLength)
        return false;
    clsInstrument &target = instrument();
    const auto year = recordNumber(record, 0);
    const auto month = recordNumber(record, 2);
    const auto day = recordNumber(record, 4);
    if (year && month && day) {
        // Months and days out of range carry over, as date arithmetic does.
        const QDate date = QDate(2000 + *year, 1, 1).addMonths(*month - 1).addDays(*day - 1);
        target.setCalibDate(0, Date::fromDateTime(date));
    }
    const auto hour = recordNumber(record, 6);
    const auto minute = recordNumber(record, 8);
    const auto second = recordNumber(record, 10);
    if (hour && minute && second)
        target.setCalibDate(0, target.CalibDate(0).addSeconds(qint64(*hour) * 3600 +
                                                              qint64(*minute) * 60 + *second));
    target.setCalibBefore(0, calibrationValue(record, 12));
    target.setCalibAfter(0, calibrationValue(record, 17));
    return true;
}

bool ReplyParser::applyFlagString(const CommandRow &row, Reply &reply) {
    const QString flags = reply.field(1);
    if (flags.size() != kFlagCount)
        return reject(kFormatError);
    reply.accepted = true;
    const auto member = std::get<GasFlagsMember>(row.member);
    for (qint16 slot = 0; slot < kFlagCount; ++slot) {
        const QChar flag = flags.at(slot);
        if (!flag.isDigit()) {
            reply.accepted = false; // the other slots are still taken
            continue;
        }
        instrument().setGasInteger(member.value, slot, flag == QLatin1Char('1') ? 1 : 0);
        instrument().setGasChangeFlag(member.flag, slot, false);
    }
    return reply.accepted;
}

bool ReplyParser::applyAnalog(const Reply &reply) {
    constexpr int kHexValues = 8;
    for (int k = 0; k < kHexValues; ++k) {
        const QString field = reply.field(k + 1);
        if (IsHexField(field))
            instrument().setAnalogValue(qint16(k), HexField16(field));
    }
    const QString single = reply.field(kHexValues + 1);
    if (IsHexField(single))
        instrument().setAdrealValue(HexToSingle(single));
    return true;
}

bool ReplyParser::applyReadings(const Reply &reply) {
    std::array<float, 5> values{};
    for (int channel = 0; channel < int(values.size()); ++channel) {
        const QString field = reply.field(channel + 1);
        const bool numeric = IsNumericField(field);
        if (channel < clsInstrument::kLimitCount) {
            if (numeric)
                instrument().setLimitValue(qint16(channel), ParseGasValue(field));
            values[channel] = instrument().LimitValue(qint16(channel));
        } else {
            values[channel] = numeric ? ParseGasValue(field) : float(ReadingCode::NoValue);
        }
    }
    notify(m_context.Densty, values);
    return true;
}

bool ReplyParser::applyConnect(Reply &reply) {
    if (!reply.frame.contains(kModelName))
        return false;
    reply.accepted = true;
    if (m_context.LinkState != LinkStateCode::Connected) {
        m_context.LinkState = LinkStateCode::Connected;
        notify(m_context.OnConnect);
        notify(m_context.SetSerialLog, LoadMessage(5514));
    }
    return true;
}

// The frame's memory is placed only when all of it can be: a frame with memory but no
// usable frame number, or with anything but hex digits, is rejected before any line is
// kept, so that the frame sent again is collected once and the list holds no gap.
bool ReplyParser::applyDumpLine(const Reply &reply) {
    const QString hex = reply.field(4);
    if (hex.isEmpty())
        return true; // a frame without memory
    const QString frameNumber = reply.field(2);
    if (!IsNumericField(frameNumber) || !IsHexDigits(hex))
        return false;
    const qint64 first = (qint64(DecimalField<qint32>(frameNumber)) - 1) * 128;
    const qint64 lines = (hex.size() + kDumpLineDigits - 1) / kDumpLineDigits;
    if (first < 0 || first + 16 * (lines - 1) > std::numeric_limits<qint32>::max())
        return false;
    DumpListPage &page = m_context.DumpPage;
    for (qint64 i = 0; i < lines; ++i) {
        page.Lines[page.Count] = hex.mid(i * kDumpLineDigits, kDumpLineDigits)
                                     .leftJustified(kDumpLineDigits, QLatin1Char('F'));
        page.Addresses[page.Count] = qint32(first + 16 * i);
        if (++page.Count == DumpListPage::kLines) {
            notify(m_context.WriteDumpList);
            page.Count = 0;
        }
    }
    return true;
}

bool ReplyParser::applyZeroConfirm(const Reply &reply) {
    const QString status = reply.field(1).trimmed();
    if (status.size() == 5) {
        m_context.ZeroStatusText = status;
        return true;
    }
    if (reply.dataPosition == Ctrl::SUB) {
        m_context.ZeroStatusText.clear();
        return true;
    }
    return reject(kResponseError);
}

bool ReplyParser::reject(const char *line) {
    notify(m_context.AddLog, QString::fromLatin1(line));
    return false;
}

clsInstrument &ReplyParser::instrument() const {
    if (!m_context.Instrument)
        throw TqError(ErrorKind::TypeMismatch, QStringLiteral("No settings object is attached"));
    return *m_context.Instrument;
}

} // namespace tq
