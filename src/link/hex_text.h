#pragma once

#include <QString>

namespace tq {

// The low 16 bits of `value` as four upper-case hex digits (two's complement for a
// negative value): block numbers, station indexes and hex settings in commands.
inline QString Hex4(qint32 value) {
    return QStringLiteral("%1").arg(value & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace tq
