#pragma once

#include "event_fixtures.h"

#include "core/database.h"

namespace tq::test {

// A block of the snapshot or history area: the header of layout, the two skipped bytes,
// then the given record bytes (the rest erased; cut at the block's end).
QByteArray BlockWithRecords(const EventBlockSpec &layout, const QByteArray &records);

// The header of the snapshot and history tests: one gas block for slot 0 named CH4 with
// one decimal and %LEL, full scale 10.0, resolution 0.1, identity USER1 / ST1 / SN0001,
// date 2020-03-31 23:59:00.
EventBlockSpec OneGasHeader();

// A database test that also reads single values and counts rows.
class LogStoreTest : public EventDatabaseTest {
protected:
    QVariant value(const QString &sql, const QVariantList &params = {});
    qint64 rows(const QString &table, const QString &where = QStringLiteral("1"));
};

} // namespace tq::test
