#include "trend_test_support.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"

#include <QDir>

namespace tq::test {

void TrendStoreTest::SetUp() {
    ProgramState &g = Globals();
    g.AppFolder = dir.path();
    g.DataFolder = dir.filePath(QStringLiteral("Data"));
    g.DatabasePath = dir.filePath(QStringLiteral("TQ6200.mdb"));
    g.CondensedView = false;
    g.ExportRawData = false;
    QDir().mkpath(g.DataFolder);
    CreateLogDatabase(g.DatabasePath);
}

void TrendStoreTest::TearDown() {
    Globals().CondensedView = false;
    Globals().ExportRawData = false;
}

qint64 TrendStoreTest::rows(const QString &table, const QString &where) const {
    Database db(Globals().DatabasePath);
    return db.scalar(QStringLiteral("Select Count(*) From %1 Where %2").arg(table, where))
        .toLongLong();
}

} // namespace tq::test
