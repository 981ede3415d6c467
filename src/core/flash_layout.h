#pragma once

#include <QString>
#include <QtGlobal>

namespace tq {

// The detector's 512 KB flash memory as the link writes it into the image file and the log
// readers find it there: 1024 blocks of 512 bytes, erased bytes 0xFF.
inline constexpr qint32 kFlashBlockSize = 512;
inline constexpr qint32 kFlashBlockCount = 1024;
inline constexpr qint32 kFlashImageSize = kFlashBlockSize * kFlashBlockCount;
inline constexpr quint8 kErasedByte = 0xFF;
inline constexpr quint8 kMarkByte = 0xEE; // record blocks begin EE EE

// The address range of one log family and the unit its reader steps by.
struct FlashArea {
    qint32 first; // first byte
    qint32 last;  // last byte
    qint32 unit;  // page or sector size

    // Start of the area's last unit.
    constexpr qint32 lastUnit() const { return last + 1 - unit; }
    constexpr bool contains(qint32 offset) const { return offset >= first && offset <= last; }
};

namespace FlashAreas {
inline constexpr FlashArea PowerEvents{0x00000, 0x0FFFF, 0x100};
inline constexpr FlashArea AlarmTrend{0x10000, 0x2DFFF, 0x3000}; // ring of ten sectors
inline constexpr FlashArea Snapshots{0x30000, 0x3FFFF, 0x100};
inline constexpr FlashArea IntervalTrend{0x40000, 0x4FFFF, 0x100}; // ring of 256 pages
inline constexpr FlashArea AlarmEvents{0x50000, 0x5FFFF, 0x100};
inline constexpr FlashArea TroubleEvents{0x60000, 0x6FFFF, 0x100};
inline constexpr FlashArea Histories{0x70000, 0x7FFFF, 0x100};
} // namespace FlashAreas

// Writes an erased image: count bytes 0xFF from the file's start. A longer file keeps its
// tail. Throws TqError(File).
void FillImageFile(const QString &path, qint32 count = kFlashImageSize);

} // namespace tq
