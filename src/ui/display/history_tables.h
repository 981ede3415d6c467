#pragma once

namespace tq {

class FlexGrid;
class clsHistory;
class clsSnapShot;

// The record table of a loaded calibration history (two rows an entry: Before, After) or
// bump test (three: Test Result, Concentration, Judge), the rows of each entry shaded
// apart; a status word is left-aligned, a number followed by the gas's unit.
void FillHistoryTable(FlexGrid &table, const clsHistory &log, bool bumpTest);

// The record table of a loaded snapshot: its reading and, below it, its alarm status in the
// status's colour.
void FillSnapShotTable(FlexGrid &table, const clsSnapShot &log);

} // namespace tq
