#include "ui/display/event_codes.h"

namespace tq {

QColor GetCodeColor(qint32 code, const QColor &current) {
    const QColor failure(128, 128, 128);
    switch (code) {
    case -102:
        return QColor(64, 192, 128);
    case -103:
        return QColor(255, 128, 0);
    case -104:
        return QColor(255, 0, 0);
    case -105:
        return QColor(255, 192, 192);
    case -106:
        return QColor(192, 128, 192);
    case -107:
        return QColor(255, 64, 64);
    case -101:
    case 0:
        return current.isValid() ? QColor(192, 192, 192) : QColor();
    default:
        break;
    }
    if ((code >= -136 && code <= -130) || (code >= -157 && code <= -150) || code == -159)
        return failure;
    if (code >= -197 && code <= -193)
        return QColor(160, 160, 0);
    return QColor();
}

bool fix001(qint32 eventCode, qint64 listedSamples) {
    switch (eventCode) {
    case -150:
    case -151:
    case -153:
    case -154:
    case -155:
    case -156:
    case -157:
        return false;
    case -132:
        return listedSamples == 0;
    default:
        return true;
    }
}

} // namespace tq
