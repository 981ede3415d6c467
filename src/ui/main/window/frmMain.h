#pragma once

#include "core/instrument/clsInstrument.h"
#include "link/uclPvif.h"
#include "ui/display/log_selection.h"
#include "ui/instrument/instrument_info_page.h"
#include "ui/instrument/latest_cal_page.h"
#include "ui/instrument/set_page.h"
#include "ui/main/database_lock.h"
#include "ui/main/download_commands.h"
#include "ui/main/download_page.h"
#include "ui/main/window/frmUpload.h"
#include "ui/main/window/main_window_controls.h"
#include "ui/main/window/window_colours.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QPushButton;

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
    // One layout pass: the menu column and page frames, and the visible page lays itself out.
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

    // The Download page's routines that other parts call on the window.
    void AddCommLogLine(const QString &text, const QColor &color);
    void ShowLinkStatus();

    // A termination signal: no "End ?" question; what runs (a download, an import, the
    // automatic mode) is cancelled and stops at its next step, open dialogs are dismissed,
    // and once the command has returned the window closes as on Exit (settings written,
    // link stopped, lock released).
    void CloseOnSignal();

    DownloadPage &downloadPage() { return *m_downloadPage; }
    DownloadCommands &downloadCommands() { return *m_commands; }
    DataPage &dataPage() { return *m_dataPage; }
    DataViewPage &dataViewPage() { return *m_dataViewPage; }

    // The stored log chosen on the Data page, which the Data View page reads.
    qint32 SelectedLogType() const { return m_selection.SelectedLogType; }
    qint64 SelectedSeqNo() const { return m_selection.SelectedSeqNo; }

    const MainWindowControls &controls() const { return m_controls; }
    uclPvif &uclPV7130() { return *m_link; }
    ProgressWindow &Upload() { return m_upload; }
    clsInstrument &LinkInstrument() { return m_linkInstrument; }
    // The data view window, made on first use, shown modally for the log that ViewKind and
    // ViewSeqNo name.
    void ShowDataViewWindow();
    SetPage &setPage() { return *m_setPage; }
    const DatabaseLock &databaseLock() const { return m_lock; }

signals:
    // A line for the serial log, written through the link control.
    void serialLogLine(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The first activation shows the Download page and writes the standby line to the
    // serial log; every activation lays the window out.
    void Form_Activate();
    // True once a termination signal asked the window to close: commands start no further
    // step, and no detector command (clear, power-off) follows.
    bool ClosingOnSignal() const;
    // Chooses serial mode (one USB serial converter found) or infrared mode for the link
    // control and opens its port; true in serial mode.
    bool OpenUsbPort();
    // After the connected detector's settings were read: the Download page's status, the
    // Instrument Information and Set pages, a locked gas switched on.
    void RefreshInstrumentPages();
    // The stored log's instrument record on the Instrument Information page, shown.
    bool showStoredInstrument(qint64 seqNo);
    void connectLinkEvents();
    DownloadCommands::Hooks downloadHooks();
    QPushButton *buttonOf(DownloadCommands::Button button) const;
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
    void createInstrumentPages();
    void createBrowserPages();
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
    // After the link, the progress window and the instrument, which it uses to its end.
    std::unique_ptr<DownloadCommands> m_commands;
    InstrumentInfoPage *m_instrumentPage = nullptr;
    LatestCalPage *m_latestCalPage = nullptr;
    std::unique_ptr<SetPage> m_setPage;
    DatabaseLock m_lock;
    QTimer m_tmrInter;
    QTimer m_signalClose; // looks again while a command still runs after a signal
    bool m_firstActivate = true;
    bool m_unloaded = false;
    bool m_closingOnSignal = false;
    bool m_inLayout = false;
};

} // namespace tq
