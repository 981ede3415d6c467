#include "ui/main/window/main_window_controls.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "ui/common/frame_caption.h"
#include "ui/main/window/caption_button.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/status_lamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace tq {

namespace {

// A place and size in twips; a negative place leaves the control where it is made.
struct Design {
    double width = 0;
    double height = 0;
    double left = -1;
    double top = -1;
};

void applyDesign(QWidget *control, const Design &design) {
    if (design.width > 0 && design.height > 0)
        control->resize(TwipsToPixelsX(design.width), TwipsToPixelsY(design.height));
    if (design.left >= 0 && design.top >= 0)
        control->move(TwipsToPixelsX(design.left), TwipsToPixelsY(design.top));
}

template <typename T> T *make(QWidget *parent, const QString &name, const Design &design = {}) {
    auto *control = new T(parent);
    control->setObjectName(name);
    applyDesign(control, design);
    return control;
}

// Command buttons wrap their captions.
template <typename T> struct Made { using type = T; };
template <> struct Made<QPushButton> { using type = CaptionButton; };

template <typename T, std::size_t N>
void makeArray(std::array<T *, N> &controls, QWidget *parent, const char *name,
               const Design &design = {}) {
    for (std::size_t i = 0; i < N; ++i)
        controls[i] = make<typename Made<T>::type>(parent, IndexedName(name, int(i)), design);
}

// A grid with one heading row, as its page leaves it until the page fills it.
FlexGrid *makeGrid(QWidget *parent, const char *name, int columns) {
    auto *grid = make<FlexGrid>(parent, QString::fromLatin1(name));
    grid->SetCols(columns);
    return grid;
}

void buildDownloadPage(MainWindowControls &c) {
    QWidget *page = c.fraMenu[0];
    makeArray(c.fraDown, page, "fraDown");
    c.fraDown[0]->resize(c.fraDown[0]->width(), TwipsToPixelsY(612));
    // Tall enough for two check boxes of the screen's font (a fifth of it each).
    c.fraDown[1]->resize(c.fraDown[1]->width(), TwipsToPixelsY(1300));
    makeArray(c.shpStatus, c.fraDown[0], "shpStatus", {200, 200});
    c.lblStatus[0] = make<QLabel>(c.fraDown[0], IndexedName("lblStatus", 0), {1092, 252});
    for (int i : {1, 8, 9})
        c.lblStatus[i] = make<QLabel>(c.fraDown[0], IndexedName("lblStatus", i), {852, 252});
    c.lblTitle[0] = make<QLabel>(page, IndexedName("lblTitle", 0), {900, 225});
    c.rtbLog = make<CommLog>(page, QStringLiteral("rtbLog"));
    makeArray(c.chkAutoLoad, c.fraDown[1], "chkAutoLoad");
    makeArray(c.cmdDown, c.fraDown[2], "cmdDown");
    c.cmdInportDat = make<CaptionButton>(c.fraDown[2], QStringLiteral("cmdInportDat"));
    c.cmdInportDat->setText(QStringLiteral("LOCAL BIN.DAT IMPORT"));

    c.fraDown3Ceneter = make<QWidget>(c.fraDown[3], QStringLiteral("fraDown3Ceneter"), {5055, 975});
    for (int i = 0; i < 3; ++i) {
        const double top = 180 + 240 * i;
        c.lblStatus[2 + i] =
            make<QLabel>(c.fraDown3Ceneter, IndexedName("lblStatus", 2 + i), {810, 225, 240, top});
        c.lblStatus[5 + i] = make<QLabel>(c.fraDown3Ceneter, IndexedName("lblStatus", 5 + i),
                                          {2415, 255, 2400, top});
    }
    c.picOptionToTamar = make<QWidget>(c.fraDown[3], QStringLiteral("picOptionToTamar"));
    c.txtSuffix = make<QLineEdit>(c.picOptionToTamar, QStringLiteral("txtSuffix"));
    c.lblStatus[11] = make<QLabel>(c.picOptionToTamar, IndexedName("lblStatus", 11));
}

void buildInstrumentPage(MainWindowControls &c) {
    QWidget *page = c.fraMenu[1];
    c.fraInst = make<QGroupBox>(page, QStringLiteral("fraInst"));
    c.fraInstCeneter = make<QWidget>(c.fraInst, QStringLiteral("fraInstCeneter"), {2415, 3015});
    // One column, caption and value alternating.
    const std::array<double, 10> tops{60, 660, 1260, 300, 900, 1500, 1860, 2100, 2460, 2700};
    const std::array<double, 10> widths{2370, 2370, 2370, 2415, 2415, 2415, 2025, 2415, 1905, 2415};
    for (int i = 0; i < 10; ++i) {
        const bool caption = i <= 2 || i == 6 || i == 8;
        c.lblInst[i] = make<QLabel>(c.fraInstCeneter, IndexedName("lblInst", i),
                                    {widths[i], caption ? 225.0 : 255.0, 0, tops[i]});
    }
    c.vfgInst = makeGrid(page, "vfgInst", 5);
    c.vfgInstSensor = makeGrid(page, "vfgInstSensor", 4);
}

void buildLastCalibrationPage(MainWindowControls &c) {
    QWidget *page = c.fraMenu[4];
    makeArray(c.optHistory, page, "optHistory", {1000, 252});
    c.vfgHistory = makeGrid(page, "vfgHistory", 6);
    c.cmdLastCal = make<CaptionButton>(page, QStringLiteral("cmdLastCal"));
}

void buildSetPage(MainWindowControls &c) {
    QWidget *page = c.fraMenu[5];
    makeArray(c.fraOption, page, "fraOption");
    c.fraOptionCenter0 =
        make<QWidget>(c.fraOption[0], QStringLiteral("fraOptionCenter0"), {2055, 3135});
    const std::array<double, 7> tops{0, 360, 720, 1080, 1440, 2760, 1920};
    for (int i = 0; i < 7; ++i)
        c.cmdOptionDisp[i] = make<CaptionButton>(
            c.fraOptionCenter0, IndexedName("cmdOptionDisp", i), {2052, 252, 0, tops[i]});

    c.fraOptionCenter1 =
        make<QWidget>(c.fraOption[1], QStringLiteral("fraOptionCenter1"), {5895, 2595});
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
        c.lblOption[i] = make<QLabel>(center, IndexedName("lblOption", i), labels[i]);
    for (int i = 0; i < 3; ++i)
        c.txtOption[i] =
            make<QLineEdit>(center, IndexedName("txtOption", i), {3495, 330, 2280, 360.0 * i});
    c.cmbStation = make<QComboBox>(center, QStringLiteral("cmbStation"), {3495, 345, 2280, 360});
    c.cmbInterval = make<QComboBox>(center, QStringLiteral("cmbInterval"), {1455, 345, 2280, 1080});
    c.cmbIntermittence =
        make<QComboBox>(center, QStringLiteral("cmbIntermittence"), {1455, 345, 2280, 1455});

    makeArray(c.cmdOption, page, "cmdOption", {1000, 372});
    c.vfgCal = makeGrid(c.fraOption[2], "vfgCal", 3);
    makeArray(c.cmdCal, c.fraOption[2], "cmdCal");
    c.vfgOption = makeGrid(page, "vfgOption", 3);
}

// The widest of the captions, at least their design width.
int captionWidth(std::initializer_list<QWidget *> captions) {
    int width = 0;
    for (QWidget *caption : captions)
        width = std::max({width, caption->width(), caption->sizeHint().width()});
    return width;
}

// Captions at the left of `frame`, values right of them at no less than their design left.
void fitColumns(QWidget *frame, std::initializer_list<QWidget *> captions,
                std::initializer_list<QWidget *> values, int designValueLeft) {
    const int width = captionWidth(captions);
    int left = designValueLeft;
    for (QWidget *caption : captions) {
        caption->resize(width, caption->height());
        left = std::max(left, caption->x() + width + TwipsToPixelsX(60));
    }
    int right = frame->width();
    for (QWidget *value : values) {
        value->move(left, value->y());
        right = std::max(right, value->geometry().right() + 1);
    }
    frame->resize(right, frame->height());
}

} // namespace

