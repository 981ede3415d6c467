#include "core/messages.h"
#include "core/program_state.h"
#include "stored_logs.h"
#include "ui/browser/DataPage.h"
#include "ui/main/window/scripted_dialogs.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

namespace tq {
namespace {

using test::HeadRow;

class DataPageTest : public test::StoredLogsTest {
protected:
    void SetUp() override {
        StoredLogsTest::SetUp();
        frame.resize(900, 600);
        page = std::make_unique<DataPage>(
            &frame, selection,
            DataPage::WindowHooks{[this] { ++layouts; },
                                  [this](bool enabled) { menuEnabled.append(enabled); },
                                  {},
                                  {}});
        page->layOut(13000, 8000);
        page->popupHook = [this](const QPoint &) {
            popups.append(page->mnuDelete->data().toString());
        };
    }

    // The tree built (grouping boxes as given) and its node of `key`.
    QTreeWidgetItem *node(const QString &key) {
        for (QTreeWidgetItemIterator it(page->tvwLog); *it; ++it)
            if (DataPage::keyOf(*it) == key)
                return *it;
        ADD_FAILURE() << "no node " << key.toStdString();
        return nullptr;
    }
    void build(std::array<bool, 3> boxes = {false, false, false}) {
        for (int i = 0; i < 3; ++i)
            page->chkLog[std::size_t(i)]->setChecked(boxes[std::size_t(i)]);
        page->setLogTreeStale(true);
        ASSERT_TRUE(page->BuildLogTree());
    }
    QStringList listKeys() const {
        QStringList keys;
        for (int i = 0; i < page->lvwLog->topLevelItemCount(); ++i)
            keys << DataPage::keyOf(page->lvwLog->topLevelItem(i));
        return keys;
    }
    QStringList gridRow(int row) const {
        QStringList texts;
        for (int c = 0; c < page->vfgLog->Cols(); ++c)
            texts << page->vfgLog->TextMatrix(row, c);
        return texts;
    }
    QPoint where(QTreeWidget *view, QTreeWidgetItem *item) {
        return view->visualItemRect(item).center();
    }
    bool buttons() const { return page->cmdDetail->isEnabled() && page->cmdLogInst->isEnabled(); }

