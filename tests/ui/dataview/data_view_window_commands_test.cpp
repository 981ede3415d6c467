// The data view window's Print, Export, Summary and Return, through the dialogs and printer
// seams. The export and print libraries test their texts and pages; these tests show what
// the window hands them.
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "data_view_window_fixture.h"
#include "print/export/export_text.h"
#include "recording_surface.h"

#include <QFile>
#include <QTimer>

#include <limits>

namespace tq {
namespace {

using CommandsTest = test::DataViewWindowTest;

// Exports in a row, each seeing what the last left: the proposed name from the window's own
// last file (never the page's), the written table or bitmap, a failure that keeps the last.
TEST_F(CommandsTest, ExportProposesFromItsOwnLastFile) {
    const qint64 seqNo = storeAlarm({.samples = 720});
    const QString folder = dir.path();
    // The page exported first, with its own command.
    ExportCommand page;
    dialogs.chosen = {folder + QStringLiteral("/page.csv"), 1};
    clsAlarm log;
    log.setSeqNo(seqNo);
    log.setContext(ProgramStoreContext());
    log.ReLoad();
    ExportSource pageSource;
    pageSource.logType = 2;
    pageSource.logs.alarm = &log;
    ASSERT_EQ(page.Run(pageSource), ExportOutcome::Written);
    dialogs.proposed.clear();

    struct Step {
        const char *name;
        bool graph;
        QString answer;
        int entry;
        QString proposed;
        bool written;
    };
    const Step steps[] = {
        {"first table", false, folder + "/a.csv", 4, folder + "/Sample.csv", true},
        {"graph after reopening", true, folder + "/g.bmp", 1, folder + "/a.bmp", true},
        {"below a regular file", false, folder + "/a.csv/x.csv", 1, folder + "/g.csv", false},
        {"tab-separated", false, folder + "/t.txt", 2, folder + "/g.csv", true},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        open(seqNo, opening(s.graph));
        dialogs.shown.clear();
        dialogs.proposed.clear();
        dialogs.chosen = {s.answer, s.entry};
        const QString before = window->exportCommand().LastExportFile();
        window->cmdBrowse[2]->click();
        ASSERT_EQ(dialogs.proposed, QStringList{s.proposed});
        EXPECT_EQ(window->exportCommand().LastExportFile(), s.written ? s.answer : before);
        EXPECT_EQ(dialogs.ids(), s.written ? QList<int>() : QList<int>({30101}));
        EXPECT_EQ(QFile::exists(s.answer), s.written);
        EXPECT_NE(window->cursor().shape(), Qt::WaitCursor);
    }
    // The table is the alarm trend's text of the chosen entry, then one more line end; the
    // graph a bitmap.
    ExportRequest request;
    request.logType = 2;
    request.logs.alarm = &window->alarm();
    request.filterIndex = 4;
    EXPECT_EQ(test::readFile(folder + "/a.csv"),
              (MakeExportText(request) + QStringLiteral("\r\n")).toUtf8());
    request.filterIndex = 2;
    request.separator = QStringLiteral("\t");
    EXPECT_EQ(test::readFile(folder + "/t.txt"),
              (MakeExportText(request) + QStringLiteral("\r\n")).toUtf8());
    EXPECT_TRUE(test::readFile(folder + "/g.bmp").startsWith("BM"));
    EXPECT_EQ(page.LastExportFile(), folder + QStringLiteral("/page.csv"));
}

TEST_F(CommandsTest, PrintSendsTheWindowsOwnTableOrGraph) {
    const qint64 seqNo = storeAlarm({.samples = 720});
    for (const bool graph : {false, true}) {
        SCOPED_TRACE(graph);
        open(seqNo, opening(graph));
        test::FakePrinters printers;
        window->cmdBrowse[0]->click();
        EXPECT_EQ(printers.opened, QStringLiteral("Laser A"));
        EXPECT_TRUE(printers.record.ended);
        EXPECT_TRUE(dialogs.shown.isEmpty());
        const QStringList texts = printers.record.texts();
        EXPECT_EQ(printers.record.of(test::PrintCall::Graph).isEmpty(), !graph);
        EXPECT_EQ(texts.contains(window->vfgBrowse->TextMatrix(100, 1)), !graph);
    }
}

TEST_F(CommandsTest, SummaryTwiceAndReturn) {
    open({.samples = 720});
    window->show();
    const double withSummary = T(window->vfgBrowse);
    window->cmdBrowse[3]->click();
    EXPECT_FALSE(shown(window->vfgSummary));
    EXPECT_NEAR(T(window->vfgBrowse), 612, TwipsPerPixelY() + 0.01);
    window->cmdBrowse[3]->click();
    EXPECT_TRUE(shown(window->vfgSummary));
    EXPECT_EQ(T(window->vfgBrowse), withSummary);
    window->close();

    // Return closes the modal window; its log stays for the next export.
    QTimer::singleShot(0, window.get(), [&] { window->cmdBrowse[4]->click(); });
    EXPECT_EQ(window->Show(opening()), int(QDialog::Accepted));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->alarm().DataCount(), 720);
}

// An alarm trend whose file is missing or damaged opens with what could be read and says
// so; its Export and Print fail before asking for a file or a printer.
TEST_F(CommandsTest, AnAlarmTrendWithoutItsWholeFileSaysSoAndWritesNothing) {
    struct Case {
        const char *name;
        bool remove; // else the time of record 101 made NaN
        int box;
        int samples;
    };
    for (const Case &c : {Case{"missing", true, 30005, 0}, Case{"damaged", false, 30006, 100}}) {
        SCOPED_TRACE(c.name);
        const qint64 seqNo = storeAlarm({.samples = 720});
        const QString file = TrendFilePath(
            Globals().DataFolder, QStringLiteral("05/09"),
            db().scalar(QStringLiteral("Select Names From Log_head Where SeqNo = ?"), {seqNo})
                .toString());
        if (c.remove) {
            ASSERT_TRUE(QFile::remove(file));
        } else {
            QFile trend(file);
            ASSERT_TRUE(trend.open(QIODevice::ReadWrite));
            const double nan = std::numeric_limits<double>::quiet_NaN();
            trend.seek(100 * kTrendRecordSize);
            trend.write(reinterpret_cast<const char *>(&nan), sizeof nan);
        }
        dialogs.shown.clear();
        open(seqNo, opening());
        ASSERT_EQ(dialogs.ids(), QList<int>{c.box});
        EXPECT_EQ(dialogs.shown[0].text, LoadMessage(c.box, {file}));
        EXPECT_EQ(window->alarm().DataCount(), c.samples);

        dialogs.shown.clear();
        dialogs.proposed.clear();
        test::FakePrinters printers;
        window->cmdBrowse[2]->click();
        window->cmdBrowse[0]->click();
        EXPECT_EQ(dialogs.ids(), (QList<int>{30101, 30102}));
        EXPECT_TRUE(dialogs.proposed.isEmpty());
        EXPECT_TRUE(printers.offered.isEmpty());
    }
}

} // namespace
} // namespace tq
