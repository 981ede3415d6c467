#include "history_fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace tq::test {

QByteArray BlockWithRecords(const EventBlockSpec &spec, const QByteArray &records) {
    EventBlockSpec header = spec;
    header.records.clear();
    QByteArray block = EventBlock(header);
    block.replace(EventRecordStart(header), records.size(), records);
    return block.left(256);
}

EventBlockSpec OneGasHeader() {
    EventBlockSpec spec;
    spec.gases = {GasBlockSpec{2, "CH4", 100, 1, 0x11, {10, 20, 0xDDDD, 0xFFFF}, 10}};
    return spec;
}

QString BuildFlashImage(const QString &folder, const QString &json) {
    const QDir dir(folder);
    const QString description = dir.filePath(QStringLiteral("image.json"));
    const QString image = dir.filePath(QStringLiteral("TQ6200.DAT"));
    writeFile(description, json.toUtf8());
    const QString builder = QFileInfo(QStringLiteral(__FILE__))
                                .absoluteDir()
                                .filePath(QStringLiteral("../../../tools/tq6200_image.py"));
    QProcess process;
    process.start(QStringLiteral("python3"), {builder, description, image});
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return image;
}

QVariant LogStoreTest::value(const QString &sql, const QVariantList &params) {
    Database db(dbPath);
    return db.scalar(sql, params);
}

qint64 LogStoreTest::rows(const QString &table, const QString &where) {
    return value(QStringLiteral("Select Count(*) From %1 Where %2").arg(table, where)).toLongLong();
}

} // namespace tq::test
