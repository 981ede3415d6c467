#pragma once

#include <QPointF>
#include <QRectF>

#include <array>

namespace tq {

// The smallest outer size of the data view window, in twips (as the main window's).
inline constexpr double kDataViewMinWidth = 11640;
inline constexpr double kDataViewMinHeight = 8250;

// The design sizes of the controls whose size the layout leaves as it is.
inline constexpr std::array<double, 2> kDataViewOptionWidths{1092, 972};
inline constexpr double kDataViewRowHeight = 252; // options, boxes, Event Only
inline constexpr double kDataViewZoomLabelWidth = 444;

// What the layout of the data view window reads. All lengths in twips.
struct DataViewLayoutInput {
    double clientWidth = 0; // the window's inner size
    double clientHeight = 0;
    bool graphView = false;      // the Graph option is on
    bool summaryVisible = false; // the summary grid is shown
    // Sizes the controls keep: the options' widths, their height, the zoom label's width,
    // the height of the buttons (Event Only's) and of a check-box row.
    std::array<double, 2> optionWidths = kDataViewOptionWidths;
    double optionHeight = kDataViewRowHeight;
    double zoomLabelWidth = kDataViewZoomLabelWidth;
    double buttonHeight = kDataViewRowHeight;
    double boxHeight = kDataViewRowHeight;
};

// Where the controls go: the frame in the window, every other control in the frame. Points
// are controls whose size the layout leaves as it is.
struct DataViewGeometry {
    QRectF fraMenu;
    std::array<QPointF, 2> optBrowse;
    QPointF chkEvent;
    QRectF vfgSummary; // only while the summary is shown
    QRectF vfgBrowse;
    QRectF vtmGraph;
    std::array<QPointF, 7> chkBrowse;
    QPointF lblTitle1;
    QPointF cmbBrowse;
    std::array<QRectF, 5> cmdBrowse; // index 1 (To clipboard) is never placed
};

// The frame fills the window but for a strip of 12 % of its width plus 240 on the right;
// in it the option row, the summary (30 % of the frame's height, when shown), the record
// table and the graph below it (the graph 680 shorter, leaving two rows of boxes under it)
// and the buttons Print, Export, Summary and Return on the option row, ending at the
// table's right edge, each 12 % of the table's width wide.
DataViewGeometry LayOutDataViewWindow(const DataViewLayoutInput &input);

} // namespace tq
