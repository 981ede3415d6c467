#include "app/command_switches.h"
#include "app/frmOpen.h"
#include "app/single_instance.h"
#include "core/gui/dialogs.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>

#include <memory>

// The program: refuse a second copy, read the switches, show the splash, then run in the
// main window until it closes.
int main(int argc, char **argv) {
    QApplication app(argc, argv);
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
    int status = 0;
    tq::frmOpen splash([&] {
        window = std::make_unique<tq::frmMain>();
        if (window->Form_Load() == tq::frmMain::LoadResult::EndProgram) {
            status = 1;
            QCoreApplication::exit(status);
            return;
        }
        window->show();
    });
    const int loopStatus = app.exec();
    return status != 0 ? status : loopStatus;
}
