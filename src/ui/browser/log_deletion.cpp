#include "ui/browser/log_deletion.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/log_schema.h"
#include "logs/trend/trend_file.h"
#include "ui/display/node_kind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <vector>

namespace tq {

namespace {

// Every detail table of the log database: all but the head table and the latest-calibration
// list, which holds no log's rows.
const QStringList &detailTables() {
    static const QStringList tables = [] {
        QStringList all = LogTableNames();
        all.removeIf([](const QString &name) {
            return name.compare(QLatin1String("Log_head"), Qt::CaseInsensitive) == 0 ||
                   name.compare(QLatin1String("cLatestHist"), Qt::CaseInsensitive) == 0;
        });
        return all;
    }();
    return tables;
}

// The types whose logs have a trend file.
const QString kTrendTypes = QStringLiteral("%1, %2, %3")
                                .arg(int(LogType::IntervalTrend))
                                .arg(int(LogType::AlarmTrend))
                                .arg(int(LogType::BarHoleTrend));

bool existsOrLink(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
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

// A name beside path that nothing carries yet.
QString asideName(const QString &path) {
    QString aside = path + QStringLiteral(".deleting");
    for (int n = 2; existsOrLink(aside); ++n)
        aside = path + QStringLiteral(".deleting%1").arg(n);
    return aside;
}

// Files and folders moved aside while the transaction runs: put back by restore() or when
// the guard goes before release(), removed by release().
class AsideFiles {
public:
    explicit AsideFiles(DeletionFiles &files) : m_files(files) {}
    ~AsideFiles() { restore(); }
    AsideFiles(const AsideFiles &) = delete;
    AsideFiles &operator=(const AsideFiles &) = delete;

    // Throws TqError(File) when the path cannot be moved.
    void moveAside(const QString &path, bool folder) {
        const QString aside = asideName(path);
        if (!m_files.rename(path, aside))
            throw TqError(
                ErrorKind::File,
                QStringLiteral("%1 could not be moved aside").arg(QDir::toNativeSeparators(path)));
        m_moved.push_back({path, aside, folder});
    }
    // A folder made in place of one moved aside, removed again when the deletion fails.
    void madeFolder(const QString &path) { m_made.push_back(path); }

    // Removes what was moved aside; gives what could not be removed.
    QStringList release() {
        QStringList left;
        for (const Moved &moved : m_moved) {
            const bool removed =
                moved.folder ? m_files.removeFolder(moved.aside) : m_files.remove(moved.aside);
            if (!removed)
                left << QDir::toNativeSeparators(moved.aside);
        }
        m_moved.clear();
        m_made.clear();
        return left;
    }

    // Puts back what was moved aside; gives the names it is left under where that failed.
    QStringList restore() {
        for (const QString &made : m_made)
            QDir().rmdir(made);
        QStringList stuck;
        for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it)
            if (!m_files.rename(it->aside, it->path))
                stuck << QDir::toNativeSeparators(it->aside);
        m_moved.clear();
        m_made.clear();
        return stuck;
    }

private:
    struct Moved {
        QString path;
        QString aside;
        bool folder;
    };
    DeletionFiles &m_files;
    std::vector<Moved> m_moved;
    std::vector<QString> m_made;
};

// Runs a deletion's work; when it fails, what was moved aside is put back before the
// transaction rolls back, and anything that could not be put back is named with the failure.
template <typename Work> auto putBackOnFailure(AsideFiles &aside, Work work) {
    try {
        return work();
    } catch (const std::exception &error) {
        const QStringList stuck = aside.restore();
        if (stuck.isEmpty())
            throw;
        throw TqError(ErrorKind::File,
                      QStringLiteral("%1; left under: %2")
                          .arg(ErrorText(error), stuck.join(QStringLiteral(", "))));
    }
}

// Moves the trend files of the selected logs aside; gives the files that lie outside the
// data folder, which are left where they are.
QStringList moveTrendFilesAside(Database &db, const NodeFilter &selection,
                                const QString &dataFolder, AsideFiles &aside) {
    QStringList outside;
    Confinement confinement(dataFolder);
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select FolderID, Names From Log_head Where (%1) And Types In (%2)")
                     .arg(selection.sql, kTrendTypes),
                 selection.params);
    for (const DbRow &row : rows) {
        const QString path = TrendFilePath(dataFolder, row.text(QStringLiteral("FolderID")),
                                           row.text(QStringLiteral("Names")));
        if (!existsOrLink(path))
            continue; // a missing trend file is no error
        if (confinement.contains(path))
            aside.moveAside(path, false);
        else
            outside << QDir::toNativeSeparators(path);
    }
    return outside;
}

bool isDataFolderOf(const QString &databasePath, const QString &dataFolder) {
    if (dataFolder.isEmpty() || databasePath.isEmpty())
        return false;
    const QString expected =
        QDir::cleanPath(QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("Data")));
    return QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath()) == expected;
}

