#pragma once

#include <QtGlobal>

#include <array>

class QGroupBox;
class QLabel;
class QWidget;

namespace tq {

class clsInstrument;
class FlexGrid;

// The Instrument Information page: the identity, latest calibration with its due state,
// and alarm levels of one instrument object, or the settings file's default gas with
// placeholders when no detector data is at hand.
class InstrumentInfoPage {
public:
    // The page's controls, as the window made them.
    struct Controls {
        QGroupBox *fraMenu = nullptr; // the page frame; its title names the case
        QGroupBox *fraInst = nullptr;
        std::array<QLabel *, 10> lblInst{};
        FlexGrid *vfgInst = nullptr;
        FlexGrid *vfgInstSensor = nullptr;
    };

    // What the page shows.
    enum class Source {
        NoInstrument, // the default gas with placeholders
        StoredData,   // the instrument record of a stored log
        Connected,    // the connected detector after its settings were read
    };

    // linkInstrument: the connected detector, whose calibration limit decides the due state.
    InstrumentInfoPage(const Controls &controls, const clsInstrument &linkInstrument);

    // The case of a fill: stored data while the Data page shows a record, no instrument
    // while the link is reset or the settings were not read, connected otherwise.
    static Source ChooseSource(bool showingStoredData, qint32 linkStatus, bool commFlags);

    // Fills the page from the instrument, the frame hidden meanwhile so it is drawn once.
    void ShowInstrument(const clsInstrument &instrument, Source source);

    const Controls &controls() const { return m_c; }

private:
    void showLabels(const clsInstrument &instrument, Source source);
    void fillCalibrationGrid(const clsInstrument &instrument, Source source);
    void fillConnectedGasRow(const clsInstrument &instrument);
    void fillAlarmGrid(const clsInstrument &instrument, Source source);

    Controls m_c;
    const clsInstrument &m_link;
};

} // namespace tq
