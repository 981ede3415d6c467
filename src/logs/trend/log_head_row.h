#pragma once

#include "core/database.h"
#include "core/log_schema.h"
#include "logs/trend/log_header.h"

#include <QString>

namespace tq {

// Texts that the head and detail rows store as one blank when empty.
QString BlankWhenEmpty(const QString &text);

// Inserts the Log_Head row of a log: its header and gas slot 0, with identifiers through
// BlankToDashes. withLast: whether the log has an end date to store (an alarm trend has
// none and leaves Last empty).
void InsertLogHead(Database &db, qint64 key, const LogHeader &header, const GasInfo &gas,
                   LogType type, qint32 romNumber, bool withLast = true);

} // namespace tq
