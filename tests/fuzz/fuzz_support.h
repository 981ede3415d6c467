#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace tq::fuzz {

// The process-wide set-up every target needs once: an application object, a fresh program
// folder with a log database, and the program pointed at it.
void SetUpOnce();

// The program folder SetUpOnce made.
QString ProgramFolder();

// Writes bytes to a file of the program folder (replacing it) and returns its path.
QString WriteFile(const QString &name, const QByteArray &bytes);

inline QByteArray Bytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace tq::fuzz
