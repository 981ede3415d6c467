#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tq::bench {

// Makes `folder` the program folder (the current directory) with a settings file that
// holds `settings`.
void EnterFreshFolder(QTemporaryDir &folder, const QByteArray &settings);

// A flash image with every ring full and every block area written, built in `folder`;
// its path, or empty when it could not be built.
QString FullImage(const QString &folder);

} // namespace tq::bench
