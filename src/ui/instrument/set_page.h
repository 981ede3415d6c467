#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QStringList>

#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {

struct AlarmEdit;
class clsInstrument;
class FlexGrid;
class uclPvif;

// The Set page: the connected detector's identifiers, station, interval and alarm levels,
// edited into the window's instrument object and uploaded by Update; the detector's clock
// set by Date/Time Set; the PC and detector clocks; the display font and trend colour.
class SetPage : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QGroupBox *fraMenu = nullptr;
        std::array<QPushButton *, 7> cmdOptionDisp{};
        std::array<QLabel *, 9> lblOption{};
        std::array<QLineEdit *, 3> txtOption{};
        QComboBox *cmbStation = nullptr;
        QComboBox *cmbInterval = nullptr;
        QComboBox *cmbIntermittence = nullptr;
        std::array<QPushButton *, 4> cmdOption{};
        FlexGrid *vfgOption = nullptr;
    };
    // What the page asks of the window.
    struct Hooks {
        std::function<void(const QString &, const QColor &)> addCommLogLine;
        // Runs a link operation with the window's other commands blocked; false, running
        // nothing, while another operation holds the link.
        std::function<bool(const std::function<void()> &)> runOnLink;
        // The progress window of an upload: shown (true) or unloaded (false).
        std::function<void(bool)> showProgress;
        // A gas slot's trend colour was chosen (a settings-file colour value).
        std::function<void(int, qint32)> trendColorChosen;
    };

    SetPage(const Controls &controls, clsInstrument &instrument, uclPvif &link, Hooks hooks,
            QObject *parent = nullptr);

    // Fills the whole page from the instrument (the detector layout once its settings were
    // read over a live link, else blanks and the default gas). Filling changes no setting,
    // except that a read detector's station ID found in its list is stored again.
    void ShowSettings();
    // The clocks, on every tick of the window's 100 ms timer.
    void tmrInter_Timer();
    void cmbStation_Click(int index);
    void cmbInterval_Click(int index);
    // An identifier box's text changed by typing or pasting: refused characters dropped,
    // letters upper case, the length limited, the whole text stored.
    void txtOption_Change(int index);
    void cmdOption_Click(int index);
    void cmdOptionDisp_Click(int index);

    // Grid editing.
    void vfgOption_BeforeEdit(int row, int col, bool &cancel);
    void vfgOption_ValidateEdit(int row, int col, bool &cancel);
    // Re-marks Warning, Alarm and Auto Cal. from the stored values.
    void CheckOptionGrid();
    // Marks red the level cells whose shown number is out of its range.
    void CheckOptionRow();

    bool GridUpdating() const { return m_gridUpdating; }

private:
    // Ends an open edit of the alarm grid as Return would; false when it was refused.
    bool finishGridEdit();
    // Writes the flagged settings; true only when the detector took every one.
    bool uploadSettings();
    // Tells why the text typed into a cell of column `col` was refused.
    void tellRefusal(int col, const AlarmEdit &edit);
    // Selects the held interval, with an entry of its own when the list lacks it.
    void showInterval(qint16 seconds);
    void prepareGrid(const QStringList &firstHeading, bool fillFirstHeading);
    void fillDetectorGrid();
    void fillBlankGrid();
    void selectQuietly(QComboBox *box, int index);
    bool checkBeforeUpdate();
    // The Yes/No question of both writing commands.
    bool askUpdate();
    // The upload lines around a write, and its outcome in the log and a box.
    void runUpload(const std::function<bool()> &write, bool somethingToSend);

    Controls m_c;
    clsInstrument &m_instrument;
    uclPvif &m_link;
    Hooks m_hooks;
    bool m_gridUpdating = false;
    bool m_editRefused = false; // the last validation refused the typed text
    qint64 m_clockTag = -1;     // the second last shown in the PC clock
};

// True when any change flag of the instrument is raised.
bool AnyChangeFlag(const clsInstrument &instrument);

} // namespace tq
