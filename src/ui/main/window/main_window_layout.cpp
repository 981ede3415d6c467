#include "ui/main/window/main_window_layout.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "ui/main/window/column_widths.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/main_window_controls.h"
#include "ui/main/window/status_lamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tq {

namespace {

// Geometry in twips, read back from what the controls took.
double L(const QWidget *w) {
    return PixelsToTwipsX(w->x());
}
double T(const QWidget *w) {
    return PixelsToTwipsY(w->y());
}
double W(const QWidget *w) {
    return PixelsToTwipsX(w->width());
}
double H(const QWidget *w) {
    return PixelsToTwipsY(w->height());
}
double R(const QWidget *w) {
    return L(w) + W(w);
}
double B(const QWidget *w) {
    return T(w) + H(w);
}

// A size a rule leaves as it is.
const std::optional<double> keep;

void place(QWidget *w, double left, double top, std::optional<double> width = keep,
           std::optional<double> height = keep) {
    const int pw = width ? std::max(TwipsToPixelsX(*width), 0) : w->width();
    const int ph = height ? std::max(TwipsToPixelsY(*height), 0) : w->height();
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), pw, ph);
}

// Visible in its own right, whether or not its page is on the screen.
bool shown(const QWidget *w) {
    return !w->isHidden();
}

// The fractions are of the grid's inner width, so columns that fill it need no scroll bar.
void setColumnWidths(FlexGrid *grid, LayoutGrid kind, const QString &language) {
    int innerPixels = grid->width() - 2 * grid->frameWidth();
    if (grid->verticalScrollBar()->isVisible())
        innerPixels -= grid->verticalScrollBar()->width();
    const double inner = PixelsToTwipsX(innerPixels);
    const auto widths = ColumnWidths(kind, grid->Cols(), inner, language);
    for (std::size_t i = 0; i < widths.size(); ++i)
        if (widths[i])
            grid->SetColWidth(int(i), int(std::lround(*widths[i])));
}

// The centred frame in the middle of its container, `raise` twips higher.
void centre(QWidget *inner, const QWidget *outer, double raise = 0) {
    place(inner, W(outer) / 2 - W(inner) / 2, H(outer) / 2 - H(inner) / 2 - raise);
}

void layOutDownload(const MainWindowControls &c, double pw, double ph) {
    place(c.fraDown[0], 120, 240, pw * 0.6);
    const double statusWidth = W(c.fraDown[0]);
    const std::array<double, 4> lampLefts{120, statusWidth / 4, statusWidth / 2,
                                          statusWidth * 3 / 4};
    const std::array<int, 4> lampLabels{0, 1, 8, 9};
    for (int i = 0; i < 4; ++i)
        place(c.shpStatus[i], lampLefts[i], 240);
    for (int i = 0; i < 4; ++i)
        place(c.lblStatus[lampLabels[i]], R(c.shpStatus[i]) + 60, 240);
    place(c.lblTitle[0], 120, B(c.fraDown[0]) + 60);
    place(c.rtbLog, 120, B(c.lblTitle[0]) + 120, pw * 0.6, ph * 0.55);
    place(c.fraDown[3], 120, B(c.rtbLog) + 120, pw * 0.6, ph - B(c.rtbLog) - 240);
    place(c.fraDown[1], R(c.rtbLog) + 60, 240, pw - W(c.rtbLog) - 240);
    for (int i = 0; i < 2; ++i)
        place(c.chkAutoLoad[i], 120, i == 0 ? 240 : B(c.chkAutoLoad[0]) + 60, W(c.fraDown[1]) - 240,
              H(c.fraDown[1]) / 5);
    place(c.fraDown[2], R(c.rtbLog) + 60, B(c.fraDown[1]), pw - W(c.rtbLog) - 240,
          ph - B(c.fraDown[1]) - 120);
    place(c.cmdDown[0], 120, 240, W(c.fraDown[2]) - 240, (H(c.fraDown[2]) - 900) / 9);
    for (std::size_t k = 1; k < c.cmdDown.size(); ++k)
        place(c.cmdDown[k], 120, B(c.cmdDown[k - 1]) + 120, W(c.cmdDown[0]), H(c.cmdDown[0]));
    centre(c.fraDown3Ceneter, c.fraDown[3], 240);
    c.picOptionToTamar->setVisible(false);
    c.cmdDown[5]->setVisible(false);
    place(c.cmdInportDat, 120, T(c.cmdDown[5]) + 2 * (H(c.cmdDown[5]) + 120), W(c.cmdDown[0]),
          H(c.cmdDown[0]));
}

