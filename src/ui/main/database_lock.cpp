#include "ui/main/database_lock.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tq {

namespace {

// How often Take opens the path again when the file it locked was deleted meanwhile.
constexpr int kTakeAttempts = 5;
// More than two names can ever need.
constexpr qsizetype kHolderReadLimit = 4096;

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A write lock on the whole file, owned by the open file description.
int setWriteLock(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock);
}

// Whether fd is still the file that path names (a holder deletes it at its end).
bool isStillNamed(int fd, const QByteArray &path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

bool writeAll(int fd, const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

QString LockPathFor(const QString &databasePath) {
    return databasePath.left(databasePath.size() - 4) + QStringLiteral(".LCK");
}

DatabaseLock::~DatabaseLock() {
    Release();
    closeFile();
}

DatabaseLock::State DatabaseLock::Take(const QString &path) {
    Release();
    closeFile();
    m_path = path;
    m_holderComputer.clear();
    m_holderUser.clear();
    m_errorText.clear();
    const QByteArray native = QFile::encodeName(path);
    const QByteArray names = (QSysInfo::machineHostName() + QStringLiteral("\r\n") +
                              qEnvironmentVariable("USER") + QStringLiteral("\r\n"))
                                 .toUtf8();

    for (int attempt = 0; attempt < kTakeAttempts; ++attempt) {
        m_fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            return fail(QStringLiteral("cannot open: ") + systemError());
        if (setWriteLock(m_fd) != 0) {
            if (errno != EAGAIN && errno != EACCES)
                return fail(QStringLiteral("cannot lock: ") + systemError());
            readHolder();
            closeFile();
            return m_state = State::Held;
        }
        if (!isStillNamed(m_fd, native)) {
            closeFile(); // locked a file that its holder deleted meanwhile: open anew
            continue;
        }
        if (::ftruncate(m_fd, 0) != 0 || !writeAll(m_fd, names)) {
            const QString error = systemError();
            ::unlink(native.constData()); // ours: we hold the lock
            return fail(QStringLiteral("cannot write: ") + error);
        }
        return m_state = State::Locked;
    }
    return fail(QStringLiteral("the file keeps being replaced"));
}

void DatabaseLock::Release() {
    if (m_state != State::Locked)
        return;
    // Deleted while still locked, so no other copy can take the file we are removing.
    ::unlink(QFile::encodeName(m_path).constData());
    closeFile();
    m_state = State::Unlocked;
}

DatabaseLock::State DatabaseLock::fail(const QString &what) {
    m_errorText = m_path + QStringLiteral(": ") + what;
    closeFile();
    return m_state = State::Failed;
}

void DatabaseLock::readHolder() {
    QByteArray bytes(kHolderReadLimit, '\0');
    const ssize_t n = ::pread(m_fd, bytes.data(), size_t(bytes.size()), 0);
    bytes.truncate(n > 0 ? n : 0);
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    const auto line = [&](int i) {
        return i < lines.size() ? lines[i].chopped(lines[i].endsWith('\r') ? 1 : 0) : QString();
    };
    m_holderComputer = line(0);
    m_holderUser = line(1);
}

void DatabaseLock::closeFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace tq
