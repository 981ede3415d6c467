#include "ui/browser/log_tree.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/messages.h"
#include "ui/display/node_kind.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <map>
#include <set>

namespace tq {

namespace {

struct Level {
    const char *column;
    IdFieldKind kind;
    const char *letter;
};

constexpr Level kSerial{"SerialNo", IdFieldKind::Serial, "S"};
constexpr Level kStation{"StationID", IdFieldKind::Station, "T"};
constexpr Level kUser{"UserID", IdFieldKind::User, "U"};
constexpr Level kFolder{"FolderID", IdFieldKind::Folder, "M"};

std::vector<Level> levelsOf(const TreeGrouping &grouping) {
    std::vector<Level> levels;
    if (grouping.serial)
        levels.push_back(kSerial);
    if (grouping.station)
        levels.push_back(kStation);
    if (grouping.user)
        levels.push_back(kUser);
    levels.push_back(kFolder);
    return levels;
}

// Letter case as the schema ignores it (SQLite's NOCASE folds ASCII letters only).
QString foldCase(const QString &text) {
    QString folded = text;
    for (QChar &c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return folded;
}

// Folders "mm/yy" sort by year, then month; anything else after them, by its text.
QString sortKey(const Level &level, const QString &text) {
    if (level.kind == IdFieldKind::Folder) {
        static const QRegularExpression monthYear(QStringLiteral("^(\\d\\d)/(\\d\\d)$"));
        const auto match = monthYear.match(text);
        if (match.hasMatch())
            return QLatin1Char('0') + match.captured(2) + match.captured(1);
        return QLatin1Char('1') + foldCase(text);
    }
    return foldCase(text);
}

// The stored values of one grouping node and what lies below it.
struct Group {
    QString label;
    QVariantList values;
    bool includesNull = false;
    std::map<QString, Group> children; // by sort key
    std::set<int> types;               // of a folder node
};

void addValue(Group &group, const QVariant &value, const QString &label) {
    if (group.label.isNull() || label < group.label)
        group.label = label;
    if (value.isNull()) {
        group.includesNull = true;
        return;
    }
    // A blob never equals a text in SQLite, so "AB" and X'4142' are two values to bind.
    const auto same = [&value](const QVariant &known) {
        return known.metaType() == value.metaType() && known == value;
    };
    if (std::none_of(group.values.cbegin(), group.values.cend(), same))
        group.values.append(value);
}

QString valuesFilter(const LogTreeNode &node, QVariantList &params) {
    QString values;
    for (const QVariant &value : node.values) {
        values += values.isEmpty() ? QStringLiteral("?") : QStringLiteral(", ?");
        params.append(value);
    }
    const QString column = node.column;
    if (node.values.isEmpty())
        return column + QStringLiteral(" Is Null");
    const QString equal = node.values.size() == 1 ? column + QStringLiteral(" = ?")
                                                  : column + QStringLiteral(" In (%1)").arg(values);
    return node.includesNull ? QStringLiteral("(%1 Is Null Or %2)").arg(column, equal) : equal;
}

} // namespace

LogTree::LogTree() {
    LogTreeNode root;
    root.key = QStringLiteral("0 #");
    root.letter = QStringLiteral("#");
    add(-1, std::move(root));
}

int LogTree::add(int parent, LogTreeNode node) {
    const int index = int(m_nodes.size());
    node.parent = parent;
    m_byKey.insert(node.key, index);
    m_nodes.push_back(std::move(node));
    if (parent >= 0)
        m_nodes[std::size_t(parent)].children.push_back(index);
    return index;
}

LogTree LogTree::Build(Database &db, const TreeGrouping &grouping, const QString &rootText) {
    const std::vector<Level> levels = levelsOf(grouping);
    // Every stored spelling once (BINARY: the columns themselves ignore letter case).
    QStringList columns;
    for (const Level &level : levels)
        columns << QStringLiteral("%1 Collate Binary As %1").arg(QLatin1String(level.column));
    columns << QStringLiteral("Types");
    const QList<DbRow> rows = db.query(
        QStringLiteral("Select Distinct %1 From Log_head").arg(columns.join(QStringLiteral(", "))));

    Group top;
    for (const DbRow &row : rows) {
        Group *group = &top;
        for (const Level &level : levels) {
            const QVariant value = row.value(QLatin1String(level.column));
            const QString label = BlankToDashes(value.toString(), level.kind);
            group = &group->children[sortKey(level, label)];
            addValue(*group, value, label);
        }
        group->types.insert(int(row.integer(QStringLiteral("Types"))));
    }

    LogTree tree;
    tree.m_nodes.front().text = rootText;
    QSet<QString> used{tree.m_nodes.front().key};
    const auto uniqueKey = [&used](const QString &base, const QString &letter) {
        QString key = base + QLatin1Char(' ') + letter;
        for (int n = 2; used.contains(key); ++n)
            key = base + QLatin1Char('|') + QString::number(n) + QLatin1Char(' ') + letter;
        used.insert(key);
        return key;
    };
    const auto addGroups = [&](const auto &self, int parent, const Group &group, std::size_t depth,
                               const QString &prefix) -> void {
        const Level &level = levels[depth];
        for (const auto &[sort, child] : group.children) {
            LogTreeNode node;
            node.text = child.label;
            node.letter = QLatin1String(level.letter);
            node.key = uniqueKey(prefix + child.label, node.letter);
            node.column = QLatin1String(level.column);
            node.values = child.values;
            node.includesNull = child.includesNull;
            const QString childPrefix = DropLastTwo(node.key);
            const int index = tree.add(parent, std::move(node));
            if (depth + 1 < levels.size()) {
                self(self, index, child, depth + 1, childPrefix);
                continue;
            }
            for (const LogTypeKind &kind : LogTypeKinds()) {
                if (!child.types.count(int(kind.type)) ||
                    (kind.type == LogType::PowerEvents && !grouping.showPowerEvents))
                    continue;
                LogTreeNode folder;
                folder.letter = QString(kind.folder);
                folder.key = uniqueKey(childPrefix, folder.letter);
                folder.text = LoadMessage(kind.caption);
                folder.type = int(kind.type);
                tree.add(index, std::move(folder));
            }
        }
    };
    addGroups(addGroups, 0, top, 0, QString());
    return tree;
}

int LogTree::find(const QString &key) const {
    return m_byKey.value(key, -1);
}

int LogTree::nodeOf(const QString &key) const {
    const int index = find(key);
    if (index < 0)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("No node of the log tree has the key \"%1\"").arg(key));
    return index;
}

NodeFilter LogTree::filterOf(const QString &key) const {
    NodeFilter filter;
    QStringList conditions;
    for (int index = nodeOf(key); index > 0; index = node(index).parent) {
        const LogTreeNode &n = node(index);
        if (n.type) {
            conditions << QStringLiteral("Types = ?");
            filter.params.append(n.type);
        } else {
            conditions << valuesFilter(n, filter.params);
        }
    }
    filter.sql = conditions.join(QStringLiteral(" And "));
    return filter;
}

QString LogTree::BuildNodeWhere(const QString &key) const {
    QStringList conditions;
    for (int index = nodeOf(key); index > 0; index = node(index).parent) {
        const LogTreeNode &n = node(index);
        if (n.type) {
            conditions << QStringLiteral("Types=%1").arg(n.type);
            continue;
        }
        QString text = n.text;
        conditions << (text.isEmpty() ? n.column + QStringLiteral("=NULL")
                                      : QStringLiteral("%1='%2'").arg(
                                            n.column, text.replace(u'\'', QStringLiteral("''"))));
    }
    return conditions.join(QStringLiteral(" And "));
}

} // namespace tq
