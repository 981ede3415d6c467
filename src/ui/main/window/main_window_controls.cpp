#include "ui/main/window/main_window_controls.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "ui/common/caption_columns.h"
#include "ui/common/designed_controls.h"
#include "ui/common/frame_caption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tq {

namespace {

// A grid with one heading row, as its page leaves it until the page fills it.
FlexGrid *makeGrid(QWidget *parent, const char *name, int columns) {
    auto *grid = MakeDesigned<FlexGrid>(parent, QString::fromLatin1(name));
    grid->SetCols(columns);
    return grid;
}

void buildSetPage(MainWindowControls &c) {
    QWidget *page = c.fraMenu[5];
    MakeDesignedArray(c.fraOption, page, "fraOption");
    c.fraOptionCenter0 =
        MakeDesigned<QWidget>(c.fraOption[0], QStringLiteral("fraOptionCenter0"), {2055, 3135});
    const std::array<double, 7> tops{0, 360, 720, 1080, 1440, 2760, 1920};
    for (int i = 0; i < 7; ++i)
        c.cmdOptionDisp[i] = MakeDesigned<CaptionButton>(
            c.fraOptionCenter0, IndexedName("cmdOptionDisp", i), {2052, 252, 0, tops[i]});

    c.fraOptionCenter1 =
        MakeDesigned<QWidget>(c.fraOption[1], QStringLiteral("fraOptionCenter1"), {5895, 2595});
    QWidget *center = c.fraOptionCenter1;
    const std::array<Design, 9> labels{{{2655, 255, 0, 0},
                                        {2655, 255, 0, 360},
                                        {2655, 255, 0, 720},
                                        {1695, 255, 0, 1920},
                                        {1695, 255, 0, 2280},
                                        {2535, 255, 2280, 1920},
                                        {2535, 255, 2280, 2280},
                                        {2670, 225, 0, 1080},
                                        {2595, 255, 0, 1500}}};
    for (int i = 0; i < 9; ++i)
        c.lblOption[i] = MakeDesigned<QLabel>(center, IndexedName("lblOption", i), labels[i]);
    for (int i = 0; i < 3; ++i)
        c.txtOption[i] = MakeDesigned<QLineEdit>(center, IndexedName("txtOption", i),
                                                 {3495, 330, 2280, 360.0 * i});
    c.cmbStation =
        MakeDesigned<QComboBox>(center, QStringLiteral("cmbStation"), {3495, 345, 2280, 360});
    c.cmbInterval =
        MakeDesigned<QComboBox>(center, QStringLiteral("cmbInterval"), {1455, 345, 2280, 1080});
    c.cmbIntermittence = MakeDesigned<QComboBox>(center, QStringLiteral("cmbIntermittence"),
                                                 {1455, 345, 2280, 1455});

    MakeDesignedArray(c.cmdOption, page, "cmdOption", {1000, 372});
    c.vfgCal = makeGrid(c.fraOption[2], "vfgCal", 3);
    MakeDesignedArray(c.cmdCal, c.fraOption[2], "cmdCal");
    c.vfgOption = makeGrid(page, "vfgOption", 3);
}

} // namespace

void FitCentredFrames(const MainWindowControls &c) {
    const auto &o = c.lblOption;
    FitCaptionColumns(c.fraOptionCenter1, {o[0], o[1], o[2], o[7], o[8], o[3], o[4]},
                      {c.txtOption[0], c.txtOption[1], c.txtOption[2], c.cmbStation, c.cmbInterval,
                       c.cmbIntermittence, o[5], o[6]},
                      TwipsToPixelsX(2280));
}

MainWindowControls BuildMainWindowControls(QWidget *window) {
    MainWindowControls c;
    MakeDesignedArray(c.fraMenu, window, "fraMenu");
    for (QGroupBox *frame : c.fraMenu)
        SetFrameCaptionStyle(*frame);
    MakeDesignedArray(c.cmdInst, window, "cmdInst");
    c.uclPV7130 = MakeDesigned<QWidget>(window, QStringLiteral("uclPV7130"));
    c.uclPV7130->hide();
    buildSetPage(c);
    return c;
}

} // namespace tq
