#pragma once

#include "core/instrument/clsInstrument.h"
#include "link/uclPvif.h"
#include "ui/display/log_selection.h"
#include "ui/instrument/instrument_info_page.h"
#include "ui/instrument/latest_cal_page.h"
#include "ui/instrument/set_page.h"
#include "ui/main/database_lock.h"
#include "ui/main/download_page.h"
#include "ui/main/window/frmUpload.h"
#include "ui/main/window/main_window_controls.h"
#include "ui/main/window/window_colours.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace tq {

class DataPage;
class DataViewPage;
class frmIntermittence;

// The program's one working window: a column of menu buttons beside a stack of pages, of
// which one shows at a time. It runs the start-up (Form_Load), owns the database lock
// for the program's lifetime and ends the program when it closes.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    // With a link control of the caller's (tests hand in one with fake ports).
    explicit frmMain(std::unique_ptr<uclPvif> link, QWidget *parent = nullptr);
    ~frmMain() override;

    enum class LoadResult {
        Loaded,     // the window may be shown
        EndProgram, // the database is held by another copy or could not be made (told)
    };
    // The start-up, in its order: program values, settings file, database lock, the
    // automatic-mode boxes, fonts and captions, size and place, serial-log generations.
    LoadResult Form_Load();
    // The first activation shows the Download page and writes the standby line to the
    // serial log; every activation lays the window out.
    void Form_Activate();
    // One layout pass.
    void Form_Resize();
    // The menu buttons: 0 Download, 1 Instrument Information, 2 Data, 3 Last Calibration,
    // 4 Set, 5 Exit.
    void cmdInst_Click(int index);
    // The program defaults and the window's start state (communication log emptied,
    // lamps, debug-only controls, stale log tree).
    void InitSettings();
    // The display font and graph colour from the Set page's buttons, the window's size
    // and grouping boxes into the settings, then the settings file written. Throws
    // TqError(File) when it cannot be written.
    void SaveDisplaySettings();
    // After the detector was switched off from the program: the settings written and read
    // back, the window set up as at start-up, the Download page in front.
    void ResetAfterPowerOff();
    // The trend colour of series `slot` on the Data View page's graph, redrawn.
    void SetTrendColor(int slot, qint32 color);

    // Appends a coloured line at the end of the communication log.
    void AddCommLogLine(const QString &text, const QColor &color);
    // The connected detector's identity on the Download page, and the record-file suffix.
    void ShowLinkStatus();
    // Paints status lamp `index` (0 Serial Port, 1 Connect, 2 and 3).
    void SetLamp(int index, const LampColors &colors);

    // A termination signal: no "End ?" question; what runs (a download, an import, the
    // automatic mode) is cancelled and stops at its next step, open dialogs are dismissed,
    // and once the command has returned the window closes as on Exit (settings written,
    // link stopped, lock released).
    void CloseOnSignal();
    // True once a termination signal asked the window to close: commands start no further
    // step, and no detector command (clear, power-off) follows.
    bool ClosingOnSignal() const;

    // Chooses serial mode (one USB serial converter found) or infrared mode for the link
    // control and opens its port; true in serial mode.
    bool OpenUsbPort();

    // --- Download commands -------------------------------------------------------------
    // The Download page's buttons: 0 Complete Download, 1 Instrument Information, 2 Download
    // Logger Data, 3 Clear Logger Data, 4 Power Off, 5 (hidden).
    void cmdDown_Click(int index);
    // Reads the connected detector's settings and latest calibration into LinkInstrument.
    bool DownloadInstrument();
    // Ends a complete download that the user cancelled.
    void AbortCompleteDownload();
    // The Set button, the download commands and the automatic-mode boxes are disabled
    // around a command; UnlockCommands puts each button back as it was.
    void LockCommands();
    void UnlockCommands();

    // --- Logger download -----------------------------------------------------------------
    // Downloads the flash image into DumpFile and, when it arrived whole, runs the seven
    // imports. True when the image was downloaded.
    bool DownloadLogData();
    // True when the last DownloadLogData downloaded the image and every import was complete
    // or found no data: the only case in which the detector's logs may be cleared.
    bool LastDownloadImportedAll() const { return m_lastDownloadImportedAll; }
    // The debug button: the seven imports on the dump file already on disk.
    void cmdInportDat_Click();

    // --- Automatic mode ------------------------------------------------------------------
    // A detector that connected with the automatic mode on: instrument information, logger
    // download, the optional data clear, power-off.
    void RunAutoMode();
    // Yields to the event loop until 20 ticks of the display timer have passed.
    void WaitTwoSeconds();

    // --- Link events -----------------------------------------------------------------------
    void uclPV7130_OnConnect();
    void uclPV7130_Disconnected();
    void uclPV7130_ConnectRetry(qint16 retryCount);
    // InstMessage, InterMessage and AlarmMessage: the link's text into the log.
    void uclPV7130_Message(const QString &messageString);
    void uclPV7130_DumpMessage(const QString &messageString);
    void uclPV7130_IrDAError(qint16 errorNumber);

    // Page fillers of the instrument pages, and the Data page's tree for the Data button,
    // the downloads and the start-up settings.
    // After the connected detector's settings were read: the Download page's status, the
    // Instrument Information and Set pages, a locked gas switched on.
    void RefreshInstrumentPages();
    void ShowInstrument(const clsInstrument &instrument);
    void ShowLatestCalList();
    void ShowSettings();
    void BuildLogTree();
    void RefreshLogPage();
    bool LogTreeStale() const;
    void setLogTreeStale(bool stale);
    DownloadPage &downloadPage() { return *m_downloadPage; }
    DataPage &dataPage() { return *m_dataPage; }
    DataViewPage &dataViewPage() { return *m_dataViewPage; }

    // The stored log chosen on the Data page, which the Data View page reads.
    qint32 SelectedLogType() const { return m_selection.SelectedLogType; }
    qint64 SelectedSeqNo() const { return m_selection.SelectedSeqNo; }
    LogSelection &selection() { return m_selection; }

    const MainWindowControls &controls() const { return m_controls; }
    uclPvif &uclPV7130() { return *m_link; }
    ProgressWindow &Upload() { return m_upload; }
    clsInstrument &LinkInstrument() { return m_linkInstrument; }
    // The instrument record of the log selected on the Data page, and whether the
    // Instrument Information page is being filled from it.
    clsInstrument &StoredInstrument() { return m_storedInstrument; }
    // Reads the instrument record of log seqNo afresh and shows it on the Instrument
    // Information page; false, changing nothing, when the log's head row is gone.
    bool ShowStoredInstrument(qint64 seqNo);
    // The data view window, made on first use, shown modally for the log that ViewKind and
    // ViewSeqNo name.
    void ShowDataViewWindow();
    bool ShowingStoredData() const { return m_showingStoredData; }
    void setShowingStoredData(bool showing) { m_showingStoredData = showing; }
    InstrumentInfoPage &instrumentPage() { return *m_instrumentPage; }
    LatestCalPage &latestCalPage() { return *m_latestCalPage; }
    SetPage &setPage() { return *m_setPage; }
    const DatabaseLock &databaseLock() const { return m_lock; }

    // Ticks of the 100 ms display timer; two-second waits count 20 of them.
    qint32 TickCount() const { return m_tickCount; }
    void setTickCount(qint32 count) { m_tickCount = count; }
    // The flash-image dump file: TQ6200.DAT in the program folder.
    QString DumpFile() const { return m_dumpFile; }

