#include "event_fixtures.h"

#include "core/log_schema.h"
#include "logs/trend/flash_image.h"
#include "program_folder.h"

namespace tq::test {

namespace {

void putBE16(QByteArray &bytes, qint32 at, quint16 value) {
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value & 0xFF);
}

void putText(QByteArray &bytes, qint32 at, const QByteArray &text, qint32 width) {
    const QByteArray padded = text.leftJustified(width, ' ', true);
    bytes.replace(at, width, padded);
}

QByteArray header(const EventBlockSpec &layout) {
    QByteArray h(60, '\0');
    h[0] = h[1] = char(0xEE);
    putBE16(h, 2, layout.logNo);
    h[4] = 0x10;
    putText(h, 5, layout.user, 16);
    putText(h, 21, layout.station, 16);
    putText(h, 38, layout.serial, 20);
    putBE16(h, 58, layout.interval);
    for (const GasBlockSpec &g : layout.gases) {
        QByteArray b(26, '\0');
        b[0] = char(g.code);
        putText(b, 1, g.name, 10);
        putBE16(b, 11, g.full);
        putBE16(b, 13, g.desit);
        b[15] = char(g.format);
        for (qint32 i = 0; i < 4; ++i)
            putBE16(b, 16 + 2 * i, g.levels[i]);
        putBE16(b, 24, g.ratio);
        h += b;
    }
    h += char(layout.endCode);
    if (layout.endCode == 8 || layout.endCode == 40 || layout.endCode == 72) {
        QByteArray r(13, '\0');
        for (qint32 i = 0; i < 6; ++i)
            putBE16(r, 2 * i, layout.ranges[i]);
        h += r;
    }
    h += layout.date;
    h += char(layout.lunchBreak);
    h += QByteArray(2, '\0');
    return h;
}

} // namespace

qint32 EventRecordStart(const EventBlockSpec &layout) {
    return header(layout).size();
}

QByteArray EventBlock(const EventBlockSpec &layout) {
    QByteArray block = header(layout);
    for (const auto &r : layout.records) {
        block += char(r[0]);
        block += char(r[1]);
    }
    block = block.left(256);
    return block.leftJustified(256, char(0xFF));
}

QByteArray PowerBlock(quint16 counter, const QByteArray &date, quint8 kind) {
    QByteArray block(256, char(0xFF));
    putBE16(block, 0, counter);
    block.replace(2, 6, date);
    block[8] = char(kind);
    return block;
}

QByteArray ErasedImage() {
    return QByteArray(kFlashImageSize, char(0xFF));
}

void PutBlock(QByteArray &image, qint32 offset, const QByteArray &block) {
    image.replace(offset, block.size(), block);
}

void EventDatabaseTest::SetUp() {
    store = StoreIn(dir.path());
    dbPath = store.DatabasePath;
    CreateLogDatabase(dbPath);
}

QString EventDatabaseTest::imageFile(const QByteArray &image) {
    const QString file = path(QStringLiteral("TQ6200.DAT"));
    writeFile(file, image);
    return file;
}

} // namespace tq::test
