#pragma once

#include "test_support.h"

#include <QByteArray>
#include <QString>

namespace tq::test {

// The path of a fixture description of the image builder.
QString ImageFixture(const QString &name);
// Builds a flash image from a JSON description (a fixture path or the JSON text itself)
// with the image builder and returns the image's path. Each description is built once per
// test run; the images must not be changed.
QString BuildImage(const QString &description);

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
