#pragma once

#include "core/date.h"
#include "core/flash_layout.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace tq {

// A flash image file held in memory: a reader loads it once and walks it without going
// back to the file.
class FlashImage {
public:
    // Reads the image file. Throws TqError(File) when it cannot be read or does not hold
    // exactly kFlashImageSize bytes.
    static FlashImage load(const QString &path);
    // An image from bytes already in memory (same size rule, TqError(File)).
    static FlashImage fromBytes(QByteArray bytes);

    const QByteArray &bytes() const { return m_bytes; }
    // The byte at an image offset; throws TqError(SubscriptOutOfRange) outside the image.
    quint8 at(qint32 offset) const;
    // count bytes from an image offset; throws TqError(SubscriptOutOfRange) when they do
    // not all lie inside the image.
    QByteArray ReadImageBytes(qint32 offset, qint32 count) const;
    // A unit counts as written when any of its first four bytes is not 0xFF.
    bool isUnitWritten(qint32 offset) const;

private:
    explicit FlashImage(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray m_bytes;
};

// --- Reading helpers on a block buffer. Every index outside the buffer throws
// TqError(SubscriptOutOfRange); nothing reads past the buffer.

quint8 ByteAt(const QByteArray &buffer, qint32 index);
// Unsigned 16-bit big-endian number at index.
quint16 ReadBE16(const QByteArray &buffer, qint32 index);
// The reading code of a byte pair: DD DD -121, FE FE -118, FF FF -101, any other pair 0
// (the pair is a number).
qint16 BytePairCode(quint8 high, quint8 low);
// A value field: the pair's reading code, otherwise BE16 / 10^decimals computed in double
// precision and kept as a single.
float ReadCodedValue(const QByteArray &buffer, qint32 index, qint32 decimals);
// Six bytes YY MM DD hh mm ss (plain numbers, year 2000 + YY % 100); bytes that form no
// valid date give the empty log date 1900-01-01 00:00:00.
Date BytesToDate(const QByteArray &buffer, qint32 index);
// count bytes as text in the detector's code page, every byte 0 read as a blank.
QString BytesToText(const QByteArray &buffer, qint32 index, qint32 count);

// --- The two trend rings.

// Where the written part of a ring lies. state: 0 empty, 1 not wrapped, 2 wrapped with the
// erased unit first, 3 wrapped with the erased unit inside, -1 a state-3 walk that has
// wrapped. start -1: the ring holds data but no start can be found.
struct RingBounds {
    qint32 start = -1;
    qint32 end = -1;
    qint16 state = 0;
};

// The image offset of the first header mark (EE EE, then 0x00 or 0x40 two bytes later) whose
// two EE bytes lie in first..last; -1 when there is none.
qint32 FindRecordMark(const FlashImage &image, qint32 first, qint32 last);
// The alarm-trend ring of 12 KB sectors. A ring without an erased sector gives start -1.
RingBounds FindTrendRing(const FlashImage &image);
// The interval-trend ring of 256-byte pages. A ring without an erased page is read whole.
RingBounds FindIntervalRing(const FlashImage &image);

// One page-by-page walk through the interval ring.
struct RingWalk {
    RingBounds bounds;
    qint32 position = 0;    // offset of the page in the buffer
    qint32 index = 0;       // read index in the buffer
    QByteArray buffer;      // the page at position
    qint32 emptyPages = 0;  // erased pages read in a row
    bool passedEnd = false; // the walk has read its last page
};

// Starts a walk of the interval ring at bounds.start: the buffer holds the whole page
// around the start and the index points at the start inside it, so no byte of that page is
// read twice.
RingWalk StartIntervalWalk(const FlashImage &image, const RingBounds &bounds);
// Advances the walk by one page (wrapping to the ring's start once in state 3) and reads
// it with the index at 0. False when the walk has passed its end or the next page would lie
// outside the interval area (passedEnd is then set and the page is read again in place), or
// when this is the third erased page in a row.
bool NextRingBlock(const FlashImage &image, RingWalk &walk);

} // namespace tq
