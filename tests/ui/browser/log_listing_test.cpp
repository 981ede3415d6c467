#include "core/date.h"
#include "core/messages.h"
#include "stored_logs.h"
#include "ui/browser/log_listing.h"
#include "ui/browser/log_tree.h"

namespace tq {
namespace {

using test::HeadRow;

class LogListingTest : public test::StoredLogsTest {
protected:
    LogListing list(const QString &key, const TreeGrouping &grouping = {}) {
        const LogTree tree = LogTree::Build(db(), grouping, LoadMessage(5107));
        return ListNode(db(), tree, key);
    }
    static QStringList keys(const LogListing &listing) {
        QStringList out;
        for (const LogListRow &row : listing.rows)
            out << row.key;
        return out;
    }
};

TEST_F(LogListingTest, FolderListingsShowChildrenUnderTheirKindsHeading) {
    const QStringList folderHeadings{"DataName", "Type", "Date/Time"};
    const LogListing empty = list(QStringLiteral("0 #"));
    EXPECT_EQ(empty.kind, LogListing::Kind::Folders);
    EXPECT_TRUE(empty.rows.isEmpty());
    EXPECT_EQ(empty.headings, folderHeadings);

    store({.serial = QStringLiteral("B5678"), .type = 3});
    store({.type = 10});
    store({.type = 3});
    const LogListing serials = list(QStringLiteral("0 #"), {.serial = true});
    EXPECT_EQ(serials.headings, (QStringList{LoadMessage(5608), "Type", "Date/Time"}));
    EXPECT_EQ(keys(serials), (QStringList{"A1234 S", "B5678 S"}));
    EXPECT_EQ(serials.rows[0].columns, (QStringList{"A1234", "", ""}));

    const LogListing months = list(QStringLiteral("0 #"));
    EXPECT_EQ(months.headings[0], QStringLiteral("(MM/YY)"));
    const LogListing types = list(QStringLiteral("05/09 M"));
    EXPECT_EQ(types.headings[0], LoadMessage(5667));
    EXPECT_EQ(keys(types), (QStringList{"05/09 N", "05/09 D"}));
    EXPECT_EQ(types.rows[1].columns[0], LoadMessage(5673));
    EXPECT_EQ(types.rows[1].icon, QStringLiteral("OpenFolder"));
}

TEST_F(LogListingTest, TypeFoldersListTheirLogsByName) {
    struct Case {
        const char *name;
        std::vector<HeadRow> rows;
        QString folder;
        QStringList keys;
        QStringList icons;
    };
    const std::vector<Case> cases{
        {"calibration history keys end in H",
         {{.type = 3, .seqNo = 17}},
         "05/09 D",
         {"17 H"},
         {"History"}},
        {"a bump test's key ends in the lower-case b",
         {{.type = 10, .seqNo = 5}},
         "05/09 N",
         {"5 b"},
         {"BumpTest"}},
        {"by name ignoring case, ties by SeqNo",
         {{.names = "beta", .seqNo = 3},
          {.names = "ALPHA", .seqNo = 9},
          {.names = "Beta", .seqNo = 2},
          {.names = " alpha", .seqNo = 4}},
         "05/09 I",
         {"4 G", "9 G", "2 G", "3 G"},
         {"Interval0", "Interval0", "Interval0", "Interval0"}},
        {"interval icons by Sampling; another Sampling is left out",
         {{.sampling = 1, .seqNo = 1},
          {.sampling = 2, .seqNo = 2},
          {.sampling = 5, .seqNo = 3},
          {.sampling = QVariant(), .seqNo = 4}},
         "05/09 I",
         {"1 G", "2 G"},
         {"Interval1", "Interval2"}},
        {"alarm trends of Sampling 2 or Null are left out",
         {{.type = 2, .sampling = 2, .seqNo = 1},
          {.type = 2, .sampling = QVariant(), .seqNo = 2},
          {.type = 2, .sampling = 1, .seqNo = 3}},
         "05/09 A",
         {"3 K"},
         {"Alarm0"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db().execute(QStringLiteral("Delete From Log_head"));
        for (const HeadRow &row : c.rows)
            store(row);
        const LogListing listing = list(c.folder);
        EXPECT_EQ(listing.kind, LogListing::Kind::Logs);
        EXPECT_EQ(keys(listing), c.keys);
        QStringList icons;
        for (const LogListRow &row : listing.rows)
            icons << row.icon;
        EXPECT_EQ(icons, c.icons);
    }
}

TEST_F(LogListingTest, LogRowsShowTheirColumnsAndEmptyCellsForNull) {
    store({.serial = QVariant(),
           .names = QStringLiteral("  NAME  "),
           .dates = QStringLiteral("2009-05-01 00:00:00")});
    store({.names = QStringLiteral("ZZ"), .dates = QVariant()});
    const LogListing listing = list(QStringLiteral("05/09 I"));
    EXPECT_EQ(listing.headings,
              (QStringList{"Name", "SerialNo", "StationID", "UserID", "Date/Time"}));
    ASSERT_EQ(listing.rows.size(), 2);
    EXPECT_EQ(listing.rows[0].columns,
              (QStringList{"NAME", "", "ST-01", "U-1", Date::fromParts(2009, 5, 1).generalDate()}));
    EXPECT_FALSE(listing.rows[0].columns[4].contains(u':')); // midnight: the date alone
    EXPECT_EQ(listing.rows[1].columns[4], QString());
}

TEST_F(LogListingTest, EmptyFoldersAndStoredLogKeys) {
    store({.type = 2, .sampling = 2});
    const LogListing leftOut = list(QStringLiteral("05/09 A"));
    EXPECT_TRUE(leftOut.rows.isEmpty());
    EXPECT_FALSE(leftOut.noneFound);

    const LogTree tree = LogTree::Build(db(), {}, LoadMessage(5107));
    db().execute(QStringLiteral("Delete From Log_head"));
    const LogListing none = ListNode(db(), tree, QStringLiteral("05/09 A"));
    EXPECT_EQ(none.kind, LogListing::Kind::Logs);
    EXPECT_TRUE(none.noneFound);

    EXPECT_EQ(ListNode(db(), tree, QStringLiteral("57 G")).kind, LogListing::Kind::None);
    EXPECT_EQ(ListNode(db(), tree, QStringLiteral("5 a")).kind, LogListing::Kind::None);
}

TEST_F(LogListingTest, TypeFolderOfOver32768LogsListsThemAll) {
    constexpr int count = 33000;
    {
        Transaction transaction(db());
        for (int i = 1; i <= count; ++i)
            store({.names = QStringLiteral("L%1").arg(i), .seqNo = i});
        transaction.commit();
    }
    EXPECT_EQ(list(QStringLiteral("05/09 I")).rows.size(), count);
}

} // namespace
} // namespace tq
