#include "ui/browser/deletion_journal.h"

#include "core/errors.h"
#include "core/messages.h"
#include "core/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace tq {

namespace {

// The lines of the file: its first line, then one line per entry.
const QString kFirstLine = QStringLiteral("TQ6200 deletion journal");
const QString kWholeFolder = QStringLiteral("every file of the data folder");
const QString kFile = QStringLiteral("file ");

// A rename is on disk only once its folder is: best effort, as a folder of a file system
// that cannot sync one still takes the rename.
void syncFolderOf(const QString &path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

[[noreturn]] void failed(int message, const QString &path, const QString &reason) {
    throw TqError(ErrorKind::File, LoadMessage(message, {QDir::toNativeSeparators(path), reason}));
}

} // namespace

QString DeletionJournalPath(const QString &databasePath) {
    return databasePath.chopped(4) + QStringLiteral(".DEL");
}

DeletionJournal ReadDeletionJournal(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return {};
        failed(30023, path, file.errorString());
    }
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (file.error() != QFileDevice::NoError)
        failed(30023, path, file.errorString());
    DeletionJournal journal;
    if (lines.value(0) != kFirstLine)
        return journal;
    for (const QString &line : lines) {
        if (line == kWholeFolder)
            journal.wholeFolder = true;
        else if (line.startsWith(kFile) && line.size() > kFile.size())
            journal.files << line.mid(kFile.size());
    }
    return journal;
}

void WriteDeletionJournal(const QString &path, const DeletionJournal &journal) {
    if (journal.isEmpty()) {
        QFile file(path);
        if (!file.remove() && (QFileInfo(path).exists() || QFileInfo(path).isSymLink()))
            failed(30020, path, file.errorString());
        return;
    }
    QStringList lines{kFirstLine};
    if (journal.wholeFolder)
        lines << kWholeFolder;
    for (const QString &file : journal.files)
        lines << kFile + file;
    try {
        WriteWholeFile(path, [&](QIODevice &device) {
            const QByteArray bytes = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
            if (device.write(bytes) != bytes.size())
                throw TqError(ErrorKind::File, device.errorString());
        });
    } catch (const TqError &error) {
        failed(30020, path, error.message());
    }
    syncFolderOf(path);
}

} // namespace tq