void FitCentredFrames(const MainWindowControls &c) {
    fitColumns(c.fraDown3Ceneter, {c.lblStatus[2], c.lblStatus[3], c.lblStatus[4]},
               {c.lblStatus[5], c.lblStatus[6], c.lblStatus[7]}, TwipsToPixelsX(2400));
    const auto &o = c.lblOption;
    fitColumns(c.fraOptionCenter1, {o[0], o[1], o[2], o[7], o[8], o[3], o[4]},
               {c.txtOption[0], c.txtOption[1], c.txtOption[2], c.cmbStation, c.cmbInterval,
                c.cmbIntermittence, o[5], o[6]},
               TwipsToPixelsX(2280));
    // One column: every label as wide as the widest caption.
    const auto &i = c.lblInst;
    const int width = captionWidth({i[0], i[1], i[2], i[6], i[8], i[3], i[4], i[5], i[7], i[9]});
    for (QLabel *label : c.lblInst)
        label->resize(width, label->height());
    c.fraInstCeneter->resize(std::max(c.fraInstCeneter->width(), width),
                             c.fraInstCeneter->height());
}

MainWindowControls BuildMainWindowControls(QWidget *window) {
    MainWindowControls c;
    makeArray(c.fraMenu, window, "fraMenu");
    for (QGroupBox *frame : c.fraMenu)
        SetFrameCaptionStyle(*frame);
    makeArray(c.cmdInst, window, "cmdInst");
    c.uclPV7130 = make<QWidget>(window, QStringLiteral("uclPV7130"));
    c.uclPV7130->hide();
    buildDownloadPage(c);
    buildInstrumentPage(c);
    buildLastCalibrationPage(c);
    buildSetPage(c);
    return c;
}

} // namespace tq
