#include "app/frmOpen.h"

#include "core/gui/dialogs.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/program_title.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace tq {

namespace {

constexpr int kPicturePixels = 180;
constexpr int kTicksShown = 5;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, double points,
                  bool bold = false) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->adjustSize();
    return label;
}

// A drawing of the detector of our own: body, display and alarm lamp.
QPixmap productPicture() {
    QPixmap picture(kPicturePixels, kPicturePixels);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(QColor(255, 200, 0));
    p.drawRoundedRect(QRectF(45, 10, 90, 160), 18, 18);
    p.setBrush(QColor(60, 70, 60));
    p.drawRoundedRect(QRectF(58, 35, 64, 44), 6, 6);
    p.setPen(QColor(140, 255, 140));
    p.setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));
    p.drawText(QRectF(58, 35, 64, 44), Qt::AlignCenter, QStringLiteral("0.0"));
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(90, 20), 6, 6);
    p.setBrush(QColor(70, 70, 70));
    p.drawEllipse(QPointF(75, 120), 10, 10);
    p.drawEllipse(QPointF(105, 120), 10, 10);
    return picture;
}

} // namespace

frmOpen::frmOpen(std::function<void()> showMain, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen), m_showMain(std::move(showMain)) {
    setObjectName(QStringLiteral("frmOpen"));
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("fraOpen"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->installEventFilter(this);
    m_title = makeLabel(m_frame, "lblTitle", QStringLiteral("TQ-6200 Data Logger"), 20, true);
    m_trademark = makeLabel(m_frame, "lblTM", QStringLiteral("TM"), 8);
    for (int i = 0; i < 2; ++i) {
        m_borders[i] = new QLabel(m_frame);
        m_borders[i]->setObjectName(QStringLiteral("lblBorder_%1").arg(i));
        m_borders[i]->setAutoFillBackground(true);
        QPalette palette = m_borders[i]->palette();
        palette.setColor(QPalette::Window, i == 0 ? QColor(0, 0, 128) : QColor(128, 128, 128));
        m_borders[i]->setPalette(palette);
    }
    m_picture = new QLabel(m_frame);
    m_picture->setObjectName(QStringLiteral("picProduct"));
    m_picture->setPixmap(productPicture());
    m_subtitle = makeLabel(m_frame, "lblPCs", QStringLiteral("for Windows"), 12, true);
    m_version = makeLabel(m_frame, "lblVersion", QStringLiteral("P.No.") + ProgramPartNumber(), 10);
    m_timer.setObjectName(QStringLiteral("tmrTimer"));
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &frmOpen::tmrTimer_Timer);

    ArrangeSplash();
    CentreOnScreen(*this);
    show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Form_Activate();
}

frmOpen::~frmOpen() {
    if (!m_finished)
        QApplication::restoreOverrideCursor();
}

void frmOpen::ArrangeSplash() {
    const double pictureWidth = PixelsToTwipsX(kPicturePixels);
    const double pictureHeight = PixelsToTwipsY(kPicturePixels);
    const double titleWidth = PixelsToTwipsX(m_title->width());
    const double titleHeight = PixelsToTwipsY(m_title->height());
    const double trademarkWidth = PixelsToTwipsX(m_trademark->width());
    const double labelsWidth = PixelsToTwipsX(std::max(m_subtitle->width(), m_version->width()));
    // The right-hand column is widened where the title would not fit with these fonts.
    const double titleRight = 240 + titleWidth + 120 + trademarkWidth + 240;
    const double columnWidth = std::max(labelsWidth, titleRight - pictureWidth - 360);
    const double formWidth = pictureWidth + 360 + columnWidth;
    const double formHeight = titleHeight + pictureHeight + 450;
    setFixedSize(TwipsToPixelsX(formWidth), TwipsToPixelsY(formHeight));

    auto at = [](QWidget *w, double left, double top) {
        w->move(TwipsToPixelsX(left), TwipsToPixelsY(top));
    };
    m_frame->setGeometry(TwipsToPixelsX(60), TwipsToPixelsY(60), TwipsToPixelsX(formWidth - 120),
                         TwipsToPixelsY(formHeight - 120));
    const double frameWidth = PixelsToTwipsX(m_frame->width());
    at(m_title, 240, 240);
    at(m_trademark, 240 + titleWidth + 120, 240);
    const double ruleTop = 240 + titleHeight + 60;
    for (int i = 0; i < 2; ++i)
        m_borders[i]->setGeometry(TwipsToPixelsX(120), TwipsToPixelsY(ruleTop + 15 * i),
                                  TwipsToPixelsX(frameWidth - 240),
                                  std::max(TwipsToPixelsY(15), 1));
    m_picture->setGeometry(TwipsToPixelsX(20), TwipsToPixelsY(670), kPicturePixels, kPicturePixels);
    const double right = frameWidth - 120;
    at(m_subtitle, right - PixelsToTwipsX(m_subtitle->width()), ruleTop);
    at(m_version, right - PixelsToTwipsX(m_version->width()),
       ruleTop + PixelsToTwipsY(m_subtitle->height()) + 120);
}

void frmOpen::Form_Activate() {
    m_ticks = 0;
    m_timer.start();
}

void frmOpen::tmrTimer_Timer() {
    ++m_ticks;
    if (m_ticks >= kTicksShown && !m_paused)
        finish();
}

void frmOpen::fraOpen_DblClick() {
    m_paused = true;
    ShowMessage({0, QStringLiteral("Pause!!"), QStringLiteral("Pause"), BoxIcon::Information,
                 BoxButtons::Ok});
    m_paused = false;
    if (m_ticks >= kTicksShown)
        finish();
}

void frmOpen::finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_timer.stop();
    m_showMain();
    QApplication::restoreOverrideCursor();
    close();
}

bool frmOpen::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_frame && event->type() == QEvent::MouseButtonDblClick) {
        fraOpen_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tq
