// Opening the data view window: what it takes from the opener, the view it settles on for
// the log it loads, and where its controls stand.
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_title.h"
#include "data_view_window_fixture.h"

namespace tq {
namespace {

using OpenTest = test::DataViewWindowTest;

// One pixel of the screen in twips, the precision of a placed control.
double pixel() {
    return TwipsPerPixelY() + 0.01;
}

TEST_F(OpenTest, SettlesTheViewFromTheLogAndTheOpenersOption) {
    struct Case {
        const char *name;
        int samples; // 0: no log with that SeqNo
        int sampling;
        bool pageShowsGraph;
        bool graphView;
        bool graphEnabled;
        int kindMessage;
        const char *icon;
    };
    const Case cases[] = {
        {"4 samples, the page on Graph", 4, 0, true, false, false, 5625, "AlarmG"},
        {"5 samples, the page on Graph", 5, 0, true, true, true, 5625, "Alarm0"},
        {"5 samples, the page on Table", 5, 0, false, false, true, 5625, "AlarmG"},
        {"interval sampling on Graph", 720, 2, true, true, true, 5624, "Interval0"},
        {"interval sampling on Table", 720, 2, false, false, true, 5624, "IntervalG"},
        {"sampling 1 on Graph", 720, 1, true, true, true, 5625, "Alarm0"},
        {"missing log", 0, 0, true, false, false, 5625, "AlarmG"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const qint64 seqNo =
            c.samples ? storeAlarm({.samples = c.samples, .sampling = c.sampling}) : 9999;
        open(seqNo, opening(c.pageShowsGraph));

        EXPECT_EQ(window->optBrowse[1]->isChecked(), c.graphView);
        EXPECT_EQ(window->optBrowse[0]->isChecked(), !c.graphView);
        EXPECT_EQ(window->optBrowse[1]->isEnabled(), c.graphEnabled);
        EXPECT_EQ(shown(window->vtmGraph), c.graphView);
        EXPECT_EQ(shown(window->vfgBrowse), !c.graphView);
        EXPECT_EQ(shown(window->lblTitle1), c.graphView);
        EXPECT_EQ(shown(window->cmbBrowse), c.graphView);
        for (int box : {0, 5, 6})
            EXPECT_EQ(shown(window->chkBrowse[std::size_t(box)]), c.graphView) << box;
        // Never shown, in any view.
        for (int box : {1, 2, 3, 4})
            EXPECT_FALSE(shown(window->chkBrowse[std::size_t(box)])) << box;
        EXPECT_FALSE(shown(window->chkEvent));
        EXPECT_FALSE(window->chkEvent->isEnabled());
        EXPECT_FALSE(shown(window->cmdBrowse[1]));
        EXPECT_TRUE(shown(window->fraMenu));

        EXPECT_EQ(window->fraMenu->title(),
                  LoadMessage(5151) + '(' + LoadMessage(c.kindMessage) + ')');
        EXPECT_EQ(window->windowIcon().cacheKey(),
                  SmallIcon(QString::fromLatin1(c.icon)).cacheKey());
        EXPECT_EQ(window->vfgBrowse->Rows(), c.samples + 1);
        EXPECT_EQ(window->RecordKind(), 2);
        EXPECT_EQ(window->alarm().SeqNo(), seqNo);
    }
}

TEST_F(OpenTest, TakesTitleSizeCaptionsAndSummaryFromTheOpener) {
    const qint64 seqNo = storeAlarm({});
    open(seqNo, opening(false, false));
    const QString part =
        LoadMessage(101) == QLatin1String("JP") ? QStringLiteral("07318") : QStringLiteral("07319");
    EXPECT_EQ(window->windowTitle(), ProgramWindowTitle());
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" [P.No.") + part + ']'));
    if (LoadMessage(101) != QLatin1String("JP")) {
        EXPECT_EQ(window->windowTitle(),
                  QStringLiteral("TQ-6200  - Data Logger Management Program [P.No.07319]"));
    }
    EXPECT_NEAR(W(window.get()), 12000, pixel());
    EXPECT_NEAR(H(window.get()), 9000, pixel());
    const std::array<std::pair<QAbstractButton *, int>, 8> captions{{
        {window->optBrowse[0], 5152},
        {window->optBrowse[1], 5153},
        {window->chkBrowse[5], 5154},
        {window->chkBrowse[6], 5155},
        {window->cmdBrowse[0], 5161},
        {window->cmdBrowse[2], 5158},
        {window->cmdBrowse[3], 5159},
        {window->cmdBrowse[4], 9101},
    }};
    for (const auto &[control, message] : captions)
        EXPECT_EQ(control->text(), LoadMessage(message)) << message;
    EXPECT_EQ(window->lblTitle1->text(), LoadMessage(5156));
    EXPECT_TRUE(window->fraMenu->font().bold());

