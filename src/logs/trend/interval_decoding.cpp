#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/flash_image.h"
#include "logs/trend/powers_of_ten.h"

namespace tq {

namespace {

constexpr quint8 kSampleBit = 0x80;
constexpr qint32 kBodySlot = 15; // an event of the detector body, filed under slot 0
constexpr qint32 kMaxEventOffset = 900;
constexpr qint32 kRecordSize = 4;
constexpr qint32 kStatisticsSize = 19;
constexpr qint32 kEndEntrySize = 7;

bool isEndEntry(quint8 code) {
    return code == 0x26 || code == 0x66;
}

// The gas slot of a trailer entry code; -1 for a code that names none.
qint32 trailerSlot(quint8 code) {
    if (code >= 0x20 && code <= 0x25)
        return code - 0x20;
    if (code >= 0x60 && code <= 0x65)
        return code - 0x60;
    return -1;
}

// A trailer date: DD DD in its first two bytes means none.
Date trailerDate(const QByteArray &vData, qint32 at) {
    if (ReadBE16(vData, at) == 0xDDDD) {
        ByteAt(vData, at + 5);
        return Date::emptyLogDate();
    }
    return BytesToDate(vData, at);
}

} // namespace

bool clsInterval::SetHeader(const QByteArray &vData, qint32 &st) {
    DecodeLogHeader(vData, st, m_header, m_gas, kIntervalHeaderOptions);
    makeTrendFolders();
    return true;
}

// A value of a slot: its reading code, or the number with the slot's decimals. A slot
// without gas information has no decimals, so its numbers are no value instead of an
// overflow.
float clsInterval::slotValue(const QByteArray &vData, qint32 at, qint32 slot) const {
    const quint16 raw = ReadBE16(vData, at);
    if (const qint16 code = BytePairCode(quint8(raw >> 8), quint8(raw & 0xFF)))
        return code;
    if (slot < 0 || slot >= kLogGasSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas slot %1 has no gas record").arg(slot));
    const qint16 decimals = m_gas[slot].Point;
    if (decimals < 0)
        return ReadingCode::NoValue;
    return static_cast<float>(raw / PowerOfTen(decimals));
}

bool clsInterval::SetData(const QByteArray &vData, qint32 &st) {
    const qint32 at = st;
    st += kRecordSize;
    try {
        decodeRecord(vData, at);
        return true;
    } catch (const TqError &) {
        return false; // the record is skipped, the walk goes on
    }
}

void clsInterval::decodeRecord(const QByteArray &vData, qint32 at) {
    ByteAt(vData, at + kRecordSize - 1);
    const quint8 kind = ByteAt(vData, at + 2);
    qint32 slot = kind & 0x0F;
    if (kind & kSampleBit) {
        if (slot >= kSampleSlots)
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("Sample of gas slot %1").arg(slot));
        const qint32 run = ByteAt(vData, at + 3);
        for (qint32 k = 0; k < run; ++k) {
            const qint32 n = ++m_sampleCounters[slot];
            const Date time = m_header.Dates.addSeconds(qint64(n) * m_header.Interval);
            const float value = slotValue(vData, at, slot);
            if (slot == 0)
                m_trendFile.PutTrendPoint(n, time, value);
        }
        return;
    }
    const qint16 code = StatusNumberToCode(QString::number(ByteAt(vData, at + 3)));
    if (slot == kBodySlot)
        slot = 0;
    if (slot >= kSampleSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Event of gas slot %1").arg(slot));
    qint64 seconds = ReadBE16(vData, at);
    if (seconds > kMaxEventOffset) {
        if (m_header.Interval == 0)
            throw TqError(ErrorKind::Overflow, QStringLiteral("Event offset without an interval"));
        seconds %= m_header.Interval;
    }
    const qint64 offset = qint64(m_sampleCounters[slot]) * m_header.Interval + seconds;
    AddEvents(slot, m_header.Dates.addSeconds(offset), code, m_header.Dates);
}

bool clsInterval::SetTrailer(const QByteArray &vData, qint32 &st) {
    qint32 pos = st + 4;
    qint32 slot = 0;
    for (quint8 code = ByteAt(vData, pos); !isEndEntry(code); code = ByteAt(vData, pos)) {
        if (const qint32 named = trailerSlot(code); named >= 0)
            slot = named;
        if (slot >= kLogGasSlots)
            throw TqError(ErrorKind::SubscriptOutOfRange,
                          QStringLiteral("The trailer names gas slot %1").arg(slot));
        ByteAt(vData, pos + kStatisticsSize - 1);
        GasInfo &gas = m_gas[slot];
        gas.Avr = slotValue(vData, pos + 1, slot);
        gas.Max = slotValue(vData, pos + 3, slot);
        gas.MaxDate = trailerDate(vData, pos + 5);
        gas.Min = slotValue(vData, pos + 11, slot);
        gas.MinDate = trailerDate(vData, pos + 13);
        if (m_header.Sampling == 1) {
            for (qint32 at : {pos + 1, pos + 3, pos + 11}) {
                const quint16 raw = ReadBE16(vData, at);
                if (!BytePairCode(quint8(raw >> 8), quint8(raw & 0xFF)) && gas.Point >= 0)
                    m_header.StoredValueSeen = true;
            }
        }
        pos += kStatisticsSize;
    }
    m_header.Last = trailerDate(vData, pos + 1);
    st = pos + kEndEntrySize;
    return false;
}

} // namespace tq
