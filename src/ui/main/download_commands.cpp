// The Download page's commands: the instrument download, the complete download, the
// logger download, the data clear and the power-off, with the locking of the commands
// around them.
#include "ui/main/download_commands.h"

#include "core/errors.h"
#include "core/gui/dialogs.h"
#include "core/instrument/clsInstrument.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"
#include "ui/main/window/busy_state.h"
#include "ui/main/window/download_support.h"

namespace tq {

namespace {

using Button = DownloadCommands::Button;

// The buttons that LockCommands saves and UnlockCommands puts back.
constexpr std::array<Button, 7> kLockedButtons{Button::Down0,  Button::Down1, Button::Down2,
                                               Button::Down3,  Button::Down4, Button::Down5,
                                               Button::SetMenu};
constexpr std::array<Button, 6> kDownloadButtons{Button::Down0, Button::Down1, Button::Down2,
                                                 Button::Down3, Button::Down4, Button::Down5};

} // namespace

DownloadCommands::DownloadCommands(uclPvif &link, clsInstrument &linkInstrument, Hooks hooks,
                                   QObject *parent)
    : QObject(parent), m_link(link), m_linkInstrument(linkInstrument), m_hooks(std::move(hooks)) {
    connectLinkEvents();
}

bool DownloadCommands::Running() const {
    return m_state != State::Idle && m_state != State::Failed && m_state != State::Cancelled;
}

bool DownloadCommands::begin(State state) {
    // A nested wait of a running command or of the automatic mode can deliver a click.
    if (Running())
        return false;
    m_state = state;
    m_lineLostDuringRun = false;
    m_connectionWaiting = false;
    return true;
}

void DownloadCommands::finish(State state) {
    m_state = state;
    // A detector that came back while the run still held the link is served now, as any
    // connection is.
    if (m_connectionWaiting) {
        m_connectionWaiting = false;
        QMetaObject::invokeMethod(this, &DownloadCommands::uclPV7130_OnConnect,
                                  Qt::QueuedConnection);
    }
}

DownloadCommands::State DownloadCommands::outcome(bool ok) const {
    if (ok)
        return State::Idle;
    // The link's own Cancel also stands after a block time-out: only the progress window
    // tells a stop by the user.
    return m_hooks.progressCanceled() ? State::Cancelled : State::Failed;
}

void DownloadCommands::LockCommands() {
    for (std::size_t i = 0; i < kLockedButtons.size(); ++i) {
        m_saved[i] = m_hooks.buttonEnabled(kLockedButtons[i]);
        m_hooks.setButtonEnabled(kLockedButtons[i], false);
    }
    m_hooks.setAutoLoadBoxesEnabled(false);
}

// A line lost during the command leaves the download commands off: the line-lost handler
// disabled them and only the next connection enables them again.
void DownloadCommands::UnlockCommands() {
    const bool connected = m_link.Connected();
    for (std::size_t i = 0; i < kLockedButtons.size(); ++i) {
        const bool download = kLockedButtons[i] != Button::SetMenu;
        m_hooks.setButtonEnabled(kLockedButtons[i], m_saved[i] && (connected || !download));
    }
    m_hooks.setAutoLoadBoxesEnabled(true);
}

void DownloadCommands::enableAllCommands() {
    m_hooks.setButtonEnabled(Button::SetMenu, true);
    const bool connected = m_link.Connected();
    for (Button button : kDownloadButtons)
        m_hooks.setButtonEnabled(button, connected);
    m_hooks.setAutoLoadBoxesEnabled(true);
}

void DownloadCommands::showDownloadProgress() {
    m_hooks.showProgress(LoadMessage(6056));
}

void DownloadCommands::checkClock() {
    if (ClockWarningDue(m_linkInstrument.SysDateOffset()))
        addLine(LoadMessage(5591), kLogRed);
}

// The detector was switched off: the window is set up again. A settings file that cannot
// be written is told in the log and does not end the program.
void DownloadCommands::afterPowerOff() {
    try {
        m_hooks.resetAfterPowerOff();
    } catch (const TqError &e) {
        addLine(e.message(), kLogRed);
    }
}

void DownloadCommands::cmdDown_Click(int index) {
    static constexpr std::array<State, 5> kFirstState{
        State::Reading, State::Reading, State::Dumping, State::Clearing, State::PoweringOff};
    if (index < 0 || index >= int(kFirstState.size())) {
        checkClock();
        return;
    }
    if (!begin(kFirstState[std::size_t(index)]))
        return;
    bool asked = true;
    State end = State::Idle;
    switch (index) {
    case 0:
        end = completeDownload();
        break;
    case 1:
        end = instrumentInformation();
        break;
    case 2:
        end = loggerDownload();
        break;
    case 3:
        end = clearLoggerData(asked);
        break;
    default:
        end = powerOff(asked);
        break;
    }
    finish(end);
    if (asked)
        checkClock();
}

DownloadCommands::State DownloadCommands::completeDownload() {
    LockCommands();
    Globals().WorkState = BusyState::CompleteDownload;
    showDownloadProgress();
    m_link.AddLog(DatedLogLine(5554, Now()));
    bool ok = DownloadInstrument();
    bool cancelled = m_hooks.progressCanceled();
    if (cancelled) {
        AbortCompleteDownload();
        ok = false;
    } else if (ok) {
        ok = DownloadLogData();
        cancelled = m_hooks.progressCanceled();
        if (cancelled) {
            AbortCompleteDownload();
            ok = false;
        }
    }
    if (ok) {
        enableAllCommands();
        m_link.AddLog(DatedLogLine(5555, Now()));
        m_hooks.markLogTreeStale();
    } else {
        UnlockCommands();
    }
    const State end = cancelled ? State::Cancelled : outcome(ok && m_lastDownloadImportedAll);
    m_hooks.closeProgress();
    Globals().WorkState = BusyState::Idle;
    return end;
}

DownloadCommands::State DownloadCommands::instrumentInformation() {
    LockCommands();
    showDownloadProgress();
    const bool ok = DownloadInstrument();
    if (ok)
        enableAllCommands();
    else
        UnlockCommands();
    const State end = outcome(ok);
    m_hooks.closeProgress();
    return end;
}

DownloadCommands::State DownloadCommands::loggerDownload() {
    LockCommands();
    Globals().WorkState = BusyState::LoggerDownload;
    showDownloadProgress();
    const bool ok = DownloadLogData() && m_lastDownloadImportedAll;
    UnlockCommands();
    const State end = outcome(ok);
    m_hooks.closeProgress();
    Globals().WorkState = BusyState::Idle;
    return end;
}

bool DownloadCommands::lockAndAsk(int question) {
    LockCommands();
    if (AskYesNo(question))
        return true;
    UnlockCommands();
    return false;
}

DownloadCommands::State DownloadCommands::clearLoggerData(bool &asked) {
    asked = lockAndAsk(5343);
    if (!asked)
        return State::Idle;
    bool ok = false;
    if (m_link.Connected()) {
        addLine(LoadMessage(5433), kLogGreen);
        const auto hourglass = m_hooks.hourglass();
        ok = m_link.BodyDataClear();
        if (ok) {
            addLine(LoadMessage(5434), kLogGreen);
        } else {
            addLine(LoadMessage(5435), kLogRed);
            m_link.AddLog(LoadMessage(5559));
        }
    } else {
        addLine(LoadMessage(5436), kLogRed);
        m_link.AddLog(LoadMessage(5559));
    }
    UnlockCommands();
    return ok ? State::Idle : State::Failed;
}

DownloadCommands::State DownloadCommands::powerOff(bool &asked) {
    asked = lockAndAsk(5347);
    if (!asked)
        return State::Idle;
    if (!m_link.Connected()) {
        addLine(LoadMessage(5409), kLogRed);
        UnlockCommands();
        return State::Failed;
    }
    m_hooks.setButtonEnabled(Button::ExitMenu, false);
    addLine(LoadMessage(5406), kLogGreen);
    const bool ok = m_link.BodyPowerOff();
    if (ok) {
        afterPowerOff();
    } else {
        addLine(LoadMessage(5408), kLogRed);
        UnlockCommands();
    }
    m_hooks.setButtonEnabled(Button::SetMenu, m_saved.back());
    m_hooks.setButtonEnabled(Button::ExitMenu, true);
    return ok ? State::Idle : State::Failed;
}

bool DownloadCommands::DownloadInstrument() {
    m_state = State::Reading;
    const auto hourglass = m_hooks.hourglass();
    if (!m_link.Connected()) {
        addLine(LoadMessage(5417), kLogRed);
        m_link.AddLog(DatedLogLine(5522, Now()));
        return false;
    }
    addLine(LoadMessage(5414), kLogGreen);
    const Date start = Now();
    m_link.AddLog(DatedLogLine(5517, start));
    if (!m_link.GetInstrument(&m_linkInstrument)) {
        if (m_link.Cancel()) {
            addLine(LoadMessage(5462), kLogRed);
            m_link.AddLog(DatedLogLine(5589, Now()));
            return false;
        }
        addLine(LoadMessage(5416), kLogRed);
        m_link.AddLog(LoadMessage(5520));
        if (m_linkInstrument.FailLine() == QLatin1String("HC,R"))
            addLine(LoadMessage(5590), kLogRed);
        m_link.AddLog(TimedLogLine(5521, start, Now()));
        return false;
    }
    m_linkInstrument.setCommFlags(true);
    if (m_link.GetLatestHistory(&m_linkInstrument)) {
        try {
            m_linkInstrument.HistoryUpdate(Globals().DatabasePath);
        } catch (const TqError &e) {
            // The settings were read; only the stored latest calibration is missing.
            addLine(e.message(), kLogRed);
            m_link.AddLog(e.message());
        }
    }
    // After the latest calibration, so the pages show the values just read.
    m_hooks.refreshInstrumentPages();
    addLine(LoadMessage(5415), kLogGreen);
    m_link.AddLog(TimedLogLine(5519, start, Now()));
    return true;
}

void DownloadCommands::AbortCompleteDownload() {
    m_link.AddLog(DatedLogLine(5555, Now()));
    m_hooks.markLogTreeStale();
    m_hooks.closeProgress();
    Globals().WorkState = BusyState::Idle;
    UnlockCommands();
}

bool DownloadCommands::runOnLink(const std::function<void()> &operation) {
    if (!begin(State::Reading))
        return false;
    LockCommands();
    operation();
    UnlockCommands();
    finish(State::Idle);
    return true;
}

} // namespace tq
