#pragma once

#include "ui/browser/log_tree.h"

#include <QString>
#include <QStringList>

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

// The file operations of a deletion, so tests can make one of them fail.
class DeletionFiles {
public:
    virtual ~DeletionFiles() = default;
    // Renames a file, a link or a folder (never following a link); false when it failed.
    virtual bool rename(const QString &from, const QString &to);
    // Removes a file or a link; false when it failed.
    virtual bool remove(const QString &path);
    // Removes a folder with everything in it; links inside are removed, never followed.
    virtual bool removeFolder(const QString &path);
    virtual bool makeFolder(const QString &path);
};

// The production file operations.
DeletionFiles &DefaultDeletionFiles();

// What a deletion that took place left behind: files it could not remove (the rows of
// their logs are gone).
struct DeletionOutcome {
    QStringList leftFiles;
};

// Deletes the stored logs of `key` (a key of `tree`, or a stored log's "SeqNo letter")
// from the database at databasePath and their trend files under dataFolder, whole or not
// at all: every statement runs in one transaction, trend files are moved aside before it
// commits, back when it fails and removed after it. Only paths that resolve inside
// dataFolder are touched; links are removed as links. Deleting every log swaps dataFolder
// for an empty one and refuses unless dataFolder is the "Data" folder beside the database.
// The table cLatestHist is never touched. Throws TqError when nothing was deleted; a key
// whose letter deletes nothing deletes nothing.
DeletionOutcome DeleteStoredLogs(const QString &databasePath, const QString &dataFolder,
                                 const LogTree &tree, const QString &key,
                                 DeletionFiles &files = DefaultDeletionFiles());

} // namespace tq
