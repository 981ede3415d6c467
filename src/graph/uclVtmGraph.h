#pragma once

#include "graph/graph_drawing.h"
#include "graph/graph_model.h"

#include <QFrame>
#include <QImage>
#include <QPixmap>

class QLabel;
class QMenu;
class QPainter;
class QScrollBar;

namespace tq {

class GraphPicture;
class CursorLine;

// The trend graph control: series against one time axis, event marks, scales and a
// cursor, drawn on its own picture or, through DrawObj, on a painter the host holds open
// (a printer page, a preview). Its data members are those of GraphModel; children are
// picGraph (the picture, keyboard and mouse), hslWidth (zoom window), linCursor and
// lblMsg (the cursor and its read-out, moved without redrawing the curves).
class uclVtmGraph : public QFrame, public GraphModel {
    Q_OBJECT
public:
    explicit uclVtmGraph(QWidget *parent = nullptr);
    ~uclVtmGraph() override;

    static qint32 MaxSamples() { return kGraphMaxSample; }
    static qint32 MaxEvents() { return kGraphMaxEvent; }
    void setSampleDataCount(qint32) {} // the count follows the series
    void setPosXStp(float) {}
    void setPosYStp(qint16, float) {}
    QString ScaleXFormat() const { return FormatX(); }
    void setScaleXFormat(const QString &format) { setFormatX(format); }
    static bool TestDisp() { return false; }
    static void setTestDisp(bool) {}

    qint32 Appearance() const { return m_appearance; }
    void setAppearance(qint32 value);
    qint32 BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(qint32 value);

    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 color);
    qint32 CursorColor() const { return m_cursorColor; }
    void setCursorColor(qint32 color);
    bool CursorVisible() const;
    void setCursorVisible(bool visible);
    QFont Font() const;
    void setFont(const QFont &font);
    qint16 MousePointer() const { return m_mousePointer; }
    void setMousePointer(qint16 pointer);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap &icon);

    // The drawing object: nullptr for the control's own picture, else a painter the host
    // keeps open while it calls Refresh; `printer` makes the grid blend toward white.
    QPainter *DrawObj() const { return m_drawObj; }
    void setDrawObj(QPainter *painter, bool printer);
    float CurrentX() const { return m_pen.CurrentX; }
    float CurrentY() const { return m_pen.CurrentY; }
    float TextWidth(const QString &text) const;
    float TextHeight(const QString &text) const;

    void setZoom(qint16 zoom);
    // Draws now, whatever AutoRedraw is.
    void Refresh();
    // What a host does after a command or a box: a shown graph drawn now and its picture
    // given the keys; a hidden one is left alone.
    void RedrawShown();
    void Cls();
    // The picture as last drawn, for the clipboard and bitmap files.
    const QImage &Picture() const { return m_picture; }
    void PopupMenu(QMenu *menu, int flags = 0, float x = -1, float y = -1,
                   QAction *defaultMenu = nullptr);

    // Sent before the control acts; a directly connected handler may change the arguments.
signals:
    void Click();
    void DblClick();
    void KeyDown(qint16 &keyCode, qint16 &shift);
    void KeyPress(qint16 &keyAscii);
    void KeyUp(qint16 &keyCode, qint16 &shift);
    void MouseDown(qint16 &button, qint16 &shift, float &x, float &y);
    void MouseMove(qint16 &button, qint16 &shift, float &x, float &y);
    void MouseUp(qint16 &button, qint16 &shift, float &x, float &y);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class GraphPicture;
    void paintStep();
    QRect pictureRect() const;
    void drawCursor();
    void syncScrollBar();
    void pictureKeyDown(qint16 keyCode, qint16 shift);
    void pictureMouseDown(qint16 button, qint16 shift, float x, float y);
    void applyFrame();
    template <typename Step> void guarded(Step step);

    GraphPicture *m_pic = nullptr;
    QScrollBar *m_hsl = nullptr;
    CursorLine *m_line = nullptr;
    QLabel *m_label = nullptr;
    QImage m_picture;
    QPainter *m_drawObj = nullptr;
    bool m_drawObjPrinter = false;
    bool m_forceRedraw = false;
    GraphPenPosition m_pen;
    qint32 m_backColor = 0xF0F0F0;
    qint32 m_cursorColor = 0;
    qint32 m_appearance = 1;
    qint32 m_borderStyle = 1;
    qint16 m_mousePointer = 0;
    QPixmap m_mouseIcon;
};

} // namespace tq
