#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace tq {

// The test for a copy of the program already running for this user: a lock file in
// XDG_RUNTIME_DIR (the temporary folder when unset). A copy that was killed leaves a lock
// that the next start recognises as stale and takes over.
class SingleInstance {
public:
    SingleInstance();
    // False when another running copy holds the lock; otherwise this copy holds it until
    // destroyed (or, where no lock file can be made at all, runs without one).
    bool TryStart();

    static QString LockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace tq
