#include "app/single_instance.h"

#include <QDir>
#include <QFileInfo>

namespace tq {

SingleInstance::SingleInstance() : m_lock(std::make_unique<QLockFile>(LockPath())) {
    // Only a dead holder makes the lock stale, never its age.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::TryStart() {
    QDir().mkpath(QFileInfo(LockPath()).absolutePath());
    // Only a lock held by a running copy refuses the start; a folder that cannot hold the
    // lock file is no other copy.
    return m_lock->tryLock(0) || m_lock->error() != QLockFile::LockFailedError;
}

QString SingleInstance::LockPath() {
    const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!folder.isEmpty())
        return QDir(folder).filePath(QStringLiteral("tq6200.instance.lock"));
    // The temporary folder is shared by every user: the name keeps each user's own.
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("tq6200-%1.instance.lock").arg(qEnvironmentVariable("USER")));
}

} // namespace tq
