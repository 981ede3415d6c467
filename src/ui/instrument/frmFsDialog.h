#pragma once

#include "core/instrument/clsInstrument.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;

namespace tq {

class FlexGrid;
struct StationFileError;

// The detail-settings dialog: the detector's station list, edited on a working copy of an
// instrument object and written back, only what changed, on OK. It also keeps the table of
// detail settings, which is never shown: filled from the working copy and read back into
// it on OK.
class frmFsDialog : public QDialog {
    Q_OBJECT
public:
    explicit frmFsDialog(QWidget *parent = nullptr);

    // The instrument object to edit; set before the dialog is shown.
    clsInstrument *Instrument() const { return m_instrument; }
    void setInstrument(clsInstrument *instrument) { m_instrument = instrument; }
    const clsInstrument &WorkInstrument() const { return m_work; }

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdStationExport_Click();
    void cmdStationImport_Click();

    // False while any station name is marked invalid.
    bool CheckStationList() const;
    // The code a row of the settings table reads back: the position of its shown entry
    // (list rows) or its number (text rows); none when the cell holds neither.
    std::optional<qint32> GetRowCode(int row) const;

    FlexGrid *vfgStation() const { return m_vfgStation; }
    FlexGrid *vfgDatas() const { return m_vfgDatas; }
    QLabel *lblSpaceCount() const { return m_lblSpaceCount; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Activate();
    void ShowSettingRows();
    void StoreSettingRows();
    void ShowStationList();
    void markName(int row);
    void showLeftSpace(const QString &text);
    void vfgStation_KeyPressEdit(int row, int col, int &key);
    void vfgStation_ChangeEdit();
    void vfgStation_AfterEdit(int row, int col);
    void currentCellChanged();
    void improperStationList();
    // The box of a station file that could not be read or written.
    void stationFileFailed(const StationFileError &error);

    clsInstrument *m_instrument = nullptr;
    clsInstrument m_work;
    bool m_activated = false;
    QLabel *m_label3 = nullptr;
    FlexGrid *m_vfgStation = nullptr;
    FlexGrid *m_vfgDatas = nullptr;
    QLabel *m_lblSpaceCount = nullptr;
    QPushButton *m_cmdStationExport = nullptr;
    QPushButton *m_cmdStationImport = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

// Copies into `destination`, through its setters, every setting the dialog may send whose
// change flag is raised in `source`. Identity, clock, gas name, resolution, unit, full
// scale and the auto-calibration level are never copied.
void CopyChangedSettings(clsInstrument &destination, const clsInstrument &source);

} // namespace tq
