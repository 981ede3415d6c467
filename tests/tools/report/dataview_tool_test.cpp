// tq6200-report dataview out of process over the data_view fixture: the data view window
// opened as a click on a trend event opens it, its state, and its Export and Print against
// the Data View page's on the same alarm trend.
#include "report_tool_fixture.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <cmath>

namespace tq {
namespace {

using test::ToolRun;

// The 720-sample alarm trend of X1 (logs 1 to 3 are the interval trends).
const QString kAlarmTrend = QStringLiteral("4");

class DataViewToolTest : public test::ReportToolFixture {
protected:
    void SetUp() override { importImage(QStringLiteral("data_view")); }

    ToolRun dataView(const QStringList &arguments,
                     const QString &locale = QStringLiteral("en_US.UTF-8")) {
        return run("tq6200-report", QStringList{QStringLiteral("dataview")} + arguments, locale);
    }
    // The --dump lines as a map; empty when the run failed.
    QMap<QString, QString> dump(const QStringList &arguments,
                                const QString &locale = QStringLiteral("en_US.UTF-8")) {
        const ToolRun run = dataView(arguments + QStringList{QStringLiteral("--dump")}, locale);
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        QMap<QString, QString> state;
        for (const QString &line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            state.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
        return state;
    }
    // A control's geometry: left, top, width, height in twips.
    static QList<double> geometry(const QMap<QString, QString> &state, const char *control) {
        QList<double> values;
        for (const QString &v :
             state.value(QStringLiteral("geometry.") + QLatin1String(control)).split(',')) {
            values << v.toDouble();
        }
        return values;
    }
    // The printout's text with the print time taken off each page's title line.
    QString printedText(const QString &pdf) {
        QString text = pdfText(pdf);
        text.replace(QRegularExpression(QStringLiteral("(TQ-6200 Data Logger[^\\n]*?\\))[^\\n]*")),
                     QStringLiteral("\\1"));
        return text;
    }
};

// Within a pixel's rounding.
constexpr double kPixel = 16;

TEST_F(DataViewToolTest, DumpShowsTheTrendInEitherViewWithOrWithoutTheSummary) {
    struct Case {
        const char *name;
        QStringList arguments;
        bool graph;
        bool summary;
        double windowWidth; // the main window's inner width in twips
    };
    const QString large = QStringLiteral("24000x15000");
    const Case cases[] = {
        {"table", {}, false, true, 0},
        {"graph", {QStringLiteral("--graph")}, true, true, 0},
        {"table without summary", {QStringLiteral("--no-summary")}, false, false, 0},
        {"graph without summary, large",
         {QStringLiteral("--graph"), QStringLiteral("--no-summary"), QStringLiteral("--size"),
          large},
         true,
         false,
         24000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QMap<QString, QString> s = dump(QStringList{kAlarmTrend} + c.arguments);
        EXPECT_TRUE(s.value(QStringLiteral("title")).endsWith(QStringLiteral(" [P.No.07319]")));
        EXPECT_EQ(s.value(QStringLiteral("caption")), QStringLiteral("Data View(Alarm Trend)"));
        EXPECT_EQ(s.value(QStringLiteral("view")),
                  c.graph ? QStringLiteral("graph") : QStringLiteral("table"));
        EXPECT_EQ(s.value(QStringLiteral("icon")),
                  c.graph ? QStringLiteral("Alarm0") : QStringLiteral("AlarmG"));
        EXPECT_EQ(s.value(QStringLiteral("graphEnabled")), QStringLiteral("1"));
        EXPECT_EQ(s.value(QStringLiteral("summary.6.0")), QStringLiteral("Data Count"));
        EXPECT_EQ(s.value(QStringLiteral("summary.6.1")), QStringLiteral("720"));
        EXPECT_EQ(s.value(QStringLiteral("summary.3.1")), QStringLiteral("X1"));
        EXPECT_EQ(s.value(QStringLiteral("rows")), QStringLiteral("721"));
        EXPECT_EQ(s.value(QStringLiteral("colouredRows")), QStringLiteral("361"));
        EXPECT_EQ(s.value(QStringLiteral("zoom")), QStringLiteral("1,3,5,10,20,30,50"));

        // What each view shows; the clipboard button, box 4 and Event Only never.
        const QMap<QString, bool> shown{
            {QStringLiteral("vfgSummary"), c.summary}, {QStringLiteral("vfgBrowse"), !c.graph},
            {QStringLiteral("vtmGraph"), c.graph},     {QStringLiteral("chkBrowse_0"), c.graph},
            {QStringLiteral("chkBrowse_1"), false},    {QStringLiteral("chkBrowse_4"), false},
            {QStringLiteral("chkBrowse_5"), c.graph},  {QStringLiteral("chkBrowse_6"), c.graph},
            {QStringLiteral("lblTitle_1"), c.graph},   {QStringLiteral("cmbBrowse"), c.graph},
            {QStringLiteral("chkEvent"), false},       {QStringLiteral("cmdBrowse_1"), false},
            {QStringLiteral("cmdBrowse_4"), true},
        };
        for (auto it = shown.begin(); it != shown.end(); ++it)
            EXPECT_EQ(s.value(QStringLiteral("visible.") + it.key()),
                      it.value() ? QStringLiteral("1") : QStringLiteral("0"))
                << it.key().toStdString();

        // The table starts under the summary or, without it, at 612; the boxes lie under the
        // graph; Return is 12 % of the table's width and ends at its right edge.
        const QList<double> frame = geometry(s, "fraMenu");
        const QList<double> table = geometry(s, "vfgBrowse");
        const QList<double> graph = geometry(s, "vtmGraph");
        const QList<double> summary = geometry(s, "vfgSummary");
        const QList<double> back = geometry(s, "cmdBrowse_4");
        ASSERT_EQ(frame.size() + table.size() + graph.size() + summary.size() + back.size(), 20);
        EXPECT_NEAR(table[1], c.summary ? summary[1] + summary[3] + 120 : 612, kPixel);
        EXPECT_NEAR(graph[1], table[1], kPixel);
        EXPECT_NEAR(table[1] + table[3] - graph[1] - graph[3], 680, kPixel);
        EXPECT_NEAR(geometry(s, "chkBrowse_0")[1], graph[1] + graph[3] + 120, kPixel);
        EXPECT_NEAR(back[2], 0.12 * table[2], kPixel);
        EXPECT_NEAR(back[0] + back[2], table[0] + table[2], kPixel);
        if (c.windowWidth > 0) {
            EXPECT_NEAR(frame[2], 0.88 * c.windowWidth - 240, kPixel);
        }
        if (!c.graph) {
            // Row 361, the alarm sample, in the middle of the rows in view.
            const int top = s.value(QStringLiteral("topRow")).toInt();
            const int bottom = s.value(QStringLiteral("bottomRow")).toInt();
            EXPECT_LT(top, 361);
            EXPECT_GT(bottom, 361);
            EXPECT_LE(std::abs(top + bottom - 722), 2) << top << ' ' << bottom;
        }
    }
    // The Japanese program's part number.
    EXPECT_TRUE(dump({kAlarmTrend}, QStringLiteral("ja_JP.UTF-8"))
                    .value(QStringLiteral("title"))
                    .endsWith(QStringLiteral(" [P.No.07318]")));
}

TEST_F(DataViewToolTest, ExportsAndPrintsAsThePageDoes) {
    for (const int entry : {1, 2, 4}) {
        SCOPED_TRACE(entry);
        const QString page = path(QStringLiteral("page%1.csv").arg(entry));
        const QString window = path(QStringLiteral("window%1.csv").arg(entry));
        const QString filter = QString::number(entry);
        ASSERT_EQ(report({QStringLiteral("export"), kAlarmTrend, page, QStringLiteral("--filter"),
                          filter})
                      .exitCode,
                  0);
        const ToolRun run = dataView(
            {kAlarmTrend, QStringLiteral("--export"), window, QStringLiteral("--filter"), filter});
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        const QByteArray written = test::readFile(window);
        EXPECT_FALSE(written.isEmpty());
        EXPECT_EQ(written, test::readFile(page));
    }

    const QString bitmap = path(QStringLiteral("graph.bmp"));
    const ToolRun graph =
        dataView({kAlarmTrend, QStringLiteral("--graph"), QStringLiteral("--export"), bitmap});
    ASSERT_EQ(graph.exitCode, 0) << graph.errors.toStdString();
    EXPECT_TRUE(test::readFile(bitmap).startsWith("BM"));

    const QString pagePdf = path(QStringLiteral("page.pdf"));
    const QString windowPdf = path(QStringLiteral("window.pdf"));
    ASSERT_EQ(report({QStringLiteral("print"), kAlarmTrend, pagePdf}).exitCode, 0);
    const ToolRun printed = dataView({kAlarmTrend, QStringLiteral("--print"), windowPdf});
    ASSERT_EQ(printed.exitCode, 0) << printed.errors.toStdString();
    EXPECT_TRUE(printed.out.startsWith(QStringLiteral("pages ")));
    const QString text = printedText(windowPdf);
    EXPECT_TRUE(text.contains(QStringLiteral("(Alarm Trend)"))) << text.left(400).toStdString();
    EXPECT_EQ(text, printedText(pagePdf));

    const QString shot = path(QStringLiteral("window.png"));
    ASSERT_EQ(dataView({kAlarmTrend, QStringLiteral("--shot"), shot}).exitCode, 0);
    EXPECT_TRUE(test::readFile(shot).startsWith("\x89PNG"));
}

TEST_F(DataViewToolTest, AnUnknownTrendOpensEmptyAndFailuresExitAsDocumented) {
    const QMap<QString, QString> empty = dump({QStringLiteral("99")});
    EXPECT_EQ(empty.value(QStringLiteral("rows")), QStringLiteral("1"));
    EXPECT_EQ(empty.value(QStringLiteral("graphEnabled")), QStringLiteral("0"));
    EXPECT_EQ(empty.value(QStringLiteral("caption")), QStringLiteral("Data View(Alarm Trend)"));
    EXPECT_EQ(empty.value(QStringLiteral("colouredRows")), QString());

    test::writeFile(path(QStringLiteral("plain")), "x");
    const ToolRun below =
        dataView({kAlarmTrend, QStringLiteral("--export"), path(QStringLiteral("plain/out.csv"))});
    EXPECT_EQ(below.exitCode, 1);
    EXPECT_TRUE(below.errors.contains(QStringLiteral("30101\t"))) << below.errors.toStdString();

    const QStringList refusals[] = {
        {kAlarmTrend},                                                    // no command
        {kAlarmTrend, QStringLiteral("--dump"), QStringLiteral("--shot"), // two commands
         QStringLiteral("a.png")},
        {kAlarmTrend, QStringLiteral("--dump"), QStringLiteral("--size"), QStringLiteral("9x")},
        {kAlarmTrend, QStringLiteral("--dump"), QStringLiteral("--filter"), QStringLiteral("2")},
        {kAlarmTrend, QStringLiteral("--export"), QStringLiteral("a.csv"),
         QStringLiteral("--filter"), QStringLiteral("5")},
    };
    for (const QStringList &arguments : refusals)
        EXPECT_EQ(dataView(arguments).exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_EQ(made(), QStringList{QStringLiteral("plain")});
}

} // namespace
} // namespace tq
