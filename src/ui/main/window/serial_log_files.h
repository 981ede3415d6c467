#pragma once

#include "core/date.h"

#include <QString>

namespace tq {

// Earlier serial logs kept in the program folder: SerialLog1.log (newest) to SerialLog9.log.
inline constexpr int kSerialLogGenerations = 9;

// SerialLog.log (generation 0) or SerialLog<n>.log in `folder`.
QString SerialLogFile(const QString &folder, int generation = 0);

// Deletes the file when it exists and waits until the file system no longer lists it,
// at most `timeoutMs`. True when it is gone.
bool RemoveFileAndWait(const QString &path, int timeoutMs = 5000);

// Shifts the serial logs of `folder` one generation: SerialLog8.log becomes SerialLog9.log
// (the old generation 9 is lost only then), ..., SerialLog.log becomes SerialLog1.log.
// A missing generation is passed over. Throws TqError(File) when a file cannot be removed
// or renamed.
void RotateSerialLogs(const QString &folder);

// Moves SerialLog.log of `folder`, when there is one, into its "ErrorLogs" folder (made
// when missing) as SerialLog_yyyyMMdd_hhmmss.log of `now`; a name already taken within
// the same second gets "_2", "_3", ... before ".log". Returns the new path, empty when
// there was no serial log. Throws TqError(File) when the folder or the move fails.
QString SaveErrorLog(const QString &folder, const Date &now);

} // namespace tq
