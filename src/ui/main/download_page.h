#pragma once

#include "ui/main/window/window_colours.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {

class clsInstrument;
class CommLog;
class StatusLamp;

// The Download page: the status lamps and the connected detector's identity, the
// communication log, the automatic-mode boxes and the download command buttons. It lives in
// the window's page frame; the commands behind the buttons are the window's.
class DownloadPage : public QWidget {
    Q_OBJECT
public:
    DownloadPage(QWidget *frame, const clsInstrument &linkInstrument);

    // Lays the page's controls out in its frame of pw by ph twips.
    void layOut(double pw, double ph);
    // Widens the identity captions to their text in the current font.
    void fitCaptions();

    // The page as the program starts: communication log emptied, lamps, the unused lamps
    // hidden, the debug-only import button.
    void showStartState();
    // The automatic-mode boxes show the two settings; setting them asks nothing.
    void showAutoLoadSettings();
    // Both boxes off, or on with "Automatic Data Removal" only while "Automatic Download"
    // is ticked.
    void setAutoLoadBoxesEnabled(bool enabled);

    // Appends a coloured line at the end of the communication log.
    void AddCommLogLine(const QString &text, const QColor &color);
    // The connected detector's identity, and the record-file suffix.
    void ShowLinkStatus();
    // Paints status lamp `index` (0 Serial Port, 1 Connect, 2 and 3).
    void SetLamp(int index, const LampColors &colors);
    // The automatic-mode boxes: 0 Automatic Download, 1 Automatic Data Removal.
    void chkAutoLoad_Click(int index);
    // The record-file suffix box lost the focus: the suffix as typed, not trimmed.
    void txtSuffix_Validate();

    // Whether a click on an automatic-mode box acts: not while the page sets the boxes
    // itself or a click's question is still open.
    bool AcceptAutoLoadClicks() const { return m_acceptAutoLoadClicks; }
    void setAcceptAutoLoadClicks(bool accept) { m_acceptAutoLoadClicks = accept; }

    // Controls.
    std::array<QGroupBox *, 4> fraDown{};
    std::array<StatusLamp *, 4> shpStatus{};
    std::array<QLabel *, 12> lblStatus{}; // 10 is not used
    QLabel *lblTitle0 = nullptr;          // lblTitle(1) is the Data View page's
    CommLog *rtbLog = nullptr;
    std::array<QCheckBox *, 2> chkAutoLoad{};
    std::array<QPushButton *, 6> cmdDown{};
    QPushButton *cmdInportDat = nullptr;
    QWidget *fraDown3Ceneter = nullptr;
    QWidget *picOptionToTamar = nullptr;
    QLineEdit *txtSuffix = nullptr;

private:
    void buildControls();

    const clsInstrument &m_linkInstrument;
    bool m_acceptAutoLoadClicks = false;
};

} // namespace tq
