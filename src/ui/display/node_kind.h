#pragma once

#include "core/log_schema.h"

#include <QChar>
#include <QString>

#include <array>
#include <optional>

namespace tq {

// One log type as the tree and the list show it: the letter of its type folder, the
// letter of its stored logs, the folder's caption and the icon of its list rows.
struct LogTypeKind {
    QChar folder;
    QChar leaf;
    LogType type;
    int caption; // message id
    const char *icon;
};

// The log types in the order in which their folders stand below a folder node.
const std::array<LogTypeKind, 10> &LogTypeKinds();

// The kind whose folder letter, or whose stored-log letter, is `letter` (case counts:
// "A" is the alarm-trend folder, "a" a bar-hole trend); none for any other letter.
std::optional<LogTypeKind> KindOfFolder(const QString &letter);
std::optional<LogTypeKind> KindOfLeaf(const QString &letter);

// The SeqNo of a stored log's key (its number, a blank and its letter: "123 K"); none for
// any other key or a number that is none.
std::optional<qint64> StoredLogSeqNo(const QString &key);

// The grouping letters: "#" root, "S" serial number, "T" station, "U" user, "M" folder.
bool IsGroupingLetter(const QString &letter);

} // namespace tq
