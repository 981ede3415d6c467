#pragma once

#include "test_support.h"

#include <QByteArray>
#include <QString>

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

} // namespace tq::test
