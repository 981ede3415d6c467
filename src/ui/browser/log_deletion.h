#pragma once

#include "ui/browser/log_tree.h"

#include <QString>
#include <QStringList>

#include <exception>
#include <optional>

namespace tq {

// What one Delete command removes, by the letter of the key it was opened on.
enum class DeletionScope {
    AllLogs, // the root
    Folder,  // a grouping node or a type folder: every log below it
    OneLog,  // a stored log of the list
};

// The scope of a key with its question and the question's title (message ids); none for a
// key whose letter deletes nothing.
struct DeletionKind {
    DeletionScope scope;
    int question;
    int title;
};
std::optional<DeletionKind> DeletionKindOf(const QString &key);

// What a deletion that took place left behind: files it could not remove (the rows of
// their logs are gone), and trend files outside the data folder, which it leaves alone.
struct DeletionOutcome {
    QStringList leftFiles;
};

// Deletes the stored logs of `key` (a key of `tree`, or a stored log's "SeqNo letter")
// from the database at databasePath and their trend files under dataFolder, so that an
// interruption at any moment leaves each log whole or gone once the program folder is
// opened again (RecoverDeletions): the trend files to remove are written into the deletion
// journal beside the database first, every row goes in one transaction (which waits up to
// the busy timeout for the database), and the files are removed once it has committed
// (FinishDeletion). Only paths that resolve inside dataFolder are removed; links are removed
// as links. Deleting every log empties dataFolder, a link to a folder staying the link, and
// refuses unless dataFolder is the "Data" folder beside the database; without a dataFolder
// no file is touched. The table cLatestHist is never touched. Throws TqError when nothing
// was deleted; a key whose letter deletes nothing deletes nothing.
DeletionOutcome DeleteStoredLogs(const QString &databasePath, const QString &dataFolder,
                                 const LogTree &tree, const QString &key);

// Why a deletion failed, in words for the person (the database's fault, never its SQL).
QString DeletionFailureReason(const std::exception &error);

} // namespace tq