DeletionOutcome deleteAll(const QString &databasePath, const QString &dataFolder,
                          DeletionFiles &files) {
    // An empty path names the current folder, and any other folder is not ours to empty.
    if (!isDataFolderOf(databasePath, dataFolder))
        throw TqError(ErrorKind::File,
                      QStringLiteral("\"%1\" is not the Data folder beside the database")
                          .arg(QDir::toNativeSeparators(dataFolder)));
    Database db(databasePath);
    Transaction transaction(db);
    AsideFiles aside(files);
    return putBackOnFailure(aside, [&]() -> DeletionOutcome {
        if (existsOrLink(dataFolder))
            aside.moveAside(dataFolder, true);
        // A folder that cannot be made again leaves the trend files' folders to be made later.
        if (files.makeFolder(dataFolder))
            aside.madeFolder(dataFolder);
        db.execute(QStringLiteral("Delete From Log_head"));
        for (const QString &table : detailTables())
            db.execute(QStringLiteral("Delete From %1").arg(table));
        transaction.commit();
        return {aside.release()};
    });
}

DeletionOutcome deleteSelection(const QString &databasePath, const QString &dataFolder,
                                const NodeFilter &selection, DeletionFiles &files) {
    Database db(databasePath);
    Transaction transaction(db);
    AsideFiles aside(files);
    return putBackOnFailure(aside, [&]() -> DeletionOutcome {
        // Without a data folder no trend file can be ours.
        const QStringList outside = dataFolder.isEmpty()
                                        ? QStringList()
                                        : moveTrendFilesAside(db, selection, dataFolder, aside);
        // Detail rows go only with their head row (and its type, for a single log).
        for (const QString &table : detailTables())
            db.execute(QStringLiteral("Delete From %1 Where RelNo In (Select SeqNo From Log_head "
                                      "Where %2)")
                           .arg(table, selection.sql),
                       selection.params);
        db.execute(QStringLiteral("Delete From Log_head Where %1").arg(selection.sql),
                   selection.params);
        transaction.commit();
        return {outside + aside.release()};
    });
}

} // namespace

std::optional<DeletionKind> DeletionKindOf(const QString &key) {
    const QString letter = AfterLastBlank(key);
    if (key.isEmpty())
        return std::nullopt;
    if (letter == QLatin1String("#"))
        return DeletionKind{DeletionScope::AllLogs, 5317, 5318};
    if (IsGroupingLetter(letter) || KindOfFolder(letter))
        return DeletionKind{DeletionScope::Folder, 5339, 5340};
    if (KindOfLeaf(letter))
        return DeletionKind{DeletionScope::OneLog, 5327, 5328};
    return std::nullopt;
}

bool DeletionFiles::rename(const QString &from, const QString &to) {
    // rename(2) moves a link itself, and a folder whole.
    return QFile::rename(from, to);
}

bool DeletionFiles::remove(const QString &path) {
    return QFile::remove(path);
}

bool DeletionFiles::removeFolder(const QString &path) {
    // A link that stands for the whole folder is removed as a link.
    if (QFileInfo(path).isSymLink())
        return QFile::remove(path);
    return QDir(path).removeRecursively();
}

bool DeletionFiles::makeFolder(const QString &path) {
    return QDir().mkpath(path);
}

DeletionFiles &DefaultDeletionFiles() {
    static DeletionFiles files;
    return files;
}

DeletionOutcome DeleteStoredLogs(const QString &databasePath, const QString &dataFolder,
                                 const LogTree &tree, const QString &key, DeletionFiles &files) {
    const std::optional<DeletionKind> kind = DeletionKindOf(key);
    if (!kind)
        return {};
    if (kind->scope == DeletionScope::AllLogs)
        return deleteAll(databasePath, dataFolder, files);
    NodeFilter selection;
    if (kind->scope == DeletionScope::Folder) {
        selection = tree.filterOf(key);
    } else {
        const std::optional<qint64> seqNo = StoredLogSeqNo(key);
        if (!seqNo)
            return {};
        const LogType type = KindOfLeaf(AfterLastBlank(key))->type;
        selection = {QStringLiteral("SeqNo = ? And Types = ?"), {*seqNo, int(type)}};
    }
    return deleteSelection(databasePath, dataFolder, selection, files);
}

} // namespace tq
