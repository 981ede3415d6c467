// The window title and the fixed captions of the main window from the message table.
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/program_title.h"
#include "ui/main/window/frmMain.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace tq {

namespace {

struct Caption {
    const char *control;
    int message;
};

// In the order they are set; a failing caption leaves the ones after it as designed.
constexpr Caption kCaptionsBeforeCalibrationGrid[] = {
    {"cmdInst_0", 5002},       {"cmdInst_1", 5003},       {"cmdInst_2", 5004},
    {"cmdInst_3", 5009},       {"cmdInst_4", 5006},       {"cmdInst_5", 5007},
    {"fraMenu_0", 5002},       {"fraDown_0", 5021},       {"lblStatus_0", 5022},
    {"lblStatus_1", 5023},     {"lblTitle_0", 5012},      {"fraDown_3", 5025},
    {"lblStatus_2", 5026},     {"lblStatus_3", 5027},     {"lblStatus_4", 5028},
    {"lblStatus_11", 5048},    {"fraDown_1", 5032},       {"chkAutoLoad_0", 5033},
    {"chkAutoLoad_1", 5034},   {"fraDown_2", 5035},       {"cmdDown_0", 5036},
    {"cmdDown_1", 5037},       {"cmdDown_2", 5038},       {"cmdDown_3", 5040},
    {"cmdDown_4", 5041},       {"cmdDown_5", 5047},       {"fraMenu_1", 5051},
    {"fraInst", 5052},         {"lblInst_0", 5053},       {"lblInst_1", 5054},
    {"lblInst_2", 5055},       {"lblInst_6", 5056},       {"lblInst_8", 5060},
    {"fraMenu_2", 5101},       {"chkLog_0", 5102},        {"chkLog_1", 5104},
    {"chkLog_2", 5103},        {"cmdDetail", 5005},       {"cmdLogInst", 5025},
    {"fraMenu_3", 5151},       {"optBrowse_0", 5152},     {"optBrowse_1", 5153},
    {"chkBrowse_0", 0},        {"chkBrowse_5", 5154},     {"chkBrowse_6", 5155},
    {"lblTitle_1", 5156},      {"cmdBrowse_0", 5161},     {"cmdBrowse_1", 5157},
    {"cmdBrowse_2", 5158},     {"cmdBrowse_3", 5159},     {"cmdBrowse_4", 9101},
    {"chkEvent", 5160},        {"chkOutline", 5164},      {"fraMenu_4", 5254},
    {"optHistory_0", 5251},    {"optHistory_1", 5252},    {"optHistory_2", 5253},
    {"cmdLastCal", 5161},      {"fraMenu_5", 5201},       {"fraOption_0", 5202},
    {"cmdOptionDisp_1", 5204}, {"cmdOptionDisp_2", 5204}, {"cmdOptionDisp_3", 5204},
    {"cmdOptionDisp_4", 5204}, {"cmdOptionDisp_5", 5226}, {"fraOption_1", 5208},
    {"lblOption_0", 5209},     {"lblOption_1", 5210},     {"lblOption_2", 5211},
    {"lblOption_3", 5212},     {"lblOption_4", 5213},     {"lblOption_7", 5223},
    {"lblOption_8", 5224},     {"cmdOption_0", 5214},     {"cmdOption_1", 5215},
    {"cmdOption_2", 5216},     {"cmdOption_3", 5221},     {"fraOption_2", 5216},
};

constexpr Caption kCaptionsAfterCalibrationGrid[] = {
    {"cmdCal_0", 5218},
    {"cmdCal_1", 5219},
    {"cmdCal_2", 5220},
};

void setCaption(QWidget *control, const QString &text) {
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        frame->setTitle(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
}

template <std::size_t N> void setCaptions(QWidget *window, const Caption (&captions)[N]) {
    for (const Caption &caption : captions) {
        // The check box of the gas slot shows the default settings' gas name.
        const QString text = caption.message == 0 ? Globals().DefaultSettings.GasName(0)
                                                  : LoadMessage(caption.message);
        setCaption(window->findChild<QWidget *>(QLatin1String(caption.control)), text);
    }
}

} // namespace

void frmMain::SetCaptions() {
    setWindowTitle(ProgramWindowTitle());
    setCaptions(this, kCaptionsBeforeCalibrationGrid);
    SetGridRow(*m_controls.vfgCal, 0, 0, false, LoadMessage(5217).split(QLatin1Char('|')));
    setCaptions(this, kCaptionsAfterCalibrationGrid);
    m_downloadPage->fitCaptions();
    m_instrumentPage->fitCaptions();
    FitCentredFrames(m_controls);
}

} // namespace tq
