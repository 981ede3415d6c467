#include "logs/trend/interval_text_lines.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "logs/trend/ascii_log_lines.h"
#include "logs/trend/log_items.h"
#include "logs/trend/run_length.h"
#include "logs/trend/trend_duplicates.h"

#include <QDate>
#include <QFileInfo>

namespace tq {

namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

// The handling of one interval record type and the shortest line it takes.
struct IntervalRecord {
    QLatin1String type;
    qsizetype minLength;
    bool (*decode)(IntervalTextLines &lines, clsInterval &log, const FramedLine &framed,
                   bool testFlag);
};

bool decodeUserAndStation(IntervalTextLines &, clsInterval &log, const FramedLine &f, bool test) {
    if (!test) {
        log.setGasBaseInfo(qint32(H::UserID), LineField(f.line, 5, 14));
        log.setGasBaseInfo(qint32(H::StationID), LineField(f.line, 15, 24));
    }
    return true;
}

bool decodeSerial(IntervalTextLines &, clsInterval &log, const FramedLine &f, bool test) {
    if (!test) {
        log.setGasBaseInfo(qint32(H::SerialNo), LineField(f.line, 5, 16));
        log.setGasBaseInfo(qint32(H::Sampling),
                           LineField(f.line, 23, 23)); // ignored unless a number
    }
    return true;
}

bool decodeStart(IntervalTextLines &lines, clsInterval &log, const FramedLine &f, bool test) {
    return lines.SetDataAD(log, f.line, test);
}

bool decodeSummary(IntervalTextLines &lines, clsInterval &log, const FramedLine &f, bool test) {
    return lines.SetDataAE(log, f.line, test);
}

bool decodeCheck(IntervalTextLines &, clsInterval &, const FramedLine &f, bool test) {
    return IntervalTextLines::SetDataAC(f.line, test);
}

bool decodeSlot(IntervalTextLines &lines, clsInterval &log, const FramedLine &f, bool test) {
    return lines.SetDataA0(log, f.line, test, f.compress);
}

const IntervalRecord *findRecord(const QString &type) {
    static const IntervalRecord records[] = {
        {QLatin1String("AD"), 24, decodeStart},   {QLatin1String("AA"), 24, decodeUserAndStation},
        {QLatin1String("AB"), 16, decodeSerial},  {QLatin1String("A0"), 0, decodeSlot},
        {QLatin1String("A1"), 0, decodeSlot},     {QLatin1String("A2"), 0, decodeSlot},
        {QLatin1String("A3"), 0, decodeSlot},     {QLatin1String("A4"), 0, decodeSlot},
        {QLatin1String("A5"), 0, decodeSlot},     {QLatin1String("A6"), 0, decodeSlot},
        {QLatin1String("A7"), 0, decodeSlot},     {QLatin1String("AE"), 24, decodeSummary},
        {QLatin1String("AF"), 24, decodeSummary}, {QLatin1String("AG"), 24, decodeSummary},
        {QLatin1String("AH"), 24, decodeSummary}, {QLatin1String("AI"), 24, decodeSummary},
        {QLatin1String("AC"), 24, decodeCheck},
    };
    for (const IntervalRecord &record : records) {
        if (record.type == type)
            return &record;
    }
    return nullptr;
}

// What a gas summary record addresses: the slot, the extreme it carries with its time, and
// the other extreme, which it clears.
struct Summary {
    QLatin1String type;
    qint32 slot;
    G extreme;
    G when;
    G other;
};

const Summary &summaryOf(const QString &type) {
    static const Summary summaries[] = {
        {QLatin1String("AE"), 0, G::Max, G::MaxDate, G::Min},
        {QLatin1String("AF"), 1, G::Min, G::MinDate, G::Max},
        {QLatin1String("AG"), 1, G::Max, G::MaxDate, G::Min},
        {QLatin1String("AH"), 0, G::Max, G::MaxDate, G::Min},
        {QLatin1String("AI"), 3, G::Max, G::MaxDate, G::Min},
    };
    for (const Summary &summary : summaries) {
        if (summary.type == type)
            return summary;
    }
    return summaries[0];
}

// Three numeric two-character fields from position from on; nullopt otherwise.
std::optional<std::array<int, 3>> threeNumbers(const QString &line, qsizetype from) {
    std::array<int, 3> numbers{};
    for (qsizetype i = 0; i < 3; ++i) {
        const std::optional<double> number =
            ParseNumber(LineField(line, from + 2 * i, from + 2 * i + 1));
        if (!number || *number < 0 || *number > 99)
            return std::nullopt;
        numbers[i] = int(*number);
    }
    return numbers;
}

bool isPlaceholder(const QString &line, qsizetype from) {
    return LineField(line, from, from + 5) == QStringLiteral("******");
}

// A calendar date whose month and day may run over, into the following months and years.
Date rolledDate(int year, int month, int day) {
    const QDate date = QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
    return Date::fromDateTime(date);
}

bool storedAlready(const StoreContext &store, const LogHeader &header) {
    const QString &path = store.DatabasePath;
    if (!QFileInfo::exists(path))
        return false;
    Database db(path);
    return IsTrendStored(db, header,
                         header.Sampling != 0 ? LogType::BarHoleTrend : LogType::IntervalTrend);
}

} // namespace

