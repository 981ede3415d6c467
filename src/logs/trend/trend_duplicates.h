#pragma once

#include "core/log_schema.h"
#include "logs/trend/log_header.h"

namespace tq {

class Database;

// Whether Log_Head already holds the log of this header and type: a stored log of the same
// type with the same start (alarm) time to the second, user, station and serial number.
// The values are bound, so identifiers with quotes are found like any other.
bool IsTrendStored(Database &db, const LogHeader &header, LogType type);

} // namespace tq
