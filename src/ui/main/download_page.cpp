#include "ui/main/download_page.h"

#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/instrument/clsInstrument.h"
#include "core/program_state.h"
#include "ui/common/caption_columns.h"
#include "ui/common/designed_controls.h"
#include "ui/main/window/comm_log.h"
#include "ui/main/window/download_support.h"
#include "ui/main/window/status_lamp.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tq {

DownloadPage::DownloadPage(QWidget *frame, const clsInstrument &linkInstrument)
    : QWidget(frame), m_linkInstrument(linkInstrument) {
    setObjectName(QStringLiteral("DownloadPage"));
    buildControls();
    for (int i = 0; i < int(chkAutoLoad.size()); ++i)
        connect(chkAutoLoad[std::size_t(i)], &QCheckBox::clicked, this,
                [this, i] { chkAutoLoad_Click(i); });
    connect(txtSuffix, &QLineEdit::editingFinished, this, &DownloadPage::txtSuffix_Validate);
    // The download commands wait for a detector to connect.
    for (QPushButton *button : cmdDown)
        button->setEnabled(false);
}

void DownloadPage::buildControls() {
    MakeDesignedArray(fraDown, this, "fraDown");
    fraDown[0]->resize(fraDown[0]->width(), TwipsToPixelsY(612));
    // Tall enough for two check boxes of the screen's font (a fifth of it each).
    fraDown[1]->resize(fraDown[1]->width(), TwipsToPixelsY(1300));
    MakeDesignedArray(shpStatus, fraDown[0], "shpStatus", {200, 200});
    lblStatus[0] = MakeDesigned<QLabel>(fraDown[0], IndexedName("lblStatus", 0), {1092, 252});
    for (int i : {1, 8, 9})
        lblStatus[std::size_t(i)] =
            MakeDesigned<QLabel>(fraDown[0], IndexedName("lblStatus", i), {852, 252});
    lblTitle0 = MakeDesigned<QLabel>(this, IndexedName("lblTitle", 0), {900, 225});
    rtbLog = MakeDesigned<CommLog>(this, QStringLiteral("rtbLog"));
    MakeDesignedArray(chkAutoLoad, fraDown[1], "chkAutoLoad");
    MakeDesignedArray(cmdDown, fraDown[2], "cmdDown");
    cmdInportDat = MakeDesigned<CaptionButton>(fraDown[2], QStringLiteral("cmdInportDat"));
    cmdInportDat->setText(QStringLiteral("LOCAL BIN.DAT IMPORT"));

    fraDown3Ceneter =
        MakeDesigned<QWidget>(fraDown[3], QStringLiteral("fraDown3Ceneter"), {5055, 975});
    for (int i = 0; i < 3; ++i) {
        const double top = 180 + 240 * i;
        lblStatus[std::size_t(2 + i)] = MakeDesigned<QLabel>(
            fraDown3Ceneter, IndexedName("lblStatus", 2 + i), {810, 225, 240, top});
        lblStatus[std::size_t(5 + i)] = MakeDesigned<QLabel>(
            fraDown3Ceneter, IndexedName("lblStatus", 5 + i), {2415, 255, 2400, top});
    }
    picOptionToTamar = MakeDesigned<QWidget>(fraDown[3], QStringLiteral("picOptionToTamar"));
    txtSuffix = MakeDesigned<QLineEdit>(picOptionToTamar, QStringLiteral("txtSuffix"));
    lblStatus[11] = MakeDesigned<QLabel>(picOptionToTamar, IndexedName("lblStatus", 11));
}

void DownloadPage::layOut(double pw, double ph) {
    setGeometry(0, 0, TwipsToPixelsX(pw), TwipsToPixelsY(ph));
    place(fraDown[0], 120, 240, pw * 0.6);
    const double statusWidth = W(fraDown[0]);
    const std::array<double, 4> lampLefts{120, statusWidth / 4, statusWidth / 2,
                                          statusWidth * 3 / 4};
    const std::array<std::size_t, 4> lampLabels{0, 1, 8, 9};
    for (std::size_t i = 0; i < 4; ++i)
        place(shpStatus[i], lampLefts[i], 240);
    for (std::size_t i = 0; i < 4; ++i)
        place(lblStatus[lampLabels[i]], R(shpStatus[i]) + 60, 240);
    place(lblTitle0, 120, B(fraDown[0]) + 60, FittedWidth(lblTitle0));
    place(rtbLog, 120, B(lblTitle0) + 120, pw * 0.6, ph * 0.55);
    place(fraDown[3], 120, B(rtbLog) + 120, pw * 0.6, ph - B(rtbLog) - 240);
    place(fraDown[1], R(rtbLog) + 60, 240, pw - W(rtbLog) - 240);
    for (std::size_t i = 0; i < 2; ++i)
        place(chkAutoLoad[i], 120, i == 0 ? 240 : B(chkAutoLoad[0]) + 60, W(fraDown[1]) - 240,
              H(fraDown[1]) / 5);
    place(fraDown[2], R(rtbLog) + 60, B(fraDown[1]), pw - W(rtbLog) - 240,
          ph - B(fraDown[1]) - 120);
    place(cmdDown[0], 120, 240, W(fraDown[2]) - 240, (H(fraDown[2]) - 900) / 9);
    for (std::size_t k = 1; k < cmdDown.size(); ++k)
        place(cmdDown[k], 120, B(cmdDown[k - 1]) + 120, W(cmdDown[0]), H(cmdDown[0]));
    centre(fraDown3Ceneter, fraDown[3], 240);
    picOptionToTamar->setVisible(false);
    cmdDown[5]->setVisible(false);
    place(cmdInportDat, 120, T(cmdDown[5]) + 2 * (H(cmdDown[5]) + 120), W(cmdDown[0]),
          H(cmdDown[0]));
}

