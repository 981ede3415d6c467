// tq6200-report out of process over logs changed by hand, one fault each: a trend file gone
// or damaged, a Null or a value beyond its field in a stored row, a full disk, a folder as
// the target. Each export and printout fails (exit 1, its box naming the cause) and writes
// nothing: the old file at the target stays, no temporary file is left, the lock goes.
#include "core/database.h"
#include "logs/trend/trend_file.h"
#include "report_tool_fixture.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>

namespace tq {
namespace {

using test::ToolRun;

// An interval trend of 6,000 samples: its export and printout outgrow a small file-size
// limit that the database's own files stay within.
const QString kLongInterval = QStringLiteral(R"({"interval": {"logs": [
    {"log_no": 1, "user": "LONG", "station": "RUN", "serial": "L1", "interval": 10,
     "date": "2024-01-01 00:00:00",
     "gases": [{"name": "CH4", "decimals": 1, "unit": "%LEL", "full": 100, "resolution": 0.1}],
     "body": [{"samples": {"values": [1.0, 2.5, 4.0], "run": 7, "count": 6000}}]}]}})");

class ReportFaultTest : public test::ReportToolFixture {
protected:
    void SetUp() override {
        importImage(QStringLiteral("data_view"));
        importImage(QStringLiteral("events_basic"));
    }
    Database db() const { return Database(path(QStringLiteral("TQ6200.mdb"))); }
    qint64 seqOf(int type, int nth = 0) const {
        const QList<DbRow> rows = db().query(
            QStringLiteral("Select SeqNo From Log_head Where Types = ? Order By SeqNo"), {type});
        EXPECT_GT(rows.size(), nth) << "no log " << nth << " of type " << type;
        return rows.size() > nth ? rows[nth].integer(QStringLiteral("SeqNo")) : 0;
    }
    QString trendFileOf(qint64 seqNo) const {
        const DbRow head =
            db().query(QStringLiteral("Select FolderID, Names From Log_head Where SeqNo = ?"),
                       {seqNo})
                .at(0);
        return TrendFilePath(path(QStringLiteral("Data")), head.text(QStringLiteral("FolderID")),
                             head.text(QStringLiteral("Names")));
    }
    void execute(const QString &sql, qint64 seqNo) const { db().execute(sql, {seqNo}); }

    // Runs `command` (export or print) on the log into a target that holds an old file and
    // checks that it failed, said so with `box` and `told`, and wrote nothing.
    void expectNothingWritten(const QString &command, qint64 seqNo, const QString &target, int box,
                              const QString &told, long fileSizeLimit = 0,
                              const QStringList &options = {}) {
        SCOPED_TRACE(command.toStdString() + " " + target.toStdString());
        test::writeFile(path(target), "OLD");
        const QStringList before = made();
        const ToolRun failed = run(
            "tq6200-report", QStringList{command, QString::number(seqNo), path(target)} + options,
            QStringLiteral("en_US.UTF-8"), fileSizeLimit);
        EXPECT_FALSE(failed.crashed);
        EXPECT_EQ(failed.exitCode, 1) << failed.errors.toStdString();
        EXPECT_TRUE(failed.errors.contains(QStringLiteral("%1\t").arg(box)))
            << failed.errors.toStdString();
        EXPECT_TRUE(failed.errors.contains(told)) << failed.errors.toStdString();
        EXPECT_EQ(test::readFile(path(target)), QByteArray("OLD"));
        EXPECT_EQ(made(), before) << "no temporary file is left";
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("TQ6200.LCK")))) << "the lock is gone";
    }
};

TEST_F(ReportFaultTest, ATrendWhoseFileIsGoneOrDamagedIsNeitherExportedNorPrinted) {
    const qint64 gone = seqOf(1);
    const QString goneFile = trendFileOf(gone);
    ASSERT_TRUE(QFile::remove(goneFile));
    const qint64 damaged = seqOf(2);
    const QString damagedFile = trendFileOf(damaged);
    {
        QFile trend(damagedFile);
        ASSERT_TRUE(trend.open(QIODevice::ReadWrite));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        trend.seek(99 * kTrendRecordSize);
        trend.write(reinterpret_cast<const char *>(&nan), sizeof nan);
    }
    struct Case {
        qint64 seqNo;
        int box; // the page's box when it opens the log
        QString file;
    };
    for (const Case &c : {Case{gone, 30005, goneFile}, Case{damaged, 30006, damagedFile}}) {
        const QString told = QStringLiteral("%1\t").arg(c.box);
        expectNothingWritten(QStringLiteral("export"), c.seqNo, QStringLiteral("t.csv"), 30101,
                             told);
        expectNothingWritten(QStringLiteral("print"), c.seqNo, QStringLiteral("t.pdf"), 30102,
                             told);
    }
}

