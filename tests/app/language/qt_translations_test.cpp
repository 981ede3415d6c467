#include "app/qt_translations.h"

#include "core/messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// In Japanese Qt's standard buttons speak Japanese; in English they stay as Qt has them.
TEST(QtTranslations, StandardButtonsSpeakTheActiveLanguage) {
    const bool installed = tq::InstallQtTranslations(*QCoreApplication::instance());
    EXPECT_EQ(installed, tq::JapaneseActive());
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
    const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text();
    if (tq::JapaneseActive())
        EXPECT_EQ(cancel, QString::fromUtf8("キャンセル"));
    else
        EXPECT_EQ(cancel, QStringLiteral("Cancel"));
}

} // namespace
