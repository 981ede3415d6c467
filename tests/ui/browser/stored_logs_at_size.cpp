#include "stored_logs_at_size.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "logs/trend/trend_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tq::test {

namespace {

// Rows 1..count of a generated table, for Insert ... Select.
QString numbers(int count) {
    return QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i + 1 From n "
                          "Where i < %1) ")
        .arg(count);
}

} // namespace

QString MonthFolderOf(int seqNo, int folders) {
    const int folder = seqNo % folders;
    return QStringLiteral("%1/%2")
        .arg(folder % 12 + 1, 2, 10, QLatin1Char('0'))
        .arg(folder / 12, 2, 10, QLatin1Char('0'));
}

void MakeStoredLogs(const QString &folder, const StoredLogsAtSize &size) {
    const QString database = folder + QStringLiteral("/TQ6200.mdb");
    CreateLogDatabase(database);
    Database db(database);
    Transaction transaction(db);
    const int intervalLogs = (size.trendLogs + 1) / 2;
    const int alarmLogs = size.trendLogs / 2;
    // The month folder as MonthFolderOf gives it.
    const QString month =
        QStringLiteral("printf('%02d/%02d', (i % %1) % 12 + 1, (i % %1) / 12)").arg(size.folders);
    db.execute(numbers(size.trendLogs) +
               QStringLiteral("Insert Into Log_head (SeqNo, Names, SerialNo, StationID, UserID, "
                              "FolderID, Types, Dates, Sampling) Select i, 'L' || i, Case When "
                              "i <= %1 Then 'SN1' Else 'SN2' End, 'ST1', 'US1', %2, 2 - i % 2, "
                              "'2009-05-01 10:00:00', 1 From n")
                   .arg(size.firstSerialLogs)
                   .arg(month));
    const auto details = [&](int rows, const QString &insert) {
        if (rows > 0)
            db.execute(numbers(rows) + insert);
    };
    details(intervalLogs * size.intervalSamples,
            QStringLiteral("Insert Into Interval_Data (RelNo, Datetimes, Gas1Value) Select "
                           "((i - 1) / %1) * 2 + 1, '2009-05-01 10:00:00', i From n")
                .arg(size.intervalSamples));
    details(intervalLogs * 2, QStringLiteral("Insert Into Interval_Event (RelNo, Datetimes, "
                                             "Gas1Event) Select ((i - 1) / 2) * 2 + 1, "
                                             "'2009-05-01 10:00:00', i From n"));
    details(alarmLogs * size.alarmSamples,
            QStringLiteral("Insert Into Alarm_Data (RelNo, Datetimes, Gas1Value) Select "
                           "((i - 1) / %1) * 2 + 2, '2009-05-01 10:00:00', i From n")
                .arg(size.alarmSamples));
    if (size.eventLogs > 0) {
        db.execute(numbers(size.eventLogs) +
                   QStringLiteral("Insert Into Log_head (SeqNo, Names, SerialNo, StationID, "
                                  "UserID, FolderID, Types, Dates) Select %1 + i, 'E' || i, "
                                  "'SN1', 'ST1', 'US1', '05/09', 5, '2009-05-01 10:00:00' From n")
                       .arg(size.trendLogs));
        details(size.eventLogs * 3,
                QStringLiteral("Insert Into Alarm_Event (RelNo, Dates, Alarm_Type) Select %1 + "
                               "(i - 1) / 3 + 1, '2009-05-01 10:00:00', i From n")
                    .arg(size.trendLogs));
    }
    transaction.commit();

    const QString data = folder + QStringLiteral("/Data");
    for (int i = 1; i <= size.trendLogs; ++i) {
        const QString path =
            TrendFilePath(data, MonthFolderOf(i, size.folders), QStringLiteral("L%1").arg(i));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::number(i).repeated(12));
    }
}

} // namespace tq::test