// A row with a Null where the text needs a value, or a value beyond its field: the export
// and the printout fail, naming the column, where they would write an invented value.
TEST_F(ReportFaultTest, AStoredValueThatIsNotThereOrDoesNotFitEndsTheExportAndThePrintout) {
    struct Case {
        const char *name;
        qint64 seqNo;
        QString sql; // on the log's rows
        QString told;
    };
    const Case cases[] = {
        {"Null Power_Type", seqOf(7),
         QStringLiteral("Update Power_Event Set Power_Type = Null Where RelNo = ?"),
         QStringLiteral("Power_Type")},
        {"Null Alarm_Type", seqOf(5),
         QStringLiteral("Update Alarm_Event Set Alarm_Type = Null Where RelNo = ?"),
         QStringLiteral("Alarm_Type")},
        {"Null Gas1Full", seqOf(12),
         QStringLiteral("Update SensorChange Set Gas1Full = Null Where RelNo = ?"),
         QStringLiteral("Gas1Full")},
        {"Null Gas1Point", seqOf(12),
         QStringLiteral("Update SensorChange Set Gas1Full = 100, Gas1Point = Null Where "
                        "RelNo = ?"),
         QStringLiteral("Gas1Point")},
        {"an event code beyond 16 bits", seqOf(1, 1),
         QStringLiteral("Insert Into Interval_Event (SeqNo, RelNo, Datetimes, BaseDate, "
                        "Gas1Event) Select 9001, SeqNo, Dates, Dates, 65429 From Log_head "
                        "Where SeqNo = ?"),
         QStringLiteral("65429")},
        {"a snapshot status beyond 16 bits", seqOf(11),
         QStringLiteral("Update SnapShot Set Gas1sts = 65429 Where RelNo = ?"),
         QStringLiteral("65429")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        execute(c.sql, c.seqNo);
        expectNothingWritten(QStringLiteral("export"), c.seqNo, QStringLiteral("v.csv"), 30101,
                             c.told);
        expectNothingWritten(QStringLiteral("print"), c.seqNo, QStringLiteral("v.pdf"), 30102,
                             c.told);
    }
}

// A Null date is an empty cell: never 1899/09/20 in the file, nor 9/20/1899 on paper.
TEST_F(ReportFaultTest, ANullDateIsWrittenAndPrintedAsAnEmptyCell) {
    const qint64 power = seqOf(7);
    execute(QStringLiteral("Update Log_head Set Dates = Null Where SeqNo = ?"), power);
    execute(QStringLiteral("Update Power_Event Set Dates = Null Where RelNo = ?"), power);
    const ToolRun exported =
        report({QStringLiteral("export"), QString::number(power), path(QStringLiteral("p.csv"))});
    ASSERT_EQ(exported.exitCode, 0) << exported.errors.toStdString();
    const QString text = QString::fromUtf8(test::readFile(path(QStringLiteral("p.csv"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Last Download,\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n1,,"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("1899")));

    const ToolRun printed =
        report({QStringLiteral("print"), QString::number(power), path(QStringLiteral("p.pdf"))});
    ASSERT_EQ(printed.exitCode, 0) << printed.errors.toStdString();
    EXPECT_FALSE(pdfText(path(QStringLiteral("p.pdf"))).contains(QStringLiteral("1899")));
}

// An alarm trend file of 721 records: the 720 samples of an alarm trend are written, and no
// reading beyond them is made up.
TEST_F(ReportFaultTest, AnAlarmTrendOf721RecordsExportsItsSamplesOnly) {
    const qint64 alarm = seqOf(2, 1);
    QFile trend(trendFileOf(alarm));
    ASSERT_TRUE(trend.open(QIODevice::Append));
    TrendFileWriter extra;
    extra.PutTrendPoint(1, Date::fromParts(2024, 5, 6, 13, 0, 0), 42);
    trend.write(extra.records());
    trend.close();
    const ToolRun exported =
        report({QStringLiteral("export"), QString::number(alarm), path(QStringLiteral("a.csv"))});
    ASSERT_EQ(exported.exitCode, 0) << exported.errors.toStdString();
    const QString text = QString::fromUtf8(test::readFile(path(QStringLiteral("a.csv"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Data Count,720\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n720,")));
    EXPECT_FALSE(text.contains(QStringLiteral("\r\n721,")));
}

// A file-size limit (a full disk that even root cannot write past) fails every write path
// with the system's reason; SIGXFSZ does not end the tool.
TEST_F(ReportFaultTest, AFullDiskFailsEveryWriteWithItsReasonAndKeepsTheOldFile) {
    importImage(kLongInterval);
    const qint64 longLog =
        db().scalar(QStringLiteral("Select SeqNo From Log_head Where SerialNo = 'L1'"))
            .toLongLong();
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    constexpr long kLimit = 96 * 1024;
    expectNothingWritten(QStringLiteral("export"), longLog, QStringLiteral("full.csv"), 30101,
                         reason, kLimit);
    expectNothingWritten(QStringLiteral("export"), seqOf(2), QStringLiteral("full.bmp"), 30101,
                         reason, kLimit, {QStringLiteral("--graph")});
    expectNothingWritten(QStringLiteral("print"), longLog, QStringLiteral("full.pdf"), 30102,
                         reason, kLimit);
}

// A folder as the PDF fails at once, as the export does, without the overwrite question.
TEST_F(ReportFaultTest, AFolderAsThePdfFailsWithoutTheOverwriteQuestion) {
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("folder.pdf"))));
    const ToolRun failed = report(
        {QStringLiteral("print"), QString::number(seqOf(2)), path(QStringLiteral("folder.pdf"))});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.errors.contains(QStringLiteral("30102\t"))) << failed.errors.toStdString();
    EXPECT_FALSE(failed.errors.contains(QStringLiteral("5307\t")));
    EXPECT_TRUE(QDir(path(QStringLiteral("folder.pdf"))).isEmpty());
}

} // namespace
} // namespace tq
