#pragma once

#include "core/database.h"
#include "test_support.h"

#include <QVariant>

#include <memory>

namespace tq::test {

// One Log_head row as the tests store it; Null where a QVariant is left invalid.
struct HeadRow {
    QVariant serial = QStringLiteral("A1234");
    QVariant station = QStringLiteral("ST-01");
    QVariant user = QStringLiteral("U-1");
    QVariant folder = QStringLiteral("05/09");
    int type = 1;
    QVariant names = QStringLiteral("LOG");
    QVariant dates = QStringLiteral("2009-05-01 10:20:30");
    QVariant sampling = 0;
    qint64 seqNo = 0; // 0: the next free one
};

// A test with a log database of its own, in its temporary folder, to which it adds heads.
class StoredLogsTest : public TempFolderTest {
protected:
    void SetUp() override;
    // Adds the row and returns its SeqNo.
    qint64 store(const HeadRow &row);
    Database &db() { return *m_db; }
    QString databasePath() const { return path(QStringLiteral("TQ6200.mdb")); }

private:
    std::unique_ptr<Database> m_db;
};

} // namespace tq::test
