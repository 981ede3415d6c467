#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "deletion_fixture.h"
#include "ui/browser/DataPage.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/display/log_summary.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

namespace tq {
namespace {

// How the person at the prompt answers.
enum class Prompt { Right, Wrong, CloseBox };

class DataPageDeleteTest : public test::DeletionTest {
protected:
    void SetUp() override {
        DeletionTest::SetUp();
        Globals().ProgramPassword = QStringLiteral("vog");
        frame.resize(900, 600);
        page = std::make_unique<DataPage>(&frame, selection, DataPage::WindowHooks{});
        page->layOut(13000, 8000);
        // Delete is chosen from the popup.
        page->popupHook = [this](const QPoint &) { page->mnuDelete->trigger(); };
        page->chkLog[0]->setChecked(true);
        page->chkLog[2]->setChecked(true);
        page->setLogTreeStale(true);
        ASSERT_TRUE(page->BuildLogTree());
        page->tvwLog->expandAll();
    }

    QTreeWidgetItem *item(QTreeWidget *view, const QString &key) {
        for (QTreeWidgetItemIterator it(view); *it; ++it)
            if (DataPage::keyOf(*it) == key)
                return *it;
        ADD_FAILURE() << "no item " << key.toStdString();
        return nullptr;
    }
    QStringList listKeys() const {
        QStringList keys;
        for (int i = 0; i < page->lvwLog->topLevelItemCount(); ++i)
            keys << DataPage::keyOf(page->lvwLog->topLevelItem(i));
        return keys;
    }
    QStringList treeKeys() const {
        QStringList keys;
        for (QTreeWidgetItemIterator it(page->tvwLog); *it; ++it)
            keys << DataPage::keyOf(*it);
        return keys;
    }
    void click(const QString &treeKey) {
        QTreeWidgetItem *node = item(page->tvwLog, treeKey);
        page->tvwLog->setCurrentItem(node);
        page->tvwLog_NodeClick(node);
    }
    // A right-click on a tree node or, for a stored log, on its row of the list; Delete; the
    // prompt answered.
    void deleteByMenu(const QString &key, Prompt prompt = Prompt::Right) {
        QTimer::singleShot(0, [prompt] {
            auto *dialog = qobject_cast<frmPassword *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (prompt != Prompt::CloseBox) {
                dialog->txtPass->setText(prompt == Prompt::Right ? "VOG" : "vog ");
                dialog->cmdPass[0]->click();
            }
            if (dialog->isVisible())
                dialog->close();
        });
        const bool storedLog = page->tree().find(key) < 0;
        QTreeWidget *view = storedLog ? page->lvwLog : page->tvwLog;
        const QPoint where = view->visualItemRect(item(view, key)).center();
        if (storedLog)
            page->lvwLog_MouseDown(Qt::RightButton, where);
        else
            page->tvwLog_MouseDown(Qt::RightButton, where);
    }
    bool buttons() const { return page->cmdDetail->isEnabled() && page->cmdLogInst->isEnabled(); }
    QStringList grid() const {
        QStringList texts;
        for (int r = 0; r < page->vfgLog->Rows(); ++r)
            for (int c = 0; c < page->vfgLog->Cols(); ++c)
                texts << page->vfgLog->TextMatrix(r, c);
        return texts;
    }
    QStringList emptyFolderGrid() const {
        FlexGrid folder;
        FillFolderSummary(folder);
        QStringList texts;
        for (int r = 0; r < folder.Rows(); ++r)
            for (int c = 0; c < folder.Cols(); ++c)
                texts << folder.TextMatrix(r, c);
        return texts;
    }
    // The selected log is gone: no selection, the folder form, no View Data or Instrument.
    void expectSelectionMended() {
        EXPECT_EQ(selection.SelectedLogType, 0);
        EXPECT_EQ(selection.SelectedSeqNo, 0);
        EXPECT_FALSE(page->cmdDetail->isEnabled());
        EXPECT_FALSE(page->cmdLogInst->isEnabled());
        EXPECT_EQ(grid(), emptyFolderGrid());
    }

    test::ScriptedDialogs dialogs;
    QWidget frame;
    LogSelection selection;
    std::unique_ptr<DataPage> page;
};

TEST_F(DataPageDeleteTest, RefusalsChangeNothing) {
    const QString typeFolder = QStringLiteral("A1234U-105/09 I");
    struct Scope {
        QString key;
        int question;
    };
    struct Refusal {
        const char *name;
        Prompt prompt;
        bool no;
        QList<int> boxes; // besides the question
    };
    for (const Scope &scope : {Scope{"0 #", 5317}, Scope{"A1234 S", 5339}, Scope{typeFolder, 5339},
                               Scope{"1 G", 5327}}) {
        for (const Refusal &refusal : {Refusal{"a wrong password", Prompt::Wrong, false, {7101}},
                                       Refusal{"No", Prompt::Right, true, {}},
                                       Refusal{"the close box", Prompt::CloseBox, false, {}}}) {
            SCOPED_TRACE(scope.key.toStdString() + ", " + refusal.name);
            click(typeFolder);
            const QString before = snapshot();
            const QStringList tree = treeKeys();
            dialogs.shown.clear();
            if (refusal.no)
                dialogs.answers = {BoxAnswer::No};
            deleteByMenu(scope.key, refusal.prompt);
            EXPECT_EQ(snapshot(), before);
            EXPECT_EQ(treeKeys(), tree);
            EXPECT_FALSE(page->LogTreeStale());
            EXPECT_EQ(dialogs.ids(), refusal.no ? QList<int>{scope.question} : refusal.boxes);
        }
    }
}

TEST_F(DataPageDeleteTest, OneLogLeavesTheTreeAndMendsTheSelection) {
    click(QStringLiteral("A1234U-105/09 I"));
    ASSERT_EQ(listKeys(), (QStringList{"1 G", "2 G"}));
    ASSERT_EQ(selection.SelectedSeqNo, 1);
    const QStringList tree = treeKeys();

    // Another log than the selected one: the selection stays.
    deleteByMenu(QStringLiteral("2 G"));
    EXPECT_EQ(dialogs.ids(), QList<int>{5327});
    EXPECT_EQ(dialogs.shown[0].text, LoadMessage(5327, {QStringLiteral("X_2")}));
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5328));
    EXPECT_EQ(dialogs.shown[0].icon, BoxIcon::Question);
    EXPECT_EQ(listKeys(), QStringList{"1 G"});
    EXPECT_EQ(tableRows(), expectedRows({2}));
    EXPECT_EQ(files(), expectedFiles({2}));

