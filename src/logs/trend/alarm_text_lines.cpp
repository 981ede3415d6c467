// Alarm trends received as ASCII record lines.
#include "logs/trend/ascii_log_lines.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/run_length.h"

#include "core/gas_format.h"
#include "core/id_helpers.h"

#include <cmath>

namespace tq {

namespace {

constexpr qint32 kAlarmPointCounter = 361; // the sample counter of the alarm point

// The record types of the alarm family and the shortest line each takes.
struct AlarmRecord {
    QLatin1String type;
    qsizetype minLength;
    bool (*decode)(clsAlarm &log, const FramedLine &framed, bool testFlag);
};

bool decodeUser(clsAlarm &log, const FramedLine &framed, bool testFlag) {
    if (!testFlag)
        log.setGasBaseInfo(qint32(LogHeaderItem::UserID), LineField(framed.line, 5, 14));
    return true;
}

bool decodeSamples(clsAlarm &log, const FramedLine &framed, bool testFlag) {
    return log.SetDataB0(framed.line, testFlag, framed.compress);
}

const AlarmRecord *findRecord(const QString &type) {
    static const AlarmRecord records[] = {
        {QLatin1String("BD"), 23,
         [](clsAlarm &log, const FramedLine &f, bool t) { return log.SetDataBD(f.line, t); }},
        {QLatin1String("BA"), 24, decodeUser},
        {QLatin1String("BB"), 16,
         [](clsAlarm &log, const FramedLine &f, bool t) { return log.SetDataBB(f.line, t); }},
        {QLatin1String("B1"), 0, decodeSamples},
        {QLatin1String("B2"), 0, decodeSamples},
        {QLatin1String("B3"), 0, decodeSamples},
        {QLatin1String("B4"), 0, decodeSamples},
        {QLatin1String("B5"), 0, decodeSamples},
        {QLatin1String("B6"), 0, decodeSamples},
        {QLatin1String("BC"), 24,
         [](clsAlarm &log, const FramedLine &f, bool t) { return log.SetDataBC(f.line, t); }},
    };
    for (const AlarmRecord &record : records) {
        if (record.type == type)
            return &record;
    }
    return nullptr;
}

// Counts the samples of a sample line that `log` still takes into the input's bound; one
// past it is refused as SetDataB0 refuses a failure, and the log takes no more.
void countInputSamples(InputSampleBound &bound, clsAlarm &log, const FramedLine &framed) {
    if (!framed.compress || log.Duplicate() || log.Error())
        return;
    try {
        bound.take(RunLengthSampleCount(RunLengthGroups(framed.line)));
    } catch (const TqError &error) {
        WriteSerialLog(log.context().AppFolder, ErrorCatchLine(QStringLiteral("SetDataB0"), error));
        log.setError(true);
    }
}

} // namespace

bool clsAlarms::SetDatas(const QString &vData, bool TestFlag) {
    const FramedLine framed = FrameRecordLine(KeepPrintable(vData), m_previousKey, m_previousType);
    const ItemPtr log = itemFor(framed.key + QStringLiteral(" L"));
    bool answer = true; // a type without a decoder is taken and ignored
    if (const AlarmRecord *record = findRecord(framed.type)) {
        if (record->decode == decodeSamples && !TestFlag)
            countInputSamples(m_inputSamples, *log, framed);
        answer = framed.line.size() >= record->minLength && record->decode(*log, framed, TestFlag);
    }
    if (TestFlag && !answer)
        setFailLine(FailLine() + QStringLiteral("\r\n") + framed.line);
    m_previousKey = framed.key;
    m_previousType = framed.type;
    return answer;
}

bool clsAlarm::SetDataBD(const QString &vData, bool TestFlag) {
    const LogStartFields fields = ParseLogStart(vData);
    const bool proper = fields.date && fields.time && fields.interval;
    if (!proper)
        m_error = true;
    if (TestFlag)
        return true;
    if (fields.date)
        m_header.Dates = *fields.date;
    if (fields.time)
        m_header.Dates = m_header.Dates.addSeconds(fields.time->msecsSinceStartOfDay() / 1000);
    if (fields.interval)
        m_header.Interval = *fields.interval;
    if (!m_error) {
        const QString prefix = m_header.Sampling != 0 ? QStringLiteral("iv") : QStringLiteral("al");
        m_header.Names = prefix + m_header.Dates.format(QStringLiteral("ddhhmmss")) +
                         QLatin1Char('_') + m_header.SerialNo;
        m_header.FolderID = m_header.Dates.format(QStringLiteral("MM/yy"));
        makeTrendFolders();
        m_duplicate = CheckDuplicate();
    }
    if (!proper)
        WriteSerialLog(m_context.AppFolder,
                       QStringLiteral("<<< improper date in SetDataBD() >>> ") + vData);
    return true;
}

bool clsAlarm::SetDataBB(const QString &vData, bool TestFlag) {
    if (!TestFlag) {
        m_header.SerialNo = BlankToDashes(LineField(vData, 5, 16), IdFieldKind::Serial);
        const QString sampling = LineField(vData, 23, 23);
        if (sampling.isEmpty() || !sampling[0].isDigit())
            throw TqError(ErrorKind::TypeMismatch,
                          QStringLiteral("The sampling mode \"%1\" is no digit").arg(sampling));
        m_header.Sampling = static_cast<qint16>(sampling.toShort());
    }
    return IsNumericText(LineField(vData, 18, 21));
}

bool clsAlarm::SetDataB0(const QString &vData, bool TestFlag, bool compress) {
    if (m_duplicate || m_error)
        return true;
    if (!compress) {
        m_lastRecordType = LineField(vData, 3, 4);
        return true;
    }
    if (TestFlag)
        return SampleLineFits(vData, kSampleEntries);
    try {
        const qint32 slot = m_lastRecordType.mid(1).toInt() - 1;
        if (slot < 0 || slot >= kLogGasSlots)
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("Gas slot %1 is not kept").arg(slot));
        const GasInfo &gas = m_gas[slot];
        qint16 &counter = m_sampleCounters[slot];
        for (const RunLengthGroup &group : SampleGroupsWithin(vData, counter, kSampleEntries)) {
            const float value = HexSampleValue(group.digits, !gas.Name.isEmpty(), gas.Point);
            // The trend file holds gas slot 0 only.
            if (slot != 0) {
                counter = static_cast<qint16>(counter + group.count);
                continue;
            }
            for (qint32 i = 0; i < group.count; ++i) {
                ++counter;
                const Date time = m_header.Dates.addSeconds(qint64(counter - kAlarmPointCounter) *
                                                            m_header.Interval);
                if (m_header.Sampling != 2)
                    m_trendFile.PutTrendPoint(counter, time, value);
                else if (counter >= kAlarmPointCounter && counter < kAlarmPointCounter + 180)
                    m_trendFile.PutTrendPoint(counter - kAlarmPointCounter + 1, time, value);
            }
        }
    } catch (const TqError &error) {
        WriteSerialLog(m_context.AppFolder, ErrorCatchLine(QStringLiteral("SetDataB0"), error));
        m_error = true;
    }
    return true;
}

bool clsAlarm::SetDataBC(const QString &vData, bool TestFlag) {
    return CheckTwoSlotRecord(vData, TestFlag);
}

bool clsAlarm::SetData96(const QString &vData, bool TestFlag) {
    const bool first = IsNumericText(LineField(vData, 11, 11)) || LineField(vData, 5, 7) == "   ";
    const bool second =
        IsNumericText(LineField(vData, 20, 20)) || LineField(vData, 15, 17) == "   ";
    return TestFlag ? first && second : first || second;
}

bool clsAlarm::SetDataXX(const QString &vData, bool TestFlag) {
    const std::optional<double> number =
        vData.size() > 13 ? ParseNumber(LineField(vData, 11, 14)) : std::nullopt;
    if (!number)
        return false;
    const double entry = std::nearbyint(*number);
    if (!TestFlag && entry >= 1 && entry <= kSampleEntries) {
        AlarmSample &sample = m_samples[qsizetype(entry) - 1];
        sample.time = m_header.Dates.addSeconds(qint64(entry - 181) * m_header.Interval);
        sample.value.fill(ReadingCode::NoValue);
    }
    return *number <= kMaxDataCount;
}

} // namespace tq
