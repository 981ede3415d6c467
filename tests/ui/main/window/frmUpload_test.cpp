#include "ui/main/window/frmUpload.h"

#include "core/messages.h"
#include "core/program_state.h"
#include "ui/main/window/busy_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace tq {
namespace {

struct UploadCase {
    qint32 workState;
    int message;
    bool cancel;
};

class UploadLookTest : public ::testing::TestWithParam<UploadCase> {
protected:
    void TearDown() override { Globals().WorkState = Idle; }
};

TEST_P(UploadLookTest, TitleTextAndCancelFollowTheWorkState) {
    const UploadCase &c = GetParam();
    Globals().WorkState = c.workState;
    frmUpload form;
    EXPECT_EQ(form.windowTitle(), LoadMessage(c.message));
    EXPECT_EQ(form.lblUpload()->text(), LoadMessage(c.message));
    EXPECT_EQ(!form.cmdUpload()->isHidden(), c.cancel);
    if (c.cancel) {
        EXPECT_EQ(form.cmdUpload()->text(), LoadMessage(6005));
    }
    EXPECT_FALSE(form.Canceled());
    // 64 pixels and 2.6 label heights with the button, 2 without.
    const double labels = double(form.height() - 64) / form.lblUpload()->height();
    EXPECT_NEAR(labels, c.cancel ? 2.6 : 2.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(BusyStates, UploadLookTest,
                         ::testing::Values(UploadCase{Idle, 6004, false},
                                           UploadCase{LoggerDownload, 6001, true},
                                           UploadCase{ZeroCalibration, 6002, false},
                                           UploadCase{SpanCalibration, 6003, false},
                                           UploadCase{CompleteDownload, 6004, true},
                                           UploadCase{AutomaticMode, 6004, true},
                                           UploadCase{WritingExport, 6058, false}));

TEST(ProgressWindowTest, CancelIsToldOnceAndOutlivesTheWindowUntilTheNextLoad) {
    Globals().WorkState = LoggerDownload;
    ProgressWindow progress;
    int cancels = 0;
    QObject::connect(&progress, &ProgressWindow::userCancel, [&cancels] { ++cancels; });
    progress.SetTitle(LoadMessage(6056));
    progress.Show();
    frmUpload *form = progress.Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), LoadMessage(6056));
    form->cmdUpload()->click();
    form->cmdUpload()->click(); // disabled: no second cancel
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(form->lblUpload()->text(), LoadMessage(6006));
    EXPECT_FALSE(form->cmdUpload()->isEnabled());
    EXPECT_TRUE(progress.Canceled());

    progress.Unload();
    progress.Unload(); // nothing when not loaded
    EXPECT_EQ(progress.Form(), nullptr);
    EXPECT_TRUE(progress.Canceled());

    frmUpload *again = progress.Load();
    EXPECT_FALSE(progress.Canceled());
    EXPECT_TRUE(again->cmdUpload()->isEnabled());
    progress.Unload();
    Globals().WorkState = Idle;
}

void runEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The busy indicator keeps moving but paints about ten times a second, not at the screen's
// rate: each painting is time a running dump waits.
TEST(ProgressWindowTest, TheBusyIndicatorMovesAtTenFramesASecond) {
    ProgressWindow progress;
    progress.Show();
    auto *indicator = progress.Form()->findChild<QProgressBar *>(QStringLiteral("amnUpload"));
    ASSERT_NE(indicator, nullptr);
    runEvents(300);
    struct PaintCounter : QObject {
        bool eventFilter(QObject *, QEvent *event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
        int paints = 0;
    } painted;
    indicator->installEventFilter(&painted);
    runEvents(1000);
    EXPECT_GT(painted.paints, 0);
    EXPECT_LE(painted.paints, 12);
    progress.Unload();
}

// A status shown after progress (Cancel, a second attempt) is not replaced by progress
// that was still waiting to be shown.
TEST(ProgressWindowTest, AStatusTextOutlivesProgressThatWasWaiting) {
    Globals().WorkState = LoggerDownload;
    ProgressWindow progress;
    progress.Show();
    frmUpload *form = progress.Form();
    ASSERT_NE(form, nullptr);
    const std::pair<const char *, std::function<void()>> statuses[] = {
        {"cancel", [form] { form->cmdUpload()->click(); }},
        {"second attempt", [form] { form->ShowStatus(QStringLiteral("One more time !")); }},
    };
    for (const auto &[name, show] : statuses) {
        SCOPED_TRACE(name);
        form->ShowProgress(QStringLiteral("Get FLASH Image 0001"));
        form->ShowProgress(QStringLiteral("Get FLASH Image 0002"));
        show();
        const QString status = form->lblUpload()->text();
        runEvents(200);
        EXPECT_EQ(form->lblUpload()->text(), status);
        EXPECT_NE(status, QStringLiteral("Get FLASH Image 0002"));
    }
    progress.Unload();
    Globals().WorkState = Idle;
}

} // namespace
} // namespace tq

namespace tq {
namespace {

TEST(ProgressWindowFocusTest, KeepsInFrontButLeavesAMessageBoxItsFocus) {
    ProgressWindow progress;
    progress.Show();
    QWidget box;
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    box.activateWindow();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(QApplication::activeWindow(), &box);
    box.close();
    clock.restart();
    while (clock.elapsed() < 1200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(QApplication::activeWindow(), progress.Form());
    progress.Unload();
}

} // namespace
} // namespace tq
