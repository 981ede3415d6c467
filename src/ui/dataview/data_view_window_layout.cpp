#include "ui/dataview/data_view_window_layout.h"

namespace tq {

namespace {

constexpr double kGap = 120;
constexpr double kOptionTop = 240;
// The graph ends this far above the frame's bottom edge, the record table 120 above it.
constexpr double kGraphBottomMargin = 920;
constexpr double kTableBottomMargin = 240;

} // namespace

DataViewGeometry LayOutDataViewWindow(const DataViewLayoutInput &in) {
    DataViewGeometry g;
    const double sw = in.clientWidth;
    const double sh = in.clientHeight;
    g.fraMenu = QRectF(0, 120, sw - 0.12 * sw - 240, sh - 180);
    const double fw = g.fraMenu.width();
    const double fh = g.fraMenu.height();

    g.optBrowse[0] = QPointF(kGap, kOptionTop);
    g.optBrowse[1] = QPointF(kGap + in.optionWidths[0] + kGap, kOptionTop);
    g.chkEvent = QPointF(g.optBrowse[1].x() + in.optionWidths[1] + kGap, kOptionTop);

    const double optionBottom = kOptionTop + in.optionHeight;
    const double top = optionBottom + kGap;
    const double above = in.summaryVisible ? top + 0.3 * fh : optionBottom;
    if (in.summaryVisible) {
        g.vfgSummary = QRectF(kGap, top, fw - 240, 0.3 * fh);
        g.vfgBrowse = QRectF(kGap, above + kGap, fw - 240, fh - above - kTableBottomMargin);
    } else {
        g.vfgBrowse = QRectF(kGap, top, fw - 240, fh - above - kTableBottomMargin);
    }
    g.vtmGraph =
        QRectF(kGap, g.vfgBrowse.top(), g.vfgBrowse.width(), fh - above - kGraphBottomMargin);

    const std::array<double, 4> columns{kGap, fw / 4, fw / 2, 3 * fw / 4};
    const double firstRow = g.vtmGraph.bottom() + kGap;
    const double secondRow = firstRow + in.boxHeight;
    for (std::size_t i = 0; i < 4; ++i)
        g.chkBrowse[i] = QPointF(columns[i], firstRow);
    g.lblTitle1 = QPointF(kGap, secondRow);
    g.cmbBrowse = QPointF(kGap + in.zoomLabelWidth + 240, secondRow);
    for (std::size_t i = 4; i < 7; ++i)
        g.chkBrowse[i] = QPointF(columns[i - 3], secondRow);

    const double w = 0.12 * g.vfgBrowse.width();
    const auto button = [&](double left) { return QRectF(left, kOptionTop, w, in.buttonHeight); };
    g.cmdBrowse[4] = button(g.vfgBrowse.right() - w);
    g.cmdBrowse[3] = button(g.cmdBrowse[4].left() - w - 240);
    g.cmdBrowse[2] = button(g.cmdBrowse[3].left() - w);
    g.cmdBrowse[0] = button(g.cmdBrowse[2].left() - w);
    return g;
}

} // namespace tq
