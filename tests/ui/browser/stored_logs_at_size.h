#pragma once

#include <QString>

namespace tq::test {

// Stored trend logs in number, as a deletion at size meets them.
struct StoredLogsAtSize {
    int trendLogs = 0;       // SeqNo 1 on: odd ones interval trends, even ones alarm trends
    int folders = 1;         // month folders they are spread over (MonthFolderOf)
    int firstSerialLogs = 0; // the first ones have serial number SN1, the others SN2
    int intervalSamples = 0; // Interval_Data rows of each interval trend (and 2 events)
    int alarmSamples = 0;    // Alarm_Data rows of each alarm trend
    int eventLogs = 0;       // alarm-event logs after them (of SN1), 3 events each
};

// The month folder ("mm/yy") of trend log seqNo.
QString MonthFolderOf(int seqNo, int folders);

// Makes the database and the Data folder with the trend files in folder (a program
// folder), every row and file with contents of its own.
void MakeStoredLogs(const QString &folder, const StoredLogsAtSize &size);

} // namespace tq::test
