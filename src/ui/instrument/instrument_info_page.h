#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;

namespace tq {

class clsInstrument;
class FlexGrid;

// The Instrument Information page: the identity, latest calibration with its due state,
// and alarm levels of one instrument object, or the settings file's default gas with
// placeholders when no detector data is at hand. It lives in the window's page frame,
// whose title names what it shows.
class InstrumentInfoPage : public QWidget {
    Q_OBJECT
public:
    // What the page shows.
    enum class Source {
        NoInstrument, // the default gas with placeholders
        StoredData,   // the instrument record of a stored log
        Connected,    // the connected detector after its settings were read
    };

    // linkInstrument: the connected detector, whose calibration limit decides the due state.
    InstrumentInfoPage(QGroupBox *frame, const clsInstrument &linkInstrument);

    // Lays the controls out in the frame of pw by ph twips and sizes the grids' columns.
    void layOut(double pw, double ph, const QString &languageCode);
    // Widens the caption column to the captions in the current font.
    void fitCaptions();

    // The case of a fill: stored data while the Data page shows a record, no instrument
    // while the link is reset or the settings were not read, connected otherwise.
    static Source ChooseSource(bool showingStoredData, qint32 linkStatus, bool commFlags);

    // Fills the page from the instrument, the frame hidden meanwhile so it is drawn once.
    void ShowInstrument(const clsInstrument &instrument, Source source);
    // The connected detector once its settings were read; the settings file's default gas
    // while the link is reset (linkStatus 0) or they were not.
    void ShowLinkInstrument(qint32 linkStatus);
    // The instrument record of stored log seqNo, read afresh, as stored data; false,
    // changing nothing, when the log's head row is gone.
    bool ShowStoredInstrument(qint64 seqNo);

    // Controls.
    QGroupBox *fraInst = nullptr;
    QWidget *fraInstCeneter = nullptr;
    std::array<QLabel *, 10> lblInst{};
    FlexGrid *vfgInst = nullptr;
    FlexGrid *vfgInstSensor = nullptr;

private:
    void buildControls();
    void showLabels(const clsInstrument &instrument, Source source);
    void fillCalibrationGrid(const clsInstrument &instrument, Source source);
    void fillConnectedGasRow(const clsInstrument &instrument);
    void fillAlarmGrid(const clsInstrument &instrument, Source source);

    QGroupBox *m_frame;
    const clsInstrument &m_link;
};

} // namespace tq
