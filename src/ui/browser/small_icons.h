#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace tq {

// The window's small images for the log tree and list, by key: "TQ6200", "CloseFolder",
// "OpenFolder", "Interval0", "Interval1", "Interval2", "Alarm0", "Barhole", "BumpTest",
// "SnapShot", "History", "AEvent", "TEvent", "PEvent", "Change". A key it does not hold gives
// the null icon.
QIcon SmallIcon(const QString &key);
const QStringList &SmallIconKeys();

} // namespace tq
