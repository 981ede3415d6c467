#include "ui/browser/log_deletion.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "ui/browser/deletion_journal.h"
#include "ui/browser/deletion_recovery.h"
#include "ui/display/node_kind.h"

#include <QDir>

#include <functional>
#include <utility>

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

// The journal's files as the paths they name.
QStringList pathsOf(const QString &dataFolder, const QStringList &entries) {
    QStringList paths;
    for (const QString &entry : entries)
        paths << QDir::toNativeSeparators(QDir(dataFolder).filePath(entry));
    return paths;
}

// A deletion: inside one transaction that holds the database's write lock, `journalFiles`
// adds the trend files to remove to the journal, which is written before `deleteRows` deletes
// any row; after the commit the journal is finished, which removes the files.
DeletionOutcome deleteLogs(const QString &databasePath, const QString &dataFolder,
                           const std::function<void(Database &, DeletionJournal &)> &journalFiles,
                           const std::function<void(Database &)> &deleteRows) {
    const QString journalPath = DeletionJournalPath(databasePath);
    Database db(databasePath);
    // The commit reaches the disk before the first file goes, through a power failure too.
    db.execute(QStringLiteral("PRAGMA synchronous=FULL"));
    DeletionJournal earlier; // what an earlier deletion could not remove
    DeletionJournal journal;
    bool journaled = false;
    try {
        Transaction transaction(db, Transaction::Lock::Immediate);
        earlier = ReadDeletionJournal(journalPath);
        journal = earlier;
        journalFiles(db, journal);
        WriteDeletionJournal(journalPath, journal);
        journaled = true;
        deleteRows(db);
        transaction.commit();
    } catch (const std::exception &) {
        // Rolled back: nothing this deletion named is to go. Should the journal stay as it
        // is, the next opening keeps every file of a stored log all the same.
        try {
            if (journaled)
                WriteDeletionJournal(journalPath, earlier);
        } catch (const std::exception &) {
        }
        throw;
    }
    try {
        return {FinishDeletion(db, databasePath, dataFolder)};
    } catch (const std::exception &) {
        // The rows are gone and the journal stays: the next opening removes the files.
        return {pathsOf(dataFolder, journal.files)};
    }
}

DeletionOutcome deleteAll(const QString &databasePath, const QString &dataFolder) {
    // An empty path names the current folder, and any other folder is not ours to empty.
    if (!IsDataFolderBeside(databasePath, dataFolder))
        throw TqError(ErrorKind::File, LoadMessage(30024, {QDir::toNativeSeparators(dataFolder)}));
    const DeletionOutcome outcome = deleteLogs(
        databasePath, dataFolder,
        [](Database &, DeletionJournal &journal) { journal.wholeFolder = true; },
        [](Database &db) {
            db.execute(QStringLiteral("Delete From Log_head"));
            for (const QString &table : detailTables())
                db.execute(QStringLiteral("Delete From %1").arg(table));
        });
    // A data folder that cannot be made again is made by the next log that needs it.
    QDir().mkpath(dataFolder);
    return outcome;
}

DeletionOutcome deleteSelection(const QString &databasePath, const QString &dataFolder,
                                const NodeFilter &selection) {
    const auto journalFiles = [&](Database &db, DeletionJournal &journal) {
        // Without a data folder no trend file can be ours.
        if (dataFolder.isEmpty())
            return;
        const QList<DbRow> rows = db.query(
            QStringLiteral("Select FolderID, Names From Log_head Where (%1) And Types In (%2)")
                .arg(selection.sql, TrendLogTypesSql()),
            selection.params);
        for (const DbRow &row : rows)
            journal.files << TrendFileEntry(dataFolder, row.text(QStringLiteral("FolderID")),
                                            row.text(QStringLiteral("Names")));
    };
    const auto deleteRows = [&](Database &db) {
        // Detail rows go only with their head row (and its type, for a single log).
        for (const QString &table : detailTables())
            db.execute(QStringLiteral("Delete From %1 Where RelNo In (Select SeqNo From Log_head "
                                      "Where %2)")
                           .arg(table, selection.sql),
                       selection.params);
        db.execute(QStringLiteral("Delete From Log_head Where %1").arg(selection.sql),
                   selection.params);
    };
    return deleteLogs(databasePath, dataFolder, journalFiles, deleteRows);
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

DeletionOutcome DeleteStoredLogs(const QString &databasePath, const QString &dataFolder,
                                 const LogTree &tree, const QString &key) {
    const std::optional<DeletionKind> kind = DeletionKindOf(key);
    if (!kind)
        return {};
    if (kind->scope == DeletionScope::AllLogs)
        return deleteAll(databasePath, dataFolder);
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
    return deleteSelection(databasePath, dataFolder, selection);
}

QString DeletionFailureReason(const std::exception &error) {
    const auto *failure = dynamic_cast<const TqError *>(&error);
    // Other failures carry their words already (the journal's, the data folder's).
    if (!failure || failure->kind() != ErrorKind::Database)
        return ErrorText(error);
    const auto *database = dynamic_cast<const DatabaseError *>(&error);
    const DatabaseFault fault = database ? database->fault() : DatabaseFault::Other;
    static constexpr std::pair<DatabaseFault, int> reasons[] = {
        {DatabaseFault::Busy, 30013},    {DatabaseFault::ReadOnly, 30014},
        {DatabaseFault::Full, 30015},    {DatabaseFault::InputOutput, 30016},
        {DatabaseFault::Corrupt, 30017}, {DatabaseFault::CannotOpen, 30018},
    };
    for (const auto &[known, message] : reasons)
        if (known == fault)
            return LoadMessage(message);
    return LoadMessage(30019);
}

} // namespace tq
