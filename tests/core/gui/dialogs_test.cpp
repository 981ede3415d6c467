#include "core/gui/dialogs.h"
#include "core/gui/display_font.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QTimer>

namespace tq {
namespace {

// With TQ6200_MESSAGE_LOG set no box shows: each appends its id and text and takes the
// default button.
class MessageLogTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        qputenv("TQ6200_MESSAGE_LOG", path(QStringLiteral("boxes.log")).toUtf8());
    }
    void TearDown() override { qunsetenv("TQ6200_MESSAGE_LOG"); }
};

TEST_F(MessageLogTest, BoxesAreWrittenOneALineAndTakeTheirDefault) {
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.ShowMessage({5373, QStringLiteral("End ?"), QStringLiteral("TQ-6200"),
                                   BoxIcon::Question, BoxButtons::YesNo}),
              BoxAnswer::Yes);
    EXPECT_EQ(dialogs.ShowMessage({300, QStringLiteral("first\r\nsecond"), QString()}),
              BoxAnswer::Ok);
    EXPECT_TRUE(dialogs.SaveFileName({}).isEmpty());
    const ChosenFile none = dialogs.ChooseSaveFile({QString(), QString(), QString(), 3});
    EXPECT_TRUE(none.path.isEmpty());
    EXPECT_EQ(none.filterIndex, 3);
    EXPECT_EQ(test::readFile(path(QStringLiteral("boxes.log"))),
              QByteArray("5373\tEnd ?\n300\tfirst~csecond\n"));
}

TEST_F(MessageLogTest, ChoosersTakeThePreset) {
    QtDialogs dialogs;
    QFont font(QStringLiteral("Sans"), 11);
    font.setBold(true);
    EXPECT_EQ(dialogs.ChooseFont(font), font);
    EXPECT_EQ(dialogs.ChooseColor(QColor(1, 2, 3)), QColor(1, 2, 3));
}

// The font chooser offers no underline or strikeout, and neither comes back, even from a
// preset that had them or a font the dialog was given.
TEST(FontChooserTest, NoUnderlineOrStrikeout) {
    QFont preset(QStringLiteral("Sans"), 11);
    preset.setUnderline(true);
    preset.setStrikeOut(true);
    int shownEffects = -1;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownEffects = 0;
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            shownEffects += box->isVisible();
        QFont struck(QStringLiteral("Sans"), 12);
        struck.setUnderline(true);
        struck.setStrikeOut(true);
        dialog->setCurrentFont(struck);
        dialog->accept();
    });
    QtDialogs dialogs;
    const QFont chosen = dialogs.ChooseFont(preset);
    EXPECT_EQ(shownEffects, 0);
    EXPECT_EQ(chosen.pointSizeF(), 12.0);
    EXPECT_FALSE(chosen.underline());
    EXPECT_FALSE(chosen.strikeOut());

    FontSettings settings;
    settings.Underline = true;
    EXPECT_FALSE(DisplayQFont(settings).underline()) << "a settings file's underline";
    EXPECT_FALSE(FontSettingsOf(preset).Underline) << "never stored";
}

// The production save chooser proposes the full name with the preselected entry, reads the
// chosen entry back, asks nothing about an existing file and adds no suffix.
using SaveChooserTest = test::TempFolderTest;

TEST_F(SaveChooserTest, TakesAndGivesTheFilterEntry) {
    const QString existing = path(QStringLiteral("old.csv"));
    test::writeFile(existing, "old");
    const QStringList entries = {QStringLiteral("Comma csv (*.csv)"),
                                 QStringLiteral("Tab csv (*.csv)"),
                                 QStringLiteral("Text Comma (*.txt)")};
    QString preselected;
    QStringList proposed;
    QString suffix = QStringLiteral("unset");
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        preselected = dialog->selectedNameFilter();
        proposed = dialog->selectedFiles();
        suffix = dialog->defaultSuffix();
        dialog->selectNameFilter(entries[0]);
        // An overwrite question of the chooser's own would show now: answer it to go on.
        QTimer::singleShot(200, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                    yes->click();
            }
        });
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides it
    });
    QtDialogs dialogs;
    const ChosenFile chosen =
        dialogs.ChooseSaveFile({QString(), existing, entries.join(QStringLiteral(";;")), 2});
    EXPECT_EQ(preselected, entries[1]);
    EXPECT_EQ(proposed, QStringList{existing});
    EXPECT_EQ(suffix, QString());
    EXPECT_FALSE(asked);
    EXPECT_EQ(chosen.path, existing);
    EXPECT_EQ(chosen.filterIndex, 1);
}

TEST(DialogsSeamTest, InstalledDialogsAnswerUntilRemoved) {
    struct Fixed : QtDialogs {
        Date Now() override { return Date::fromParts(2001, 2, 3); }
    } fixed;
    SetDialogs(&fixed);
    EXPECT_EQ(Now(), Date::fromParts(2001, 2, 3));
    SetDialogs(nullptr);
    EXPECT_NE(Now(), Date::fromParts(2001, 2, 3));
}

} // namespace
} // namespace tq
