#pragma once

#include <QByteArray>
#include <QString>

namespace tq {

// Texts from the detector are bytes in its code page: Windows-1252 while English is
// active, Shift_JIS while Japanese is.
QString DecodeDeviceText(const QByteArray &bytes);
QByteArray EncodeDeviceText(const QString &text);

// Files the program writes for people are UTF-8; one read back that is not valid UTF-8
// (an older or hand-made file) is read in the detector's code page instead.
QString DecodeTextFile(const QByteArray &bytes);

} // namespace tq
