#include "ui/dataview/data_view_window_layout.h"

#include <gtest/gtest.h>

namespace tq {
namespace {

// The client size that gives a frame of fw by fh twips.
DataViewLayoutInput frameOf(double fw, double fh, bool summary, bool graph = false) {
    DataViewLayoutInput in;
    in.clientWidth = (fw + 240) / 0.88;
    in.clientHeight = fh + 180;
    in.summaryVisible = summary;
    in.graphView = graph;
    return in;
}

void expectRect(const QRectF &got, double left, double top, double width, double height) {
    EXPECT_NEAR(got.left(), left, 1);
    EXPECT_NEAR(got.top(), top, 1);
    EXPECT_NEAR(got.width(), width, 1);
    EXPECT_NEAR(got.height(), height, 1);
}

TEST(DataViewWindowLayout, WorkedExampleWithTheSummary) {
    const DataViewGeometry g = LayOutDataViewWindow(frameOf(10000, 7000, true));
    expectRect(g.fraMenu, 0, 120, 10000, 7000);
    expectRect(g.vfgSummary, 120, 612, 9760, 2100);
    expectRect(g.vfgBrowse, 120, 2832, 9760, 4048);
    expectRect(g.vtmGraph, 120, 2832, 9760, 3368);
    EXPECT_NEAR(g.chkBrowse[0].y(), 6320, 1);
    EXPECT_NEAR(g.chkBrowse[5].y(), 6572, 1);
    EXPECT_NEAR(g.lblTitle1.y(), 6572, 1);
    // The boxes stand in quarters of the frame; the zoom list after its label.
    EXPECT_NEAR(g.chkBrowse[1].x(), 2500, 1);
    EXPECT_NEAR(g.chkBrowse[2].x(), 5000, 1);
    EXPECT_NEAR(g.chkBrowse[3].x(), 7500, 1);
    EXPECT_NEAR(g.chkBrowse[4].x(), 2500, 1);
    EXPECT_NEAR(g.chkBrowse[6].x(), 7500, 1);
    EXPECT_NEAR(g.cmbBrowse.x(), 120 + 444 + 240, 1);
    // Print, Export and Summary touch; 240 between Summary and Return.
    expectRect(g.cmdBrowse[4], 8708.8, 240, 1171.2, 252);
    expectRect(g.cmdBrowse[3], 7297.6, 240, 1171.2, 252);
    expectRect(g.cmdBrowse[2], 6126.4, 240, 1171.2, 252);
    expectRect(g.cmdBrowse[0], 4955.2, 240, 1171.2, 252);
    // The option row.
    EXPECT_NEAR(g.optBrowse[0].x(), 120, 1);
    EXPECT_NEAR(g.optBrowse[1].x(), 120 + 1092 + 120, 1);
    EXPECT_NEAR(g.chkEvent.x(), 120 + 1092 + 120 + 972 + 120, 1);
}

TEST(DataViewWindowLayout, WithoutTheSummaryTableAndGraphMoveUp) {
    const DataViewGeometry g = LayOutDataViewWindow(frameOf(10000, 7000, false));
    // Both start at 612 and end where they end with the summary: 120 and 800 above the
    // frame's bottom edge.
    expectRect(g.vfgBrowse, 120, 612, 9760, 6268);
    expectRect(g.vtmGraph, 120, 612, 9760, 5588);
    EXPECT_NEAR(g.chkBrowse[0].y(), 6320, 1);
}

TEST(DataViewWindowLayout, ButtonsFollowTheTableAndScaleWithIt) {
    for (double fw : {11000.0, 16000.0, 30000.0}) {
        SCOPED_TRACE(fw);
        const DataViewGeometry g = LayOutDataViewWindow(frameOf(fw, 8000, true, true));
        const double tableWidth = g.vfgBrowse.width();
        EXPECT_NEAR(g.cmdBrowse[4].width(), 0.12 * tableWidth, 1e-6);
        EXPECT_NEAR(g.cmdBrowse[4].right(), g.vfgBrowse.right(), 1e-6);
        EXPECT_NEAR(g.cmdBrowse[3].right() + 240, g.cmdBrowse[4].left(), 1e-6);
        EXPECT_NEAR(g.cmdBrowse[2].right(), g.cmdBrowse[3].left(), 1e-6);
        EXPECT_NEAR(g.cmdBrowse[0].right(), g.cmdBrowse[2].left(), 1e-6);
        // The strip right of the frame: 12 % of the window's width and 240.
        const DataViewLayoutInput in = frameOf(fw, 8000, true, true);
        EXPECT_NEAR(in.clientWidth - g.fraMenu.right(), 0.12 * in.clientWidth + 240, 1e-6);
    }
}

TEST(DataViewWindowLayout, WiderOptionsPushTheRowOn) {
    DataViewLayoutInput in = frameOf(10000, 7000, true);
    in.optionWidths = {1500, 1300};
    in.optionHeight = 300;
    const DataViewGeometry g = LayOutDataViewWindow(in);
    EXPECT_NEAR(g.optBrowse[1].x(), 120 + 1500 + 120, 1e-6);
    EXPECT_NEAR(g.chkEvent.x(), 120 + 1500 + 120 + 1300 + 120, 1e-6);
    // The content starts 120 below the options.
    EXPECT_NEAR(g.vfgSummary.top(), 240 + 300 + 120, 1e-6);
}

} // namespace
} // namespace tq
