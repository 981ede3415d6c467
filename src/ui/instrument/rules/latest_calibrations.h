#pragma once

#include "core/date.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace tq {

// One row of cLatestHist: a detector's latest calibration as last read from it.
struct LatestCalibration {
    QString SerialNo;
    QString UserID;
    QString StationID;
    Date WriteDates;
    qint16 CalLimit = 0;
    QString Gas1Name;
    qint16 Gas1Point = 0;
    bool Gas1Enable = false;
    Date Gas1CalDate;
    float Gas1Before = 0;
    float Gas1After = 0;
    float Gas1AutoCal = 0;
};

// Every row, newest download first. Throws TqError(Database).
QList<LatestCalibration> ReadLatestCalibrations(const QString &databasePath);
// Deletes the one row of that serial number, user and station ID (as stored). Throws
// TqError(Database).
void DeleteLatestCalibration(const QString &databasePath, const LatestCalibration &entry);

// The three views of the Last Calibration page.
enum class LatestCalView { NeedCalibration = 0, CalibrationDate = 1, CalibrationRecord = 2 };

// The highlight of a list cell.
enum class ListMark { None, Red, Orange, StaleDownload };

struct LatestCalRow {
    int entry = 0; // index of the entry in the list read
    QStringList cells;
    std::array<ListMark, 9> marks{};
};

struct LatestCalList {
    QStringList headings;
    QList<LatestCalRow> rows;
};

// The rows a view shows of the entries (newest first): Need Calibration only the entries
// whose calibration is due (numbered by their place in the whole list), Calibration Date
// every entry with its calibration and download dates, Calibration Record every entry
// with its readings and due text. An empty entry list has the record headings in that
// view and none in the others.
LatestCalList BuildLatestCalList(const QList<LatestCalibration> &entries, LatestCalView view,
                                 qint16 limitDays, const Date &now);

} // namespace tq
