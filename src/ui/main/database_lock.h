#pragma once

#include <QString>

namespace tq {

// The lock file beside the log database: the path of the database without its last four
// characters, then ".LCK".
QString LockPathFor(const QString &databasePath);

// The lock file that lets one running copy of the program at a time work on a database.
//
// One descriptor stays open from Take to Release (or destruction). The whole file is
// write-locked before it is emptied and given this copy's computer (host) and user
// ($USER) names on two lines ended by CR LF, so another copy either finds it held or takes
// it whole, never half. The lock belongs to the open file, not to the process: a second
// object in the same process is refused like another copy, and closing some other
// descriptor of the file does not drop the lock.
class DatabaseLock {
public:
    enum class State {
        Unlocked, // not taken, or released
        Locked,   // this object holds the lock
        Held,     // another copy holds it: HolderComputer and HolderUser say who
        Failed,   // the file could not be made, locked or written: ErrorText says why
    };

    DatabaseLock() = default;
    ~DatabaseLock(); // releases a held lock
    DatabaseLock(const DatabaseLock &) = delete;
    DatabaseLock &operator=(const DatabaseLock &) = delete;

    // Takes the lock file at path (Take on a locked object releases its old file first).
    // Never throws; the state tells the outcome.
    State Take(const QString &path);
    // Deletes the file and closes it, when this object holds the lock; otherwise nothing.
    void Release();

    State state() const { return m_state; }
    bool isLocked() const { return m_state == State::Locked; }
    QString path() const { return m_path; }
    QString HolderComputer() const { return m_holderComputer; }
    QString HolderUser() const { return m_holderUser; }
    QString ErrorText() const { return m_errorText; }

private:
    State fail(const QString &what);
    void readHolder();
    void closeFile();

    int m_fd = -1;
    State m_state = State::Unlocked;
    QString m_path;
    QString m_holderComputer;
    QString m_holderUser;
    QString m_errorText;
};

} // namespace tq
