#include "history_fixtures.h"

namespace tq::test {

QByteArray BlockWithRecords(const EventBlockSpec &layout, const QByteArray &records) {
    EventBlockSpec header = layout;
    header.records.clear();
    QByteArray block = EventBlock(header);
    block.replace(EventRecordStart(header), records.size(), records);
    return block.left(256);
}

EventBlockSpec OneGasHeader() {
    EventBlockSpec layout;
    layout.gases = {GasBlockSpec{2, "CH4", 100, 1, 0x11, {10, 20, 0xDDDD, 0xFFFF}, 10}};
    return layout;
}

QVariant LogStoreTest::value(const QString &sql, const QVariantList &params) {
    Database db(dbPath);
    return db.scalar(sql, params);
}

qint64 LogStoreTest::rows(const QString &table, const QString &where) {
    return value(QStringLiteral("Select Count(*) From %1 Where %2").arg(table, where)).toLongLong();
}

} // namespace tq::test
