#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tq {

class Database;
class LogTree;

// One row of the log list: its key (a tree key, or a stored log's "SeqNo letter"), the
// texts of its columns and the key of its icon.
struct LogListRow {
    QString key;
    QStringList columns;
    QString icon;
};

// What the log list shows for a tree node.
struct LogListing {
    enum class Kind {
        Folders, // a grouping node's children
        Logs,    // a type folder's stored logs
        None,    // a key of any other letter: the list keeps what it shows
    };
    Kind kind = Kind::None;
    QStringList headings;
    QList<LogListRow> rows;
    // A type folder whose query found no log at all (rows may also be empty when every
    // log found was left out).
    bool noneFound = false;
};

// The listing of the node with `key`: the children of a grouping node in the tree's order,
// or the stored logs of a type folder by name (letter case ignored), then by SeqNo. Alarm
// trends sampled in sampling mode (Sampling 2 or Null) and interval trends of another
// Sampling are left out. Throws TqError for a key that names no node of the tree and when
// the database cannot be read.
LogListing ListNode(Database &db, const LogTree &tree, const QString &key);

} // namespace tq
