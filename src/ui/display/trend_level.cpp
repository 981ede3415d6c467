#include "ui/display/trend_level.h"

#include "core/database.h"
#include "core/program_state.h"
#include "logs/trend/trend_file.h"

#include <QFile>

namespace tq {

float CheckTrendLevels(Database &db, qint64 seqNo) {
    constexpr float noReading = -101;
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select FolderID, Names From Log_head Where SeqNo = ?"), {seqNo});
    if (rows.isEmpty())
        return noReading;
    QFile file(TrendFilePath(Globals().DataFolder, rows.front().text(QStringLiteral("FolderID")),
                             rows.front().text(QStringLiteral("Names"))));
    // Only the one record is read, and only when the file holds it whole.
    const qint64 start = (kAlarmMomentRecord - 1) * kTrendRecordSize;
    if (!file.open(QIODevice::ReadOnly) || file.size() < start + kTrendRecordSize ||
        !file.seek(start))
        return noReading;
    const QByteArray record = file.read(kTrendRecordSize);
    if (record.size() < kTrendRecordSize)
        return noReading;
    return GetTrendPoint(record, 1);
}

} // namespace tq