    test::ScriptedDialogs dialogs;
    QWidget frame;
    LogSelection selection;
    std::unique_ptr<DataPage> page;
    int layouts = 0;
    QList<bool> menuEnabled;
    QStringList popups;
};

TEST_F(DataPageTest, TreeClicksListSummariseAndSelect) {
    store({.names = "B", .seqNo = 8});
    store({.names = "a", .seqNo = 9});
    store({.type = 9, .names = "BAR", .seqNo = 20});
    build();
    struct Case {
        const char *name;
        QString key;
        QStringList list;
        LogSelection selection;
        bool buttons;
    };
    const std::vector<Case> cases{
        {"a type folder selects its first log", "05/09 I", {"9 G", "8 G"}, {1, 9}, true},
        {"a grouping node lists its folders and selects nothing",
         "05/09 M",
         {"05/09 I", "05/09 J"},
         {0, 0},
         false},
        {"the root lists the month folders", "0 #", {"05/09 M"}, {0, 0}, false},
        {"the lower-case a is a bar-hole trend", "05/09 J", {"20 a"}, {9, 20}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        selection = {7, 77};
        page->tvwLog_NodeClick(node(c.key));
        EXPECT_EQ(listKeys(), c.list);
        EXPECT_EQ(selection.SelectedLogType, c.selection.SelectedLogType);
        EXPECT_EQ(selection.SelectedSeqNo, c.selection.SelectedSeqNo);
        EXPECT_EQ(DataPage::keyOf(page->lvwLog->currentItem()), c.list.front());
        EXPECT_EQ(buttons(), c.buttons);
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(DataPageTest, FoldersWithoutLogsToShow) {
    store({.type = 2, .sampling = 2, .seqNo = 4});
    store({.type = 3, .seqNo = 5});
    build();
    // Every log left out: empty list, the folder form, no selection.
    selection = {3, 5};
    page->tvwLog_NodeClick(node("05/09 A"));
    EXPECT_TRUE(listKeys().isEmpty());
    EXPECT_EQ(gridRow(0), (QStringList{LoadMessage(5604), LoadMessage(5605)}));
    EXPECT_EQ(gridRow(1), (QStringList{LoadMessage(5622), LoadMessage(5623)}));
    EXPECT_FALSE(buttons());
    EXPECT_EQ(selection.SelectedSeqNo, 0);
    // A folder whose logs went since the tree was built: the selection stays.
    db().execute(QStringLiteral("Delete From Log_head Where SeqNo = 5"));
    selection = {3, 5};
    page->tvwLog_NodeClick(node("05/09 D"));
    EXPECT_TRUE(listKeys().isEmpty());
    EXPECT_EQ(page->lvwLog->headerItem()->text(4), QStringLiteral("Date/Time"));
    EXPECT_FALSE(buttons());
    EXPECT_EQ(selection.SelectedSeqNo, 5);
}

TEST_F(DataPageTest, ListClicksSelectStoredLogsOnly) {
    const struct {
        const char *key;
        LogSelection selection;
    } cases[] = {{"17 H", {3, 17}},   {"5 b", {10, 5}},    {"6 c", {11, 6}}, {"9 a", {9, 9}},
                 {"05/09 A", {1, 2}}, {"05/09 J", {1, 2}}, {"0 #", {1, 2}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        selection = {1, 2};
        auto *item = new QTreeWidgetItem(QStringList{"x"});
        item->setData(0, Qt::UserRole, QString::fromLatin1(c.key));
        page->lvwLog->addTopLevelItem(item);
        page->lvwLog_ItemClick(item);
        EXPECT_EQ(selection.SelectedLogType, c.selection.SelectedLogType);
        EXPECT_EQ(selection.SelectedSeqNo, c.selection.SelectedSeqNo);
    }
    EXPECT_EQ(layouts, int(std::size(cases)));
}

TEST_F(DataPageTest, PressesRecordTheLastKeyAndRightClicksOpenTheMenu) {
    store({.seqNo = 3});
    build();
    page->tvwLog->expandAll();
    page->tvwLog_NodeClick(node("05/09 I"));
    QTreeWidgetItem *row = page->lvwLog->topLevelItem(0);
    page->lvwLog_MouseDown(Qt::LeftButton, where(page->lvwLog, row));
    EXPECT_EQ(page->LastHitKey(), QStringLiteral("3 G"));
    page->tvwLog_MouseDown(Qt::LeftButton, QPoint(5, 5000)); // empty space
    EXPECT_EQ(page->LastHitKey(), QStringLiteral("3 G"));
    // The right button on a list row: summary and selection, then the menu with its key.
    selection = {};
    page->lvwLog_MouseDown(Qt::RightButton, where(page->lvwLog, row));
    EXPECT_EQ(popups, QStringList{"3 G"});
    EXPECT_EQ(selection.SelectedSeqNo, 3);
    EXPECT_EQ(page->lvwLog->currentItem(), row);
    // The right button on the root: its key in the menu, the list of the root, the summary
    // as it was.
    const QStringList before = gridRow(0);
    page->tvwLog_MouseDown(Qt::RightButton, where(page->tvwLog, node("0 #")));
    EXPECT_EQ(popups.last(), QStringLiteral("0 #"));
    EXPECT_EQ(listKeys(), QStringList{"05/09 M"});
    EXPECT_EQ(gridRow(0), before);
    EXPECT_EQ(page->LastHitKey(), QStringLiteral("3 G"));
}

TEST_F(DataPageTest, ColumnClicksSortThenReverse) {
    store({.serial = "b"});
    store({.serial = "C"});
    store({.serial = "a"});
    store({.serial = "B", .folder = "06/09"});
    build({true, false, false});
    // "b" and "B" are one serial number, shown as the spelling that sorts first.
    page->tvwLog_NodeClick(node("0 #"));
    EXPECT_FALSE(page->listSorted());
    EXPECT_EQ(listKeys(), (QStringList{"a S", "B S", "C S"}));
    page->lvwLog_ColumnClick(2);
    EXPECT_EQ(listKeys(), (QStringList{"a S", "B S", "C S"}));
    page->lvwLog_ColumnClick(0);
    EXPECT_EQ(listKeys(), (QStringList{"C S", "B S", "a S"}));
    page->tvwLog_NodeClick(node("B05/09 I"));
    page->lvwLog_ColumnClick(1);
    EXPECT_FALSE(page->listAscending());
    page->tvwLog_NodeClick(node("B05/09 I"));
    EXPECT_TRUE(page->listSorted());
    EXPECT_TRUE(page->listAscending());
}

TEST_F(DataPageTest, GroupingBoxesRebuildAndReportAFailure) {
    store({});
    const QString path = Globals().DatabasePath;
    Globals().DatabasePath.clear();
    page->chkLog[0]->setChecked(true);
    page->chkLog_Click(0);
    EXPECT_TRUE(page->LogTreeStale());
    EXPECT_TRUE(menuEnabled.isEmpty());

    Globals().DatabasePath = path;
    page->chkLog_Click(0);
    EXPECT_FALSE(page->LogTreeStale());
    EXPECT_EQ(DataPage::keyOf(page->tvwLog->currentItem()), QStringLiteral("0 #"));
    EXPECT_EQ(listKeys(), QStringList{"A1234 S"});
    EXPECT_EQ(menuEnabled, (QList<bool>{false, true}));

    // A database that cannot be read: the boxes and buttons come back, the failure is told
    // and the tree stays stale.
    Globals().DatabasePath = path + QStringLiteral(".missing");
    page->chkLog_Click(1);
    EXPECT_TRUE(page->LogTreeStale());
    EXPECT_EQ(dialogs.ids(), QList<int>{30001});
    EXPECT_EQ(dialogs.shown.front().title, LoadMessage(5101));
    EXPECT_EQ(menuEnabled.last(), true);
    for (QCheckBox *box : page->chkLog)
        EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(page->tvwLog->topLevelItemCount(), 1); // the root stays
}

TEST_F(DataPageTest, ATreeThatIsNotStaleReadsNoDatabase) {
    store({});
    build();
    const int nodes = page->tree().nodes().size();
    QFile::rename(Globals().DatabasePath, Globals().DatabasePath + QStringLiteral(".gone"));
    EXPECT_TRUE(page->BuildLogTree());
    EXPECT_EQ(int(page->tree().nodes().size()), nodes);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// The Instrument button lies where nothing covers it and inside the page, at the first
// start's size and larger: beside View Data when its design place is taken.
TEST_F(DataPageTest, TheInstrumentButtonIsUncoveredAtEverySize) {
    frame.show();
    const QList<QSize> windows{{776, 550}, {1000, 700}, {1280, 800}, {1920, 1200}};
    for (const QSize &window : windows) {
        // The page frame the window gives the Data page at that size.
        const double pw = window.width() * 15 * 0.88 - 240;
        const double ph = window.height() * 15 - 180;
        frame.resize(TwipsToPixelsX(pw), TwipsToPixelsY(ph));
        page->layOut(pw, ph);
        const QRect button = page->cmdLogInst->geometry();
        EXPECT_TRUE(page->rect().contains(button)) << window.width();
        for (const QWidget *other : std::initializer_list<const QWidget *>{
                 page->tvwLog, page->fraLog, page->lvwLog, page->vfgLog, page->cmdDetail})
            EXPECT_FALSE(other->geometry().intersects(button))
                << window.width() << " " << other->objectName().toStdString();
        EXPECT_GE(button.width(), page->cmdLogInst->minimumSizeHint().width()) << window.width();
        EXPECT_EQ(page->childAt(button.center()), page->cmdLogInst) << window.width();
    }
}

} // namespace
} // namespace tq
