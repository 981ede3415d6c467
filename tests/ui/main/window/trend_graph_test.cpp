#include "core/settings_file.h"
#include "graph/uclVtmGraph.h"
#include "main_window_fixture.h"
#include "ui/display/data_view_page.h"

#include <QPushButton>

namespace tq {
namespace {

using test::MainWindowTest;

TEST_F(MainWindowTest, GraphColoursComeFromTheSettingsAndGoBackUnchanged) {
    writeSettings("Graph Color\t255\t65535\t16711680\t12345\r\n");
    load();
    auto *graph = control<uclVtmGraph>("vtmGraph");
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph, window->dataViewPage().vtmGraph);
    EXPECT_EQ(graph->ScaleColor, 255);
    EXPECT_EQ(graph->BackColor(), 65535);
    EXPECT_EQ(graph->CursorColor(), 16711680);

    window->SaveDisplaySettings();
    Globals() = ProgramState();
    Globals().AppFolder = dir.path();
    LoadSettings();
    EXPECT_EQ(Globals().GraphColor.ScaleColor, 255);
    EXPECT_EQ(Globals().GraphColor.BackColor, 65535);
    EXPECT_EQ(Globals().GraphColor.CursorColor, 16711680);

    // A reset after a power-off writes the graph's colours and applies them read back.
    graph->setBackColor(123);
    window->ResetAfterPowerOff();
    EXPECT_EQ(Globals().GraphColor.BackColor, 123);
    EXPECT_EQ(graph->BackColor(), 123);
    EXPECT_EQ(graph->ScaleColor, 255);
}

TEST_F(MainWindowTest, TrendColourRoutineRecoloursASeries) {
    load();
    uclVtmGraph *graph = window->dataViewPage().vtmGraph;
    graph->Clear();
    graph->AddSample(QStringLiteral("CO"), 65280, QStringLiteral("#0"));
    const QColor button = window->controls().cmdOptionDisp[1]->palette().color(QPalette::Button);
    window->SetTrendColor(0, 255);
    EXPECT_EQ(graph->ValueColor(0), 255);
    // Slots without a series are left alone, and the Set page's button keeps its colour.
    window->SetTrendColor(3, 255);
    EXPECT_EQ(graph->ValueColor(3), 0);
    EXPECT_EQ(window->controls().cmdOptionDisp[1]->palette().color(QPalette::Button), button);
}

} // namespace
} // namespace tq
