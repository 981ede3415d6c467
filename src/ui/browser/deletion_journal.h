#pragma once

#include <QString>
#include <QStringList>

namespace tq {

// What a deletion is about to remove from the data folder, written beside the database
// before any row goes, so that whatever interrupts the deletion, the next opening of the
// program folder can finish it (for the logs whose rows are gone) or undo it (for the logs
// that are still stored): nothing is moved aside, so undoing means keeping.
struct DeletionJournal {
    // The data folder's whole contents go (deleting every log).
    bool wholeFolder = false;
    // Trend files, relative to the data folder ("09/05/NAME.Dat").
    QStringList files;

    bool isEmpty() const { return !wholeFolder && files.isEmpty(); }
};

// The journal beside the database: its path without the last four characters, then ".DEL"
// (TQ6200.DEL beside TQ6200.mdb).
QString DeletionJournalPath(const QString &databasePath);

// The journal at path; an empty one when there is none. A file that does not begin with the
// journal's first line names nothing. Throws TqError(File) when it cannot be read.
DeletionJournal ReadDeletionJournal(const QString &path);

// Writes the journal whole (a temporary file renamed over the old one, synced with its
// folder, so it is on disk before any row is deleted), or removes the file when the journal
// is empty. Throws TqError(File) when it cannot.
void WriteDeletionJournal(const QString &path, const DeletionJournal &journal);

} // namespace tq