void layOutInstrument(const MainWindowControls &c, double pw, double ph, const QString &language) {
    place(c.fraInst, 120, 240, pw * 0.25, ph * 0.45);
    centre(c.fraInstCeneter, c.fraInst);
    place(c.vfgInst, R(c.fraInst) + 120, 360, pw - R(c.fraInst) - 240, H(c.fraInst) - 120);
    setColumnWidths(c.vfgInst, LayoutGrid::Inst, language);
    place(c.vfgInstSensor, 120, B(c.fraInst) + 120, pw - 240, ph - B(c.fraInst) - 360);
    setColumnWidths(c.vfgInstSensor, LayoutGrid::InstSensor, language);
}

void layOutData(const MainWindowControls &c, double pw, double ph, const QString &language) {
    place(c.tvwLog, 120, 240, pw * 0.35, ph * 0.75);
    place(c.fraLog, 120, B(c.tvwLog), W(c.tvwLog), ph - B(c.tvwLog) - 120);
    centre(c.fraLogCenter, c.fraLog);
    place(c.lvwLog, R(c.tvwLog) + 120, 240, pw - R(c.tvwLog) - 240, ph * 0.42);
    place(c.vfgLog, R(c.tvwLog) + 120, B(c.lvwLog) + 120, W(c.lvwLog), ph * 0.42);
    place(c.cmdDetail, R(c.tvwLog) + 180 + W(c.vfgLog) * 0.48 / 2, B(c.vfgLog) + 240,
          W(c.vfgLog) * 0.48, ph - B(c.vfgLog) - 480);
    place(c.chkRawData, R(c.cmdDetail) + 100, T(c.cmdDetail));
    setColumnWidths(c.vfgLog, LayoutGrid::Log, language);
}

void layOutDataView(const MainWindowControls &c, double pw, double ph, const QString &language) {
    const bool table = c.optBrowse[0]->isChecked();
    const bool graph = c.optBrowse[1]->isChecked();
    c.vfgBrowse->setVisible(table);
    c.vtmGraph->setVisible(graph);
    for (QCheckBox *box : c.chkBrowse)
        if (!graph)
            box->setVisible(false);
    c.lblTitle[1]->setVisible(graph);
    c.cmbBrowse->setVisible(graph);
    c.chkEvent->setVisible(table);
    c.chkOutline->setVisible(table);

    place(c.optBrowse[0], 120, 240);
    place(c.optBrowse[1], R(c.optBrowse[0]) + 120, 240);
    place(c.chkEvent, R(c.optBrowse[1]) + 120, 240);
    place(c.chkOutline, R(c.chkEvent) + 120, 240);
    const bool summary = shown(c.vfgSummary);
    if (summary) {
        place(c.vfgSummary, 120, B(c.optBrowse[0]) + 120, pw - 240,
              table || graph ? ph * 0.3 : ph * 0.8);
        place(c.vfgBrowse, 120, B(c.vfgSummary) + 120, pw - 240, ph - B(c.vfgSummary) - 240);
        if (shown(c.vtmGraph))
            place(c.vtmGraph, 120, T(c.vfgBrowse), W(c.vfgBrowse), ph - B(c.vfgSummary) - 920);
    } else {
        place(c.vfgBrowse, 120, B(c.optBrowse[0]) + 120, pw - 240, ph - B(c.optBrowse[0]) - 240);
        place(c.vtmGraph, 120, T(c.vfgBrowse), W(c.vfgBrowse), ph - B(c.optBrowse[0]) - 920);
    }
    const std::array<double, 4> quarters{120, pw / 4, pw / 2, pw * 3 / 4};
    for (int i = 0; i < 4; ++i)
        place(c.chkBrowse[i], quarters[i], B(c.vtmGraph) + 120);
    const double secondRow = B(c.chkBrowse[0]);
    place(c.lblTitle[1], 120, secondRow);
    place(c.cmbBrowse, R(c.lblTitle[1]) + 240, secondRow);
    for (int i = 4; i < 7; ++i)
        place(c.chkBrowse[i], quarters[i - 3], secondRow);
    place(c.cmdBrowse[4], R(c.vfgBrowse) - W(c.vfgBrowse) * 0.12, 240, W(c.vfgBrowse) * 0.12,
          H(c.chkEvent));
    place(c.cmdBrowse[3], L(c.cmdBrowse[4]) - W(c.cmdBrowse[4]) - 240, 240, W(c.cmdBrowse[4]),
          H(c.cmdBrowse[4]));
    place(c.cmdBrowse[2], L(c.cmdBrowse[3]) - W(c.cmdBrowse[3]), 240, W(c.cmdBrowse[3]),
          H(c.cmdBrowse[3]));
    place(c.cmdBrowse[0], L(c.cmdBrowse[2]) - W(c.cmdBrowse[2]), 240, W(c.cmdBrowse[2]),
          H(c.cmdBrowse[2]));
    setColumnWidths(c.vfgBrowse, LayoutGrid::Browse, language);
    if (summary)
        setColumnWidths(c.vfgSummary, LayoutGrid::Summary, language);
}