void DownloadPage::fitCaptions() {
    FitCaptionColumns(fraDown3Ceneter, {lblStatus[2], lblStatus[3], lblStatus[4]},
                      {lblStatus[5], lblStatus[6], lblStatus[7]}, TwipsToPixelsX(2400));
}

void DownloadPage::showStartState() {
    SetLamp(0, kLampOnColors);
    for (int i = 1; i < 4; ++i)
        SetLamp(i, kLampOffColors);
    rtbLog->clear();
    for (QWidget *control :
         {static_cast<QWidget *>(shpStatus[2]), static_cast<QWidget *>(shpStatus[3]),
          static_cast<QWidget *>(lblStatus[8]), static_cast<QWidget *>(lblStatus[9])})
        control->setVisible(false);
    cmdInportDat->setVisible(Globals().DebugMode);
}

void DownloadPage::showAutoLoadSettings() {
    const ProgramState &g = Globals();
    m_acceptAutoLoadClicks = false;
    chkAutoLoad[0]->setChecked(g.AutoLoadMode);
    chkAutoLoad[1]->setChecked(g.AutoRemoveData);
    chkAutoLoad[1]->setEnabled(g.AutoLoadMode);
    m_acceptAutoLoadClicks = true;
}

// "Automatic Data Removal" can be used only while "Automatic Download" is ticked.
void DownloadPage::setAutoLoadBoxesEnabled(bool enabled) {
    chkAutoLoad[0]->setEnabled(enabled);
    chkAutoLoad[1]->setEnabled(enabled && chkAutoLoad[0]->isChecked());
}

void DownloadPage::AddCommLogLine(const QString &text, const QColor &color) {
    rtbLog->AppendLine(text, color);
}

void DownloadPage::ShowLinkStatus() {
    QWidget *page = parentWidget();
    const bool visible = !page->isHidden();
    page->setVisible(false);
    const bool known = m_linkInstrument.CommFlags();
    lblStatus[5]->setText(known ? m_linkInstrument.SerialNo() : QString());
    lblStatus[6]->setText(known ? m_linkInstrument.StationID() : QString());
    lblStatus[7]->setText(known ? m_linkInstrument.UserID() : QString());
    page->setVisible(visible);
    txtSuffix->setText(Globals().FactoryRecordSuffix);
}

void DownloadPage::SetLamp(int index, const LampColors &colors) {
    shpStatus[std::size_t(index)]->setColors(colors);
}

void DownloadPage::chkAutoLoad_Click(int index) {
    ProgramState &g = Globals();
    std::array<QCheckBox *, 2> &boxes = chkAutoLoad;
    if (!m_acceptAutoLoadClicks || index < 0 || index > 1) {
        // A click that is not taken does not leave the box saying something else.
        boxes[0]->setChecked(g.AutoLoadMode);
        boxes[1]->setChecked(g.AutoRemoveData);
        return;
    }
    m_acceptAutoLoadClicks = false;
    if (index == 0) {
        const bool ticked = boxes[0]->isChecked();
        const bool yes = AskYesNo(ticked ? 5303 : 5305);
        g.AutoLoadMode = ticked == yes;
        if (!ticked && yes)
            g.AutoRemoveData = false;
    } else if (boxes[1]->isChecked()) {
        g.AutoRemoveData = AskYesNo(5333);
    } else {
        g.AutoRemoveData = false;
    }
    boxes[0]->setChecked(g.AutoLoadMode);
    boxes[1]->setChecked(g.AutoRemoveData);
    boxes[1]->setEnabled(g.AutoLoadMode);
    m_acceptAutoLoadClicks = true;
}

void DownloadPage::txtSuffix_Validate() {
    Globals().FactoryRecordSuffix = txtSuffix->text();
}

} // namespace tq
