#pragma once

#include "logs/events/gas_event_log.h"

namespace tq {

// The trouble events of one flash-image block (area 0x60000..0x6FFFF), stored under the
// instrument's "Trouble Events" head (Log_Head Types 6) with one Trouble_Event row per
// entry; gas number 15 is the detector body ("Body").
class clsTroubleEvent : public GasEventLog {
public:
    clsTroubleEvent();

    // The entry time as Dates, but the date value 0 outside 0..1023.
    Date DateTimes(qint32 index) const { return reachable(index) ? Dates(index) : Date(0.0); }
    void setDateTimes(qint32 index, const Date &value) { setDates(index, value); }
    // 1024 for 1024 or more; a negative count is kept as it is.
    void setDataCount(qint16 count) { setBoundedDataCount(count); }

    // Text record lines, as the "C" lines of clsAlarmEvent with "D" codes.
    bool SetDataDD(const QString &vData, bool TestFlag) { return dateLine(vData, TestFlag); }
    bool SetDataD0(const QString &vData, bool TestFlag) { return eventLine(vData, TestFlag); }
    bool SetDataDC(const QString &vData, bool TestFlag) { return gasLine(vData, TestFlag); }
    bool SetDataDB(const QString &vData, bool TestFlag) { return serialLine(vData, TestFlag); }
};

} // namespace tq
