#include "app/command_switches.h"

namespace tq {

CommandSwitches ReadCommandSwitches(const QStringList &arguments) {
    const QString line = arguments.join(QLatin1Char(' ')).toUpper();
    CommandSwitches switches;
    switches.DebugMode = line.contains(QLatin1String("-DEBUG"));
    switches.ShowPowerEvents = line.contains(QLatin1String("-6200"));
    return switches;
}

} // namespace tq
