#include "trend_test_support.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "program_folder.h"

#include <QDir>

namespace tq::test {

void TrendStoreTest::SetUp() {
    store = StoreIn(dir.path());
    CreateLogDatabase(store.DatabasePath);
}

qint64 TrendStoreTest::rows(const QString &table, const QString &where) const {
    Database db(store.DatabasePath);
    return db.scalar(QStringLiteral("Select Count(*) From %1 Where %2").arg(table, where))
        .toLongLong();
}

} // namespace tq::test
