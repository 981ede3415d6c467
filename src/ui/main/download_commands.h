#pragma once

#include "ui/main/window/window_colours.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace tq {

class clsInstrument;
class uclPvif;

// The download flow behind the Download page: its command buttons, the instrument and
// logger downloads, the automatic mode, the clock check, the locking of the commands around
// a command, and the reactions to what the link reports. It knows no widget: it reaches the
// page and the window through its hooks.
class DownloadCommands : public QObject {
    Q_OBJECT
public:
    // What runs, or how the last run ended. Only the running states refuse a new command;
    // a failed or cancelled run leaves every command and box usable again.
    enum class State {
        Idle,
        Reading,     // the detector's settings and latest calibration, or a Set page command
        Dumping,     // the flash image into the dump file
        Importing,   // the seven imports of the dump file
        Clearing,    // the detector's logs
        PoweringOff, // the detector
        Failed,
        Cancelled,
    };

    // The buttons that the commands and the link's events switch.
    enum class Button {
        Down0, // the six download commands, cmdDown 0 to 5
        Down1,
        Down2,
        Down3,
        Down4,
        Down5,
        SetMenu,  // the Set page's menu button, locked with the download commands
        ExitMenu, // the Exit menu button, off while a power-off runs
        Update,   // the Set page's Update, Date/Time Set and Calibration
        DateTimeSet,
        Calibration,
    };

    // What the commands ask of the page and the window.
    struct Hooks {
        // The Download page.
        std::function<void(const QString &text, const QColor &color)> addCommLogLine;
        std::function<void(int lamp, const LampColors &colors)> setLamp;
        // Both automatic-mode boxes off, or on as their settings allow.
        std::function<void(bool enabled)> setAutoLoadBoxesEnabled;
        std::function<bool(Button)> buttonEnabled;
        std::function<void(Button, bool enabled)> setButtonEnabled;
        // The progress window: shown with `title`, or as it loads when the title is empty;
        // its label; closed; whether its Cancel was pressed (kept after it closed).
        std::function<void(const QString &title)> showProgress;
        // Its progress text, shown at most 20 times a second so a dump never waits on a
        // paint; a status text shown at once, replacing progress still waiting.
        std::function<void(const QString &text)> setProgressText; // only while it is open
        std::function<void(const QString &text)> showProgressStatus;
        std::function<void()> closeProgress;
        std::function<bool()> progressCanceled;
        // The window: the hourglass while the returned token lives, the pages refreshed
        // after the detector was read, the set-up after a power-off (throws TqError when the
        // settings cannot be written), the log tree marked for a rebuild, and whether a
        // termination signal is closing the program.
        std::function<std::shared_ptr<void>()> hourglass;
        std::function<void()> refreshInstrumentPages;
        std::function<void()> resetAfterPowerOff;
        std::function<void()> markLogTreeStale;
        std::function<bool()> closingOnSignal;
    };

    DownloadCommands(uclPvif &link, clsInstrument &linkInstrument, Hooks hooks,
                     QObject *parent = nullptr);

    State state() const { return m_state; }
    // True while a command, the automatic mode or a Set page command holds the link.
    bool Running() const;

    // The Download page's buttons: 0 Complete Download, 1 Instrument Information, 2 Download
    // Logger Data, 3 Clear Logger Data, 4 Power Off, 5 (hidden).
    void cmdDown_Click(int index);
    // Reads the connected detector's settings and latest calibration into the instrument.
    bool DownloadInstrument();
    // Ends a complete download that the user cancelled.
    void AbortCompleteDownload();
    // The Set button, the download commands and the automatic-mode boxes are disabled
    // around a command; UnlockCommands puts each button back as it was.
    void LockCommands();
    void UnlockCommands();
    // Runs a Set page command on the link with the other commands locked; false while
    // another operation holds the link.
    bool runOnLink(const std::function<void()> &operation);

    // Downloads the flash image into the dump file and, when it arrived whole, runs the
    // seven imports. True when the image was downloaded.
    bool DownloadLogData();
    // True when the last DownloadLogData downloaded the image and every import was complete
    // or found no data: the only case in which the detector's logs may be cleared.
    bool LastDownloadImportedAll() const { return m_lastDownloadImportedAll; }
    // The debug button: the seven imports on the dump file already on disk.
    void cmdInportDat_Click();
    // The flash-image dump file: TQ6200.DAT in the program folder.
    QString DumpFile() const { return m_dumpFile; }
    void setDumpFile(const QString &path) { m_dumpFile = path; }

    // A detector that connected with the automatic mode on: instrument information, logger
    // download, the optional data clear, power-off.
    void RunAutoMode();
    // One tick of the window's 100 ms display timer.
    void Tick();
    // Yields to the event loop until 20 ticks have passed.
    void WaitTwoSeconds();
    qint32 TickCount() const { return m_tickCount; }
    void setTickCount(qint32 count) { m_tickCount = count; }

    // Reactions to the link's events.
    void uclPV7130_OnConnect();
    void uclPV7130_Disconnected();
    void uclPV7130_ConnectRetry(qint16 retryCount);
    // InstMessage, InterMessage and AlarmMessage: the link's text into the log.
    void uclPV7130_Message(const QString &messageString);
    void uclPV7130_DumpMessage(const QString &messageString);
    void uclPV7130_IrDAError(qint16 errorNumber);
    // The progress window's Cancel: the running exchange stops.
    void progressCancel();

    // The instrument's serial log, and the link itself, for the import lines.
    uclPvif &link() { return m_link; }
    const Hooks &hooks() const { return m_hooks; }

signals:
    void ticked();

private:
    // The steps of cmdDown_Click; each returns how the run ended. The clear and the
    // power-off end Idle without a command when the question was answered No.
    State completeDownload();
    State instrumentInformation();
    State loggerDownload();
    State clearLoggerData(bool &asked);
    State powerOff(bool &asked);
    // Locks the commands and asks question; on any answer but Yes unlocks them again.
    bool lockAndAsk(int question);
    // Every download command enabled (while connected), the Set button and the boxes too.
    void enableAllCommands();
    void showDownloadProgress();
    // The clock warning when the detector's clock is more than a day off.
    void checkClock();
    void afterPowerOff();
    // How a run that ended ok (or not) finished: a Cancel in the progress window counts as
    // cancelled.
    State outcome(bool ok) const;
    // A run starts in `state`; false, starting nothing, while another run holds the link.
    bool begin(State state);
    // A run ended in `state`; a connection that arrived during it is served next.
    void finish(State state);
    void connectLinkEvents();
    void addLine(const QString &text, const QColor &color) { m_hooks.addCommLogLine(text, color); }

    uclPvif &m_link;
    clsInstrument &m_linkInstrument;
    Hooks m_hooks;
    State m_state = State::Idle;
    // The enabled state of the download commands and the Set button while they are locked.
    std::array<bool, 7> m_saved{};
    QString m_dumpFile;
    qint32 m_tickCount = 0;
    bool m_lastDownloadImportedAll = false;
    bool m_portErrorShown = false;
    // The line went down during the run, and a detector answered again after that.
    bool m_lineLostDuringRun = false;
    bool m_connectionWaiting = false;
};

} // namespace tq
