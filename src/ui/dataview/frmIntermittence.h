#pragma once

#include "logs/trend/clsAlarm.h"
#include "print/command/export_command.h"
#include "ui/dataview/data_view_opening.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tq {

class FlexGrid;
class uclVtmGraph;

// The data view window: the stored alarm trend found near a trend event, as a summary over
// a record table or a trend graph, with its own Print, Export, Summary and Return. Made once
// without a parent and shown modally; each opening takes its size, summary visibility,
// options, boxes and images from the opener and reloads the log that ViewKind and ViewSeqNo
// of the program state name. Its log, its last export file and its Save As filter entry
// outlive closing.
//
// Changes of a box, an option turned on or the zoom list's selection run the control's
// reaction whether the person or the window makes them.
class frmIntermittence : public QDialog {
    Q_OBJECT
public:
    frmIntermittence();
    ~frmIntermittence() override;

    // The opening sequence, then the window shown modally; returns when it has been closed.
    int Show(const DataViewOpening &opening);
    // The opening sequence without showing: fonts, title, size, centring, captions, the
    // view and the boxes as the opener has them, the log loaded, the view settled.
    void Form_Load(const DataViewOpening &opening);
    // Loads the log named by the program state and sets the controls up for it. A log that
    // cannot be read is said so (30201) and shown as an empty alarm trend.
    void LoadLogData();
    void optBrowse_Click(int index);
    void chkBrowse_Click(int index);
    void chkEvent_Click();
    void cmbBrowse_Click();
    // 0 Print, 2 Export, 3 Summary, 4 Return; 1 is never shown.
    void cmdBrowse_Click(int index);
    // Lays the controls out for the window's size, the view and the summary's visibility;
    // a window below the smallest size springs back to it, a minimised one is left alone.
    void Form_Resize();
    // The summary and the record table from the loaded log, the alarm moment's row in the
    // middle of the view.
    void ShowTable();
    // The graph, its gas box and its zoom list from the loaded log.
    void SetGraphData();

    const clsAlarm &alarm() const { return m_alarm; }
    qint32 RecordKind() const { return m_kind; }
    const ExportCommand &exportCommand() const { return m_export; }

    QGroupBox *fraMenu = nullptr;
    std::array<QRadioButton *, 2> optBrowse{};
    std::array<QCheckBox *, 7> chkBrowse{};
    QCheckBox *chkEvent = nullptr;
    QLabel *lblTitle1 = nullptr; // lblTitle(1), the zoom list's label
    QComboBox *cmbBrowse = nullptr;
    std::array<QPushButton *, 5> cmdBrowse{};
    FlexGrid *vfgSummary = nullptr;
    FlexGrid *vfgBrowse = nullptr;
    uclVtmGraph *vtmGraph = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void setCaptions();
    // The opener's boxes 0 to `last`, each change running its reaction.
    void copyBoxes(int last);
    void copyOptions();
    void readLog();
    void printLog();
    void exportLog();
    void toggleSummary();

    clsAlarm m_alarm;
    qint32 m_kind = 0;
    DataViewOpening m_opening;
    ExportCommand m_export;
    bool m_laying = false;
    bool m_scrollWhenShown = false;
};

} // namespace tq
