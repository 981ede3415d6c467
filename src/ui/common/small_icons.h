#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace tq {

// The window's small images for the log tree and list, by key: "TQ6200", "CloseFolder",
// "OpenFolder", "Interval0", "Interval1", "Interval2", "Alarm0", "Barhole", "BumpTest",
// "SnapShot", "History", "AEvent", "TEvent", "PEvent", "Change". A key it does not hold gives
// the null icon.
QIcon SmallIcon(const QString &key);
const QStringList &SmallIconKeys();

// The pointer picture over an event that opens its alarm trend (the window's Alarm0 over
// the graph and AlarmG over the table hold the same picture): the alarm-trend image at a
// pointer's size.
QPixmap AlarmTrendPointer();

} // namespace tq
