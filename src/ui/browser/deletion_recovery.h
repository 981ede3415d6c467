#pragma once

#include <QString>
#include <QStringList>

namespace tq {

class Database;

// The types of log that have a trend file, as an SQL list.
const QString &TrendLogTypesSql();

// Whether dataFolder is the "Data" folder beside the database: the only folder whose whole
// contents a deletion may remove.
bool IsDataFolderBeside(const QString &databasePath, const QString &dataFolder);

// The journal's entry for the trend file of a log: its path relative to the data folder.
QString TrendFileEntry(const QString &dataFolder, const QString &folderId, const QString &names);

// Finishes the deletion journal beside the database (DeletionJournalPath) on the open
// database db. A file it names is removed when no stored log refers to that path any more
// (its rows are gone) and kept when one does (its deletion did not commit, or a later log
// took the name); a file outside the data folder (through a link) is left alone. With its
// whole-folder entry, everything in the data folder that no stored log needs goes the same
// way (links removed, never followed), when dataFolder is the Data folder beside the
// database. The journal then names only what could not be removed, and goes when that is
// nothing. Returns the files left: not removed, or outside. Throws TqError when the
// database or the journal cannot be read; nothing is removed then.
QStringList FinishDeletion(Database &db, const QString &databasePath, const QString &dataFolder);

// What every opening of the program folder runs, under the database lock once the database
// exists: what earlier versions set aside while deleting (NAME.Dat.deleting in the data
// folder, a Data.deleting folder beside it) is put back where a stored log still refers to
// it and removed otherwise, then FinishDeletion. Returns the files left; throws as
// FinishDeletion does.
QStringList RecoverDeletions(const QString &databasePath, const QString &dataFolder);

} // namespace tq
