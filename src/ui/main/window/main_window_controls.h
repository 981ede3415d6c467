#pragma once

#include "ui/common/control_names.h"

#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tq {

class FlexGrid;

// The controls of the main window. Each carries its design name as objectName, an
// element of an indexed array the name, "_" and the index (cmdInst_0, shpStatus_3).
struct MainWindowControls {
    // Menu column and pages.
    std::array<QPushButton *, 6> cmdInst{};
    std::array<QGroupBox *, 6> fraMenu{};

    QWidget *uclPV7130 = nullptr; // stands in the place of the link control

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

// Widens the caption column of the Set page's settings frame to its captions in the current
// font, moving the value column beside them and growing the frame to match.
void FitCentredFrames(const MainWindowControls &controls);

} // namespace tq
