#pragma once

#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;

namespace tq {

class CommLog;
class FlexGrid;
class StatusLamp;

// The controls of the main window. Each carries its design name as objectName, an
// element of an indexed array the name, "_" and the index (cmdInst_0, shpStatus_3).
struct MainWindowControls {
    // Menu column and pages.
    std::array<QPushButton *, 6> cmdInst{};
    std::array<QGroupBox *, 6> fraMenu{};

    // Download page.
    std::array<QGroupBox *, 4> fraDown{};
    std::array<StatusLamp *, 4> shpStatus{};
    std::array<QLabel *, 12> lblStatus{}; // 10 is not used
    std::array<QLabel *, 2> lblTitle{};   // 0 Download page, 1 Data View page
    CommLog *rtbLog = nullptr;
    std::array<QCheckBox *, 2> chkAutoLoad{};
    std::array<QPushButton *, 6> cmdDown{};
    QPushButton *cmdInportDat = nullptr;
    QWidget *fraDown3Ceneter = nullptr;
    QWidget *picOptionToTamar = nullptr;
    QLineEdit *txtSuffix = nullptr;
    QWidget *uclPV7130 = nullptr; // stands in the place of the link control

    // Instrument Information page.
    QGroupBox *fraInst = nullptr;
    QWidget *fraInstCeneter = nullptr;
    std::array<QLabel *, 10> lblInst{};
    FlexGrid *vfgInst = nullptr;
    FlexGrid *vfgInstSensor = nullptr;

    // Data page.
    QTreeWidget *tvwLog = nullptr;
    QGroupBox *fraLog = nullptr;
    QWidget *fraLogCenter = nullptr;
    std::array<QCheckBox *, 3> chkLog{};
    QListWidget *lvwLog = nullptr;
    FlexGrid *vfgLog = nullptr;
    QPushButton *cmdDetail = nullptr;
    QPushButton *cmdLogInst = nullptr;
    QCheckBox *chkRawData = nullptr;

    // Data View page.
    std::array<QRadioButton *, 2> optBrowse{};
    QCheckBox *chkEvent = nullptr;
    QCheckBox *chkOutline = nullptr;
    FlexGrid *vfgSummary = nullptr;
    FlexGrid *vfgBrowse = nullptr;
    QWidget *vtmGraph = nullptr; // stands in the place of the trend graph
    std::array<QCheckBox *, 7> chkBrowse{};
    QComboBox *cmbBrowse = nullptr;
    std::array<QPushButton *, 5> cmdBrowse{};

    // Last Calibration page.
    std::array<QRadioButton *, 3> optHistory{};
    FlexGrid *vfgHistory = nullptr;
    QPushButton *cmdLastCal = nullptr;

    // Set page.
    std::array<QGroupBox *, 3> fraOption{};
    QWidget *fraOptionCenter0 = nullptr;
    QWidget *fraOptionCenter1 = nullptr;
    std::array<QPushButton *, 7> cmdOptionDisp{};
    std::array<QLabel *, 9> lblOption{};
    std::array<QLineEdit *, 3> txtOption{};
    QComboBox *cmbStation = nullptr;
    QComboBox *cmbInterval = nullptr;
    QComboBox *cmbIntermittence = nullptr;
    std::array<QPushButton *, 4> cmdOption{};
    FlexGrid *vfgOption = nullptr;
    FlexGrid *vfgCal = nullptr;
    std::array<QPushButton *, 3> cmdCal{};
};

// Creates every control of the main window inside `window`, in its design size and, for
// the controls the layout never moves, its design place.
MainWindowControls BuildMainWindowControls(QWidget *window);

// Widens the caption columns of the centred frames (Download identity, Instrument
// Information, Set page settings) to their captions in the current font, moving the
// value column beside them and growing the frame to match.
void FitCentredFrames(const MainWindowControls &controls);

// The objectName of element `index` of an indexed control array.
QString IndexedName(const char *name, int index);

} // namespace tq
