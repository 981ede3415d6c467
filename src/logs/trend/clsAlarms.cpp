#include "logs/trend/clsAlarms.h"

#include "logs/trend/alarm_area.h"
#include "logs/trend/flash_image.h"

#include <exception>

namespace tq {

namespace {

QString itemKey(qint32 sector) {
    return QString::number(sector) + QStringLiteral(" L");
}

} // namespace

clsAlarms::ItemPtr clsAlarms::itemFor(const QString &key) {
    ItemPtr item = Item(key);
    return item ? item : Add(key, 0);
}

bool clsAlarms::ReadBinaryLog(const QString &imagePath) {
    try {
        return ReadBinaryLog(FlashImage::load(imagePath));
    } catch (const std::exception &) {
        return false;
    }
}

bool clsAlarms::ReadBinaryLog(const FlashImage &image) {
    try {
        const RingBounds bounds = FindTrendRing(image);
        if (bounds.start < 0)
            return false; // every sector written: the oldest log cannot be found
        for (const qint32 sector : AlarmRingSectors(bounds)) {
            if (image.at(sector) == kMarkByte && image.at(sector + 1) == kMarkByte)
                readLog(image, sector);
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// Decodes the log whose header begins the sector; a log that fails is marked as failed.
void clsAlarms::readLog(const FlashImage &image, qint32 sector) {
    const QString key = itemKey(sector);
    const ItemPtr log = itemFor(key);
    try {
        log->ClearDatas();
        log->setKey(key);
        const QByteArray header = image.ReadImageBytes(sector, kAlarmSectorSize);
        qint32 st = 0;
        log->SetHeader(header, st);
        const qint32 sampleSector = AlarmSampleSector(ReadBE16(header, 2));
        const QByteArray samples =
            sampleSector == sector ? header : image.ReadImageBytes(sampleSector, kAlarmSectorSize);
        st = kAlarmFirstSample;
        for (qint32 k = 0; k < kAlarmSamples; ++k)
            log->SetData(samples, st, static_cast<qint16>(k - kAlarmSamplesBefore));
    } catch (...) {
        log->setError(true);
        throw;
    }
}

} // namespace tq
