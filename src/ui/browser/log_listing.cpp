#include "ui/browser/log_listing.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "ui/browser/log_tree.h"
#include "ui/display/node_kind.h"

namespace tq {

namespace {

// The first heading of a folder listing, by the children's letter.
QString folderHeading(const QString &letter) {
    if (letter == QLatin1String("S"))
        return LoadMessage(5608);
    if (letter == QLatin1String("T"))
        return LoadMessage(5609);
    if (letter == QLatin1String("U"))
        return LoadMessage(5610);
    if (letter == QLatin1String("M"))
        return QStringLiteral("(MM/YY)");
    return LoadMessage(5667);
}

LogListing listFolders(const LogTree &tree, int index) {
    LogListing listing;
    listing.kind = LogListing::Kind::Folders;
    listing.headings = {QStringLiteral("DataName"), QStringLiteral("Type"),
                        QStringLiteral("Date/Time")};
    for (int child : tree.node(index).children) {
        const LogTreeNode &node = tree.node(child);
        listing.headings[0] = folderHeading(node.letter);
        listing.rows.append(
            {node.key, {node.text, QString(), QString()}, QStringLiteral("OpenFolder")});
    }
    return listing;
}

// A date column as the list shows it; empty when it holds no date.
QString dateText(const DbRow &row) {
    if (row.isNull(QStringLiteral("Dates")))
        return {};
    try {
        return row.date(QStringLiteral("Dates")).generalDate();
    } catch (const TqError &) {
        return {};
    }
}

// The icon of a stored log's row; empty for a row that is left out.
QString iconOf(const LogTypeKind &kind, const DbRow &row) {
    const QVariant sampling = row.value(QStringLiteral("Sampling"));
    bool numeric = false;
    const qint64 value = sampling.toLongLong(&numeric);
    const bool known = !sampling.isNull() && numeric;
    switch (kind.type) {
    case LogType::IntervalTrend:
        return known && value >= 0 && value <= 2 ? QStringLiteral("Interval%1").arg(value)
                                                 : QString();
    case LogType::AlarmTrend:
        return known && value != 2 ? QString::fromLatin1(kind.icon) : QString();
    default:
        return QString::fromLatin1(kind.icon);
    }
}

LogListing listLogs(Database &db, const LogTree &tree, const QString &key,
                    const LogTypeKind &kind) {
    LogListing listing;
    listing.kind = LogListing::Kind::Logs;
    listing.headings = {QStringLiteral("Name"), QStringLiteral("SerialNo"),
                        QStringLiteral("StationID"), QStringLiteral("UserID"),
                        QStringLiteral("Date/Time")};
    const NodeFilter filter = tree.filterOf(key);
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select SeqNo, Names, SerialNo, StationID, UserID, Dates, Sampling "
                                "From Log_head Where %1 Order By Trim(Names) Collate NoCase, SeqNo")
                     .arg(filter.sql),
                 filter.params);
    listing.noneFound = rows.isEmpty();
    listing.rows.reserve(rows.size());
    const QString leaf = QLatin1Char(' ') + kind.leaf;
    for (const DbRow &row : rows) {
        const QString icon = iconOf(kind, row);
        if (icon.isEmpty())
            continue;
        listing.rows.append(
            {QString::number(row.integer(QStringLiteral("SeqNo"))) + leaf,
             {row.text(QStringLiteral("Names")).trimmed(), row.text(QStringLiteral("SerialNo")),
              row.text(QStringLiteral("StationID")), row.text(QStringLiteral("UserID")),
              dateText(row)},
             icon});
    }
    return listing;
}

} // namespace

LogListing ListNode(Database &db, const LogTree &tree, const QString &key) {
    const QString letter = AfterLastBlank(key);
    if (IsGroupingLetter(letter)) {
        const int index = tree.find(key);
        if (index < 0)
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("No node of the log tree has the key \"%1\"").arg(key));
        return listFolders(tree, index);
    }
    if (const auto kind = KindOfFolder(letter); kind)
        return listLogs(db, tree, key, *kind);
    return {};
}

} // namespace tq
