#include "core/log_schema.h"

#include "core/database.h"
#include "core/errors.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

#include <utility>

namespace tq {

namespace {

// Column types as SQLite stores them. Integer and Long are 64-bit INTEGER, YesNo is
// INTEGER 1/0, Date is TEXT "yyyy-MM-dd hh:mm:ss"; a Name is a text that compares
// without regard to letter case (identifiers and names that logs are looked up and
// grouped by).
enum class Kind { Integer, Float, YesNo, Date, Text, Name };

struct Column {
    QString name;
    Kind kind;
};

struct Table {
    QString name;
    QList<Column> columns; // after SeqNo, which every table has as its key
};

QString typeSql(Kind kind) {
    switch (kind) {
    case Kind::Integer:
    case Kind::YesNo:
        return QStringLiteral("INTEGER");
    case Kind::Float:
        return QStringLiteral("REAL");
    case Kind::Date:
    case Kind::Text:
        return QStringLiteral("TEXT");
    case Kind::Name:
        return QStringLiteral("TEXT COLLATE NOCASE");
    }
    return {};
}

const QList<Table> &logTables() {
    static const QList<Table> tables = [] {
        using K = Kind;
        // The detector identity that starts every history and snapshot row.
        const QList<Column> identity = {
            {"RelNo", K::Integer}, {"UserID", K::Name},     {"StationID", K::Name},
            {"SerialNo", K::Name}, {"WriteDates", K::Date}, {"Dates", K::Date},
        };
        const QList<Column> event = {
            {"RelNo", K::Integer},      {"GasNo", K::Integer}, {"GasName", K::Name},
            {"Alarm_Type", K::Integer}, {"Dates", K::Date},
        };
        return QList<Table>{
            {"Log_head",
             {{"Names", K::Name},        {"UserID", K::Name},        {"StationID", K::Name},
              {"SerialNo", K::Name},     {"RomNum", K::Integer},     {"Types", K::Integer},
              {"LogNo", K::Integer},     {"Dcount", K::Integer},     {"FolderID", K::Name},
              {"Dates", K::Date},        {"Last", K::Date},          {"Interval", K::Integer},
              {"Sampling", K::Integer},  {"LunchBreak", K::Integer}, {"LEL_lo", K::Integer},
              {"LEL_hi", K::Integer},    {"ppm_lo", K::Integer},     {"ppm_hi", K::Integer},
              {"vol_lo", K::Integer},    {"vol_hi", K::Integer},     {"Gas1Name", K::Name},
              {"Gas1Full", K::Float},    {"Gas1Desit", K::Float},    {"Gas1Enable", K::YesNo},
              {"Gas1Point", K::Integer}, {"Gas1Unit", K::Text},      {"Gas1Avr", K::Float},
              {"Gas1Max", K::Float},     {"Gas1Min", K::Float},      {"Gas1Warning", K::Float},
              {"Gas1Alarm", K::Float},   {"Gas1TWA", K::Float},      {"Gas1STEL", K::Float},
              {"Gas1MaxDate", K::Date},  {"Gas1MinDate", K::Date},   {"Gas1Ratio", K::Float}}},
            {"Interval_Data",
             {{"RelNo", K::Integer},
              {"Datetimes", K::Date},
              {"EvtTime", K::Date},
              {"Gas1Value", K::Float},
              {"Gas1cnt", K::Integer}}},
            {"Interval_Event",
             {{"RelNo", K::Integer},
              {"Datetimes", K::Date},
              {"BaseDate", K::Date},
              {"Gas1Event", K::Integer}}},
            {"Alarm_Data",
             {{"RelNo", K::Integer}, {"Datetimes", K::Date}, {"Gas1Value", K::Float}}},
            {"SnapShot", identity + QList<Column>{{"Gas1Name", K::Name},
                                                  {"Gas1Full", K::Float},
                                                  {"Gas1Desit", K::Float},
                                                  {"Gas1Point", K::Integer},
                                                  {"Gas1Unit", K::Text},
                                                  {"Gas1Enable", K::YesNo},
                                                  {"Gas1val", K::Float},
                                                  {"Gas1sts", K::Integer}}},
            {"SensorChange", identity + QList<Column>{{"Gas1Name", K::Name},
                                                      {"Gas1Full", K::Float},
                                                      {"Gas1Desit", K::Float},
                                                      {"Gas1Point", K::Integer},
                                                      {"Gas1Unit", K::Text},
                                                      {"Gas1Change", K::Integer},
                                                      {"Gas1Model", K::Text},
                                                      {"Gas1SerialNO", K::Text}}},
            {"Bump", identity + QList<Column>{{"Gas1Name", K::Name},
                                              {"Gas1Desit", K::Float},
                                              {"Gas1Point", K::Integer},
                                              {"Gas1Unit", K::Text},
                                              {"Gas1Enable", K::YesNo},
                                              {"Gas1Before", K::Float},
                                              {"Gas1After", K::Float},
                                              {"Gas1Judge", K::Integer}}},
            {"cHistory", identity + QList<Column>{{"Gas1Name", K::Name},
                                                  {"Gas1Desit", K::Float},
                                                  {"Gas1Point", K::Integer},
                                                  {"Gas1Unit", K::Text},
                                                  {"Gas1Enable", K::YesNo},
                                                  {"Gas1Before", K::Float},
                                                  {"Gas1After", K::Float}}},
            {"cLatestHist",
             {{"UserID", K::Name},
              {"StationID", K::Name},
              {"SerialNo", K::Name},
              {"WriteDates", K::Date},
              {"CalLimit", K::Integer},
              {"Gas1Name", K::Name},
              {"Gas1Desit", K::Float},
              {"Gas1Point", K::Integer},
              {"Gas1Unit", K::Text},
              {"Gas1Enable", K::YesNo},
              {"Gas1AutoCal", K::Float},
              {"Gas1CalDate", K::Date},
              {"Gas1Before", K::Float},
              {"Gas1After", K::Float}}},
            {"Alarm_Event", event},
            {"Trouble_Event", event},
            {"Power_Event",
             {{"RelNo", K::Integer},
              {"LogCnt", K::Integer},
              {"Dates", K::Date},
              {"Power_Type", K::YesNo}}},
        };
    }();
    return tables;
}

// The indexes of the lookups that stores, duplicate tests and reloads make, so that their
// cost does not grow with the database.
const QStringList &indexStatements() {
    static const QStringList statements = {
        // The head of an identity and kind (event and history heads), and at a time (the
        // trend and snapshot duplicate tests).
        QStringLiteral("Create Index If Not Exists LogHeadIdentityDates On Log_head "
                       "(SerialNo, UserID, StationID, Types, Dates)"),
        // The log tree's type folders and the log list of a type folder.
        QStringLiteral(
            "Create Index If Not Exists LogHeadTypesFolder On Log_head (Types, FolderID)"),
        // The trend-file name test.
        QStringLiteral("Create Index If Not Exists LogHeadNames On Log_head (Names, FolderID)"),
        // The detail rows of a head by time: duplicate tests and newest-first reloads.
        QStringLiteral(
            "Create Index If Not Exists AlarmEventRelDates On Alarm_Event (RelNo, Dates)"),
        QStringLiteral(
            "Create Index If Not Exists TroubleEventRelDates On Trouble_Event (RelNo, Dates)"),
        QStringLiteral(
            "Create Index If Not Exists PowerEventRelDates On Power_Event (RelNo, Dates)"),
        QStringLiteral("Create Index If Not Exists HistoryRelDates On cHistory (RelNo, Dates)"),
        QStringLiteral("Create Index If Not Exists BumpRelDates On Bump (RelNo, Dates)"),
        QStringLiteral(
            "Create Index If Not Exists SensorChangeRelDates On SensorChange (RelNo, Dates)"),
        // The rows of a head: a stored interval trend's events, a snapshot's reading.
        QStringLiteral("Create Index If Not Exists IntervalEventRel On Interval_Event (RelNo)"),
        QStringLiteral("Create Index If Not Exists SnapShotRel On SnapShot (RelNo)"),
        // The samples of a head: the deletion of a log or a folder finds them by RelNo.
        QStringLiteral("Create Index If Not Exists IntervalDataRel On Interval_Data (RelNo)"),
        QStringLiteral("Create Index If Not Exists AlarmDataRel On Alarm_Data (RelNo)"),
    };
    return statements;
}

QString createStatement(const Table &table) {
    QString sql = QStringLiteral("Create Table %1 (SeqNo INTEGER CONSTRAINT SeqNoKey PRIMARY KEY")
                      .arg(table.name);
    for (const Column &column : table.columns)
        sql += QStringLiteral(", %1 %2").arg(column.name, typeSql(column.kind));
    return sql + QStringLiteral(")");
}

// Removes whatever is left under the temporary name (a half-built database and its
// journal) when the build ends, whether it was moved into place or not.
class TemporaryCleanup {
public:
    explicit TemporaryCleanup(QString path) : m_path(std::move(path)) {}
    ~TemporaryCleanup() {
        QFile::remove(m_path);
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            QFile::remove(m_path + QLatin1String(suffix));
    }
    TemporaryCleanup(const TemporaryCleanup &) = delete;
    TemporaryCleanup &operator=(const TemporaryCleanup &) = delete;

private:
    QString m_path;
};

// Creates an empty file of a new name beside target (an empty file is an empty SQLite
// database) and returns its path.
QString newFileBeside(const QFileInfo &target) {
    const QString path = QStringLiteral("%1/%2.%3.tmp")
                             .arg(target.absolutePath(), target.fileName(),
                                  QString::number(QRandomGenerator::global()->generate64(), 16));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw TqError(ErrorKind::File, QStringLiteral("Cannot create the database %1: %2")
                                           .arg(target.filePath(), file.errorString()));
    return path;
}

void buildDatabase(const QString &path) {
    const QFileInfo target(path);
    const QString temporary = newFileBeside(target);
    const TemporaryCleanup cleanup(temporary);
    {
        Database db(temporary);
        Transaction transaction(db);
        for (const Table &table : logTables())
            db.execute(createStatement(table));
        for (const QString &statement : indexStatements())
            db.execute(statement);
        transaction.commit();
        // Many small transactions (one per stored log) stay fast in WAL mode.
        db.execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    // rename() never replaces a file: one that another program made meanwhile stays.
    if (!QFile::rename(temporary, path) && !QFileInfo::exists(path))
        throw TqError(ErrorKind::File,
                      QStringLiteral("Cannot move the new database into place as %1").arg(path));
}

void yieldFor(int ms) {
    if (!QCoreApplication::instance()) {
        QThread::msleep(ms);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

const QStringList &LogTableNames() {
    static const QStringList names = [] {
        QStringList result;
        for (const Table &table : logTables())
            result.append(table.name);
        return result;
    }();
    return names;
}

void CreateLogDatabase(const QString &path) {
    if (!QFileInfo::exists(path))
        buildDatabase(path);
    WaitForFile(path);
    // The indexes only make lookups fast: a file that cannot take them is still opened, and
    // its own failure shows where it is used.
    try {
        AddLogIndexes(path);
    } catch (const TqError &) {
    }
}

void AddLogIndexes(const QString &path) {
    Database db(path);
    for (const QString &statement : indexStatements())
        db.execute(statement);
}

void WaitForFile(const QString &path, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired())
            throw TqError(
                ErrorKind::File,
                QStringLiteral("The file %1 did not appear within %2 ms").arg(path).arg(timeoutMs));
        yieldFor(50);
    }
}

} // namespace tq
