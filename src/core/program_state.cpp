#include "core/program_state.h"

#include "core/messages.h"

namespace tq {

ProgramState &Globals() {
    static ProgramState state;
    return state;
}

StoreContext ProgramStoreContext() {
    const ProgramState &g = Globals();
    return {g.AppFolder, g.DataFolder, g.DatabasePath, g.ExportRawData};
}

LinkSettings ProgramLinkSettings() {
    const ProgramState &g = Globals();
    return {g.AppFolder, g.CommTimeout, g.CommRetry, g.CommDelay};
}

void InitSettings() {
    ProgramState &g = Globals();
    g.DataLocation = g.AppFolder;
    g.GraphColors[0] = 65280; // green
    g.DisplayFont.Size = 9;
    if (g.CalibRange[0] == 0)
        g.CalibRange[0] = 50;
    if (g.ProgramPassword.isEmpty())
        g.ProgramPassword = JapaneseActive() ? QStringLiteral("Pelut") : QStringLiteral("vog");
    for (float &width : g.PrintWidths)
        if (width < 1 || width > 100)
            width = 1;
    if (g.CalSpanOffWait == 0)
        g.CalSpanOffWait = 45;
    if (g.CalSpanOnWait == 0)
        g.CalSpanOnWait = 90;
    if (g.CalUnitOnWait == 0)
        g.CalUnitOnWait = 45;
    g.CompletelyView = true;
    g.CompletelyRead = false;
    // Month/day/year and 24-hour time whatever the locale's separators.
    g.SqlDateFormat = QStringLiteral("MM/dd/yyyy hh:mm:ss");
}

void SetBuiltInGasTable() {
    auto &entries = Globals().ChgGasTable[0];
    for (int i = 0; i < 8; ++i) {
        entries[i].Enabled = false;
        entries[i].Name.clear();
    }
    for (int i : {0, 1}) {
        SelectableGas &gas = entries[i];
        gas.Name = i == 0 ? QStringLiteral("CH4") : QStringLiteral("HC ");
        gas.Enabled = true;
        gas.Locked = false;
        gas.Points = 0;
        gas.Unit = QStringLiteral("%LEL");
        gas.Warning = 10;
        gas.Alarm = 50;
        gas.STEL = -1;
        gas.TWA = -1;
        gas.Digit = 1;
        gas.FullScale = 100;
        gas.AutoCal = 10;
    }
}

void SetStartupValues(const QString &appFolder) {
    ProgramState &g = Globals();
    g.AppFolder = appFolder;
    g.FactAutoCal[0] = -101;
    SetBuiltInGasTable();
    InitSettings();
    g.TrendSearchBefore = -30;
    g.TrendSearchAfter = 45;
    g.CommRetry = 3;
    g.CommTimeout = 3;
}

} // namespace tq
