#pragma once

#include <QStringList>

namespace tq {

struct CommandSwitches {
    bool DebugMode = false;       // "-DEBUG"
    bool ShowPowerEvents = false; // "-6200"
};

// The switches of a command line (the arguments after the program name), searched as
// text in any letter case: a switch counts wherever it stands, glued to other text too.
CommandSwitches ReadCommandSwitches(const QStringList &arguments);

} // namespace tq
