#include "ui/main/lock_database.h"

#include "core/errors.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/browser/deletion_recovery.h"

#include <QDir>
#include <QFileInfo>

namespace tq {

namespace {

LockDatabaseResult failed(const QString &detail) {
    return {DatabaseLock::State::Failed, LoadMessage(301, {Globals().DataLocation}), detail};
}

} // namespace

QString JoinFolder(const QString &folder, const QString &name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

LockDatabaseResult LockDatabase(DatabaseLock &lock) {
    ProgramState &g = Globals();
    g.DataFolder = JoinFolder(g.DataLocation, QStringLiteral("Data"));
    g.DatabasePath = JoinFolder(g.DataLocation, QStringLiteral("TQ6200.mdb"));

    const QFileInfo dataFolder(g.DataFolder);
    if (!dataFolder.exists() && !QDir().mkdir(g.DataFolder))
        return failed(g.DataFolder + QStringLiteral(": cannot make the folder"));
    if (!QFileInfo(g.DataFolder).isDir())
        return failed(g.DataFolder + QStringLiteral(": not a folder"));

    switch (lock.Take(LockPathFor(g.DatabasePath))) {
    case DatabaseLock::State::Locked:
        break;
    case DatabaseLock::State::Held:
        return {DatabaseLock::State::Held,
                LoadMessage(300, {lock.HolderComputer(), lock.HolderUser()}),
                {}};
    default:
        return failed(lock.ErrorText());
    }

    try {
        CreateLogDatabase(g.DatabasePath);
    } catch (const TqError &e) {
        lock.Release();
        return failed(e.message());
    }
    // A deletion that was interrupted is finished or undone before anything reads the logs.
    // What cannot be settled now stays named in its journal for the next opening.
    try {
        RecoverDeletions(g.DatabasePath, g.DataFolder);
    } catch (const std::exception &) {
    }
    return {DatabaseLock::State::Locked, {}, {}};
}

} // namespace tq
