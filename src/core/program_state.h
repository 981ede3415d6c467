#pragma once

#include "core/date.h"
#include "core/instrument/clsInstrument.h"
#include "core/link_settings.h"
#include "core/store_context.h"

#include <QString>

#include <array>

namespace tq {

// One entry of the gas table that the settings page offers for the gas slot.
struct SelectableGas {
    bool Enabled = false;
    QString Name;
    bool Locked = false;
    QString Unit;
    float FullScale = 0;
    float Digit = 0; // resolution
    qint16 Points = 0;
    float Warning = 0;
    float Alarm = 0;
    float STEL = 0;
    float TWA = 0;
    float Ratio = 0;
    float AutoCal = 0;
    qint16 Zero = 0;
};

inline constexpr int kGasSlots = 1; // the program handles gas slot 0 only
inline constexpr int kSelectableGasEntries = 9;
using GasTable = std::array<std::array<SelectableGas, kSelectableGasEntries>, kGasSlots>;

// The display font as the settings file carries it; an empty name is the system font.
struct FontSettings {
    QString Name;
    float Size = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

// Values of the main window that the settings file carries; the window applies them at
// its load and hands them back before the file is written.
struct MainWindowValues {
    std::array<int, 3> DataSelect{}; // grouping boxes: 0 Serial No., 1 Station ID, 2 User ID
    qint16 WindowState = 0;          // 0 normal, 1 minimized, 2 maximized
    float Width = 7680;              // twips
    float Height = 5760;
};

// The three colours of the main window's trend graph (red in the low byte).
struct GraphColorValues {
    qint32 ScaleColor = 1;
    qint32 BackColor = 15790320;
    qint32 CursorColor = 16728128;
};

// The variables that every window and class shares for the program's lifetime. Only the
// user-interface thread touches them.
struct ProgramState {
    // Folders, files and the database.
    QString AppFolder;
    QString DataLocation;
    QString DatabasePath;
    QString DataFolder;
    int LockFileNo = 0;

    // Link settings.
    qint16 CommTimeout = 0;
    qint16 CommRetry = 0;
    qint16 CommDelay = 0;
    qint16 IrCommPort = 0;
    QString CommSettings;
    bool SerialLogOn = false;
    bool CompletelyRead = false;

    // Display, print and data view.
    FontSettings DisplayFont;
    std::array<qint32, kGasSlots> GraphColors{};
    std::array<float, 2> PrintWidths{};
    bool CompletelyView = false;
    bool CondensedView = false;
    bool ExportRawData = false;
    qint16 TrendSearchBefore = 0;
    qint16 TrendSearchAfter = 0;
    qint16 LimitDays = 0;
    qint64 ViewSeqNo = 0;
    qint32 ViewKind = 0;
    Date ViewEventDate;

    // Program state and switches.
    qint32 WorkState = 0;
    bool DebugMode = false;
    bool ShowPowerEvents = false;
    qint32 ExecuteCount = 0;
    bool AutoLoadMode = false;
    bool AutoRemoveData = false;
    QString FactoryRecordSuffix;
    QString ProgramPassword;
    bool PasswordAccepted = false;
    QString SqlDateFormat;

    // Instrument defaults and gas table.
    clsInstrument DefaultSettings;
    std::array<bool, 2> GasLocked{};
    std::array<float, kGasSlots> FactAutoCal{};
    std::array<float, kGasSlots> CalibRange{};
    GasTable ChgGasTable{};
    qint16 CalUnitOnWait = 0;
    qint16 CalSpanOnWait = 0;
    qint16 CalSpanOffWait = 0;

    // Values of the main window and its graph that the settings file carries.
    MainWindowValues MainWindow;
    GraphColorValues GraphColor;
};

// The one instance.
ProgramState &Globals();

// The store's folders and switches as the program's variables hold them now, for the
// windows to hand to the decoders and stores.
StoreContext ProgramStoreContext();
// The link settings as the program's variables hold them now, for the window to hand to
// the link control.
LinkSettings ProgramLinkSettings();

// Start-up values set before the settings file is read; also run by the reset after a
// detector power-off, where its rules for zero values and print widths apply to the
// running program's values.
void InitSettings();

// The built-in entries of the selectable-gas table (CH4 and "HC "), replaced by the
// settings file's "ChgGas" lines.
void SetBuiltInGasTable();

// The values the program starts from before its settings file is read: the program
// folder, the built-in gas table, InitSettings and the link and trend-search defaults.
void SetStartupValues(const QString &appFolder);

} // namespace tq
