#include "app/command_switches.h"
#include "app/frmOpen.h"
#include "app/qt_translations.h"
#include "app/single_instance.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/main/termination_signals.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>

#include <memory>

// The program: refuse a second copy, read the switches, show the splash, then run in the
// main window until it closes. A termination signal closes the window as Exit does;
// before the window has loaded there is nothing to save, and the program just ends.
int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    tq::InstallQtTranslations(app);
    tq::SingleInstance instance;
    if (!instance.TryStart()) {
        tq::ShowMessage({99, tq::LoadMessage(99), tq::LoadMessage(5001), tq::BoxIcon::Critical,
                         tq::BoxButtons::Ok});
        return 1;
    }
    const tq::CommandSwitches switches = tq::ReadCommandSwitches(app.arguments().mid(1));
    tq::Globals().DebugMode = switches.DebugMode;
    tq::Globals().ShowPowerEvents = switches.ShowPowerEvents;

    std::unique_ptr<tq::frmMain> window;
    bool loaded = false;
    int status = 0;
    const tq::TerminationSignals termination;
    QObject::connect(&termination, &tq::TerminationSignals::requested, [&] {
        if (loaded)
            window->CloseOnSignal();
        else if (!window)
            QCoreApplication::exit(0);
        // While the window loads, the load's end sees the request.
    });
    tq::frmOpen splash([&] {
        window = std::make_unique<tq::frmMain>();
        if (window->Form_Load() == tq::frmMain::LoadResult::EndProgram) {
            status = 1;
            QCoreApplication::exit(status);
            return;
        }
        loaded = true;
        window->show();
        if (tq::TerminationSignals::Requested())
            window->CloseOnSignal();
    });
    const int loopStatus = app.exec();
    return status != 0 ? status : loopStatus;
}
