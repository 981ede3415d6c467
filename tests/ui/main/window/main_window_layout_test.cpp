#include "core/gui/twips.h"
#include "core/messages.h"
#include "main_window_fixture.h"
#include "ui/display/data_view_page.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/main_window_layout.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace tq {
namespace {

struct WindowSize {
    int width;
    int height;
};

class LayoutTest : public test::MainWindowTest, public ::testing::WithParamInterface<WindowSize> {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        load();
        window->resize(GetParam().width, GetParam().height);
        settle();
    }

    // Shows page frame `frame` the way the menu (or the Data page) does.
    void showPage(int frame) {
        const std::array<int, 6> button{0, 1, 2, -1, 3, 4};
        if (button[std::size_t(frame)] >= 0) {
            window->cmdInst_Click(button[std::size_t(frame)]);
        } else {
            for (QGroupBox *page : window->controls().fraMenu)
                page->setVisible(page == window->controls().fraMenu[3]);
            window->Form_Resize();
        }
        settle();
    }

    // Every control shown on the current page, whole inside the client area and inside
    // its own container.
    void expectEverythingInside(int frame) {
        const QRect client = window->rect();
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (!w->isVisible() || w->parentWidget() == nullptr || w->isWindow())
                continue;
            // Parts of composite controls (scroll bars, headers) are the control's own.
            if (!w->objectName().contains(QRegularExpression(QStringLiteral("^[a-z]{3}[A-Z]"))))
                continue;
            const QRect inWindow(w->mapTo(window.get(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(client.contains(inWindow))
                << "page " << frame << ": " << w->objectName().toStdString();
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                << "page " << frame << ": " << w->objectName().toStdString() << " leaves "
                << w->parentWidget()->objectName().toStdString();
        }
    }
};

TEST_P(LayoutTest, EveryPageStaysInsideTheClientArea) {
    for (int frame : {0, 1, 2, 3, 4, 5}) {
        if (frame == 3)
            window->dataViewPage().optBrowse[0]->setChecked(true);
        showPage(frame);
        expectEverythingInside(frame);
    }
}

TEST_P(LayoutTest, MenuColumnFillsTheRightEdge) {
    const auto &menu = window->controls().cmdInst;
    const double scaleWidth = PixelsToTwipsX(window->width());
    const double scaleHeight = PixelsToTwipsY(window->height());
    const QWidget *last = menu[5];
    // The last button ends 60 twips above the bottom, 120 from the right edge.
    EXPECT_NEAR(PixelsToTwipsY(last->geometry().bottom() + 1), scaleHeight - 60, 45);
    EXPECT_NEAR(PixelsToTwipsX(last->geometry().right() + 1), scaleWidth - 120, 45);
    EXPECT_NEAR(PixelsToTwipsX(last->width()), scaleWidth * 0.12, 30);
    for (const QGroupBox *page : window->controls().fraMenu)
        EXPECT_NEAR(PixelsToTwipsX(page->width()), scaleWidth * 0.88 - 240, 30);
}

// The columns fill the grid to the pixel: no gap, no horizontal scroll bar.
void expectLastColumnTakesTheRest(const FlexGrid &grid, int inner) {
    int sum = 0;
    for (int c = 0; c < grid.Cols(); ++c)
        sum += grid.columnWidth(c);
    EXPECT_EQ(sum, inner) << grid.objectName().toStdString();
}

TEST_P(LayoutTest, GridColumnsFollowTheGridWidth) {
    showPage(4);
    FlexGrid *history = control<FlexGrid>("vfgHistory");
    const int inner = history->width() - 2 * history->frameWidth();
    EXPECT_NEAR(history->columnWidth(0), inner * 0.06, 1.5);
    for (int c = 1; c < history->Cols() - 1; ++c)
        EXPECT_NEAR(history->columnWidth(c), inner * 0.94 / (history->Cols() - 1), 1.5);
    expectLastColumnTakesTheRest(*history, inner);

    showPage(5);
    FlexGrid *option = window->controls().vfgOption;
    const int optionInner = option->width() - 2 * option->frameWidth();
    const double first = LoadMessage(101) == QLatin1String("EN") ? 0.15 : 0.13;
    EXPECT_NEAR(option->columnWidth(0), optionInner * first, 1.5);
    // Auto Cal. keeps its share, readable like the levels beside it, and takes what the
    // rounding of the others left.
    EXPECT_NEAR(option->columnWidth(option->Cols() - 1),
                optionInner * (1 - first) / (option->Cols() - 1), option->Cols());
    expectLastColumnTakesTheRest(*option, optionInner);
}

TEST_P(LayoutTest, DownloadPageHidesTheSixthCommandAndPlacesTheImportBelowIt) {
    showPage(0);
    const DownloadPage &c = window->downloadPage();
    EXPECT_TRUE(c.cmdDown[5]->isHidden());
    EXPECT_TRUE(c.picOptionToTamar->isHidden());
    const int expected = c.cmdDown[5]->y() + 2 * (c.cmdDown[5]->height() + TwipsToPixelsY(120));
    EXPECT_NEAR(c.cmdInportDat->y(), expected, 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutTest,
                         ::testing::Values(WindowSize{776, 550}, WindowSize{1280, 960}),
                         [](const auto &info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

class MinimumSizeTest : public test::MainWindowTest {};

TEST_F(MinimumSizeTest, ASmallWindowIsEnlargedSideBySide) {
    load();
    window->resize(TwipsToPixelsX(11000), TwipsToPixelsY(9000));
    settle();
    EXPECT_NEAR(PixelsToTwipsX(window->width()), kMinWindowWidth, 15);
    EXPECT_NEAR(PixelsToTwipsY(window->height()), 9000, 15);
    window->resize(TwipsToPixelsX(12000), TwipsToPixelsY(8000));
    settle();
    EXPECT_NEAR(PixelsToTwipsX(window->width()), 12000, 15);
    EXPECT_NEAR(PixelsToTwipsY(window->height()), kMinWindowHeight, 15);
}

TEST_F(MinimumSizeTest, AMinimizedWindowDoesNotMove) {
    load();
    const QRect before = window->downloadPage().rtbLog->geometry();
    window->showMinimized();
    window->resize(1400, 1000);
    window->Form_Resize();
    EXPECT_EQ(window->downloadPage().rtbLog->geometry(), before);
}

} // namespace
} // namespace tq
