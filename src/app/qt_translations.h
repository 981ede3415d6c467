#pragma once

class QCoreApplication;

namespace tq {

// Qt's own texts (the buttons of message boxes, the file and font choosers) in the active
// language: in Japanese the qtbase catalogue of the Qt installation is installed on the
// application, which owns it. Without the catalogue Qt's English texts stay; returns
// whether a catalogue was installed.
bool InstallQtTranslations(QCoreApplication &app);

} // namespace tq
