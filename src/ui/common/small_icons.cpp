#include "ui/common/small_icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace tq {

namespace {

enum class Shape { Instrument, Folder, OpenFolder, Trend, TrendGrid, Badge };

// How one image is drawn: its shape, its colour and, for a badge, its letters.
struct IconLook {
    const char *key;
    Shape shape;
    QRgb color;
    const char *letters;
};

constexpr std::array<IconLook, 17> kIcons{{
    {"TQ6200", Shape::Instrument, 0xff2e7d32, ""},
    {"CloseFolder", Shape::Folder, 0xffe0b000, ""},
    {"OpenFolder", Shape::OpenFolder, 0xffe0b000, ""},
    {"Interval0", Shape::Trend, 0xff1565c0, ""},
    {"Interval1", Shape::Trend, 0xff00897b, ""},
    {"Interval2", Shape::Trend, 0xff6a1b9a, ""},
    {"Alarm0", Shape::Trend, 0xffc62828, ""},
    {"IntervalG", Shape::TrendGrid, 0xff1565c0, ""},
    {"AlarmG", Shape::TrendGrid, 0xffc62828, ""},
    {"Barhole", Shape::Badge, 0xff6d4c41, "BH"},
    {"BumpTest", Shape::Badge, 0xffef6c00, "BT"},
    {"SnapShot", Shape::Badge, 0xff455a64, "SS"},
    {"History", Shape::Badge, 0xff2e7d32, "C"},
    {"AEvent", Shape::Badge, 0xffc62828, "A"},
    {"TEvent", Shape::Badge, 0xfff9a825, "T"},
    {"PEvent", Shape::Badge, 0xff1565c0, "P"},
    {"Change", Shape::Badge, 0xff00838f, "S"},
}};

void drawFolder(QPainter &p, const QColor &color, bool open) {
    p.setPen(color.darker(160));
    p.setBrush(color.darker(115));
    p.drawRect(1, 3, 6, 2);
    p.drawRect(1, 4, 13, 9);
    p.setBrush(color);
    if (open) {
        const QPointF front[] = {{3, 7}, {15, 7}, {13, 13}, {1, 13}};
        p.drawPolygon(front, 4);
    }
}

// A trend curve in a frame; on graph paper for the table view's images.
void drawTrend(QPainter &p, const QColor &color, bool grid) {
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    if (grid) {
        p.setPen(QColor(0xc0, 0xc0, 0xc0));
        for (int at = 4; at < 14; at += 3) {
            p.drawLine(at, 2, at, 13);
            p.drawLine(2, at, 13, at);
        }
    }
    QPainterPath line;
    line.moveTo(2, 11);
    line.lineTo(5, 8);
    line.lineTo(8, 10);
    line.lineTo(11, 4);
    line.lineTo(14, 6);
    p.setPen(QPen(color, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
}

void drawBadge(QPainter &p, const QColor &color, const QString &letters) {
    p.setPen(color.darker(140));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = p.font();
    font.setPixelSize(letters.size() > 1 ? 7 : 11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letters);
}

void drawInstrument(QPainter &p, const QColor &color) {
    p.setPen(color.darker(150));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(3.5, 0.5, 9, 15), 2, 2);
    p.setBrush(QColor(0xc8, 0xe6, 0xc9));
    p.drawRect(5, 3, 5, 4);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 11), 1.5, 1.5);
}

QIcon draw(const IconLook &look) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = QColor::fromRgba(look.color);
    switch (look.shape) {
    case Shape::Instrument:
        drawInstrument(p, color);
        break;
    case Shape::Folder:
    case Shape::OpenFolder:
        drawFolder(p, color, look.shape == Shape::OpenFolder);
        break;
    case Shape::Trend:
    case Shape::TrendGrid:
        drawTrend(p, color, look.shape == Shape::TrendGrid);
        break;
    case Shape::Badge:
        drawBadge(p, color, QString::fromLatin1(look.letters));
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace

QIcon SmallIcon(const QString &key) {
    static const QHash<QString, QIcon> icons = [] {
        QHash<QString, QIcon> all;
        for (const IconLook &look : kIcons)
            all.insert(QString::fromLatin1(look.key), draw(look));
        return all;
    }();
    return icons.value(key);
}

QPixmap AlarmTrendPointer() {
    static const QPixmap pointer =
        SmallIcon(QStringLiteral("Alarm0")).pixmap(16).scaled(32, 32, Qt::KeepAspectRatio);
    return pointer;
}

} // namespace tq
