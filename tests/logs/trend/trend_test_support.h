#pragma once

#include "test_support.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tq::test {

// A test with a program folder of its own: DataFolder, DatabasePath and AppFolder point
// into it, the database exists, and the raw-export and condensed switches are off.
class TrendStoreTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    QString image(const QString &description) { return BuildImage(description); }
    // The number of rows of a table that match a condition ("1" for all).
    qint64 rows(const QString &table, const QString &where = QStringLiteral("1")) const;
};

// A short damaged sample line that stands for 16,384 groups of 4,095 samples each.
inline QString AmplifyingSampleLine() {
    return QStringLiteral("\x7f\x7f!!").repeated(16384);
}

// A sample line that would run past a log's sample table, after lines that were taken.
struct SampleOverrunCase {
    const char *name;
    QStringList before; // accepted sample lines
    QString line;       // the line that would run past the table
    qint64 kept;        // samples stored before it
};

} // namespace tq::test
