#include "ui/main/window/frmUpload.h"

#include "core/gui/display_font.h"
#include "core/gui/font_copy.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/main/window/busy_state.h"

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

namespace tq {

namespace {

constexpr int kAnimationHeightPixels = 64;
constexpr int kWidthPixels = 288;
constexpr double kLabelHeightTwips = 612;
constexpr double kMargin = 60;
// Twenty progress texts a second: faster than that nobody reads them.
constexpr std::chrono::milliseconds kProgressInterval{50};
// Ten frames a second of the busy indicator.
constexpr int kAnimationFrameMs = 100;

// The busy indicator: a band that sweeps across the bar, moved by a timer of its own ten
// times a second. A frame repaints only where the band was and where it now is, with plain
// fills: the style's busy animation would repaint the whole bar through the style at the
// screen's rate, and every painting is time the running exchange waits.
class BusyIndicator final : public QProgressBar {
public:
    explicit BusyIndicator(QWidget *parent) : QProgressBar(parent) {
        setRange(0, 0);
        setTextVisible(false);
        // Every pixel is painted here: nothing behind the bar needs painting first.
        setAttribute(Qt::WA_OpaquePaintEvent);
        m_frames.setInterval(kAnimationFrameMs);
        connect(&m_frames, &QTimer::timeout, this, [this] { nextFrame(); });
    }

protected:
    void showEvent(QShowEvent *event) override {
        QProgressBar::showEvent(event);
        m_frames.start();
    }
    void hideEvent(QHideEvent *event) override {
        m_frames.stop();
        QProgressBar::hideEvent(event);
    }
    void paintEvent(QPaintEvent *event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().base());
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.fillRect(band() & event->rect(), palette().highlight());
    }

private:
    static constexpr int kSteps = 16;
    static constexpr int kBandSteps = 4;

    // The band of the current frame, inside the frame line.
    QRect band() const {
        const QRect inner = rect().adjusted(1, 1, -1, -1);
        const int step = inner.width() / kSteps;
        return QRect(inner.left() + m_step * step, inner.top(), kBandSteps * step, inner.height())
            .intersected(inner);
    }
    void nextFrame() {
        update(band());
        m_step = (m_step + 1) % kSteps;
        update(band());
    }

    QTimer m_frames;
    int m_step = 0;
};

// Title and status text, and whether the Cancel button shows, for a WorkState.
struct UploadLook {
    int message;
    bool cancel;
};

UploadLook lookFor(qint32 workState) {
    switch (workState) {
    case LoggerDownload:
        return {6001, true};
    case ZeroCalibration:
        return {6002, false};
    case SpanCalibration:
        return {6003, false};
    case CompleteDownload:
    case AutomaticMode:
        return {6004, true};
    case WritingExport:
        return {6058, false};
    default:
        return {6004, false};
    }
}

} // namespace

frmUpload::frmUpload(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmUpload"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // No player for the maker's animation file: an indicator of our own shows the work.
    m_animation = new BusyIndicator(this);
    m_animation->setObjectName(QStringLiteral("amnUpload"));
    m_label = new QLabel(QStringLiteral("Now Uploading."), this);
    m_label->setObjectName(QStringLiteral("lblUpload"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_cancel = new QPushButton(QStringLiteral("Now Download"), this);
    m_cancel->setObjectName(QStringLiteral("cmdUpload"));
    connect(m_cancel, &QPushButton::clicked, this, &frmUpload::cmdUpload_Click);
    m_progress = new LatestValueThrottle(
        kProgressInterval, [label = m_label](const QString &text) { label->setText(text); }, this);
    m_focusTimer.setInterval(500);
    connect(&m_focusTimer, &QTimer::timeout, this, &frmUpload::tmrInter_Timer);

    const QFont font = DisplayQFont(Globals().DisplayFont);
    for (QWidget *control : {static_cast<QWidget *>(m_label), static_cast<QWidget *>(m_cancel)}) {
        QFont controlFont = control->font();
        CopyFont(controlFont, font);
        control->setFont(controlFont);
    }
    const UploadLook look = lookFor(Globals().WorkState);
    const QString text = LoadMessage(look.message);
    setWindowTitle(text);
    m_label->setText(text);
    m_cancel->setVisible(look.cancel);
    if (look.cancel)
        m_cancel->setText(LoadMessage(6005));
    Form_Resize();
    CentreOnScreen(*this);
    m_focusTimer.start();
}

void frmUpload::Form_Resize() {
    const int labelHeight = TwipsToPixelsY(kLabelHeightTwips);
    const int margin = TwipsToPixelsX(kMargin);
    const bool cancel = !m_cancel->isHidden();
    const int height = kAnimationHeightPixels + int(labelHeight * (cancel ? 2.6 : 2.0));
    setFixedSize(kWidthPixels + TwipsToPixelsX(240), height);
    const int inner = width() - 2 * margin;
    m_animation->setGeometry(margin, margin, inner, kAnimationHeightPixels);
    m_label->setGeometry(margin, m_animation->geometry().bottom() + 1 + margin, inner, labelHeight);
    if (cancel) {
        const int top = m_label->geometry().bottom() + 1 + margin;
        m_cancel->setGeometry(margin, top, inner, height - top - 2 * margin);
    }
}

void frmUpload::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    Form_Resize();
}

void frmUpload::ShowProgress(const QString &text) {
    m_progress->Set(text);
}

void frmUpload::ShowStatus(const QString &text) {
    m_progress->Drop();
    m_label->setText(text);
}

void frmUpload::cmdUpload_Click() {
    ShowStatus(LoadMessage(6006));
    emit userCancel();
    m_canceled = true;
    m_cancel->setEnabled(false);
}

void frmUpload::tmrInter_Timer() {
    // Stay in front while the operation runs, but never take the focus from a message box.
    if (QApplication::activeModalWidget() || !isVisible())
        return;
    raise();
    activateWindow();
}

frmUpload *ProgressWindow::Load() {
    if (!m_form) {
        m_form = new frmUpload();
        m_lastCanceled = false;
        connect(m_form, &frmUpload::userCancel, this, &ProgressWindow::userCancel);
    }
    return m_form;
}

void ProgressWindow::SetTitle(const QString &title) {
    Load()->setWindowTitle(title);
}

void ProgressWindow::Show() {
    Load()->show();
}

void ProgressWindow::Unload() {
    if (!m_form)
        return;
    m_lastCanceled = m_form->Canceled();
    delete m_form;
}

bool ProgressWindow::Canceled() const {
    return m_form ? m_form->Canceled() : m_lastCanceled;
}

} // namespace tq
