// The Data View page's Print, Export and Summary commands, through the dialogs and printer
// seams. The export and print libraries test their texts and pages; these tests show what
// the page hands them and what it does around them.
#include "data_view_fixture.h"
#include "graph/uclVtmGraph.h"
#include "print/printer_system.h"
#include "recording_surface.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>

namespace tq {
namespace {

class DataViewCommandsTest : public test::DataViewTest {
protected:
    void SetUp() override {
        DataViewTest::SetUp();
        frame.show();
    }
    void chooseGraph() {
        page->optBrowse[1]->setChecked(true);
        page->optBrowse_Click(1);
    }
    bool hourglass() const { return page->window()->cursor().shape() == Qt::WaitCursor; }
    QWidget *picture() const { return page->vtmGraph->findChild<QWidget *>("picGraph"); }
    // The graph's picture wiped, and whether it was drawn again since.
    void wipeGraph() { page->vtmGraph->Cls(); }
    bool graphDrawn() const {
        const QImage &image = page->vtmGraph->Picture();
        const QRgb background = image.pixel(0, 0);
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                if (image.pixel(x, y) != background)
                    return true;
        return false;
    }

    test::ScriptedDialogs saves; // installed over the fixture's boxes
};

// A run of exports of one interval trend, each step seeing what the last one left: the
// proposed name, cancel, "No", the progress of a table and the last file.
TEST_F(DataViewCommandsTest, ExportProposesFromTheLastFileAndKeepsItOnCancelAndNo) {
    viewData(1);
    const QString folder = dir.path();
    const QString csv = folder + QStringLiteral("/log.csv");
    const QString bmp = folder + QStringLiteral("/log.bmp");
    const QString txt = folder + QStringLiteral("/log.txt");
    struct Step {
        const char *name;
        bool graph;
        QString answer; // empty: cancelled
        int entry;
        BoxAnswer overwrite; // asked when the file exists
        QString proposed;
        QString last;  // LastExportFile afterwards
        bool progress; // the progress window shown and unloaded
    };
    const Step steps[] = {
        {"first table cancelled",
         false,
         {},
         1,
         BoxAnswer::Yes,
         folder + QStringLiteral("/Sample.csv"),
         {},
         false},
        {"first graph cancelled",
         true,
         {},
         1,
         BoxAnswer::Yes,
         folder + QStringLiteral("/Sample.bmp"),
         {},
         false},
        {"table written", false, csv, 1, BoxAnswer::Yes, folder + QStringLiteral("/Sample.csv"),
         csv, true},
        {"graph proposes .bmp", true, bmp, 1, BoxAnswer::Yes, bmp, bmp, false},
        {"table again .csv, written as text", false, txt, 3, BoxAnswer::Yes, csv, txt, true},
        {"txt proposes .csv; No keeps all", false, txt, 1, BoxAnswer::No, csv, txt, false},
        {"same proposal after No", false, {}, 1, BoxAnswer::Yes, csv, txt, false},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        if (step.graph)
            chooseGraph();
        else
            page->optBrowse[0]->setChecked(true);
        saves.proposed.clear();
        saves.shown.clear();
        exportProgress.clear();
        saves.chosen = {step.answer, step.entry};
        saves.answers = {step.overwrite};
        const bool existed = !step.answer.isEmpty() && QFileInfo::exists(step.answer);
        const QByteArray before = existed ? test::readFile(step.answer) : QByteArray();

        page->cmdBrowse_Click(2);

        EXPECT_EQ(saves.proposed, QStringList{step.proposed});
        EXPECT_EQ(page->exportCommand().LastExportFile(), step.last);
        EXPECT_EQ(exportProgress, step.progress ? QList<bool>({true, false}) : QList<bool>());
        EXPECT_FALSE(hourglass());
        EXPECT_EQ(saves.ids(), existed ? QList<int>{5307} : QList<int>{});
        if (step.answer.isEmpty())
            continue;
        const QByteArray after = test::readFile(step.answer);
        const QByteArray expected = step.overwrite == BoxAnswer::No ? before.left(16)
                                    : step.graph                    ? QByteArray("BM")
                                                 : QByteArray("TQ-6200 Data Sample (");
        EXPECT_TRUE(after.startsWith(expected)) << after.left(30).toStdString();
    }
}

TEST_F(DataViewCommandsTest, AVisibleGraphIsRedrawnAndFocusedAfterExportAndSummary) {
    viewData(1);
    chooseGraph();
    QWidget other(&frame);
    other.setFocusPolicy(Qt::StrongFocus);
    for (const int command : {2, 3, 0}) {
        SCOPED_TRACE(command);
        other.setFocus();
        wipeGraph();
        ASSERT_FALSE(graphDrawn());
        // The export answered "No" (a cancel ends it before anything changes).
        test::writeFile(path(QStringLiteral("kept.bmp")), "old");
        saves.chosen = {path(QStringLiteral("kept.bmp")), 1};
        saves.answers = {BoxAnswer::No};
        test::FakePrinters printers;
        printers.answer = -1; // nor is a printer chosen
        page->cmdBrowse_Click(command);
        EXPECT_TRUE(graphDrawn());
        EXPECT_EQ(frame.focusWidget(), picture());
    }
}

TEST_F(DataViewCommandsTest, SummaryTwiceLeavesTheGridAsItWasAndLaysOutEachTime) {
    viewData(1);
    const bool shown = !page->vfgSummary->isHidden();
    const int layoutsBefore = layouts;
    page->cmdBrowse_Click(3);
    EXPECT_EQ(page->vfgSummary->isHidden(), shown);
    EXPECT_EQ(layouts, layoutsBefore + 1);
    page->cmdBrowse_Click(3);
    EXPECT_EQ(!page->vfgSummary->isHidden(), shown);
    EXPECT_EQ(layouts, layoutsBefore + 2);
}

TEST_F(DataViewCommandsTest, ToClipboardIsNeverShownAndReturnShowsTheDataPage) {
    for (const int type : {1, 9, 2, 3, 10, 5, 6, 7, 11, 12}) {
        SCOPED_TRACE(type);
        viewData(type);
        page->layOut(13000, 8000, LoadMessage(101));
        EXPECT_TRUE(page->cmdBrowse[1]->isHidden());
        const int before = dataPagesShown;
        page->cmdBrowse_Click(1);
        EXPECT_EQ(dataPagesShown, before);
        page->cmdBrowse_Click(4);
        EXPECT_EQ(dataPagesShown, before + 1);
    }
    EXPECT_TRUE(saves.shown.isEmpty());
    EXPECT_TRUE(saves.proposed.isEmpty());
}

// Print hands the job a fresh request for the log on view: the tables of the page's record
// table, or the graph, on the printer chosen.
TEST_F(DataViewCommandsTest, PrintSendsTheLogOnViewToTheChosenPrinter) {
    struct Case {
        const char *name;
        int type;
        bool graph;
    };
    const Case cases[] = {
        {"interval trend table", 1, false}, {"interval trend graph", 1, true},
        {"alarm trend table", 2, false},    {"alarm trend graph", 2, true},
        {"alarm event log", 5, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::FakePrinters printers;
        viewData(c.type);
        if (c.graph)
            chooseGraph();
        else
            page->optBrowse[0]->setChecked(true);
        page->cmdBrowse_Click(0);

        EXPECT_EQ(printers.opened, QStringLiteral("Laser A"));
        EXPECT_TRUE(printers.record.ended);
        EXPECT_TRUE(saves.shown.isEmpty());
        EXPECT_FALSE(hourglass());
        const QStringList texts = printers.record.texts();
        EXPECT_TRUE(texts.join('|').contains(QStringLiteral("TQ-6200 Data Logger")));
        EXPECT_EQ(printers.record.of(test::PrintCall::Graph).isEmpty(), !c.graph);
        // The tables of a trend are the page's own record table, copied.
        if (c.type != 5 && !c.graph) {
            EXPECT_TRUE(texts.contains(page->vfgBrowse->TextMatrix(1, 1)));
        }
    }
}

} // namespace
} // namespace tq
