#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tq {

// The window's small images for the log tree and list, by key: "TQ6200", "CloseFolder",
// "OpenFolder", "Interval0", "Interval1", "Interval2", "Alarm0", "Barhole", "BumpTest",
// "SnapShot", "History", "AEvent", "TEvent", "PEvent", "Change", and the trend images on graph
// paper "IntervalG" and "AlarmG" (with "Interval0" and "Alarm0", the icons of the data view
// window). A key it does not hold gives the null icon.
QIcon SmallIcon(const QString &key);

// The pointer picture over an event that opens its alarm trend: the alarm-trend image
// "Alarm0" at a pointer's size.
QPixmap AlarmTrendPointer();

} // namespace tq
