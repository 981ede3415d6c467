// The Data page's View Data and Instrument buttons in the main window, over imported logs.
#include "core/database.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "main_window_fixture.h"
#include "ui/browser/DataPage.h"
#include "ui/display/data_view_page.h"
#include "ui/main/import_pipeline.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace tq {
namespace {

class DataViewWindowTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        load();
        const ImportRun run = RunImports(test::BuildImage(QStringLiteral("data_view")),
                                         std::make_shared<clsInstrument>(), ProgramStoreContext());
        ASSERT_TRUE(run.EveryImportSucceeded());
        window->dataPage().setLogTreeStale(true);
        window->cmdInst_Click(2);
    }

    // A click on the type folder of `type`: its logs listed, the first one selected.
    void clickTypeFolder(int type) {
        DataPage &page = window->dataPage();
        for (const LogTreeNode &node : page.tree().nodes()) {
            if (node.type != type)
                continue;
            for (QTreeWidgetItemIterator it(page.tvwLog); *it; ++it)
                if (DataPage::keyOf(*it) == node.key) {
                    page.tvwLog->setCurrentItem(*it);
                    page.tvwLog_NodeClick(*it);
                    return;
                }
        }
        ADD_FAILURE() << "no folder of type " << type;
    }
    // The visible page frame.
    int shownPage() const {
        const auto &frames = window->controls().fraMenu;
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (!frames[i]->isHidden())
                return int(i);
        return -1;
    }
};

TEST_F(DataViewWindowTest, ViewDataOpensTheDataViewPageAndReturnGoesBack) {
    clickTypeFolder(1);
    ASSERT_EQ(window->SelectedLogType(), 1);
    window->dataPage().cmdDetail->click();
    EXPECT_EQ(shownPage(), 3);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    const QString caption =
        LoadMessage(5151) + QLatin1Char('(') + LoadMessage(5624) + QLatin1Char(')');
    EXPECT_EQ(window->controls().fraMenu[3]->title(), caption);
    // The page's controls are found by their names from the window.
    EXPECT_EQ(control<FlexGrid>("vfgBrowse"), window->dataViewPage().vfgBrowse);
    EXPECT_EQ(control<QPushButton>("cmdBrowse_4")->text(), LoadMessage(9101));
    window->dataViewPage().cmdBrowse[4]->click();
    EXPECT_EQ(shownPage(), 2);

    // An alarm trend's table opens with the alarm record, row 361, in the middle.
    clickTypeFolder(2);
    window->dataPage().cmdDetail->click();
    const FlexGrid &table = *window->dataViewPage().vfgBrowse;
    ASSERT_EQ(table.Rows(), 721);
    EXPECT_GT(table.TopRow(), 300);
    EXPECT_LE(std::abs(table.TopRow() + table.BottomRow() - 2 * 361), 2);
}

TEST_F(DataViewWindowTest, InstrumentShowsTheStoredRecordReadAfresh) {
    // Nothing selected in the list yet: the box, and the page stays.
    window->dataPage().lvwLog->setCurrentItem(nullptr);
    window->dataPage().cmdLogInst_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>({5359}));
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5360));
    EXPECT_EQ(shownPage(), 2);

    clickTypeFolder(1);
    window->dataPage().cmdLogInst->click();
    EXPECT_EQ(shownPage(), 1);
    EXPECT_EQ(window->controls().fraMenu[1]->title(), LoadMessage(5058));
    EXPECT_EQ(control<QLabel>("lblInst_3")->text(), QStringLiteral("X1"));
    // The menu button shows the link's instrument again, not the stored record.
    window->cmdInst_Click(1);
    EXPECT_EQ(window->controls().fraMenu[1]->title(), LoadMessage(5057));

    // A log whose head row is gone shows no instrument, not the one before.
    window->cmdInst_Click(2);
    clickTypeFolder(2);
    Database(Globals().DatabasePath)
        .execute(QStringLiteral("Delete From Log_head Where SeqNo = ?"), {window->SelectedSeqNo()});
    window->dataPage().cmdLogInst->click();
    EXPECT_EQ(dialogs.ids(), QList<int>({5359, 5359}));
    EXPECT_EQ(shownPage(), 2);
    window->cmdInst_Click(1);
    EXPECT_EQ(window->controls().fraMenu[1]->title(), LoadMessage(5057));
}

} // namespace
} // namespace tq
