#pragma once

class QWidget;

namespace tq {

class DataPage;
class DataViewPage;
class DownloadPage;
class InstrumentInfoPage;
class LatestCalPage;
struct MainWindowControls;

// The pages that lay themselves out, one per page frame.
struct MainWindowPages {
    DownloadPage &download;
    InstrumentInfoPage &instrument;
    DataPage &data;
    DataViewPage &dataView;
    LatestCalPage &latestCalibration;
};

// The smallest outer size of the main window, in twips.
inline constexpr double kMinWindowWidth = 11640;
inline constexpr double kMinWindowHeight = 8250;

// One layout pass of the main window (its Form_Resize): the page frames and the menu
// column in proportion to the client area, the contents of the first visible page, its
// grids' column widths from their current width and column count; the pages of `pages` lay
// themselves out. Nothing moves while the window is minimized; a window below the smallest
// size is enlarged and laid out at that size.
void LayOutMainWindow(QWidget *window, const MainWindowControls &controls,
                      const MainWindowPages &pages);

} // namespace tq
