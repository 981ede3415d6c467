// tq6200-report out of process, in a program folder of its own over an imported fixture:
// the file it writes, its exit statuses and the boxes it reports.
#include "core/database.h"
#include "report_tool_fixture.h"
#include "ui/main/database_lock.h"

#include <QFile>
#include <QRegularExpression>

namespace tq {
namespace {

using test::ToolRun;

// The alarm trends of alarm_basic imported: log 1 (CH4, 720 samples), 2 and 3.
class ReportToolTest : public test::ReportToolFixture {
protected:
    void SetUp() override { importImage(QStringLiteral("alarm_basic")); }
};

TEST_F(ReportToolTest, ExportWritesTheExportFileOfTheLogOnView) {
    const ToolRun ok =
        report({QStringLiteral("export"), QStringLiteral("1"), path(QStringLiteral("alarm.csv"))});
    EXPECT_EQ(ok.exitCode, 0) << ok.errors.toStdString();
    EXPECT_TRUE(ok.out.isEmpty());
    // The file is the export text with the closing line end of its type.
    const QByteArray golden =
        test::readFile(QStringLiteral(TQ_SOURCE_DIR) +
                       QStringLiteral("/tests/print/export/golden/alarm_ch4.en.txt"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(test::readFile(path(QStringLiteral("alarm.csv"))), golden + "\r\n");

    // Written again over the file: the overwrite question only.
    const ToolRun again =
        report({QStringLiteral("export"), QStringLiteral("1"), path(QStringLiteral("alarm.csv"))});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.errors.contains(QStringLiteral("5307\t")));
    // Nothing else is written: no settings file, no second database.
    EXPECT_EQ(made(), QStringList{QStringLiteral("alarm.csv")});
}

TEST_F(ReportToolTest, FailuresAndRefusalsExitAsDocumented) {
    test::writeFile(path(QStringLiteral("plain")), "x");
    const ToolRun below = report(
        {QStringLiteral("export"), QStringLiteral("1"), path(QStringLiteral("plain/out.csv"))});
    EXPECT_EQ(below.exitCode, 1);
    EXPECT_TRUE(below.errors.contains(QStringLiteral("30101\t"))) << below.errors.toStdString();

    struct Case {
        const char *name;
        QStringList arguments;
    };
    const Case refusals[] = {
        {"unknown log", {QStringLiteral("export"), QStringLiteral("99"), QStringLiteral("a.csv")}},
        {"no such entry",
         {QStringLiteral("export"), QStringLiteral("1"), QStringLiteral("a.csv"),
          QStringLiteral("--filter"), QStringLiteral("5")}},
        {"condensed of an alarm trend",
         {QStringLiteral("export"), QStringLiteral("1"), QStringLiteral("a.csv"),
          QStringLiteral("--condensed")}},
        {"bad arguments", {QStringLiteral("export"), QStringLiteral("x")}},
    };
    for (const Case &c : refusals) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(report(c.arguments).exitCode, 2);
    }

    // Another copy holds the database.
    DatabaseLock lock;
    ASSERT_EQ(lock.Take(LockPathFor(path(QStringLiteral("TQ6200.mdb")))),
              DatabaseLock::State::Locked);
    const ToolRun held =
        report({QStringLiteral("export"), QStringLiteral("1"), path(QStringLiteral("held.csv"))});
    EXPECT_EQ(held.exitCode, 2);
    EXPECT_TRUE(held.errors.contains(QStringLiteral("300\t"))) << held.errors.toStdString();
    EXPECT_TRUE(made().contains(QStringLiteral("plain")));
    EXPECT_EQ(made().size(), 1) << made().join(' ').toStdString();
}

TEST_F(ReportToolTest, PrintWritesTheAlarmTableWithEveryRowOnce) {
    const QString pdf = path(QStringLiteral("alarm.pdf"));
    const ToolRun printed = report({QStringLiteral("print"), QStringLiteral("1"), pdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.errors.toStdString();
    EXPECT_TRUE(printed.out.startsWith(QStringLiteral("pages ")));
    EXPECT_GT(printed.out.mid(6).trimmed().toInt(), 1);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("TQ-6200 Data Logger")))
        << text.left(400).toStdString();
    // Each row starts with its number before the sample's date: 1 to 720, once each, in
    // order.
    const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+\\S.*\\d:\\d\\d:\\d\\d"));
    QList<int> numbers;
    QList<int> expected;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            numbers.append(match.captured(1).toInt());
    }
    for (int n = 1; n <= 720; ++n)
        expected.append(n);
    EXPECT_EQ(numbers, expected);
}

// The graph of the alarm trend on one page, in Japanese: its titles in the Japanese texts,
// drawn with a CJK font.
TEST_F(ReportToolTest, PrintsTheGraphInJapaneseWithACjkFont) {
    const QString pdf = path(QStringLiteral("graph.pdf"));
    const ToolRun printed =
        run("tq6200-report",
            {QStringLiteral("print"), QStringLiteral("1"), pdf, QStringLiteral("--graph")},
            QStringLiteral("ja_JP.UTF-8"));
    ASSERT_EQ(printed.exitCode, 0) << printed.errors.toStdString();
    EXPECT_EQ(printed.out.trimmed(), QStringLiteral("pages 1"));
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QString::fromUtf8("ｱﾗｰﾑﾄﾚﾝﾄﾞ")) ||
                text.contains(QString::fromUtf8("アラームトレンド")))
        << text.left(600).toStdString();
    EXPECT_TRUE(output(QStringLiteral("pdffonts"), {pdf}).contains(QStringLiteral("CJK")));
}

