#pragma once

#include "core/database.h"
#include "logs/trend/log_header.h"

#include <QStringList>

#include <optional>

namespace tq {

// The Log_Head row with this SeqNo; nullopt when there is none.
std::optional<DbRow> QueryHeadRow(Database &db, qint64 seqNo);

// Reads the named Log_Head columns of row into the header and gas slot 0. A Null column
// gives its default: "Name None" for Names, now for Dates, the empty log date for Last,
// a blank identifier (so dashes), "00/00" for FolderID, 0 for Interval, Sampling, Dcount
// and LunchBreak, -101 for the range items and gas numbers, "" for gas Name and Unit,
// noDate() for MaxDate and MinDate, True for Enable. Identifiers pass through
// BlankToDashes. A column name this function does not know throws TqError(Database).
void ReadHeadColumns(const DbRow &row, const QStringList &columns, LogHeader &header, GasInfo &gas);

} // namespace tq
