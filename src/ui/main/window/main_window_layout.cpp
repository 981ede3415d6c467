#include "ui/main/window/main_window_layout.h"

#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "ui/browser/DataPage.h"
#include "ui/common/column_widths.h"
#include "ui/display/data_view_page.h"
#include "ui/instrument/instrument_info_page.h"
#include "ui/instrument/latest_cal_page.h"
#include "ui/main/download_page.h"
#include "ui/main/window/main_window_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tq {

namespace {

// Visible in its own right, whether or not its page is on the screen.
bool shown(const QWidget *w) {
    return !w->isHidden();
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
    ApplyColumnWidths(*c.vfgOption, LayoutGrid::Option, language);
    ApplyColumnWidths(*c.vfgCal, LayoutGrid::Cal, language);
    c.vfgOption->viewport()->update();
}

} // namespace

void LayOutMainWindow(QWidget *window, const MainWindowControls &c, const MainWindowPages &pages) {
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
            pages.download.layOut(pw, ph);
            break;
        case 1:
            pages.instrument.layOut(pw, ph, language);
            break;
        case 2:
            pages.data.layOut(pw, ph);
            ApplyColumnWidths(*pages.data.vfgLog, LayoutGrid::Log, language);
            break;
        case 3:
            pages.dataView.layOut(pw, ph, language);
            break;
        case 4:
            pages.latestCalibration.layOut(pw, ph, language);
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
