// The list's double-click, View Data, Export Raw Data and Instrument of the Data page.
#include "core/errors.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "stored_logs.h"
#include "ui/browser/DataPage.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

namespace tq {
namespace {

class StoredLogCommandsTest : public test::StoredLogsTest {
protected:
    void SetUp() override {
        StoredLogsTest::SetUp();
        frame.resize(900, 600);
        page = std::make_unique<DataPage>(
            &frame, selection,
            DataPage::WindowHooks{{},
                                  {},
                                  [this] { ++viewData; },
                                  [this](qint64 seqNo) {
                                      instrumentOf.append(seqNo);
                                      if (instrumentFails)
                                          throw TqError(ErrorKind::Database,
                                                        QStringLiteral("locked"));
                                      return seqNo != gone;
                                  }});
        page->layOut(13000, 8000);
        store({.seqNo = 3});
        store({.type = 2, .seqNo = 4});
        page->setLogTreeStale(true);
        ASSERT_TRUE(page->BuildLogTree());
    }
    QTreeWidgetItem *node(const QString &key) {
        for (QTreeWidgetItemIterator it(page->tvwLog); *it; ++it)
            if (DataPage::keyOf(*it) == key)
                return *it;
        ADD_FAILURE() << "no node " << key.toStdString();
        return nullptr;
    }
    QTreeWidgetItem *listRow(const QString &key) {
        for (int i = 0; i < page->lvwLog->topLevelItemCount(); ++i)
            if (DataPage::keyOf(page->lvwLog->topLevelItem(i)) == key)
                return page->lvwLog->topLevelItem(i);
        ADD_FAILURE() << "no row " << key.toStdString();
        return nullptr;
    }
    void press(QTreeWidgetItem *row) {
        page->lvwLog_MouseDown(Qt::LeftButton, page->lvwLog->visualItemRect(row).center());
    }

    test::ScriptedDialogs dialogs;
    QWidget frame;
    LogSelection selection;
    std::unique_ptr<DataPage> page;
    int viewData = 0;
    QList<qint64> instrumentOf;
    qint64 gone = -1;
    bool instrumentFails = false;
};

TEST_F(StoredLogCommandsTest, DoubleClickOpensAFolderInTheListOrALogOnTheDataView) {
    // Nothing pressed yet: nothing happens.
    page->lvwLog_DblClick();
    EXPECT_EQ(viewData, 0);

    // A folder row opens in the list; the tree shows it without moving its selection.
    page->tvwLog->collapseAll();
    page->tvwLog->setCurrentItem(node("0 #"));
    page->tvwLog_NodeClick(node("0 #"));
    press(listRow("05/09 M"));
    page->lvwLog_DblClick();
    EXPECT_TRUE(node("0 #")->isExpanded());
    EXPECT_EQ(page->tvwLog->currentItem(), node("0 #"));
    EXPECT_EQ(page->lvwLog->topLevelItemCount(), 2); // the two type folders
    press(listRow("05/09 A"));
    page->lvwLog_DblClick();
    EXPECT_TRUE(node("05/09 M")->isExpanded());
    EXPECT_EQ(DataPage::keyOf(page->lvwLog->topLevelItem(0)), QStringLiteral("4 K"));
    // Its first log summarised and selected.
    EXPECT_EQ(selection.SelectedLogType, 2);
    EXPECT_EQ(selection.SelectedSeqNo, 4);
    EXPECT_EQ(viewData, 0);

    // A log row opens the Data View page for the selected log, also from an empty part of
    // the list, which acts on the row pressed last.
    press(listRow("4 K"));
    page->lvwLog_DblClick();
    EXPECT_EQ(viewData, 1);
    page->lvwLog_MouseDown(Qt::LeftButton, QPoint(5, 5000));
    page->lvwLog_DblClick();
    EXPECT_EQ(viewData, 2);
    // Without a selected log nothing opens.
    selection = {};
    page->lvwLog_DblClick();
    EXPECT_EQ(viewData, 2);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // A folder key that names no node any more ends the double-click quietly.
    page->tvwLog_NodeClick(node("05/09 M"));
    press(listRow("05/09 A"));
    db().execute(QStringLiteral("Delete From Log_head"));
    page->setLogTreeStale(true);
    ASSERT_TRUE(page->BuildLogTree());
    page->lvwLog_DblClick();
    EXPECT_EQ(page->lvwLog->topLevelItemCount(), 2);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(StoredLogCommandsTest, InstrumentNeedsASelectedLogWhoseHeadIsThere) {
    // A list without a current row, or no stored log selected: the box, no record read.
    page->lvwLog->setCurrentItem(nullptr);
    selection = {1, 3};
    page->cmdLogInst->click();
    page->tvwLog_NodeClick(node("05/09 M"));
    selection = {};
    page->cmdLogInst_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>({5359, 5359}));
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5360));
    EXPECT_TRUE(instrumentOf.isEmpty());

    page->tvwLog_NodeClick(node("05/09 I"));
    page->cmdLogInst_Click();
    EXPECT_EQ(instrumentOf, QList<qint64>({3}));
    EXPECT_EQ(dialogs.shown.size(), 2);

    gone = 3;
    page->cmdLogInst_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>({5359, 5359, 5359}));

    instrumentFails = true;
    page->cmdLogInst_Click();
    EXPECT_EQ(dialogs.ids().last(), 30004);
    EXPECT_TRUE(dialogs.shown.last().text.contains(QStringLiteral("locked")));
}

TEST_F(StoredLogCommandsTest, ViewDataAndExportRawDataButtons) {
    page->cmdDetail->click();
    EXPECT_EQ(viewData, 1);
    Globals().ExportRawData = false;
    page->chkRawData->setVisible(true);
    page->chkRawData->click();
    EXPECT_TRUE(Globals().ExportRawData);
    page->chkRawData->click();
    EXPECT_FALSE(Globals().ExportRawData);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

} // namespace
} // namespace tq
