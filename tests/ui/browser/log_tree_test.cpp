#include "core/database.h"
#include "core/errors.h"
#include "core/messages.h"
#include "stored_logs.h"
#include "ui/browser/log_listing.h"
#include "ui/browser/log_tree.h"

#include <map>

namespace tq {
namespace {

using test::HeadRow;

// The tree in pre-order, one "depth|key|text|node filter" line per node.
QStringList treeLines(const LogTree &tree) {
    QStringList lines;
    for (const LogTreeNode &node : tree.nodes()) {
        int depth = 0;
        for (int p = node.parent; p >= 0; p = tree.node(p).parent)
            ++depth;
        lines << QStringLiteral("%1|%2|%3|%4")
                     .arg(depth)
                     .arg(node.key, node.text, tree.BuildNodeWhere(node.key));
    }
    return lines;
}

// Only "depth|key" of each line.
QStringList treeKeys(const LogTree &tree) {
    QStringList keys;
    for (const QString &line : treeLines(tree))
        keys << line.section(QLatin1Char('|'), 0, 1);
    return keys;
}

class LogTreeTest : public test::StoredLogsTest {
protected:
    LogTree build(const TreeGrouping &grouping) {
        return LogTree::Build(db(), grouping, LoadMessage(5107));
    }
    // The Names of the logs that a type folder lists.
    QStringList listed(const LogTree &tree, const QString &key) {
        QStringList names;
        for (const LogListRow &row : ListNode(db(), tree, key).rows)
            names << row.columns[0];
        names.sort();
        return names;
    }
};

TEST_F(LogTreeTest, ExampleTreeHasItsKeysTextsAndNodeFilters) {
    store({.seqNo = 57});
    const QStringList expected{
        QStringLiteral("0|0 #|%1|").arg(LoadMessage(5107)),
        QStringLiteral("1|A1234 S|A1234|SerialNo='A1234'"),
        QStringLiteral("2|A1234ST-01 T|ST-01|StationID='ST-01' And SerialNo='A1234'"),
        QStringLiteral("3|A1234ST-0105/09 M|05/09|FolderID='05/09' And StationID='ST-01' And "
                       "SerialNo='A1234'"),
        QStringLiteral("4|A1234ST-0105/09 I|%1|Types=1 And FolderID='05/09' And "
                       "StationID='ST-01' And SerialNo='A1234'")
            .arg(LoadMessage(5624)),
    };
    const LogTree tree = build({.serial = true, .station = true});
    EXPECT_EQ(treeLines(tree), expected);
    const QList<LogListRow> rows = ListNode(db(), tree, QStringLiteral("A1234ST-0105/09 I")).rows;
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].key, QStringLiteral("57 G"));
}

