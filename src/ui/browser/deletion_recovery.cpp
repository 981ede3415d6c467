#include "ui/browser/deletion_recovery.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "logs/trend/trend_file.h"
#include "ui/browser/deletion_journal.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace tq {

namespace {

constexpr QDir::Filters kEveryEntry =
    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool existsOrLink(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Removes a file or a link (never what it points to); true when nothing is left there.
bool removeFile(const QString &path) {
    return QFile::remove(path) || !existsOrLink(path);
}

QString cleanAbsolute(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList native(QStringList paths) {
    for (QString &path : paths)
        path = QDir::toNativeSeparators(path);
    return paths;
}

// Tells whether the folder that holds a path is, with every link resolved, the data folder
// or inside it. Each folder is resolved once.
class Confinement {
public:
    explicit Confinement(const QString &root) : m_root(QFileInfo(root).canonicalFilePath()) {}

    bool contains(const QString &path) {
        const QString folder = QFileInfo(path).absolutePath();
        auto known = m_folders.find(folder);
        if (known == m_folders.end()) {
            const QString canonical = QFileInfo(folder).canonicalFilePath();
            known = m_folders.insert(folder, !m_root.isEmpty() && !canonical.isEmpty() &&
                                                 (canonical == m_root ||
                                                  canonical.startsWith(m_root + QLatin1Char('/'))));
        }
        return *known;
    }

private:
    QString m_root;
    QHash<QString, bool> m_folders;
};

// The trend files that stored logs refer to, as paths under the data folder (cleaned, as
// TrendFilePath makes them from a head row). Read month folder by month folder as they are
// asked for, or every head at once.
class StoredTrendFiles {
public:
    StoredTrendFiles(Database &db, const QString &data) : m_db(db), m_data(data) {}

    // Whether a stored log refers to the file at path.
    bool refersTo(const QString &path) {
        const QString folder = QFileInfo(path).path();
        if (!m_all && !m_folders.contains(folder))
            readFolder(folder);
        return m_files.contains(path);
    }
    // Whether path is a stored log's file, or a folder or a link on the way to one.
    bool leadsTo(const QString &path) {
        readAll();
        return m_files.contains(path) || m_ways.contains(path);
    }

private:
    void readFolder(const QString &folder) {
        m_folders.insert(folder);
        const QStringList parts = folder.mid(m_data.size() + 1).split(QLatin1Char('/'));
        // A month folder "yy/mm" holds the files of FolderIDs "mm/yy". The names in paths have
        // "_" for characters that cannot be in a name, and Like takes "_" for any character,
        // so this finds at least every log of the folder; the paths decide. A folder of
        // another form can only come from an odd FolderID: every head is read then.
        if (!folder.startsWith(m_data + QLatin1Char('/')) || parts.size() != 2) {
            readAll();
            return;
        }
        read(QStringLiteral("And (typeof(FolderID) <> 'text' Or (substr(FolderID, 1, 2) Like ? "
                            "And substr(FolderID, -2) Like ?))"),
             {parts[1], parts[0]});
    }
    void readAll() {
        if (m_all)
            return;
        m_all = true;
        read({}, {});
    }
    void read(const QString &condition, const QVariantList &params) {
        const QList<DbRow> rows =
            m_db.query(QStringLiteral("Select FolderID, Names From Log_head Where Types In (%1) %2")
                           .arg(TrendLogTypesSql(), condition),
                       params);
        for (const DbRow &row : rows) {
            const QString path = QDir::cleanPath(TrendFilePath(
                m_data, row.text(QStringLiteral("FolderID")), row.text(QStringLiteral("Names"))));
            m_files.insert(path);
            for (qsizetype slash = path.lastIndexOf(QLatin1Char('/')); slash > m_data.size();
                 slash = path.lastIndexOf(QLatin1Char('/'), slash - 1))
                m_ways.insert(path.left(slash));
        }
    }

    Database &m_db;
    QString m_data;
    bool m_all = false;
    QSet<QString> m_folders; // month folders read
    QSet<QString> m_files;
    QSet<QString> m_ways; // folders that hold a stored log's file, below the data folder
};

// Empties a folder of everything no stored log needs: files and links go (a link is never
// followed), folders are emptied and go when nothing is left in them. What cannot be
// removed is added to left.
void emptyFolder(const QString &folder, StoredTrendFiles &stored, QStringList &left) {
    for (const QFileInfo &entry : QDir(folder).entryInfoList(kEveryEntry, QDir::NoSort)) {
        const QString path = entry.filePath();
        if (entry.isDir() && !entry.isSymLink()) {
            emptyFolder(path, stored, left);
            QDir().rmdir(path);
        } else if (!stored.leadsTo(path) && !removeFile(path)) {
            left << path;
        }
    }
}

bool isEmptyOrMissing(const QString &folder) {
    const QFileInfo info(folder);
    if (!existsOrLink(folder))
        return true;
    return info.isDir() && !info.isSymLink() && QDir(folder).isEmpty(kEveryEntry);
}

// The files below a folder (followed when the folder itself is a link, never below it).
QStringList filesUnder(const QString &folder, const QStringList &nameFilters = {}) {
    QStringList files;
    QDirIterator it(folder, nameFilters, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

// A file set aside under `aside` goes back to `original` when a stored log refers to that
// path and nothing took it meanwhile; otherwise it goes. What stays is added to left.
void settleAside(const QString &aside, const QString &original, StoredTrendFiles &stored,
                 QStringList &left) {
    if (stored.refersTo(original) && !existsOrLink(original)) {
        QDir().mkpath(QFileInfo(original).path());
        if (QFile::rename(aside, original))
            return;
    }
    if (!removeFile(aside))
        left << aside;
}

// Earlier versions moved each trend file aside as NAME.Dat.deleting (a number may follow)
// while the rows of its log were deleted.
void settleAsideFiles(const QString &data, StoredTrendFiles &stored, QStringList &left) {
    static const QRegularExpression asideName(QStringLiteral("^(.+)\\.deleting\\d*$"));
    for (const QString &aside : filesUnder(data, {QStringLiteral("*.deleting*")})) {
        const QFileInfo info(aside);
        const QRegularExpressionMatch match = asideName.match(info.fileName());
        if (match.hasMatch())
            settleAside(aside, info.path() + QLatin1Char('/') + match.captured(1), stored, left);
    }
}

// Earlier versions moved the whole data folder (or the link that stands for it) aside as
// Data.deleting (a number may follow) and made a new one, to delete every log. A data
// folder still empty takes it back whole, and the journal then removes what no stored log
// needs; one that later logs have filled takes back the files stored logs refer to, and the
// rest goes.
void settleAsideDataFolders(const QString &data, const QString &journalPath,
                            DeletionJournal &journal, StoredTrendFiles &stored, QStringList &left) {
    const QFileInfo info(data);
    const QDir beside = info.dir();
    const QRegularExpression asideName(
        QStringLiteral("^%1\\.deleting\\d*$").arg(QRegularExpression::escape(info.fileName())));
    for (const QString &name :
         beside.entryList({info.fileName() + QStringLiteral(".deleting*")}, kEveryEntry)) {
        if (!asideName.match(name).hasMatch())
            continue;
        const QString aside = beside.filePath(name);
        if (isEmptyOrMissing(data)) {
            // On disk first: the next opening finishes it if this one is interrupted.
            journal.wholeFolder = true;
            WriteDeletionJournal(journalPath, journal);
            QDir().rmdir(data);
            if (QFile::rename(aside, data))
                continue;
        }
        for (const QString &file : filesUnder(aside))
            settleAside(file, data + file.mid(aside.size()), stored, left);
        const bool removed =
            QFileInfo(aside).isSymLink() ? QFile::remove(aside) : QDir(aside).removeRecursively();
        if (!removed)
            left << aside;
    }
}

// Removes what the journal names, as FinishDeletion says, and leaves in it what could not be
// removed. Returns the files left.
QStringList finish(const QString &journalPath, const QString &data, bool mayEmptyData,
                   const DeletionJournal &journal, StoredTrendFiles &stored) {
    QStringList left;
    DeletionJournal rest;
    if (journal.wholeFolder && mayEmptyData)
        emptyFolder(data, stored, left);
    else
        rest.wholeFolder = journal.wholeFolder;
    QStringList outside;
    Confinement confinement(data);
    for (const QString &entry : journal.files) {
        const QString path = QDir::cleanPath(data + QLatin1Char('/') + entry);
        if (stored.refersTo(path))
            continue;
        if (!confinement.contains(path)) {
            if (existsOrLink(path))
                outside << path;
        } else if (!removeFile(path)) {
            left << path;
        }
    }
    for (const QString &path : left)
        rest.files << path.mid(data.size() + 1);
    try {
        WriteDeletionJournal(journalPath, rest);
    } catch (const TqError &) {
        // Kept as it was: the next opening finishes it again.
    }
    return native(left + outside);
}

} // namespace

const QString &TrendLogTypesSql() {
    static const QString types = QStringLiteral("%1, %2, %3")
                                     .arg(int(LogType::IntervalTrend))
                                     .arg(int(LogType::AlarmTrend))
                                     .arg(int(LogType::BarHoleTrend));
    return types;
}

bool IsDataFolderBeside(const QString &databasePath, const QString &dataFolder) {
    if (dataFolder.isEmpty() || databasePath.isEmpty())
        return false;
    return cleanAbsolute(dataFolder) ==
           QDir::cleanPath(QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("Data")));
}

QString TrendFileEntry(const QString &dataFolder, const QString &folderId, const QString &names) {
    const QString data = cleanAbsolute(dataFolder);
    return QDir::cleanPath(TrendFilePath(data, folderId, names)).mid(data.size() + 1);
}

QStringList FinishDeletion(Database &db, const QString &databasePath, const QString &dataFolder) {
    if (dataFolder.isEmpty())
        return {};
    const QString data = cleanAbsolute(dataFolder);
    const QString journalPath = DeletionJournalPath(databasePath);
    StoredTrendFiles stored(db, data);
    return finish(journalPath, data, IsDataFolderBeside(databasePath, dataFolder),
                  ReadDeletionJournal(journalPath), stored);
}

QStringList RecoverDeletions(const QString &databasePath, const QString &dataFolder) {
    if (dataFolder.isEmpty())
        return {};
    const QString data = cleanAbsolute(dataFolder);
    const QString journalPath = DeletionJournalPath(databasePath);
    Database db(databasePath);
    StoredTrendFiles stored(db, data);
    DeletionJournal journal = ReadDeletionJournal(journalPath);
    QStringList left;
    settleAsideDataFolders(data, journalPath, journal, stored, left);
    settleAsideFiles(data, stored, left);
    return native(left) +
           finish(journalPath, data, IsDataFolderBeside(databasePath, dataFolder), journal, stored);
}

} // namespace tq
