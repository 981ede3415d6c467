#pragma once

#include "logs/trend/ascii_log_lines.h"
#include "logs/trend/clsIntervals.h"

#include <QHash>
#include <QString>

#include <array>

namespace tq {

// Interval trends received as ASCII record lines: the line decoding of a clsIntervals
// collection (SetDatas) and of its logs (SetDataAD, SetDataAE, SetDataAC, SetDataA0). It
// keeps what the text path remembers between lines: the previous log key and record type,
// and for each log its last record type and its sample counters. With TestFlag a decoder
// only checks its line: it stores nothing, writes no serial-log line and sets only Error
// (of a log start).
class IntervalTextLines {
public:
    explicit IntervalTextLines(clsIntervals &logs) : m_logs(logs) {}

    // Decodes one received line into the log it belongs to (key + " L", added when
    // missing); True when the line was accepted. In test mode a rejected line is appended
    // to the collection's FailLine after CR LF. Failures the decoders do not catch (a gas
    // slot that is not kept in a summary record) throw TqError.
    bool SetDatas(const QString &vData, bool TestFlag);

    // Log start "AD": start time at positions 5-16, interval at 17-20; an impossible one
    // sets Error and is written to the serial log. Names the log and checks whether it is
    // stored already (Duplicate). Always True.
    bool SetDataAD(clsInterval &log, const QString &vData, bool TestFlag);
    // Gas summary "AE".."AI": average, extreme and its time; False for a date or time that
    // is neither numeric nor "******".
    bool SetDataAE(clsInterval &log, const QString &vData, bool TestFlag);
    // Record of gas slots the program does not keep: only checked.
    static bool SetDataAC(const QString &vData, bool TestFlag);
    // Events (record lines) and run-length coded samples (continuation lines, compress) of
    // gas slot digit - 1. A sample line whose samples would run past what a stored trend
    // keeps (clsInterval::kSampleEntries per slot) is refused whole, before it is expanded:
    // False in test mode. Outside it, so is one that would take the samples of all the
    // lines together past what the interval area of an image holds. Failures, those
    // refusals among them, are caught: written to the serial log, Error set. True outside
    // test mode.
    bool SetDataA0(clsInterval &log, const QString &vData, bool TestFlag, bool compress);

private:
    struct LogState {
        QString lastRecordType;
        std::array<qint32, kSampleSlots> counters{};
    };
    void decodeEvent(clsInterval &log, LogState &state, qint32 slot, const QString &vData);
    void decodeSamples(clsInterval &log, LogState &state, qint32 slot, const QString &vData);

    clsIntervals &m_logs;
    QHash<const clsInterval *, LogState> m_states;
    InputSampleBound m_inputSamples{kIntervalAreaSamples};
    QString m_previousKey;
    QString m_previousType;
};

} // namespace tq
