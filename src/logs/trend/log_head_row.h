#pragma once

#include "core/database.h"
#include "core/log_schema.h"
#include "logs/trend/log_header.h"

#include <QString>

#include <optional>

namespace tq {

// Texts that the head and detail rows store as one blank when empty.
QString BlankWhenEmpty(const QString &text);

// The items of a Log_Head row that are not the header's numbers or the gas slot's: a trend
// log or snapshot takes them from its own header (HeadItemsOf), while an event or history
// log names, dates and files the head it shares with the instrument's other logs.
struct LogHeadItems {
    QString names;
    Date dates;
    std::optional<Date> last;    // Null when there is none
    std::optional<qint32> logNo; // Null when there is none
    QString userId;              // the identifiers as stored, in BlankToDashes form
    QString stationId;
    QString serialNo;
    QString folderId;
    qint32 sampling = 0;
};

// The items as the header gives them: Names and FolderID one blank when empty, identifiers
// through BlankToDashes. withLast: whether the log has an end date to store (an alarm trend
// has none and leaves Last empty).
LogHeadItems HeadItemsOf(const LogHeader &header, bool withLast = true);

// Inserts the Log_Head row key of a log: items, the header's numbers and gas slot 0.
void InsertLogHead(Database &db, qint64 key, const LogHeadItems &items, const LogHeader &header,
                   const GasInfo &gas, LogType type, qint32 romNumber);

// Inserts the Log_Head row of a log whose items all come from its header.
void InsertLogHead(Database &db, qint64 key, const LogHeader &header, const GasInfo &gas,
                   LogType type, qint32 romNumber, bool withLast = true);

} // namespace tq