signals:
    // A line for the serial log, written through the link control.
    void serialLogLine(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectLinkEvents();
    bool lockDatabase();
    void applySizeValues();
    void applyFirstRunSizeAndCentre();
    void showDisplaySettings();
    void applyDisplayFont();
    void SetCaptions();
    void initWindowDefaults();
    void prepareSerialLog();
    // True when the close may go ahead.
    bool Form_QueryUnload();
    void Form_Unload();
    void tmrInter_Timer();
    // CloseOnSignal's part that waits until no command is running any more.
    void closeWhenIdle();
    void showPage(int frame);
    // Download commands: the steps of cmdDown_Click. The clear and the power-off are false
    // when the question was answered No.
    void completeDownload();
    void instrumentInformation();
    bool clearLoggerData();
    bool powerOff();
    // Locks the commands and asks question; on any answer but Yes unlocks them again.
    bool lockAndAsk(int question);
    // Every download command enabled (while connected), the Set button and the boxes too.
    void enableAllCommands();
    void showDownloadProgress();
    // The clock warning when the detector's clock is more than a day off.
    void checkClock();
    void afterPowerOff();
    void createInstrumentPages();
    void createBrowserPages();
    // Runs a Set page command on the link with the other commands locked; false while
    // another operation holds the link.
    bool runOnLink(const std::function<void()> &operation);
    void showUploadProgress(bool show);

    MainWindowControls m_controls;
    LogSelection m_selection;
    DownloadPage *m_downloadPage = nullptr;
    DataPage *m_dataPage = nullptr;
    DataViewPage *m_dataViewPage = nullptr;
    std::unique_ptr<frmIntermittence> m_dataViewWindow;
    std::unique_ptr<uclPvif> m_link;
    ProgressWindow m_upload;
    clsInstrument m_linkInstrument;
    clsInstrument m_storedInstrument;
    bool m_showingStoredData = false;
    std::unique_ptr<InstrumentInfoPage> m_instrumentPage;
    std::unique_ptr<LatestCalPage> m_latestCalPage;
    std::unique_ptr<SetPage> m_setPage;
    DatabaseLock m_lock;
    QTimer m_tmrInter;
    QTimer m_signalClose; // looks again while a command still runs after a signal
    QString m_dumpFile;
    qint32 m_tickCount = 0;
    bool m_firstActivate = true;
    bool m_lastDownloadImportedAll = false;
    // True while a download command or the automatic mode runs: the link handlers that
    // its nested waits can re-enter leave the commands alone.
    bool m_linkBusy = false;
    bool m_portErrorShown = false;
    bool m_unloaded = false;
    bool m_closingOnSignal = false;
    bool m_inLayout = false;
};

} // namespace tq
