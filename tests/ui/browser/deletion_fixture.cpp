#include "deletion_fixture.h"

#include "core/log_schema.h"
#include "logs/trend/trend_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace tq::test {

namespace {

// The detail tables that hold a log's rows, by LogType.
const std::map<int, QStringList> &tablesOfType() {
    static const std::map<int, QStringList> tables = {
        {1, {"Interval_Data", "Interval_Event"}},
        {9, {"Interval_Data", "Interval_Event"}},
        {2, {"Alarm_Data"}},
        {3, {"cHistory"}},
        {5, {"Alarm_Event"}},
        {6, {"Trouble_Event"}},
        {7, {"Power_Event"}},
        {10, {"Bump"}},
        {11, {"SnapShot"}},
        {12, {"SensorChange"}},
    };
    return tables;
}

QString keyColumn(const QString &table) {
    return table == QLatin1String("Log_head") || table == QLatin1String("cLatestHist")
               ? QStringLiteral("SeqNo")
               : QStringLiteral("RelNo");
}

constexpr qint64 kLatestCalibration = 1;

} // namespace

void DeletionTest::SetUp() {
    StoredLogsTest::SetUp();
    m_logs.clear();
    const QString serial2 = QStringLiteral("B5678");
    for (const HeadRow &log : std::vector<HeadRow>{
             {.names = "X", .seqNo = 1},
             {.names = "X_2", .seqNo = 2},
             {.type = 2, .names = "A*B", .seqNo = 3},
             {.type = 9, .names = "BH", .seqNo = 4},
             {.type = 10, .names = "BT", .seqNo = 5},
             {.type = 3, .names = "CH", .seqNo = 6},
             {.type = 5, .names = "AE", .seqNo = 7},
             {.type = 7, .names = "PE", .seqNo = 8},
             {.type = 2, .names = "HID", .sampling = 2, .seqNo = 9},
             {.serial = serial2, .names = "Y", .seqNo = 10},
             {.folder = "06/09", .type = 6, .names = "TE", .seqNo = 11},
             {.user = "50%_x", .type = 11, .names = "SS", .seqNo = 12},
             {.user = "50abc_x", .type = 12, .names = "SC", .seqNo = 13},
             {.user = "O'Brien", .folder = "06/09", .names = "Q1", .seqNo = 14},
         })
        add(log);
    db().execute(QStringLiteral("Insert Into cLatestHist (SeqNo) Values (?)"),
                 {kLatestCalibration});
    writeFile(dataFolder() + QStringLiteral("/09/05/notes.txt"), "of no log");
}

QString DeletionTest::trendFile(const HeadRow &log) {
    if (log.type != 1 && log.type != 2 && log.type != 9)
        return {};
    return TrendFilePath(QString(), log.folder.toString(), log.names.toString()).mid(1);
}

void DeletionTest::add(const HeadRow &log) {
    store(log);
    for (const QString &table : tablesOfType().at(log.type))
        db().execute(QStringLiteral("Insert Into %1 (RelNo) Values (?)").arg(table), {log.seqNo});
    const QString file = trendFile(log);
    if (!file.isEmpty()) {
        QDir().mkpath(QFileInfo(dataFolder() + QLatin1Char('/') + file).absolutePath());
        writeFile(dataFolder() + QLatin1Char('/') + file, log.names.toByteArray());
    }
    m_logs.push_back(log);
}

std::set<qint64> DeletionTest::all() const {
    std::set<qint64> seqNos;
    for (const HeadRow &log : m_logs)
        seqNos.insert(log.seqNo);
    return seqNos;
}

QString DeletionTest::tableRows() {
    QStringList out;
    for (const QString &table : LogTableNames()) {
        const QVariant keys = db().scalar(
            QStringLiteral("Select group_concat(k) From (Select %1 As k From %2 Order By 1)")
                .arg(keyColumn(table), table));
        out << table + QLatin1Char(':') + keys.toString();
    }
    return out.join(QLatin1Char(' '));
}

QString DeletionTest::expectedRows(const std::set<qint64> &gone) const {
    QStringList out;
    for (const QString &table : LogTableNames()) {
        QStringList keys;
        if (table == QLatin1String("cLatestHist"))
            keys << QString::number(kLatestCalibration);
        for (const HeadRow &log : m_logs) {
            const bool holds = table == QLatin1String("Log_head") ||
                               tablesOfType().at(log.type).contains(table, Qt::CaseInsensitive);
            if (holds && !gone.count(log.seqNo))
                keys << QString::number(log.seqNo);
        }
        out << table + QLatin1Char(':') + keys.join(QLatin1Char(','));
    }
    return out.join(QLatin1Char(' '));
}

QStringList DeletionTest::files() const {
    QStringList out;
    QDirIterator it(dataFolder(), QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    const QDir data(dataFolder());
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = data.relativeFilePath(info.filePath());
        if (info.isSymLink())
            entry += QStringLiteral(" -> ") + info.symLinkTarget();
        out << entry;
    }
    out.sort();
    return out;
}

QStringList DeletionTest::expectedFiles(const std::set<qint64> &gone) const {
    QStringList out;
    if (gone != all())
        out << QStringLiteral("09/05/notes.txt");
    for (const HeadRow &log : m_logs)
        if (!gone.count(log.seqNo) && !trendFile(log).isEmpty())
            out << trendFile(log);
    out.sort();
    return out;
}

QString DeletionTest::snapshot() const {
    QString out = Sqlite(databasePath(), QStringLiteral(".dump"));
    QDirIterator it(dataFolder(),
                    QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList entries;
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = info.filePath();
        if (info.isSymLink())
            entry += QStringLiteral(" -> ") + info.symLinkTarget();
        else if (info.isFile())
            entry += QLatin1Char(' ') +
                     QString::fromLatin1(QCryptographicHash::hash(readFile(info.filePath()),
                                                                  QCryptographicHash::Sha1)
                                             .toHex());
        entries << entry;
    }
    entries.sort();
    return out + QLatin1Char('\n') + entries.join(QLatin1Char('\n'));
}

} // namespace tq::test
