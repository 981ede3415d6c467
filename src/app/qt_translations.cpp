#include "app/qt_translations.h"

#include "core/messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tq {

bool InstallQtTranslations(QCoreApplication &app) {
    if (!JapaneseActive())
        return false;
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace tq
