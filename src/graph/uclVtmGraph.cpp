#include "graph/uclVtmGraph.h"

#include "core/gui/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <exception>

namespace tq {

namespace {

qint16 shiftState(Qt::KeyboardModifiers modifiers) {
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) |
                  (modifiers & Qt::ControlModifier ? 2 : 0) |
                  (modifiers & Qt::AltModifier ? 4 : 0));
}

qint16 buttonState(Qt::MouseButtons buttons) {
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                  (buttons & Qt::MiddleButton ? 4 : 0));
}

// The key codes the hosts know: arrows 37 to 40, letters and digits as their capitals.
qint16 keyCode(int key) {
    struct Code {
        int key;
        qint16 code;
    };
    static constexpr Code codes[] = {
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},      {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},
        {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},      {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},  {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
        {Qt::Key_Home, 36},     {Qt::Key_Left, 37},    {Qt::Key_Up, 38},       {Qt::Key_Right, 39},
        {Qt::Key_Down, 40},     {Qt::Key_Insert, 45},  {Qt::Key_Delete, 46},
    };
    for (const Code &c : codes)
        if (c.key == key)
            return c.code;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return qint16(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return qint16(112 + key - Qt::Key_F1);
    return 0;
}

} // namespace

// The picture box: shows the last drawn picture and hands keys and the mouse to the
// control.
class GraphPicture : public QWidget {
public:
    explicit GraphPicture(uclVtmGraph *owner) : QWidget(owner), m_owner(owner) {
        setObjectName(QStringLiteral("picGraph"));
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    // Only the part uncovered (a moved cursor or read-out) is copied from the picture.
    void paintEvent(QPaintEvent *event) override {
        QPainter painter(this);
        const QRect dirty = event->rect();
        const QRect pictured = dirty & m_owner->m_picture.rect();
        if (pictured != dirty)
            painter.fillRect(dirty, GraphColor(m_owner->m_backColor));
        if (!pictured.isEmpty())
            painter.drawImage(pictured.topLeft(), m_owner->m_picture, pictured);
    }
    void keyPressEvent(QKeyEvent *event) override {
        m_owner->pictureKeyDown(keyCode(event->key()), shiftState(event->modifiers()));
        if (!event->text().isEmpty()) {
            qint16 ascii = qint16(event->text().at(0).unicode());
            emit m_owner->KeyPress(ascii);
        }
    }
    void keyReleaseEvent(QKeyEvent *event) override {
        qint16 code = keyCode(event->key());
        qint16 shift = shiftState(event->modifiers());
        emit m_owner->KeyUp(code, shift);
    }
    void mousePressEvent(QMouseEvent *event) override {
        setFocus(Qt::MouseFocusReason);
        const QPointF twips = toTwips(event->position());
        m_owner->pictureMouseDown(buttonState(event->button()), shiftState(event->modifiers()),
                                  float(twips.x()), float(twips.y()));
    }
    void mouseMoveEvent(QMouseEvent *event) override {
        emitMouse(&uclVtmGraph::MouseMove, buttonState(event->buttons()), event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override {
        emitMouse(&uclVtmGraph::MouseUp, buttonState(event->button()), event);
        if (rect().contains(event->position().toPoint()))
            emit m_owner->Click();
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override {
        emit m_owner->DblClick();
        mousePressEvent(event);
    }
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static QPointF toTwips(QPointF pixels) {
        return {pixels.x() * TwipsPerPixelX(), pixels.y() * TwipsPerPixelY()};
    }
    void emitMouse(void (uclVtmGraph::*signal)(qint16 &, qint16 &, float &, float &), qint16 button,
                   QMouseEvent *event) {
        qint16 shift = shiftState(event->modifiers());
        const QPointF twips = toTwips(event->position());
        float x = float(twips.x());
        float y = float(twips.y());
        emit(m_owner->*signal)(button, shift, x, y);
    }

    uclVtmGraph *m_owner;
};

// The cursor: a vertical line, solid while the picture has the focus, dotted otherwise.
class CursorLine : public QWidget {
public:
    explicit CursorLine(QWidget *parent) : QWidget(parent) {
        setObjectName(QStringLiteral("linCursor"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setColor(const QColor &color) {
        m_color = color;
        update();
    }
    void setSolid(bool solid) {
        m_solid = solid;
        update();
    }
    bool solid() const { return m_solid; }
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        QPen pen(m_color, 1, m_solid ? Qt::SolidLine : Qt::DotLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(QPointF(0.5, 0), QPointF(0.5, height()));
    }

private:
    QColor m_color = Qt::black;
    bool m_solid = false;
};

// The read-out: plain lines in a box, sized and drawn line by line (it moves with every
// cursor key, so it skips the label's general text layout).
class ReadoutLabel : public QLabel {
public:
    explicit ReadoutLabel(QWidget *parent) : QLabel(parent) {
        setObjectName(QStringLiteral("lblMsg"));
        setTextFormat(Qt::PlainText);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAutoFillBackground(true);
        // A box, so that the curve it covers reads as covered and not as a gap.
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setMargin(1);
    }
    QSize sizeHint() const override {
        const QFontMetrics metrics = fontMetrics();
        const QStringList lines = text().split(QLatin1Char('\n'));
        int width = 0;
        for (const QString &line : lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        const int inset = 2 * (frameWidth() + margin());
        return {width + inset, int(lines.size()) * metrics.lineSpacing() + inset};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        drawFrame(&painter);
        const QFontMetrics metrics = fontMetrics();
        const int inset = frameWidth() + margin();
        int y = inset + metrics.ascent();
        painter.setPen(palette().color(QPalette::WindowText));
        for (const QString &line : text().split(QLatin1Char('\n'))) {
            painter.drawText(inset, y, line);
            y += metrics.lineSpacing();
        }
    }
};

void GraphPicture::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    m_owner->m_line->setSolid(true);
}

void GraphPicture::focusOutEvent(QFocusEvent *event) {
    QWidget::focusOutEvent(event);
    m_owner->m_line->setSolid(false);
}

uclVtmGraph::uclVtmGraph(QWidget *parent) : QFrame(parent) {
    m_pic = new GraphPicture(this);
    m_hsl = new QScrollBar(Qt::Horizontal, this);
    m_hsl->setObjectName(QStringLiteral("hslWidth"));
    m_hsl->hide();
    m_line = new CursorLine(m_pic);
    m_label = new ReadoutLabel(m_pic);
    applyFrame();
    setBackColor(m_backColor);
    setCursorColor(m_cursorColor);
    m_pic->setGeometry(contentsRect());
    // However the window moved (the bar or a caller), the bar shows it and the graph redraws.
    onScrollMoved = [this] {
        syncScrollBar();
        Refresh();
    };
    connect(m_hsl, &QScrollBar::valueChanged, this,
            [this](int value) { guarded([&] { setScrollValue(value); }); });
}

uclVtmGraph::~uclVtmGraph() = default;

// Paint, key and mouse paths end here: a failure leaves the last picture.
template <typename Step> void uclVtmGraph::guarded(Step step) {
    try {
        step();
    } catch (const std::exception &) {
    }
}

void uclVtmGraph::applyFrame() {
    if (m_borderStyle == 0)
        setFrameStyle(QFrame::NoFrame);
    else
        setFrameStyle(m_appearance == 0 ? QFrame::Box | QFrame::Plain
                                        : QFrame::Panel | QFrame::Sunken);
}

void uclVtmGraph::setAppearance(qint32 value) {
    m_appearance = qint16(value);
    applyFrame();
}

void uclVtmGraph::setBorderStyle(qint32 value) {
    m_borderStyle = qint16(value);
    applyFrame();
}

void uclVtmGraph::setBackColor(qint32 color) {
    m_backColor = color;
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::Window, GraphColor(color));
    m_label->setPalette(palette);
    m_pic->update();
}

void uclVtmGraph::setCursorColor(qint32 color) {
    m_cursorColor = color;
    m_line->setColor(GraphColor(color));
}

bool uclVtmGraph::CursorVisible() const {
    return !m_line->isHidden();
}

void uclVtmGraph::setCursorVisible(bool visible) {
    m_line->setVisible(visible);
    m_label->setVisible(visible);
}

QFont uclVtmGraph::Font() const {
    return m_pic->font();
}

void uclVtmGraph::setFont(const QFont &font) {
    QFrame::setFont(font);
    m_pic->setFont(font);
}

void uclVtmGraph::setMousePointer(qint16 pointer) {
    m_mousePointer = pointer;
    struct Shape {
        qint16 pointer;
        Qt::CursorShape shape;
    };
    static constexpr Shape shapes[] = {
        {1, Qt::ArrowCursor},      {2, Qt::CrossCursor},      {3, Qt::IBeamCursor},
        {5, Qt::SizeAllCursor},    {6, Qt::SizeBDiagCursor},  {7, Qt::SizeVerCursor},
        {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},    {10, Qt::UpArrowCursor},
        {11, Qt::WaitCursor},      {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
        {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor},
    };
    if (pointer == 99 && !m_mouseIcon.isNull()) {
        m_pic->setCursor(QCursor(m_mouseIcon));
        return;
    }
    for (const Shape &s : shapes)
        if (s.pointer == pointer) {
            m_pic->setCursor(s.shape);
            return;
        }
    m_pic->unsetCursor();
}

void uclVtmGraph::setMouseIcon(const QPixmap &icon) {
    m_mouseIcon = icon;
    if (m_mousePointer == 99)
        setMousePointer(99);
}

void uclVtmGraph::setDrawObj(QPainter *painter, bool printer) {
    m_drawObj = painter;
    m_drawObjPrinter = painter && printer;
}

float uclVtmGraph::TextWidth(const QString &text) const {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPaintDevice *device = m_drawObj ? m_drawObj->device() : &probe;
    return TwipsTextMeasure(TwipsFont(Font()), device).TextWidth(text);
}

float uclVtmGraph::TextHeight(const QString &text) const {
    QImage probe(1, 1, QImage::Format_RGB32);
    QPaintDevice *device = m_drawObj ? m_drawObj->device() : &probe;
    return TwipsTextMeasure(TwipsFont(Font()), device).TextHeight(text);
}

void uclVtmGraph::setZoom(qint16 zoom) {
    GraphModel::setZoom(zoom);
    syncScrollBar();
}

void uclVtmGraph::syncScrollBar() {
    const GraphScroll &s = ScrollBarState();
    const QSignalBlocker block(m_hsl);
    m_hsl->setRange(s.Minimum, s.Maximum);
    m_hsl->setPageStep(s.LargeChange);
    m_hsl->setSingleStep(s.SmallChange);
    m_hsl->setValue(s.Value);
    m_hsl->setVisible(s.Visible);
}

void uclVtmGraph::Refresh() {
    m_forceRedraw = true;
    guarded([this] { paintStep(); });
    m_forceRedraw = false;
}

void uclVtmGraph::RedrawShown() {
    if (!isVisible())
        return;
    Refresh();
    m_pic->setFocus();
}

void uclVtmGraph::Cls() {
    m_picture.fill(GraphColor(m_backColor));
    m_pic->update();
}

void uclVtmGraph::PopupMenu(QMenu *menu, int, float x, float y, QAction *defaultMenu) {
    if (!menu)
        return;
    if (defaultMenu)
        menu->setDefaultAction(defaultMenu);
    const QPoint at = x < 0 || y < 0
                          ? QCursor::pos()
                          : m_pic->mapToGlobal(QPoint(TwipsToPixelsX(x), TwipsToPixelsY(y)));
    menu->exec(at);
}

// The picture fills the control, leaving room for the scroll bar while zoomed.
QRect uclVtmGraph::pictureRect() const {
    QRect picture = contentsRect();
    if (Zoom() > 1)
        picture.setHeight(picture.height() - m_hsl->sizeHint().height() - TwipsToPixelsY(60));
    return picture;
}

void uclVtmGraph::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    m_pic->setGeometry(pictureRect());
    guarded([this] { paintStep(); });
}

void uclVtmGraph::paintStep() {
    if (!AutoRedraw && !m_forceRedraw)
        return;
    const QRect inner = contentsRect();
    if (SetDrawWidth == 0)
        SetDrawWidth = float(PixelsToTwipsX(m_pic->width()));
    if (SetDrawHeight == 0)
        SetDrawHeight = float(PixelsToTwipsY(m_pic->height()));
    if (usedSamples() == 0)
        return;

    const QRect picture = pictureRect();
    m_pic->setGeometry(picture);
    m_picture =
        QImage(std::max(1, picture.width()), std::max(1, picture.height()), QImage::Format_RGB32);
    m_picture.fill(GraphColor(m_backColor));

    const bool onPicture = m_drawObj == nullptr;
    QPainter own;
    if (onPicture)
        own.begin(&m_picture);
    GraphSurface surface;
    surface.painter = onPicture ? &own : m_drawObj;
    surface.printer = m_drawObjPrinter;
    surface.picture = onPicture;
    surface.thin = onPicture;
    surface.background = GraphColor(m_backColor);
    m_pen = DrawGraph(*this, surface, Font());
    if (own.isActive())
        own.end();

    if (m_hsl->isVisibleTo(this)) {
        const int height = m_hsl->sizeHint().height();
        m_hsl->setGeometry(inner.left(), inner.bottom() + 1 - height - TwipsToPixelsY(60),
                           inner.width(), height);
    }
    if (XScale() > 0)
        drawCursor();
    m_pic->update();
}

void uclVtmGraph::drawCursor() {
    QString caption = CursorReadout();
    // The last line break ends the text; the label fits the lines before it.
    if (caption.endsWith(QLatin1String("\r\n")))
        caption.chop(2);
    // On another drawing object the layout is that object's: the on-screen cursor waits
    // for the next paint of the picture.
    if (m_drawObj)
        return;
    m_label->setText(caption.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    m_label->adjustSize();
    const double tppx = TwipsPerPixelX();
    const double tppy = TwipsPerPixelY();
    const CursorPlacement place = PlaceCursor(
        float(m_label->width() * tppx), float(m_label->height() * tppy), float(tppx), float(tppy));
    const int x = int(std::floor(place.LineX / tppx));
    const int top = int(std::lround(place.LineTop / tppy));
    const int bottom = int(std::lround(place.LineBottom / tppy));
    m_line->setGeometry(x, top, 1, std::max(1, bottom - top + 1));
    m_label->move(int(std::lround(place.LabelLeft / tppx)),
                  int(std::lround(place.LabelTop / tppy)));
}

void uclVtmGraph::pictureKeyDown(qint16 keyCode, qint16 shift) {
    guarded([&] {
        emit KeyDown(keyCode, shift);
        const float heightPixels = float(m_pic->height());
        if (MoveCursorByKey(keyCode, shift, heightPixels))
            drawCursor();
    });
}

void uclVtmGraph::pictureMouseDown(qint16 button, qint16 shift, float x, float y) {
    guarded([&] {
        emit MouseDown(button, shift, x, y);
        MoveCursorToX(x);
        drawCursor();
    });
}

} // namespace tq
