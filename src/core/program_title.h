#pragma once

#include <QString>

namespace tq {

// The program's part number: 07318 with the Japanese message table, 07319 otherwise.
QString ProgramPartNumber();

// The title of the program's windows: message 5001, " [P.No.", the part number and "]".
QString ProgramWindowTitle();

// The title of every box that names the program itself.
inline QString ProgramBoxTitle() {
    return QStringLiteral("TQ-6200");
}

} // namespace tq
