#include "core/log_schema.h"

#include "core/database.h"
#include "core/errors.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

namespace tq {
namespace {

class LogSchemaTest : public test::TempFolderTest {
protected:
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    const QString dbPath = path(QStringLiteral("TQ6200.mdb"));
};

// Runs the sqlite3 command-line tool on a file, so the file is checked by another reader.
QStringList sqlite3Lines(const QString &file, const QString &sql) {
    QProcess process;
    process.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), file, sql});
    EXPECT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST_F(LogSchemaTest, CreatesTheTwelveTablesWithTheirColumnsInOrder) {
    // Column name and type: I INTEGER, R REAL, T TEXT.
    const QString identity = QStringLiteral(
        "SeqNo I, RelNo I, UserID T, StationID T, SerialNo T, WriteDates T, Dates T");
    const QString event =
        QStringLiteral("SeqNo I, RelNo I, GasNo I, GasName T, Alarm_Type I, Dates T");
    const std::vector<std::pair<QString, QString>> expected = {
        {"Log_head",
         "SeqNo I, Names T, UserID T, StationID T, SerialNo T, RomNum I, Types I, LogNo I, "
         "Dcount I, FolderID T, Dates T, Last T, Interval I, Sampling I, LunchBreak I, LEL_lo I, "
         "LEL_hi I, ppm_lo I, ppm_hi I, vol_lo I, vol_hi I, Gas1Name T, Gas1Full R, Gas1Desit R, "
         "Gas1Enable I, Gas1Point I, Gas1Unit T, Gas1Avr R, Gas1Max R, Gas1Min R, Gas1Warning R, "
         "Gas1Alarm R, Gas1TWA R, Gas1STEL R, Gas1MaxDate T, Gas1MinDate T, Gas1Ratio R"},
        {"Interval_Data", "SeqNo I, RelNo I, Datetimes T, EvtTime T, Gas1Value R, Gas1cnt I"},
        {"Interval_Event", "SeqNo I, RelNo I, Datetimes T, BaseDate T, Gas1Event I"},
        {"Alarm_Data", "SeqNo I, RelNo I, Datetimes T, Gas1Value R"},
        {"SnapShot", identity + ", Gas1Name T, Gas1Full R, Gas1Desit R, Gas1Point I, Gas1Unit T, "
                                "Gas1Enable I, Gas1val R, Gas1sts I"},
        {"SensorChange", identity + ", Gas1Name T, Gas1Full R, Gas1Desit R, Gas1Point I, "
                                    "Gas1Unit T, Gas1Change I, Gas1Model T, Gas1SerialNO T"},
        {"Bump", identity + ", Gas1Name T, Gas1Desit R, Gas1Point I, Gas1Unit T, Gas1Enable I, "
                            "Gas1Before R, Gas1After R, Gas1Judge I"},
        {"cHistory", identity + ", Gas1Name T, Gas1Desit R, Gas1Point I, Gas1Unit T, "
                                "Gas1Enable I, Gas1Before R, Gas1After R"},
        {"cLatestHist",
         "SeqNo I, UserID T, StationID T, SerialNo T, WriteDates T, CalLimit I, Gas1Name T, "
         "Gas1Desit R, Gas1Point I, Gas1Unit T, Gas1Enable I, Gas1AutoCal R, Gas1CalDate T, "
         "Gas1Before R, Gas1After R"},
        {"Alarm_Event", event},
        {"Trouble_Event", event},
        {"Power_Event", "SeqNo I, RelNo I, LogCnt I, Dates T, Power_Type I"},
    };

    CreateLogDatabase(dbPath);

    QStringList tables;
    std::map<QString, QStringList> columns;
    for (const QString &line :
         sqlite3Lines(dbPath, QStringLiteral("Select m.name, p.name, p.type From sqlite_master m, "
                                             "pragma_table_info(m.name) p Where m.type = 'table' "
                                             "Order By m.rowid, p.cid"))) {
        const QStringList parts = line.split('|');
        ASSERT_EQ(parts.size(), 3) << line.toStdString();
        if (tables.isEmpty() || tables.last() != parts[0])
            tables.append(parts[0]);
        columns[parts[0]].append(parts[1] + ' ' + parts[2].left(1));
    }

    QStringList expectedTables;
    for (const auto &[table, columnList] : expected) {
        expectedTables.append(table);
        EXPECT_EQ(columns[table].join(", "), columnList) << table.toStdString();
    }
    EXPECT_EQ(tables, expectedTables);
    EXPECT_EQ(LogTableNames(), expectedTables);

    {
        Database db(dbPath);
        for (const QString &table : expectedTables)
            EXPECT_EQ(db.scalar("Select Count(*) From " + table).toInt(), 0) << table.toStdString();
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral("TQ6200.mdb")});
}