TEST_F(LogTreeTest, ShapesFollowBoxesOrdersAndPlaceholders) {
    struct Case {
        const char *name;
        std::vector<HeadRow> rows;
        TreeGrouping grouping;
        QStringList keys; // "depth|key" after the root
    };
    const QString dashes20(20, u'-');
    const QString dashes16(16, u'-');
    const std::vector<Case> cases{
        {"empty Log_head: the root alone", {}, {}, {}},
        {"no box: folders, type folders in their fixed order",
         {{.type = 2}, {.type = 1}, {.type = 9}},
         {},
         {"1|05/09 M", "2|05/09 I", "2|05/09 J", "2|05/09 A"}},
        {"station alone",
         {{}},
         {.station = true},
         {"1|ST-01 T", "2|ST-0105/09 M", "3|ST-0105/09 I"}},
        {"serial and user",
         {{}},
         {.serial = true, .user = true},
         {"1|A1234 S", "2|A1234U-1 U", "3|A1234U-105/09 M", "4|A1234U-105/09 I"}},
        {"all three boxes",
         {{}},
         {.serial = true, .station = true, .user = true},
         {"1|A1234 S", "2|A1234ST-01 T", "3|A1234ST-01U-1 U", "4|A1234ST-01U-105/09 M",
          "5|A1234ST-01U-105/09 I"}},
        {"one folder below two serial numbers",
         {{.serial = "B5678"}, {}},
         {.serial = true},
         {"1|A1234 S", "2|A123405/09 M", "3|A123405/09 I", "1|B5678 S", "2|B567805/09 M",
          "3|B567805/09 I"}},
        {"a folder of power events only is childless without -6200",
         {{.type = 7}},
         {},
         {"1|05/09 M"}},
        {"-6200: power events between trouble events and sensor changes",
         {{.type = 12}, {.type = 7}, {.type = 6}},
         {.showPowerEvents = true},
         {"1|05/09 M", "2|05/09 B", "2|05/09 R", "2|05/09 X"}},
        {"values sort ignoring case; folders by year, then month",
         {{.serial = "b2", .folder = "01/10"},
          {.serial = "A1", .folder = "12/09"},
          {.serial = "a0", .folder = "05/09"}},
         {.serial = true},
         {"1|a0 S", "2|a005/09 M", "3|a005/09 I", "1|A1 S", "2|A112/09 M", "3|A112/09 I", "1|b2 S",
          "2|b201/10 M", "3|b201/10 I"}},
        {"Null, empty, blank and stored dashes make one placeholder node each level",
         {{.serial = QVariant(),
           .station = QStringLiteral(""),
           .user = QVariant(),
           .folder = QVariant()},
          {.serial = QStringLiteral("   "),
           .station = dashes16,
           .user = QStringLiteral(" "),
           .folder = QStringLiteral("  ")},
          {.serial = dashes20,
           .station = QVariant(),
           .user = dashes16,
           .folder = QStringLiteral("")}},
         {.serial = true, .station = true, .user = true},
         {"1|" + dashes20 + " S", "2|" + dashes20 + dashes16 + " T",
          "3|" + dashes20 + dashes16 + dashes16 + " U",
          "4|" + dashes20 + dashes16 + dashes16 + "* M",
          "5|" + dashes20 + dashes16 + dashes16 + "* I"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db().execute(QStringLiteral("Delete From Log_head"));
        for (const HeadRow &row : c.rows)
            store(row);
        const LogTree tree = build(c.grouping);
        EXPECT_EQ(treeKeys(tree), QStringList{"0|0 #"} + c.keys);
        // Each stored log of a shown type is selected by exactly one type folder.
        std::map<int, int> selected;
        std::map<int, int> storedOfType;
        for (const LogTreeNode &node : tree.nodes()) {
            if (!node.type)
                continue;
            const NodeFilter filter = tree.filterOf(node.key);
            selected[node.type] +=
                db().scalar(QStringLiteral("Select Count(*) From Log_head Where ") + filter.sql,
                            filter.params)
                    .toInt();
        }
        for (const HeadRow &row : c.rows)
            if (row.type != 7 || c.grouping.showPowerEvents)
                ++storedOfType[row.type];
        EXPECT_EQ(selected, storedOfType);
    }
}

TEST_F(LogTreeTest, IdentifiersPeopleTypeGroupAndListExactlyTheirLogs) {
    // serial, station, the log's name; logs of one expected node share a "group" text.
    struct Stored {
        QVariant serial;
        QVariant station;
        const char *group; // serial label / station label of the node that lists the log
    };
    const QString blank16(16, u'-');
    const std::vector<Stored> stored{
        {"O'Hara", "ST", "O'Hara/ST"},
        {"o'hara", "st", "O'Hara/ST"},
        {"A,B", "ST", "A,B/ST"},
        {"50%_x", "ST", "50%_x/ST"},
        {"50abc_x", "ST", "50abc_x/ST"},
        {"Tank 'A'/2", "ST", "Tank 'A'/2/ST"},
        {" A1234", "ST", "A1234/ST"},
        {"A1234 ", "ST", "A1234/ST"},
        {"", "ST", "--------------------/ST"},
        {"AB", "C", "AB/C"},
        {"A", "BC", "A/BC"},
        // Blobs that another program wrote group with the text they spell.
        {QByteArray("AB"), "C", "AB/C"},
        {QByteArray("BLOB"), QByteArray("st"), "BLOB/st"},
    };
    std::map<QString, QStringList> expected;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const QString name = QStringLiteral("LOG%1").arg(i, 2, 10, QLatin1Char('0'));
        store({.serial = stored[i].serial, .station = stored[i].station, .names = name});
        expected[QString::fromUtf8(stored[i].group)] << name;
    }
    const LogTree tree = build({.serial = true, .station = true});
    std::map<QString, QStringList> found;
    QStringList keys;
    for (const LogTreeNode &node : tree.nodes()) {
        keys << node.key;
        if (!node.type)
            continue;
        const LogTreeNode &station = tree.node(tree.node(node.parent).parent);
        const LogTreeNode &serial = tree.node(station.parent);
        found[serial.text + QLatin1Char('/') + station.text] = listed(tree, node.key);
    }
    EXPECT_EQ(found, expected);
    // The two paths that run together into "ABC" both stand, under keys of their own.
    EXPECT_TRUE(keys.contains(QStringLiteral("ABC T")));
    EXPECT_TRUE(keys.contains(QStringLiteral("ABC|2 T")));
    EXPECT_TRUE(keys.contains(QStringLiteral("ABC|205/09 M")));
    EXPECT_EQ(keys.removeDuplicates(), 0);
    // The documented filter doubles quotes.
    EXPECT_EQ(tree.BuildNodeWhere(QStringLiteral("Tank 'A'/2 S")),
              QStringLiteral("SerialNo='Tank ''A''/2'"));
}

TEST_F(LogTreeTest, BlankFolderNodeListsLogsWithABlankFolderId) {
    store({.folder = QStringLiteral(" "), .names = QStringLiteral("BLANK")});
    store({.folder = QVariant(), .names = QStringLiteral("NULL")});
    store({.folder = QStringLiteral("05/09"), .names = QStringLiteral("DATED")});
    store({.folder = QByteArray("05/09"), .names = QStringLiteral("BLOB")});
    store({.folder = QByteArray(" "), .names = QStringLiteral("BLOBBLANK")});
    const LogTree tree = build({});
    EXPECT_EQ(listed(tree, QStringLiteral("* I")), (QStringList{"BLANK", "BLOBBLANK", "NULL"}));
    EXPECT_EQ(listed(tree, QStringLiteral("05/09 I")), (QStringList{"BLOB", "DATED"}));
}

TEST_F(LogTreeTest, UnknownKeyHasNoFilter) {
    const LogTree tree = build({});
    EXPECT_THROW(tree.filterOf(QStringLiteral("05/09 M")), TqError);
    EXPECT_TRUE(tree.filterOf(QStringLiteral("0 #")).sql.isEmpty());
    EXPECT_TRUE(tree.BuildNodeWhere(QStringLiteral("0 #")).isEmpty());
}

} // namespace
} // namespace tq