    // The selected log, after a click on it.
    page->lvwLog_ItemClick(item(page->lvwLog, QStringLiteral("1 G")));
    ASSERT_EQ(selection.SelectedSeqNo, 1);
    deleteByMenu(QStringLiteral("1 G"));
    EXPECT_TRUE(listKeys().isEmpty());
    EXPECT_EQ(tableRows(), expectedRows({1, 2}));
    EXPECT_EQ(treeKeys(), tree) << "the emptied folder stays until the next rebuild";
    EXPECT_FALSE(page->LogTreeStale());
    expectSelectionMended();
    // A later sort does not bring the row back.
    page->lvwLog_ColumnClick(0);
    EXPECT_TRUE(listKeys().isEmpty());
}

TEST_F(DataPageDeleteTest, AFolderRebuildsTheTreeAndListsTheFormerParent) {
    click(QStringLiteral("A1234U-105/09 I"));
    ASSERT_EQ(selection.SelectedSeqNo, 1);
    deleteByMenu(QStringLiteral("A1234U-105/09 I"));
    EXPECT_EQ(dialogs.ids(), QList<int>{5339});
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5340));
    EXPECT_EQ(tableRows(), expectedRows({1, 2}));
    EXPECT_FALSE(treeKeys().contains(QStringLiteral("A1234U-105/09 I")));
    EXPECT_EQ(DataPage::keyOf(page->tvwLog->currentItem()), QStringLiteral("A1234U-105/09 M"));
    EXPECT_EQ(listKeys().first(), QStringLiteral("A1234U-105/09 J"));
    EXPECT_FALSE(page->LogTreeStale());
    expectSelectionMended();
}

TEST_F(DataPageDeleteTest, ABranchEmptiedWholeListsTheRoot) {
    deleteByMenu(QStringLiteral("B5678U-105/09 M"));
    EXPECT_EQ(tableRows(), expectedRows({10}));
    EXPECT_EQ(files(), expectedFiles({10}));
    EXPECT_EQ(listKeys(), QStringList{"A1234 S"});
    EXPECT_FALSE(treeKeys().contains(QStringLiteral("B5678 S")));
}

TEST_F(DataPageDeleteTest, EveryLogLeavesTheRootAndAnEmptyDataFolder) {
    click(QStringLiteral("A1234U-105/09 I"));
    deleteByMenu(QStringLiteral("0 #"));
    EXPECT_EQ(dialogs.ids(), QList<int>{5317});
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5318));
    EXPECT_EQ(tableRows(), expectedRows(all()));
    EXPECT_TRUE(files().isEmpty());
    EXPECT_TRUE(QFileInfo(dataFolder()).isDir());
    EXPECT_EQ(treeKeys(), QStringList{"0 #"});
    EXPECT_TRUE(listKeys().isEmpty());
    expectSelectionMended();
}

TEST_F(DataPageDeleteTest, FailuresAreToldOnceUnderTheScopesTitle) {
    // Every log with a data folder that is not the one beside the database: nothing goes.
    Globals().DataFolder = path(QStringLiteral("Other"));
    const QString before = snapshot();
    deleteByMenu(QStringLiteral("0 #"));
    EXPECT_EQ(dialogs.ids(), (QList<int>{5317, 30011}));
    EXPECT_EQ(dialogs.shown[1].title, LoadMessage(5318));
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(LoadMessage(30011, {}).trimmed()));
    EXPECT_EQ(snapshot(), before);
    Globals().DataFolder = dataFolder();

    // A trend file in a month folder that links out of Data/ is left and named.
    QDir().mkpath(path(QStringLiteral("outside")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("outside")), dataFolder() + "/09/07"));
    add({.folder = "07/09", .names = "L", .seqNo = 30});
    page->setLogTreeStale(true);
    page->BuildLogTree();
    page->tvwLog->expandAll();
    click(QStringLiteral("A1234U-107/09 I"));
    dialogs.shown.clear();
    deleteByMenu(QStringLiteral("30 G"));
    EXPECT_EQ(dialogs.ids(), (QList<int>{5327, 30012}));
    EXPECT_EQ(dialogs.shown[1].title, LoadMessage(5328));
    EXPECT_TRUE(dialogs.shown[1].text.contains(dataFolder() + "/09/07/L.Dat"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("outside/L.Dat"))));
    EXPECT_EQ(tableRows(), expectedRows({30}));
}

} // namespace
} // namespace tq
