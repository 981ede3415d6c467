// The Data View page's controls and where they stand.
#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "graph/uclVtmGraph.h"
#include "ui/common/column_widths.h"
#include "ui/common/control_names.h"
#include "ui/display/data_view_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace tq {

namespace {

// A grid with one heading row, as the page leaves it until it is filled.
FlexGrid *makeGrid(QWidget *parent, const char *name) {
    auto *grid = MakeNamed<FlexGrid>(parent, QString::fromLatin1(name));
    grid->SetCols(2);
    return grid;
}

} // namespace

void DataViewPage::buildControls() {
    for (int i = 0; i < 2; ++i)
        optBrowse[std::size_t(i)] =
            MakeSized<QRadioButton>(this, IndexedName("optBrowse", i), 855, 252);
    chkEvent = MakeSized<QCheckBox>(this, QStringLiteral("chkEvent"), 1215, 252);
    chkOutline = MakeSized<QCheckBox>(this, QStringLiteral("chkOutline"), 1455, 252);
    vfgSummary = makeGrid(this, "vfgSummary");
    vfgBrowse = makeGrid(this, "vfgBrowse");
    vtmGraph = MakeNamed<uclVtmGraph>(this, QStringLiteral("vtmGraph"));
    const std::array<double, 7> widths{1815, 1875, 1995, 2415, 2415, 1515, 1092};
    for (int i = 0; i < 7; ++i)
        chkBrowse[std::size_t(i)] =
            MakeSized<QCheckBox>(this, IndexedName("chkBrowse", i), widths[std::size_t(i)], 252);
    lblTitle1 = MakeSized<QLabel>(this, IndexedName("lblTitle", 1), 444, 204);
    cmbBrowse = MakeSized<QComboBox>(this, QStringLiteral("cmbBrowse"), 1452, 345);
    for (int i = 0; i < 5; ++i)
        cmdBrowse[std::size_t(i)] = MakeNamed<QPushButton>(this, IndexedName("cmdBrowse", i));
    // To clipboard has no command on this page.
    cmdBrowse[1]->setVisible(false);
    // The last column of either grid takes what the columns before it leave.
    vfgSummary->horizontalHeader()->setStretchLastSection(true);
    vfgBrowse->horizontalHeader()->setStretchLastSection(true);
    // Event marks show until the person unticks them.
    chkBrowse[5]->setChecked(true);
}

void DataViewPage::layOut(double pw, double ph, const QString &languageCode) {
    setGeometry(0, 0, TwipsToPixelsX(pw), TwipsToPixelsY(ph));
    const bool table = optBrowse[0]->isChecked();
    const bool graph = optBrowse[1]->isChecked();
    vfgBrowse->setVisible(table);
    vtmGraph->setVisible(graph);
    if (!graph)
        for (QCheckBox *box : chkBrowse)
            box->setVisible(false);
    lblTitle1->setVisible(graph);
    cmbBrowse->setVisible(graph);
    chkEvent->setVisible(table);
    chkOutline->setVisible(table);

    place(optBrowse[0], 120, 240, FittedWidth(optBrowse[0]));
    place(optBrowse[1], R(optBrowse[0]) + 120, 240, FittedWidth(optBrowse[1]));
    place(chkEvent, R(optBrowse[1]) + 120, 240, FittedWidth(chkEvent));
    place(chkOutline, R(chkEvent) + 120, 240, FittedWidth(chkOutline));
    const bool summary = !vfgSummary->isHidden();
    if (summary) {
        place(vfgSummary, 120, B(optBrowse[0]) + 120, pw - 240,
              table || graph ? ph * 0.3 : ph * 0.8);
        place(vfgBrowse, 120, B(vfgSummary) + 120, pw - 240, ph - B(vfgSummary) - 240);
        if (graph)
            place(vtmGraph, 120, T(vfgBrowse), W(vfgBrowse), ph - B(vfgSummary) - 920);
    } else {
        place(vfgBrowse, 120, B(optBrowse[0]) + 120, pw - 240, ph - B(optBrowse[0]) - 240);
        place(vtmGraph, 120, T(vfgBrowse), W(vfgBrowse), ph - B(optBrowse[0]) - 920);
    }
    const std::array<double, 5> quarters{120, pw / 4, pw / 2, pw * 3 / 4, pw};
    // A box as wide as its caption (a gas name with its range) up to the next quarter.
    const auto placeBox = [&](QCheckBox *box, std::size_t quarter, double top) {
        const double room = quarters[quarter + 1] - quarters[quarter] - 120;
        place(box, quarters[quarter], top, std::min(FittedWidth(box), room));
    };
    for (std::size_t i = 0; i < 4; ++i)
        placeBox(chkBrowse[i], i, B(vtmGraph) + 120);
    const double secondRow = B(chkBrowse[0]);
    place(lblTitle1, 120, secondRow, FittedWidth(lblTitle1));
    place(cmbBrowse, R(lblTitle1) + 240, secondRow);
    for (std::size_t i = 4; i < 7; ++i)
        placeBox(chkBrowse[i], i - 3, secondRow);
    place(cmdBrowse[4], R(vfgBrowse) - W(vfgBrowse) * 0.12, 240, W(vfgBrowse) * 0.12, H(chkEvent));
    place(cmdBrowse[3], L(cmdBrowse[4]) - W(cmdBrowse[4]) - 240, 240, W(cmdBrowse[4]),
          H(cmdBrowse[4]));
    place(cmdBrowse[2], L(cmdBrowse[3]) - W(cmdBrowse[3]), 240, W(cmdBrowse[3]), H(cmdBrowse[3]));
    place(cmdBrowse[0], L(cmdBrowse[2]) - W(cmdBrowse[2]), 240, W(cmdBrowse[2]), H(cmdBrowse[2]));
    ApplyColumnWidths(*vfgBrowse, LayoutGrid::Browse, languageCode);
    if (summary)
        ApplyColumnWidths(*vfgSummary, LayoutGrid::Summary, languageCode);
}

} // namespace tq
