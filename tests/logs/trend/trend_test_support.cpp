#include "trend_test_support.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "program_folder.h"

#include <QDir>

namespace tq::test {

void TrendStoreTest::SetUp() {
    UseProgramFolder(dir.path());
    CreateLogDatabase(Globals().DatabasePath);
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