// An event log and a bump test print as their tables, under their own titles.
TEST_F(ReportToolTest, PrintsAnEventLogAndABumpTest) {
    importImage(QStringLiteral("events_basic"));
    importImage(QStringLiteral("data_view"));
    struct Case {
        int type;
        const char *title;
    };
    for (const Case &c : {Case{5, "(Alarm Event)"}, Case{10, "(Bump Test)"}}) {
        const QList<DbRow> rows = Database(path(QStringLiteral("TQ6200.mdb")))
                                      .query(QStringLiteral("SELECT SeqNo FROM Log_Head WHERE "
                                                            "Types = ? ORDER BY SeqNo"),
                                             {c.type});
        ASSERT_FALSE(rows.isEmpty()) << c.type;
        const QString pdf = path(QStringLiteral("log%1.pdf").arg(c.type));
        const ToolRun printed =
            report({QStringLiteral("print"), QString::number(rows.first().integer("SeqNo")), pdf});
        ASSERT_EQ(printed.exitCode, 0) << c.type << printed.errors.toStdString();
        const QString text = pdfText(pdf);
        EXPECT_TRUE(text.contains(QLatin1String(c.title)))
            << c.type << text.left(500).toStdString();
    }
}

TEST_F(ReportToolTest, APdfThatCannotBeWrittenFailsAndLeavesNothing) {
    test::writeFile(path(QStringLiteral("plain")), "x");
    const ToolRun failed = report(
        {QStringLiteral("print"), QStringLiteral("1"), path(QStringLiteral("plain/out.pdf"))});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.errors.contains(QStringLiteral("30102\t"))) << failed.errors.toStdString();
    EXPECT_EQ(made(), QStringList{QStringLiteral("plain")});
}

TEST_F(ReportToolTest, PrintLastCalWritesTheList) {
    Database(path(QStringLiteral("TQ6200.mdb")))
        .execute(QStringLiteral("INSERT INTO cLatestHist (SerialNo, UserID, StationID, "
                                "WriteDates, CalLimit, Gas1Name, Gas1Point, Gas1Enable, "
                                "Gas1CalDate, Gas1Before, Gas1After, Gas1AutoCal) VALUES "
                                "('SN7', 'U1', 'ST', ?, 90, 'CO', 1, 1, ?, 48.5, 50, 50)"),
                 {DateParam(Date::now()), DateParam(Date::now())});
    const QString pdf = path(QStringLiteral("lastcal.pdf"));
    const ToolRun printed = report({QStringLiteral("print-lastcal"), pdf});
    EXPECT_EQ(printed.exitCode, 0) << printed.errors.toStdString();
    EXPECT_TRUE(printed.out.startsWith(QStringLiteral("pages ")));
    EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("TQ-6200 Data Logger")));
}

} // namespace
} // namespace tq
