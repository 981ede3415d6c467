#pragma once

#include "core/id_helpers.h"
#include "core/log_schema.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

namespace tq {

class Database;

// Which identifier levels the tree has (the grouping boxes) and whether power-event
// folders show.
struct TreeGrouping {
    bool serial = false;
    bool station = false;
    bool user = false;
    bool showPowerEvents = false;
};

// A condition on Log_head as SQL text with positional parameters; empty for no condition.
struct NodeFilter {
    QString sql;
    QVariantList params;
};

// One node of the log tree. A grouping node stands for every stored spelling of one value:
// the spellings that differ only in letter case or surrounding blanks, or, for the
// placeholder node, Null, an empty or blank value and the stored dashes.
struct LogTreeNode {
    QString key;
    QString text;
    QString letter;
    int parent = -1; // index of the parent node; -1 for the root
    std::vector<int> children;
    // A grouping node: the column and the exact values it stands for, as stored (a text, or
    // a blob that another program wrote), so binding them finds exactly those rows.
    QString column;
    QVariantList values;
    bool includesNull = false;
    // A type folder: its LogType.
    int type = 0;
};

// The log tree of the Data page, built from Log_head in one statement. Nodes are in
// pre-order; node 0 is the root "0 #".
class LogTree {
public:
    LogTree(); // the root alone
    // Throws TqError(Database) when Log_head cannot be read.
    static LogTree Build(Database &db, const TreeGrouping &grouping, const QString &rootText);

    const std::vector<LogTreeNode> &nodes() const { return m_nodes; }
    const LogTreeNode &node(int index) const { return m_nodes.at(std::size_t(index)); }
    // The node of the key; -1 when no node has it.
    int find(const QString &key) const;

    // The condition that selects the Log_head rows below the node, with every value
    // bound. Throws TqError(SubscriptOutOfRange) for a key that names no node.
    NodeFilter filterOf(const QString &key) const;
    // The same condition written out for people: "Types=1 And FolderID='05/09' And
    // SerialNo='A1234'", single quotes in values doubled; the empty text for the root.
    // Never run: the database gets filterOf().
    QString BuildNodeWhere(const QString &key) const;

private:
    int nodeOf(const QString &key) const;
    int add(int parent, LogTreeNode node);

    std::vector<LogTreeNode> m_nodes;
    QHash<QString, int> m_byKey;
};

} // namespace tq
