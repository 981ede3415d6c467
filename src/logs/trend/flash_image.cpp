#include "logs/trend/flash_image.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/text_codec.h"
#include "logs/trend/powers_of_ten.h"

#include <QFile>

namespace tq {

namespace {

[[noreturn]] void throwOutOfRange(qint32 index, qint64 size) {
    throw TqError(ErrorKind::SubscriptOutOfRange,
                  QStringLiteral("Index %1 is outside a buffer of %2 bytes").arg(index).arg(size));
}

void checkRange(const QByteArray &buffer, qint32 index, qint32 count) {
    if (index < 0 || count < 0 || qint64(index) + count > buffer.size())
        throwOutOfRange(index < 0 ? index : index + count - 1, buffer.size());
}

// What differs between the two rings' fill-state rules.
struct RingRules {
    FlashArea area;
    bool readWholeWhenFull; // no erased unit: read the whole ring (else start -1)
    bool fallBackToFirst;   // no mark in the first unit: start at the ring's first byte
    qint32 wrappedEnd;      // end of a state-2 ring
};

RingBounds findRing(const FlashImage &image, const RingRules &rules) {
    const FlashArea &a = rules.area;
    qint32 lastWritten = a.first - a.unit;
    for (qint32 p = a.lastUnit(); p >= a.first; p -= a.unit) {
        if (image.isUnitWritten(p)) {
            lastWritten = p;
            break;
        }
    }
    qint32 firstErased = a.last + 1;
    for (qint32 p = a.first; p <= a.lastUnit(); p += a.unit) {
        if (!image.isUnitWritten(p)) {
            firstErased = p;
            break;
        }
    }

    RingBounds ring;
    if (firstErased > a.last) {
        if (rules.readWholeWhenFull)
            ring = {a.first, a.lastUnit() - a.unit, 1};
        return ring;
    }
    if (firstErased == a.lastUnit()) {
        ring = {FindRecordMark(image, a.first, lastWritten + a.unit - 1), a.lastUnit() - a.unit, 1};
        return ring;
    }
    const qint32 c = FindRecordMark(image, firstErased + a.unit, lastWritten + a.unit - 1);
    if (c < 0 && firstErased == a.first)
        return {a.first, a.first, 0};
    if (c < 0) {
        qint32 start = FindRecordMark(image, a.first, a.first + a.unit - 1);
        if (start < 0 && rules.fallBackToFirst)
            start = a.first;
        return {start, firstErased - a.unit, 1};
    }
    if (firstErased == a.first)
        return {c, rules.wrappedEnd, 2};
    return {c, firstErased - a.unit, 3};
}

constexpr qint32 kPageSize = FlashAreas::IntervalTrend.unit;

} // namespace

// --- FlashImage

FlashImage FlashImage::load(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TqError(
            ErrorKind::File,
            QStringLiteral("Cannot open the image file %1: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TqError(
            ErrorKind::File,
            QStringLiteral("Cannot read the image file %1: %2").arg(path, file.errorString()));
    return fromBytes(std::move(bytes));
}

FlashImage FlashImage::fromBytes(QByteArray bytes) {
    if (bytes.size() != kFlashImageSize)
        throw TqError(ErrorKind::File, QStringLiteral("An image must hold %1 bytes, not %2")
                                           .arg(kFlashImageSize)
                                           .arg(bytes.size()));
    return FlashImage(std::move(bytes));
}

quint8 FlashImage::at(qint32 offset) const {
    return ByteAt(m_bytes, offset);
}

QByteArray FlashImage::ReadImageBytes(qint32 offset, qint32 count) const {
    checkRange(m_bytes, offset, count);
    return m_bytes.mid(offset, count);
}

bool FlashImage::isUnitWritten(qint32 offset) const {
    for (qint32 i = 0; i < 4; ++i) {
        if (at(offset + i) != kErasedByte)
            return true;
    }
    return false;
}

// --- Buffer helpers

quint8 ByteAt(const QByteArray &buffer, qint32 index) {
    if (index < 0 || index >= buffer.size())
        throwOutOfRange(index, buffer.size());
    return static_cast<quint8>(buffer[index]);
}

quint16 ReadBE16(const QByteArray &buffer, qint32 index) {
    checkRange(buffer, index, 2);
    return static_cast<quint16>(quint8(buffer[index]) << 8 | quint8(buffer[index + 1]));
}

qint16 BytePairCode(quint8 high, quint8 low) {
    if (high != low)
        return 0;
    switch (high) {
    case 0xDD:
        return ReadingCode::RawDdDd;
    case 0xFE:
        return ReadingCode::RawFeFe;
    case 0xFF:
        return ReadingCode::NoValue;
    default:
        return 0;
    }
}

float ReadCodedValue(const QByteArray &buffer, qint32 index, qint32 decimals) {
    const quint16 raw = ReadBE16(buffer, index);
    if (const qint16 code = BytePairCode(quint8(raw >> 8), quint8(raw & 0xFF)))
        return code;
    return static_cast<float>(raw / PowerOfTen(decimals));
}

Date BytesToDate(const QByteArray &buffer, qint32 index) {
    checkRange(buffer, index, 6);
    auto b = [&](int i) { return int(quint8(buffer[index + i])); };
    return Date::tryFromParts(2000 + b(0) % 100, b(1), b(2), b(3), b(4), b(5))
        .value_or(Date::emptyLogDate());
}

QString BytesToText(const QByteArray &buffer, qint32 index, qint32 count) {
    checkRange(buffer, index, count);
    QByteArray bytes = buffer.mid(index, count);
    bytes.replace('\0', ' ');
    return DecodeDeviceText(bytes);
}

// --- Rings

qint32 FindRecordMark(const FlashImage &image, qint32 first, qint32 last) {
    qint32 pending = -1; // offset of an unpaired EE
    for (qint32 p = first; p <= last; ++p) {
        if (image.at(p) != kMarkByte) {
            pending = -1;
            continue;
        }
        if (pending < 0) {
            pending = p;
            continue;
        }
        const qint32 kindAt = pending + 4;
        if (kindAt < kFlashImageSize) {
            const quint8 kind = image.at(kindAt);
            if (kind == 0x00 || kind == 0x40)
                return pending;
        }
        pending = -1;
    }
    return -1;
}

RingBounds FindTrendRing(const FlashImage &image) {
    const FlashArea &a = FlashAreas::AlarmTrend;
    return findRing(image, {a, false, false, a.lastUnit()});
}

RingBounds FindIntervalRing(const FlashImage &image) {
    const FlashArea &a = FlashAreas::IntervalTrend;
    return findRing(image, {a, true, true, a.last});
}

RingWalk StartIntervalWalk(const FlashImage &image, const RingBounds &bounds) {
    RingWalk walk;
    walk.bounds = bounds;
    walk.position = bounds.start - bounds.start % kPageSize;
    walk.index = bounds.start - walk.position;
    walk.buffer = image.ReadImageBytes(walk.position, kPageSize);
    return walk;
}

bool NextRingBlock(const FlashImage &image, RingWalk &walk) {
    const FlashArea &a = FlashAreas::IntervalTrend;
    bool more = true;
    if (walk.bounds.state == 3) {
        if (walk.position < a.lastUnit()) {
            walk.position += kPageSize;
        } else {
            walk.position = a.first;
            walk.bounds.state = -1;
        }
    } else if (walk.position > walk.bounds.end || walk.position + kPageSize > a.lastUnit()) {
        more = false; // past the end, or the next page would leave the area
        walk.passedEnd = true;
    } else {
        walk.position += kPageSize;
    }
    walk.index = 0;
    walk.buffer = image.ReadImageBytes(walk.position, kPageSize);
    if (ByteAt(walk.buffer, 0) == kErasedByte && ByteAt(walk.buffer, 1) == kErasedByte) {
        if (++walk.emptyPages == 3)
            more = false;
    } else {
        walk.emptyPages = 0;
    }
    return more;
}

} // namespace tq
