#pragma once

#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <climits>

namespace tq::test {

// A paint device that keeps what was drawn on it instead of pixels: every text with the
// rectangle it covers (device units) and the number of filled polygons. It takes every
// painter feature, so texts reach it as texts (not outlines) whatever the transform.
class RecordingPaintDevice : public QPaintDevice {
public:
    struct Text {
        QString text;
        QRectF rect;
    };

    explicit RecordingPaintDevice(QSize size, int dpi = 600) : m_size(size), m_dpi(dpi) {}

    QPaintEngine *paintEngine() const override { return &m_engine; }
    const QList<Text> &texts() const { return m_engine.texts; }
    int polygons() const { return m_engine.polygons; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / (10 * m_dpi);
        case PdmHeightMM:
            return m_size.height() * 254 / (10 * m_dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState &state) override {
            if (state.state() & DirtyTransform)
                transform = state.transform();
        }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawLines(const QLineF *, int) override {}
        void drawRects(const QRectF *, int) override {}
        // Filled shapes only: curves arrive as polylines.
        void drawPolygon(const QPointF *, int, PolygonDrawMode mode) override {
            polygons += mode != PolylineMode;
        }
        void drawPolygon(const QPoint *, int, PolygonDrawMode mode) override {
            polygons += mode != PolylineMode;
        }
        void drawTextItem(const QPointF &p, const QTextItem &item) override {
            const QRectF box(p.x(), p.y() - item.ascent(), item.width(),
                             item.ascent() + item.descent());
            texts.append({item.text(), transform.mapRect(box)});
        }

        QTransform transform;
        QList<Text> texts;
        int polygons = 0;
    };

    QSize m_size;
    int m_dpi;
    mutable Engine m_engine;
};

} // namespace tq::test
