#pragma once

#include "logs/events/gas_event_log.h"

namespace tq {

// The alarm events of one flash-image block (area 0x50000..0x5FFFF), stored under the
// instrument's "Alarm Events" head (Log_Head Types 5) with one Alarm_Event row per entry.
class clsAlarmEvent : public GasEventLog {
public:
    clsAlarmEvent();

    // Text record lines (the line after StripControlChars; the collection has checked the
    // record code and length). "CD": date and time of the log; an impossible one sets
    // Error and the line is still taken. "C1".."C4": entry 0 becomes that gas (from 1)
    // and status, "C0" is refused. "CC": the fourth and fifth gas, refused when it names
    // either (a log holds gas slots 0 and 1 only). "CB": serial number and entry count,
    // refused when the count is no number. With TestFlag nothing is stored but Error.
    bool SetDataBD(const QString &vData, bool TestFlag) { return dateLine(vData, TestFlag); }
    bool SetDataB0(const QString &vData, bool TestFlag) { return eventLine(vData, TestFlag); }
    bool SetDataBC(const QString &vData, bool TestFlag) { return gasLine(vData, TestFlag); }
    bool SetDataBB(const QString &vData, bool TestFlag) { return serialLine(vData, TestFlag); }
};

} // namespace tq
