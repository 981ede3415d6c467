#include "ui/common/column_widths.h"

#include "core/gui/flex_grid.h"

#include <QCoreApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tq {
namespace {

using Widths = std::vector<std::optional<double>>;
constexpr std::nullopt_t K = std::nullopt; // a column that keeps its width

struct WidthCase {
    const char *name;
    LayoutGrid grid;
    int columns;
    double width;
    const char *language;
    Widths expected;
};

class ColumnWidthsTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ColumnWidthsTest, GivesTheTableWidths) {
    const WidthCase &c = GetParam();
    Widths got = ColumnWidths(c.grid, c.columns, c.width, QString::fromLatin1(c.language));
    // Trailing kept columns and a shorter result mean the same.
    while (!got.empty() && !got.back())
        got.pop_back();
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, ColumnWidthsTest,
    ::testing::Values(
        WidthCase{"InstFiveKeepsFifth", LayoutGrid::Inst, 5, 10000, "EN", {1900, 2500, 1200, 1200}},
        WidthCase{"InstSix", LayoutGrid::Inst, 6, 10000, "JP", {1900, 2500, 1200, 1200, 1200}},
        WidthCase{"InstFourUnchanged", LayoutGrid::Inst, 4, 10000, "EN", {}},
        WidthCase{"InstSevenUnchanged", LayoutGrid::Inst, 7, 10000, "EN", {}},
        WidthCase{"InstOtherLanguage", LayoutGrid::Inst, 5, 10000, "DE", {}},
        WidthCase{"SensorOneColumn", LayoutGrid::InstSensor, 1, 8000, "EN", {2000}},
        WidthCase{"SensorFour", LayoutGrid::InstSensor, 4, 8000, "EN", {2000, 2000, 2000, 2000}},
        WidthCase{"LogSevenEnglish", LayoutGrid::Log, 7, 6000, "EN", {}},
        WidthCase{
            "LogSevenJapanese", LayoutGrid::Log, 7, 6000, "JP", {1200, 800, 800, 800, 800, 800}},
        WidthCase{"LogFiveEnglish", LayoutGrid::Log, 5, 8000, "EN", {2000, 1400, 1400, 1400}},
        WidthCase{"LogFiveJapanese", LayoutGrid::Log, 5, 8000, "JP", {1600, 1600, 1600, 1600}},
        WidthCase{"BrowseTenUnchanged", LayoutGrid::Browse, 10, 12000, "EN", {}},
        WidthCase{"BrowseEightAll",
                  LayoutGrid::Browse,
                  8,
                  12000,
                  "EN",
                  {600, 2280, 1500, 1500, 1500, 1500, 1500, 1500}},
        WidthCase{"BrowseFive", LayoutGrid::Browse, 5, 10000, "EN", {1000, 3000, 2000, 2000}},
        WidthCase{"SummaryLastKept", LayoutGrid::Summary, 4, 10000, "EN", {2600, 2467, 2467}},
        WidthCase{
            "HistoryAll", LayoutGrid::History, 6, 10000, "EN", {600, 1880, 1880, 1880, 1880, 1880}},
        WidthCase{"OptionEnglish", LayoutGrid::Option, 3, 10000, "EN", {1500, 4250, 4250}},
        WidthCase{"OptionJapanese", LayoutGrid::Option, 3, 10000, "JP", {1300, 4350, 4350}},
        WidthCase{"OptionOtherLanguage", LayoutGrid::Option, 3, 10000, "XX", {}},
        WidthCase{"CalKeepsFourth", LayoutGrid::Cal, 4, 10000, "EN", {3000, 1000, 3000}},
        // The data view window's record table: the page's fractions but for eight columns.
        WidthCase{"WindowTwo", LayoutGrid::DataViewBrowse, 2, 10000, "EN", {2900}},
        WidthCase{"WindowThree", LayoutGrid::DataViewBrowse, 3, 9760, "EN", {2830, 3465}},
        WidthCase{"WindowFour", LayoutGrid::DataViewBrowse, 4, 10000, "EN", {700, 2200, 3550}},
        WidthCase{
            "WindowFive", LayoutGrid::DataViewBrowse, 5, 10000, "JP", {1000, 3000, 2000, 2000}},
        WidthCase{
            "WindowSix", LayoutGrid::DataViewBrowse, 6, 12000, "EN", {840, 2280, 2220, 2220, 2220}},
        WidthCase{"WindowSeven",
                  LayoutGrid::DataViewBrowse,
                  7,
                  10000,
                  "EN",
                  {700, 2200, 1400, 1400, 1400, 1400}},
        WidthCase{"WindowEight",
                  LayoutGrid::DataViewBrowse,
                  8,
                  12000,
                  "EN",
                  {840, 2280, 1480, 1480, 1480, 1480, 1480, 1480}},
        WidthCase{"WindowNine",
                  LayoutGrid::DataViewBrowse,
                  9,
                  10000,
                  "EN",
                  {500, 1600, 700, 1200, 1200, 1200, 1200, 1200}},
        WidthCase{"WindowTenUnchanged", LayoutGrid::DataViewBrowse, 10, 10000, "EN", {}},
        // The window's summary: a quarter of 0.74 for each column between first and last.
        WidthCase{"WindowSummaryTwo", LayoutGrid::DataViewSummary, 2, 9760, "EN", {2538}},
        WidthCase{"WindowSummaryFive",
                  LayoutGrid::DataViewSummary,
                  5,
                  10000,
                  "EN",
                  {2600, 1850, 1850, 1850}},
        // 0.25 of 10 twips is 2.5: halves go to the even neighbour.
        WidthCase{"HalvesToEven", LayoutGrid::InstSensor, 2, 10, "EN", {2, 8}}),
    [](const auto &info) { return std::string(info.param.name); });

