// The heading rows of the window's grids stay shown through what the user does to the
// pages around them: a dialog over the Set page, a click into its alarm grid, leaving and
// coming back to the Data View page, and the data view window opened over it.
#include "core/database.h"
#include "core/gui/heading_rows.h"
#include "download_fixture.h"
#include "ui/browser/DataPage.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/data_view_page.h"
#include "ui/instrument/frmFsDialog.h"
#include "ui/main/import_pipeline.h"

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest/QTest>

#include <functional>

namespace tq::test {
namespace {

// Runs `act` on the first visible top-level window of type T once the event loop runs,
// that is, inside the modal loop of the window the caller opens next.
template <typename T> void whenShown(const std::function<void(T &)> &act) {
    QTimer::singleShot(0, [act] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<T *>(w); window && window->isVisible()) {
                act(*window);
                return;
            }
        ADD_FAILURE() << "no window opened";
    });
}

void expectHeadingsShown(const FlexGrid &grid, const std::string &where) {
    EXPECT_EQ(HeadingRowsFault(grid).toStdString(), "")
        << where << ": " << grid.objectName().toStdString();
}

class SetPageGridHeadingsTest : public DownloadWindowTest {
protected:
    FlexGrid &grid() { return *window->controls().vfgOption; }
};

TEST_F(SetPageGridHeadingsTest, StayAfterDetailSettingsCloses) {
    load();
    window->cmdInst_Click(4);
    settle();
    expectHeadingsShown(grid(), "opened");
    const std::vector<std::pair<const char *, std::function<void(frmFsDialog &)>>> closings{
        {"OK", [](frmFsDialog &dialog) { dialog.cmdOK_Click(); }},
        {"Cancel", [](frmFsDialog &dialog) { dialog.cmdCancel_Click(); }},
        {"Escape", [](frmFsDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
    };
    for (const auto &[how, close] : closings) {
        whenShown(close);
        window->controls().cmdOptionDisp[5]->click();
        settle();
        expectHeadingsShown(grid(), std::string("closed with ") + how);
    }
}

// A click on an editable cell makes it current, a double click opens its editor; neither
// scrolls the headings away, on the page as opened nor after Detail Settings refilled it.
TEST_F(SetPageGridHeadingsTest, StayWhenAnAlarmCellIsClicked) {
    connect();
    press(1);
    window->cmdInst_Click(4);
    settle();
    constexpr int kGasRow = 2;
    constexpr int kAlarmColumn = 2;
    for (const bool refilled : {false, true}) {
        if (refilled) {
            whenShown<frmFsDialog>([](frmFsDialog &dialog) { dialog.cmdOK_Click(); });
            window->controls().cmdOptionDisp[5]->click();
            settle();
        }
        const std::string state = refilled ? "after Detail Settings, " : "";
        ASSERT_EQ(grid().Rows(), 3);
        QWidget *cells = grid().viewport();
        const QPoint alarm =
            grid().visualRect(grid().model()->index(kGasRow, kAlarmColumn)).center();
        QTest::mouseClick(cells, Qt::LeftButton, {}, alarm);
        settle();
        EXPECT_EQ(grid().Row(), kGasRow);
        EXPECT_EQ(grid().Col(), kAlarmColumn);
        expectHeadingsShown(grid(), state + "one click");
        QTest::mouseDClick(cells, Qt::LeftButton, {}, alarm);
        settle();
        EXPECT_TRUE(grid().Editing());
        expectHeadingsShown(grid(), state + "editor open");
        grid().FinishEditing(true);
        settle();
        expectHeadingsShown(grid(), state + "edit ended");
    }
}

class DataViewGridHeadingsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        load();
        const ImportRun run = RunImports(BuildImage(QStringLiteral("data_view")),
                                         std::make_shared<clsInstrument>(), ProgramStoreContext());
        ASSERT_TRUE(run.EveryImportSucceeded());
        window->dataPage().setLogTreeStale(true);
        window->cmdInst_Click(2);
        settle();
    }

    // The first log of `type` chosen on the Data page and shown by View Data.
    void viewFirstLogOf(int type) {
        window->cmdInst_Click(2);
        DataPage &page = window->dataPage();
        for (const LogTreeNode &node : page.tree().nodes()) {
            if (node.type != type)
                continue;
            for (QTreeWidgetItemIterator it(page.tvwLog); *it; ++it)
                if (DataPage::keyOf(*it) == node.key) {
                    page.tvwLog->setCurrentItem(*it);
                    page.tvwLog_NodeClick(*it);
                }
        }
        ASSERT_EQ(window->SelectedLogType(), type);
        page.cmdDetail->click();
        settle();
    }

    void expectTablesShowHeadings(const std::string &where) {
        const DataViewPage &page = window->dataViewPage();
        for (const FlexGrid *grid : {page.vfgSummary, page.vfgBrowse}) {
            ASSERT_TRUE(grid->isVisible()) << where << ": " << grid->objectName().toStdString();
            expectHeadingsShown(*grid, where);
        }
    }
};

TEST_F(DataViewGridHeadingsTest, StayAfterReturnAndViewDataAgain) {
    for (int type : {1, 2}) {
        viewFirstLogOf(type);
        expectTablesShowHeadings("first shown");
        window->dataViewPage().cmdBrowse[4]->click();
        settle();
        viewFirstLogOf(type);
        expectTablesShowHeadings("shown again after Return");
    }
}

TEST_F(DataViewGridHeadingsTest, StayAfterTheDataViewWindowCloses) {
    viewFirstLogOf(1);
    Globals().ViewKind = 2;
    Globals().ViewSeqNo =
        Database(Globals().DatabasePath)
            .scalar(QStringLiteral("Select Min(SeqNo) From Log_head Where Types = 2"))
            .toLongLong();
    whenShown<frmIntermittence>([](frmIntermittence &dataView) {
        for (const FlexGrid *grid : {dataView.vfgSummary, dataView.vfgBrowse})
            expectHeadingsShown(*grid, "data view window");
        dataView.cmdBrowse[4]->click();
    });
    window->ShowDataViewWindow();
    settle();
    expectTablesShowHeadings("data view window closed");
}

} // namespace
} // namespace tq::test
