#pragma once

#include "core/database.h"
#include "core/date.h"
#include "core/program_state.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/trend_file.h"
#include "stored_logs.h"
#include "test_support.h"

#include <QVariant>

#include <optional>
#include <utility>
#include <vector>

namespace tq::test {

// An interval trend as stored by an import: a Log_head row, its trend file and its
// Interval_Event rows, times in seconds after the start (2009-05-01 10:00:00).
struct StoredInterval {
    std::vector<std::pair<qint64, float>> samples{}; // (second, value)
    std::vector<std::pair<qint64, float>> events{};  // (second, status code)
    std::optional<qint64> last{};                    // Last, a second; none: never set
    QVariant max = 80.0f;                            // Null: no maximum recorded
    float full = 100;
    int point = 1;
    QString unit = QStringLiteral("%LEL");
    float ratio = 0;
    bool enabled = true;
    qint64 seqNo = 0; // 0: the next free one
};

inline const Date kTrendStart = Date::fromParts(2009, 5, 1, 10, 0, 0);

// The time of a second after the start as the tables show it.
inline QString ShownAt(qint64 second) {
    return kTrendStart.addSeconds(second).generalDate();
}

// A test whose database and data folder take stored interval trends.
class StoredTrendTest : public StoredLogsTest {
protected:
    // Stores the trend and reloads it into `log` as the Data View page does (cleared, then
    // ReLoad); returns its SeqNo.
    qint64 storeInterval(const StoredInterval &trend, clsInterval &log,
                         const QString &name = QStringLiteral("iv01100000_A1")) {
        const QString folder = QStringLiteral("05/09");
        const qint64 seqNo = store({.folder = folder,
                                    .type = 1,
                                    .names = name,
                                    .dates = kTrendStart.toSqlText(),
                                    .seqNo = trend.seqNo});
        db().execute(
            QStringLiteral("Update Log_head Set Last = ?, Interval = 60, Dcount = ?, "
                           "Gas1Name = 'CH4', Gas1Full = ?, Gas1Point = ?, Gas1Unit = ?, "
                           "Gas1Ratio = ?, Gas1Enable = ?, Gas1Max = ?, Gas1Avr = 12.5, "
                           "Gas1MaxDate = ?, Gas1Warning = 10, Gas1Alarm = 50, Gas1STEL = 25, "
                           "Gas1TWA = -101 Where SeqNo = ?"),
            {trend.last ? QVariant(kTrendStart.addSeconds(*trend.last).toSqlText()) : QVariant(),
             qint64(trend.samples.size()), trend.full, trend.point, trend.unit, trend.ratio,
             trend.enabled, trend.max, kTrendStart.addSeconds(90).toSqlText(), seqNo});
        TrendFileWriter file;
        for (qint32 n = 0; n < qint32(trend.samples.size()); ++n)
            file.PutTrendPoint(n + 1, kTrendStart.addSeconds(trend.samples[n].first),
                               trend.samples[n].second);
        MakeTrendFolders(Globals().DataFolder, folder);
        writeFile(TrendFilePath(Globals().DataFolder, folder, name), file.records());
        for (const auto &[second, code] : trend.events)
            db().execute(
                QStringLiteral("Insert Into Interval_Event (RelNo, Datetimes, BaseDate, "
                               "Gas1Event) Values (?, ?, ?, ?)"),
                {seqNo, kTrendStart.addSeconds(second).toSqlText(), kTrendStart.toSqlText(), code});
        log.ClearDatas();
        log.setSeqNo(seqNo);
        log.setContext(ProgramStoreContext());
        log.ReLoad(Globals().CondensedView);
        return seqNo;
    }
};

} // namespace tq::test