struct FitCase {
    const char *name;
    std::vector<int> shares;
    std::vector<int> needs;
    std::vector<int> expected;
};

class FitToContentsTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToContentsTest, MovesRoomToNarrowColumnsKeepingTheSum) {
    const FitCase &c = GetParam();
    EXPECT_EQ(FitToContents(c.shares, c.needs), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FitToContentsTest,
    ::testing::Values(
        FitCase{"AllFitKeepsShares", {100, 60, 60}, {80, 40, 60}, {100, 60, 60}},
        FitCase{"NarrowTakesFromWide",
                {100, 64, 64, 60, 108},
                {90, 30, 80, 40, 125},
                {95, 46, 80, 50, 125}},
        // Too little room for every text: the spare room is shared by what each lacks.
        FitCase{"NotEnoughRoom", {50, 50, 50}, {100, 40, 70}, {58, 40, 52}},
        FitCase{"NothingToSpare", {50, 50}, {60, 55}, {50, 50}},
        FitCase{"NoNeedsKnown", {50, 50}, {}, {50, 50}}),
    [](const auto &info) { return std::string(info.param.name); });

// On a shown grid the last column takes what the others leave: the columns fill the grid
// to the pixel, without a horizontal scroll bar, whether the shares stop before the last
// column or end on a rounded sum.
TEST(ApplyColumnWidthsTest, TheLastColumnTakesWhatIsLeft) {
    for (const auto &[kind, columns, width] :
         {std::tuple{LayoutGrid::Inst, 6, 613}, std::tuple{LayoutGrid::InstSensor, 5, 611},
          std::tuple{LayoutGrid::History, 7, 433}, std::tuple{LayoutGrid::Cal, 4, 500}}) {
        FlexGrid grid;
        grid.SetCols(columns);
        grid.SetRows(3);
        grid.resize(width, 200);
        grid.show();
        ApplyColumnWidths(grid, kind, QStringLiteral("EN"));
        QCoreApplication::processEvents();
        int sum = 0;
        for (int col = 0; col < columns; ++col)
            sum += grid.columnWidth(col);
        EXPECT_EQ(sum, grid.viewport()->width()) << int(kind);
        EXPECT_FALSE(grid.horizontalScrollBar()->isVisible()) << int(kind);
    }
}

} // namespace
} // namespace tq
