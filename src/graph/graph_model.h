#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace tq {

// Fixed limits of the trend graph: every series carries this many samples and marks.
inline constexpr int kGraphMaxSample = 16360; // highest sample index
inline constexpr int kGraphSamples = kGraphMaxSample + 1;
inline constexpr int kGraphMaxEvent = 2048; // highest mark index
inline constexpr int kGraphEvents = kGraphMaxEvent + 1;
// The value the hosts write for a sample the detector did not record.
inline constexpr float kMissingSample = -0.01f;
// The one date format of the time labels and the read-out, as stored and as Qt reads it.
inline const QString kGraphFormatX = QStringLiteral("mm/dd hh:nn:ss");
inline const QString kGraphQtFormatX = QStringLiteral("MM/dd hh:mm:ss");

// True when the value's bits are those of the missing-sample value.
bool IsMissingSample(float value);

// One series: its look, its Y scale of the last layout and its samples.
struct GraphSeries {
    QString Name;
    qint32 Color = 0;
    qint16 LastIndex = 0; // highest index written through valueY
    QString FormatY;
    float MinY = 0;
    float MaxY = 0; // 0: both ends from the data at the next layout
    float FullScale = 0;
    float PosYStp = 0;
    float YScale = 0;
    bool Visible = false;
    std::vector<float> Values = std::vector<float>(kGraphSamples, 0.0f);
};

struct EventMark {
    double X = 0;
    qint32 ElapsedSec = 0;
};

// The marks of one series slot.
struct SeriesEvents {
    bool EventVisible = false;
    std::vector<EventMark> Marks = std::vector<EventMark>(kGraphEvents);
    std::vector<QString> Flags = std::vector<QString>(kGraphEvents);
    float MarkerY = 0; // height at which the marks were last drawn
};

// Marks that belong to no series, indexed by sample.
struct CommonEventList {
    bool EventVisible = false;
    std::vector<QString> Flags = std::vector<QString>(kGraphEvents);
    float MarkerY = 0;
};

// The scroll bar that moves the zoom window.
struct GraphScroll {
    bool Visible = false;
    int Minimum = 0;
    int Maximum = 0;
    int LargeChange = 1;
    int SmallChange = 1;
    int Value = 0;
};

// Text size in the drawing object's current font, in its scale units (twips).
class GraphTextMeasure {
public:
    virtual ~GraphTextMeasure() = default;
    virtual float TextWidth(const QString &text) const = 0;
    virtual float TextHeight(const QString &text) const = 0;
};

// The drawing object the layout works on: the control's own picture or an area of another
// object (printer, preview), with the object's inner size in twips.
struct GraphArea {
    bool OnPicture = true;
    float ScaleWidth = 0;
    float ScaleHeight = 0;
};

// Where the cursor line and its read-out go, in the drawing object's twips.
struct CursorPlacement {
    float LineX = 0;
    float LineTop = 0;
    float LineBottom = 0;
    float LabelLeft = 0;
    float LabelTop = 0;
};

// The state and arithmetic of the trend graph control without any drawing: series,
// sample axis, marks, zoom window, cursor, layout and scales. Index errors throw
// TqError(SubscriptOutOfRange); writes the control ignores return without effect.
class GraphModel {
public:
    GraphModel();

    // Series list.
    qint32 AddSample(const QString &names, qint32 colors = 0, const QString &formats = {},
                     float fullScale = 0);
    void Clear();
    qint32 SampleDataCount() const { return qint32(m_series.size()) - 1; }
    QString ValueName(qint32 index) const;
    void setValueName(qint32 index, const QString &name);
    qint32 ValueColor(qint32 index) const;
    void setValueColor(qint32 index, qint32 color);
    QString FormatY(qint16 sampleNum = 0) const;
    void setFormatY(qint16 sampleNum, const QString &format);
    float MinY(qint16 sampleNum = 0) const;
    void setMinY(qint16 sampleNum, float value);
    float MaxY(qint16 sampleNum = 0) const;
    void setMaxY(qint16 sampleNum, float value);
    float PosYStp(qint16 sampleNum = 0) const;
    bool SampleVisible(qint16 sampleNum) const;
    void setSampleVisible(qint16 sampleNum, bool visible);
    const GraphSeries &series(int slot) const { return m_series.at(std::size_t(slot)); }

    // Samples.
    double valueX(qint16 index) const;
    void setValueX(qint16 index, double date);
    double DataX(qint16 number) const { return valueX(number); }
    void setDataX(qint16 number, double date);
    float valueY(qint16 index, qint16 number) const;
    void setValueY(qint16 index, qint16 number, float value);
    qint32 ElapsedSec(int index) const { return m_elapsed.at(std::size_t(index)); }
    qint16 SampleCount() const { return m_sampleCount; }
    void setSampleCount(qint16 count) { m_sampleCount = count; }
    // SampleCount as drawing, keys and the mouse use it: within 0 to the stored samples.
    int usedSamples() const;