TEST_F(LogSchemaTest, AnExistingFileIsLeftUntouched) {
    struct Case {
        const char *what;
        std::function<void(const QString &)> make;
    };
    const std::vector<Case> cases = {
        {"a log database with a row",
         [](const QString &file) {
             CreateLogDatabase(file);
             Database(file).execute("Insert Into Log_head (SeqNo, Names) Values (?, ?)",
                                    {1, QStringLiteral("kept")});
         }},
        {"a file of other contents",
         [](const QString &file) { test::writeFile(file, "not a database\r\n"); }},
        {"an empty file", [](const QString &file) { test::writeFile(file, {}); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(dbPath);
        c.make(dbPath);
        const QByteArray bytes = test::readFile(dbPath);
        const QDateTime modified = QFileInfo(dbPath).lastModified();

        CreateLogDatabase(dbPath);

        EXPECT_EQ(test::readFile(dbPath), bytes);
        EXPECT_EQ(QFileInfo(dbPath).lastModified(), modified);
        EXPECT_EQ(entries(), QStringList{QStringLiteral("TQ6200.mdb")});
    }
}

TEST_F(LogSchemaTest, TwoRowsWithTheSameKeyAreRefusedInEveryTable) {
    CreateLogDatabase(dbPath);
    Database db(dbPath);
    ASSERT_EQ(LogTableNames().size(), 12);
    for (const QString &table : LogTableNames()) {
        SCOPED_TRACE(table.toStdString());
        const QString insert = QStringLiteral("Insert Into %1 (SeqNo) Values (?)").arg(table);
        db.execute(insert, {1});
        try {
            db.execute(insert, {1});
            ADD_FAILURE() << "the second row was stored";
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::Database);
        }
        EXPECT_EQ(db.scalar("Select Count(*) From " + table).toInt(), 1);
    }
}

// Every lookup that a store, a duplicate test or a reload makes searches an index instead
// of scanning its table, so that an import's cost does not grow with the database.
TEST_F(LogSchemaTest, TheLookupsOfTheStoresSearchAnIndex) {
    const QString identity = "SerialNo = 'a' And UserID = 'b' And StationID = 'c' And Types = 5";
    const QStringList lookups = {
        "Select SeqNo From Log_Head Where " + identity + " Order By SeqNo",
        "Update Log_Head Set Dates = 'x' Where " + identity + " And Dates Is Not 'x'",
        "Select SeqNo From Log_Head Where Dates = 'x' And " + identity,
        "Select Count(*) From Log_Head Where Names = 'n' And FolderID = 'f'",
        "Select GasNo, Alarm_Type From Alarm_Event Where RelNo = 1 And Dates = 'x'",
        "Select GasNo, Alarm_Type From Trouble_Event Where RelNo = 1 And Dates = 'x'",
        "Select SeqNo From Power_Event Where RelNo = 1 And Dates = 'x'",
        "Select 1 From cHistory Where RelNo = 1 And Dates = 'x' Limit 1",
        "Select 1 From Bump Where RelNo = 1 And Dates = 'x' Limit 1",
        "Select 1 From SensorChange Where RelNo = 1 And Dates = 'x' And Gas1Change = 0 Limit 1",
        "Select * From cHistory Where RelNo = 1 Order By Dates Desc, SeqNo Desc Limit 301",
        "Select Gas1val From SnapShot Where RelNo = 1 Order By SeqNo Limit 1",
        "Select * From Interval_Event Where RelNo = 1 And BaseDate = 'x' Order By SeqNo",
        "Select SeqNo, Names From Log_head Where Types = 1 And FolderID = '05/09'",
    };
    CreateLogDatabase(dbPath);
    Database db(dbPath);
    for (const QString &sql : lookups) {
        const QList<DbRow> plan = db.query(QStringLiteral("Explain Query Plan ") + sql);
        ASSERT_FALSE(plan.isEmpty()) << sql.toStdString();
        const QString first = plan.first().text(QStringLiteral("detail"));
        EXPECT_TRUE(first.startsWith(QStringLiteral("SEARCH")) && first.contains("INDEX"))
            << sql.toStdString() << ": " << first.toStdString();
    }
}

TEST_F(LogSchemaTest, ADatabaseOfAnEarlierVersionGainsTheIndexesItLacks) {
    CreateLogDatabase(dbPath);
    Database(dbPath).execute(QStringLiteral("Drop Index LogHeadTypesFolder"));
    CreateLogDatabase(dbPath);
    EXPECT_EQ(Database(dbPath)
                  .scalar(QStringLiteral("Select Count(*) From sqlite_master Where type = 'index' "
                                         "And name = 'LogHeadTypesFolder'"))
                  .toInt(),
              1);
}

TEST_F(LogSchemaTest, CreateWhereNoFileCanBeMadeThrowsAndLeavesNoFile) {
    struct Case {
        const char *what;
        std::function<QString()> target; // empty when the case cannot be set up here
    };
    const std::vector<Case> cases = {
        {"missing folder", [&] { return path(QStringLiteral("missing/TQ6200.mdb")); }},
        {"folder is a file",
         [&] {
             test::writeFile(path(QStringLiteral("plain")), "x");
             return path(QStringLiteral("plain/TQ6200.mdb"));
         }},
        {"read-only folder",
         [&] {
             const QString folder = path(QStringLiteral("locked"));
             QDir().mkdir(folder);
             QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
             // A privileged user writes there anyway; then there is nothing to test.
             QFile probe(folder + QStringLiteral("/probe"));
             if (probe.open(QIODevice::WriteOnly)) {
                 probe.remove();
                 return QString();
             }
             return folder + QStringLiteral("/TQ6200.mdb");
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString target = c.target();
        if (target.isEmpty())
            continue;
        const QStringList before = QDir(QFileInfo(target).absolutePath()).entryList();
        try {
            CreateLogDatabase(target);
            ADD_FAILURE() << "no TqError was thrown";
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::File) << e.message().toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_EQ(QDir(QFileInfo(target).absolutePath()).entryList(), before);
    }
    QFile::setPermissions(path(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(LogSchemaTest, TheWaitForTheFileYieldsAndIsBounded) {
    const QString later = path(QStringLiteral("later.mdb"));
    QTimer::singleShot(100, [&] { test::writeFile(later, "x"); });
    QElapsedTimer clock;
    clock.start();
    WaitForFile(later);
    EXPECT_LT(clock.elapsed(), 4000);

    clock.restart();
    try {
        WaitForFile(path(QStringLiteral("never.mdb")), 300);
        ADD_FAILURE() << "the wait did not give up";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), ErrorKind::File);
    }
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(clock.elapsed(), 4000);
}

} // namespace
} // namespace tq
