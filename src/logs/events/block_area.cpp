#include "logs/events/block_area.h"

namespace tq {

bool IsBlockWritten(const QByteArray &block, BlockMark mark) {
    if (block.size() < 2)
        return false;
    const auto b0 = static_cast<quint8>(block.at(0));
    const auto b1 = static_cast<quint8>(block.at(1));
    if (mark == BlockMark::Signature)
        return b0 == kMarkByte && b1 == kMarkByte;
    return !(b0 == kErasedByte && b1 == kErasedByte);
}

QString BlockKey(qint32 offset) {
    return QString::number(offset) + QStringLiteral(" L");
}

} // namespace tq