    // Marks.
    QString EventFlag(qint16 sampleNum, qint16 index) const;
    void setEventFlag(qint16 sampleNum, qint16 index, const QString &text);
    bool EventVisible(qint16 sampleNum) const;
    void setEventVisible(qint16 sampleNum, bool visible);
    double EventX(qint16 gasNo, qint16 number) const;
    void setEventX(qint16 gasNo, qint16 number, double date);
    qint16 EventCount(qint16 gasNo) const;
    void setEventCount(qint16 gasNo, qint16 count);
    const SeriesEvents &events(int slot) const { return m_events.at(std::size_t(slot)); }
    const CommonEventList &commonEvents() const { return m_common; }
    void setMarkerY(int slot, float y) { m_events.at(std::size_t(slot)).MarkerY = y; }
    void setCommonMarkerY(float y) { m_common.MarkerY = y; }
    // Marks of a slot as drawing uses them: within 0 to the stored marks.
    int usedEvents(int slot) const;

    // X window, zoom and scroll bar.
    qint16 Zoom() const { return m_zoom; }
    void setZoom(qint16 zoom);
    const GraphScroll &ScrollBarState() const { return m_scroll; }
    // The scroll bar's value changed: moves the X window and asks for a redraw.
    void setScrollValue(int value);
    std::function<void()> onScrollMoved;
    float MinX() const { return m_minX; }
    void setMinX(float value) { m_minX = value; }
    float MaxX() const { return m_maxX; }
    void setMaxX(float value) { m_maxX = value; }

    // Cursor.
    float CursorIndex() const { return m_cursorIndex; }
    void setCursorIndex(float index) { m_cursorIndex = index; }
    float LabelOffset() const { return m_labelOffset; }
    // A key after the host's KeyDown handler; pictureHeightPixels is the picture's height
    // in screen pixels. True when the cursor or the label moved.
    bool MoveCursorByKey(qint16 keyCode, qint16 shift, float pictureHeightPixels);
    // A mouse press at drawing-object X after the host's MouseDown handler: the cursor
    // goes to the sample there (stays when there is none).
    void MoveCursorToX(float x);
    qint32 FindSampleIndex(float x) const;
    // Pulls the cursor into the X window, rebuilds the read-out text and gives the places
    // of the line and the label (tppx, tppy: the screen's twips per pixel).
    QString CursorReadout();
    CursorPlacement PlaceCursor(float labelWidth, float labelHeight, float tppx, float tppy) const;

    // Mark search.
    void SearchEvent(float valueX, qint32 valueY, double &evtDate, QString &evtName) const;

    // Conversions between values and drawing-object coordinates.
    float xPos(float vals) const;
    float yPos(float vals, qint16 sampleNum = 0) const;
    float xData(float vals) const;
    float yData(float vals, qint16 sampleNum = 0) const;

    // Layout.
    void CalcLayout(const GraphTextMeasure &measure, const GraphArea &area);
    void CalcScaleY();
    float PlotLeft() const { return m_plotLeft; }
    float PlotTop() const { return m_plotTop; }
    float PlotWidth() const { return m_plotWidth; }
    float PlotHeight() const { return m_plotHeight; }
    float XScale() const { return m_xScale; }
    float PosXStp() const { return m_posXStp; }

    // Display settings kept for the drawing.
    QString FormatX() const { return m_formatX; }
    void setFormatX(const QString &format) { m_formatX = format; }
    QString TitleTop;
    QString TitleBottom;
    qint32 ScaleColor = 0;
    float DrawLineWidth = 1;
    float ScaleLineWidth = 1;
    float SetDrawLeft = 0;
    float SetDrawTop = 0;
    float SetDrawWidth = 1000;
    float SetDrawHeight = 1000;
    bool AutoRedraw = true;

    // Samples first..last (inclusive) whose seconds lie in [from, to) are
    // [result.first, result.second): by binary search while the seconds ascend.
    std::pair<int, int> samplesWithin(int last, double from, double to) const;

private:
    void checkSlot(int slot) const;         // any slot
    void checkNotNegative(int index) const; // negative fails
    bool isSeries(int slot) const { return slot >= 0 && slot < SampleDataCount(); }
    qint32 secondsFrom0(double date) const;
    bool ascendingThrough(int last) const;
    void applyScrollWindow();
    void resetSeriesList();

    std::vector<GraphSeries> m_series;
    std::vector<SeriesEvents> m_events;
    std::vector<qint16> m_eventCounts;
    CommonEventList m_common;
    std::vector<double> m_dates = std::vector<double>(kGraphSamples, 0.0);
    std::vector<qint32> m_elapsed = std::vector<qint32>(kGraphSamples, 0);
    mutable int m_ascendingPrefix = 1; // samples 0..prefix-1 have non-decreasing seconds
    qint16 m_sampleCount = 0;
    qint16 m_zoom = 1;
    GraphScroll m_scroll;
    float m_minX = 0;
    float m_maxX = 0;
    float m_cursorIndex = 0;
    float m_labelOffset = 0;
    QString m_formatX;
    float m_plotLeft = 0;
    float m_plotTop = 0;
    float m_plotWidth = 0;
    float m_plotHeight = 0;
    float m_xScale = 0;
    float m_posXStp = 0;
};

} // namespace tq
