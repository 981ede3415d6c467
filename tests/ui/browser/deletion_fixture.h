#pragma once

#include "stored_logs.h"

#include <QStringList>

#include <set>
#include <vector>

namespace tq::test {

// The logs of two serial numbers, every type, hidden logs, names that a wildcard or a LIKE
// would mix up, and a latest-calibration row; besides, a file of no log in Data/09/05.
class DeletionTest : public StoredLogsTest {
protected:
    void SetUp() override;

    // Stores a log (SeqNo given) with one row in every detail table of its type and, for a
    // trend, its trend file.
    void add(const HeadRow &log);
    // The trend file of a log relative to Data/; empty for a log of another type.
    static QString trendFile(const HeadRow &log);

    // The key of every row of the twelve tables, table by table.
    QString tableRows();
    // What tableRows() gives once the logs `gone` are deleted.
    QString expectedRows(const std::set<qint64> &gone) const;
    // The files under Data/, relative and sorted; links marked "->".
    QStringList files() const;
    // The files once the logs `gone` are deleted (and the file of no log kept).
    QStringList expectedFiles(const std::set<qint64> &gone) const;
    // Every table's dump and every file's content under Data/: equal before and after a
    // deletion that changed nothing.
    QString snapshot() const;
    // Every SeqNo of the fixture.
    std::set<qint64> all() const;

    QString dataFolder() const { return path(QStringLiteral("Data")); }

private:
    std::vector<HeadRow> m_logs;
};

} // namespace tq::test