bool IntervalTextLines::SetDatas(const QString &vData, bool TestFlag) {
    FramedLine framed = FrameRecordLine(KeepPrintable(vData), m_previousKey, m_previousType);
    if (!framed.compress && LineField(framed.line, 3, 3) != QStringLiteral("A")) {
        // A record line without a type of its own continues the previous record.
        framed.line = m_previousKey + m_previousType + framed.line;
        framed.key = m_previousKey;
        framed.type = m_previousType;
    }
    const QString key = framed.key + QStringLiteral(" L");
    clsIntervals::ItemPtr log = m_logs.Item(key);
    if (!log) {
        log = m_logs.Add(key, 0);
        // A new log counts from the start, also when its object takes the place in memory of
        // a log the collection has dropped since.
        m_states.remove(log.get());
    }
    bool answer = true; // a type without a decoder is taken and ignored
    if (const IntervalRecord *record = findRecord(framed.type))
        answer = framed.line.size() >= record->minLength &&
                 record->decode(*this, *log, framed, TestFlag);
    if (TestFlag && !answer)
        m_logs.setFailLine(m_logs.FailLine() + QStringLiteral("\r\n") + framed.line);
    m_previousKey = framed.key;
    m_previousType = framed.type;
    return answer;
}

bool IntervalTextLines::SetDataAD(clsInterval &log, const QString &vData, bool TestFlag) {
    const LogStartFields fields = ParseLogStart(vData);
    const bool proper = fields.date && fields.time && fields.interval;
    if (!proper)
        log.setError(true);
    if (TestFlag)
        return true;
    Date start = log.header().Dates;
    if (fields.date)
        start = *fields.date;
    if (fields.time)
        start = start.addSeconds(fields.time->msecsSinceStartOfDay() / 1000);
    log.setGasBaseInfo(qint32(H::Dates), QVariant::fromValue(start));
    if (fields.interval)
        log.setGasBaseInfo(qint32(H::Interval), *fields.interval);
    if (!log.Error()) {
        log.setGasBaseInfo(qint32(H::Names), QStringLiteral("iv") +
                                                 start.format(QStringLiteral("ddhhmmss")) +
                                                 QLatin1Char('_') + log.header().SerialNo);
        log.setGasBaseInfo(qint32(H::FolderID), start.format(QStringLiteral("MM/yy")));
        MakeTrendFolders(log.context().DataFolder, log.header().FolderID);
        log.setDuplicate(storedAlready(log.context(), log.header()));
    }
    if (!proper)
        WriteSerialLog(log.context().AppFolder,
                       QStringLiteral("<<< improper date in SetDataAD() >>> ") + vData);
    return true;
}

