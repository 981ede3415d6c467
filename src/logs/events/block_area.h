#pragma once

#include "logs/trend/flash_image.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace tq {

// The event, history, snapshot and power-event areas are read in 256-byte blocks, one
// log object per written block.
inline constexpr qint32 kLogBlockSize = 0x100;

// How a family's area marks a written block.
enum class BlockMark {
    Signature, // bytes 0 and 1 are EE EE
    NotErased, // bytes 0 and 1 are not both FF (power events: no signature)
};

// True when the block holds a log of an area marked as mark.
bool IsBlockWritten(const QByteArray &block, BlockMark mark);

// The collection key of the block at an image offset: the offset in decimal and " L".
QString BlockKey(qint32 offset);

// Calls decodeRecord(position) for each record of recordSize bytes from position on,
// until a record begins with 0xFF or the next record would not fit in the block; a block
// filled with records to its end is read to its end. decodeRecord returns the position
// after the record. Returns the position where the walk stopped.
template <typename DecodeRecord>
qint32 ForEachBlockRecord(const QByteArray &block, qint32 position, qint32 recordSize,
                          DecodeRecord decodeRecord) {
    while (position + recordSize <= block.size() &&
           static_cast<quint8>(block.at(position)) != kErasedByte)
        position = decodeRecord(position);
    return position;
}

} // namespace tq