void layOutLastCalibration(const MainWindowControls &c, double pw, double ph,
                           const QString &language) {
    const double width = pw / (double(c.optHistory.size()) + 1);
    place(c.optHistory[0], 60, 240, width);
    for (std::size_t i = 1; i < c.optHistory.size(); ++i)
        place(c.optHistory[i], R(c.optHistory[i - 1]) + 120, 240, width);
    place(c.vfgHistory, 60, B(c.optHistory[0]) + 60, pw - 120, ph - B(c.optHistory[0]) - 120);
    setColumnWidths(c.vfgHistory, LayoutGrid::History, language);
    place(c.cmdLastCal, R(c.vfgHistory) - W(c.vfgHistory) * 0.142, 240, W(c.vfgHistory) * 0.142,
          H(c.optHistory[0]));
}

void layOutSet(const MainWindowControls &c, double pw, double ph, const QString &language) {
    place(c.fraOption[0], 120, 240, pw * 0.3, ph * 0.7);
    centre(c.fraOptionCenter0, c.fraOption[0]);
    const double right = pw - R(c.fraOption[0]) - 360;
    if (shown(c.fraOption[1])) {
        place(c.fraOption[1], R(c.fraOption[0]) + 120, 240, right,
              H(c.fraOption[0]) - H(c.cmdOption[0]) - 120);
        const double buttonWidth = W(c.fraOption[1]) / 4.2;
        place(c.cmdOption[0], L(c.fraOption[1]), B(c.fraOption[1]) + 120, buttonWidth);
        for (std::size_t k = 1; k < c.cmdOption.size(); ++k)
            place(c.cmdOption[k], R(c.cmdOption[k - 1]) + 120, B(c.fraOption[1]) + 120,
                  buttonWidth);
        centre(c.fraOptionCenter1, c.fraOption[1]);
    } else {
        place(c.fraOption[2], R(c.fraOption[0]) + 120, 240, right, H(c.fraOption[0]));
        place(c.vfgCal, 120, 240, W(c.fraOption[2]) - 240, H(c.fraOption[2]) * 0.7);
        const double calWidth = W(c.vfgCal);
        const std::array<double, 3> lefts{120, calWidth - calWidth * 0.666,
                                          calWidth - calWidth * 0.333 - 120};
        for (int i = 0; i < 3; ++i)
            place(c.cmdCal[i], lefts[i], B(c.vfgCal) + 120, calWidth * 0.31,
                  H(c.fraOption[2]) - B(c.vfgCal) - 240);
    }
    place(c.vfgOption, 120, B(c.fraOption[0]) + 120, pw - 240, ph - B(c.fraOption[0]) - 360);
    setColumnWidths(c.vfgOption, LayoutGrid::Option, language);
    setColumnWidths(c.vfgCal, LayoutGrid::Cal, language);
    c.vfgOption->viewport()->update();
}

} // namespace

void LayOutMainWindow(QWidget *window, const MainWindowControls &c) {
    if (window->isMinimized())
        return;
    double width = W(window);
    double height = H(window);
    if (width < kMinWindowWidth || height < kMinWindowHeight) {
        width = std::max(width, kMinWindowWidth);
        height = std::max(height, kMinWindowHeight);
        window->resize(TwipsToPixelsX(width), TwipsToPixelsY(height));
    }
    // The client area is the window itself: the frame belongs to the window manager.
    const double scaleWidth = std::max(width, W(window));
    const double scaleHeight = std::max(height, H(window));
    const double menuWidth = scaleWidth * 0.12;
    for (QGroupBox *page : c.fraMenu)
        place(page, 0, 120, scaleWidth - menuWidth - 240, scaleHeight - 180);

    const QString language = LoadMessage(101);
    const auto visible = std::find_if(c.fraMenu.begin(), c.fraMenu.end(), shown);
    if (visible != c.fraMenu.end()) {
        const double pw = W(*visible);
        const double ph = H(*visible);
        switch (visible - c.fraMenu.begin()) {
        case 0:
            layOutDownload(c, pw, ph);
            break;
        case 1:
            layOutInstrument(c, pw, ph, language);
            break;
        case 2:
            layOutData(c, pw, ph, language);
            break;
        case 3:
            layOutDataView(c, pw, ph, language);
            break;
        case 4:
            layOutLastCalibration(c, pw, ph, language);
            break;
        default:
            layOutSet(c, pw, ph, language);
            break;
        }
    }

    const double buttonHeight = (scaleHeight - 840) / double(c.cmdInst.size());
    place(c.cmdInst[0], scaleWidth - menuWidth - 120, 180, menuWidth, buttonHeight);
    for (std::size_t k = 1; k < c.cmdInst.size(); ++k)
        place(c.cmdInst[k], L(c.cmdInst[0]), B(c.cmdInst[k - 1]) + 120, W(c.cmdInst[0]),
              H(c.cmdInst[0]));
}

} // namespace tq