bool IntervalTextLines::SetDataAE(clsInterval &log, const QString &vData, bool TestFlag) {
    const Summary &summary = summaryOf(LineField(vData, 3, 4));
    if (!TestFlag && summary.slot >= kLogGasSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas slot %1 is not kept").arg(summary.slot));
    bool answer = true;
    Date when =
        TestFlag ? Date() : log.GasListInfo(summary.slot, qint32(summary.when)).value<Date>();
    if (const auto date = threeNumbers(vData, 15))
        when = rolledDate(2000 + (*date)[0], (*date)[1], (*date)[2]);
    else if (isPlaceholder(vData, 15))
        when = Date::emptyLogDate();
    else
        answer = false;
    if (const auto time = threeNumbers(vData, 21))
        when = when.addSeconds((*time)[0] * 3600 + (*time)[1] * 60 + (*time)[2]);
    else if (isPlaceholder(vData, 21))
        when = Date::emptyLogDate();
    else
        answer = false;
    if (!TestFlag) {
        const qint32 slot = summary.slot;
        log.setGasListInfo(slot, qint32(G::Avr), ParseGasValue(LineField(vData, 5, 9)));
        log.setGasListInfo(slot, qint32(summary.extreme), ParseGasValue(LineField(vData, 10, 14)));
        log.setGasListInfo(slot, qint32(summary.when), QVariant::fromValue(when));
        log.setGasListInfo(slot, qint32(summary.other), float(ReadingCode::NoValue));
    }
    return answer;
}

bool IntervalTextLines::SetDataAC(const QString &vData, bool TestFlag) {
    return CheckTwoSlotRecord(vData, TestFlag);
}

bool IntervalTextLines::SetDataA0(clsInterval &log, const QString &vData, bool TestFlag,
                                  bool compress) {
    if (log.Duplicate() || log.Error())
        return true;
    LogState &state = m_states[&log];
    if (!compress)
        state.lastRecordType = LineField(vData, 3, 4);
    if (TestFlag)
        return !compress || SampleLineFits(vData, clsInterval::kSampleEntries);
    if (!compress && vData.size() < 24)
        return true;
    try {
        const qint32 slot = state.lastRecordType.mid(1).toInt() - 1;
        if (compress)
            decodeSamples(log, state, slot, vData);
        else
            decodeEvent(log, state, slot, vData);
    } catch (const TqError &error) {
        WriteSerialLog(log.context().AppFolder, ErrorCatchLine(QStringLiteral("SetDataA0"), error));
        log.setError(true);
    }
    return true;
}

void IntervalTextLines::decodeEvent(clsInterval &log, LogState &state, qint32 slot,
                                    const QString &vData) {
    if (slot < 0 || slot >= kLogGasSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas slot %1 is not kept").arg(slot));
    if (log.gas(slot).Name.isEmpty())
        return;
    const qint16 code = StatusNumberToCode(LineField(vData, 5, 6));
    const std::optional<double> offset = ParseNumber(LineField(vData, 24, 27));
    const LogHeader &header = log.header();
    const qint64 seconds = qint64(state.counters[slot]) * header.Interval +
                           (offset ? RoundToWhole<qint32>(*offset) : 0);
    log.AddEvents(slot, header.Dates.addSeconds(seconds), code, header.Dates);
}

void IntervalTextLines::decodeSamples(clsInterval &log, LogState &state, qint32 slot,
                                      const QString &vData) {
    if (slot < 0 || slot >= kSampleSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas slot %1 has no sample counter").arg(slot));
    qint32 &counter = state.counters[slot];
    const QList<RunLengthGroup> groups =
        SampleGroupsWithin(vData, counter, clsInterval::kSampleEntries);
    m_inputSamples.take(RunLengthSampleCount(groups));
    if (groups.isEmpty())
        return;
    if (slot >= kLogGasSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas slot %1 is not kept").arg(slot));
    const LogHeader &header = log.header();
    const GasInfo &gas = log.gas(slot);
    for (const RunLengthGroup &group : groups) {
        const float value = HexSampleValue(group.digits, !gas.Name.isEmpty(), gas.Point);
        // The trend file holds gas slot 0 only.
        if (slot != 0) {
            counter += group.count;
            continue;
        }
        for (qint32 i = 0; i < group.count; ++i) {
            const qint32 n = ++counter;
            log.pendingSamples().PutTrendPoint(
                n, header.Dates.addSeconds(qint64(n) * header.Interval), value);
        }
    }
}

} // namespace tq
