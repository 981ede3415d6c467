#pragma once

#include "ui/main/database_lock.h"

#include <QString>

namespace tq {

// What the database step of the start-up found.
struct LockDatabaseResult {
    DatabaseLock::State state = DatabaseLock::State::Unlocked;
    // For the user: message 300 with the holder's names when another copy holds the
    // database, message 301 with the data location when something could not be made;
    // empty when locked.
    QString message;
    // Failed: what exactly could not be made (for a log or a console).
    QString detail;
};

// A file name joined to a folder with one "/" between them.
QString JoinFolder(const QString &folder, const QString &name);

// The database step of the start-up, run after the settings file is read: sets DataFolder
// and DatabasePath from DataLocation, makes the data folder (one level: DataLocation must
// exist), takes the lock file beside the database with lock, and creates the database when
// it is missing, then finishes or undoes a deletion that was interrupted (RecoverDeletions).
// The database is made only under the lock, so a refused copy touches nothing. Anything that cannot
// be made is Failed (never a run without a lock); the lock is released again when the database
// cannot be made. Never throws.
LockDatabaseResult LockDatabase(DatabaseLock &lock);

} // namespace tq