    // Without the page's summary the table starts below the options and takes the room.
    EXPECT_FALSE(shown(window->vfgSummary));
    EXPECT_NEAR(T(window->vfgBrowse), 612, pixel());
    EXPECT_NEAR(B(window->vfgBrowse), H(window->fraMenu) - 120, 2 * pixel());

    // With it, the summary takes 30 % of the frame above the table.
    open(seqNo, opening(false, true));
    EXPECT_TRUE(shown(window->vfgSummary));
    EXPECT_NEAR(T(window->vfgSummary), 612, pixel());
    EXPECT_NEAR(H(window->vfgSummary), 0.3 * H(window->fraMenu), 2 * pixel());
    EXPECT_NEAR(T(window->vfgBrowse), B(window->vfgSummary) + 120, 2 * pixel());
}

// The gas box of the opener counts again when the log is loaded; Event and Cursor follow the
// opener's boxes.
TEST_F(OpenTest, BoxesFollowTheOpener) {
    const qint64 seqNo = storeAlarm({.samples = 720});
    DataViewOpening o = opening(true);
    o.boxes = {true, false, false, false, false, false, true};
    open(seqNo, o);
    EXPECT_FALSE(window->chkBrowse[5]->isChecked());
    EXPECT_TRUE(window->vtmGraph->CursorVisible());
    EXPECT_FALSE(window->vtmGraph->EventVisible(0));
    EXPECT_FALSE(window->vtmGraph->EventVisible(1000));

    o.boxes = {true, false, false, false, false, true, false};
    open(seqNo, o);
    EXPECT_TRUE(window->chkBrowse[5]->isChecked());
    EXPECT_FALSE(window->vtmGraph->CursorVisible());
    EXPECT_TRUE(window->vtmGraph->EventVisible(0));
    EXPECT_TRUE(window->vtmGraph->EventVisible(1000));
}

TEST_F(OpenTest, LayoutSpringsBackAndKeepsStillWhenMinimised) {
    open({.samples = 720}, true);
    window->show();
    window->resize(TwipsToPixelsX(8000), TwipsToPixelsY(6000));
    EXPECT_NEAR(W(window.get()), 11640, pixel());
    EXPECT_NEAR(H(window.get()), 8250, pixel());
    // Return is 12 % of the table's width and ends at its right edge.
    EXPECT_NEAR(W(window->cmdBrowse[4]), 0.12 * W(window->vfgBrowse), 2 * pixel());
    EXPECT_NEAR(R(window->cmdBrowse[4]), R(window->vfgBrowse), 2 * pixel());

    const QRect before = window->vtmGraph->geometry();
    window->setWindowState(Qt::WindowMinimized);
    window->Form_Resize();
    EXPECT_EQ(window->vtmGraph->geometry(), before);
}

// Table view hides every box the graph fill showed; graph view brings back those of the
// log's gas and Event and Cursor.
TEST_F(OpenTest, TableViewShowsNoCheckBox) {
    open({.samples = 720}, true);
    ASSERT_TRUE(shown(window->chkBrowse[0]));
    window->optBrowse[0]->setChecked(true);
    for (QCheckBox *box : window->chkBrowse)
        EXPECT_FALSE(shown(box)) << box->objectName().toStdString();
    EXPECT_FALSE(shown(window->cmbBrowse));
    window->optBrowse[1]->setChecked(true);
    for (int box : {0, 5, 6})
        EXPECT_TRUE(shown(window->chkBrowse[std::size_t(box)])) << box;
    EXPECT_NE(window->cursor().shape(), Qt::WaitCursor);
}

// A log that cannot be read is said so; the window opens on an empty alarm trend.
TEST_F(OpenTest, AnUnreadableLogOpensEmptyAfterSayingSo) {
    const qint64 seqNo = storeAlarm({.samples = 720});
    db().execute(QStringLiteral("Drop Table Log_head"));
    open(seqNo, opening(true));
    EXPECT_EQ(dialogs.ids(), QList<int>({30201}));
    EXPECT_TRUE(dialogs.shown.first().text.startsWith(LoadMessage(30201, {QString()})));
    EXPECT_EQ(window->alarm().DataCount(), 0);
    EXPECT_EQ(window->vfgBrowse->Rows(), 1);
    EXPECT_TRUE(window->optBrowse[0]->isChecked());
    EXPECT_FALSE(window->optBrowse[1]->isEnabled());
    EXPECT_EQ(window->fraMenu->title(), LoadMessage(5151) + '(' + LoadMessage(5625) + ')');
    EXPECT_NE(window->cursor().shape(), Qt::WaitCursor);
}

} // namespace
} // namespace tq
