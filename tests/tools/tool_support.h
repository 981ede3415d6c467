#pragma once

// What the test programs that drive the real main window share: the offscreen start and
// message boxes written to stderr.

#include "core/gui/dialogs.h"

#include <QTextStream>

namespace tq::tool {

// Offscreen unless a display (an X server such as Xvfb) is named; before the application
// object exists.
inline void UseOffscreenUnlessDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A box as one line on stderr: its id, a tab and its text, line breaks as "~c".
inline void WriteBoxLine(const MessageBoxRequest &request) {
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("~c"));
    QTextStream(stderr) << request.messageId << '\t' << text << Qt::endl;
}

} // namespace tq::tool
