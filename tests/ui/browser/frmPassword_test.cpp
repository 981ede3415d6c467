#include "core/gui/layout_geometry.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tq {
namespace {

// One action on the prompt.
struct Action {
    enum Kind { Type, Continue, Change, Enter, Escape, Close } kind;
    QString text; // for Type: what is typed into the emptied box
};

Action type(const char *text) {
    return {Action::Type, QString::fromUtf8(text)};
}
const Action kContinue{Action::Continue, {}};
const Action kChange{Action::Change, {}};
const Action kEnter{Action::Enter, {}};
const Action kEscape{Action::Escape, {}};
const Action kClose{Action::Close, {}};

class PasswordDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().ProgramPassword = QStringLiteral("vog");
        Globals().PasswordAccepted = false;
    }

    static void act(frmPassword &dialog, const Action &action) {
        switch (action.kind) {
        case Action::Type:
            dialog.txtPass->clear();
            QTest::keyClicks(dialog.txtPass, action.text);
            break;
        case Action::Continue:
            dialog.cmdPass[0]->click();
            break;
        case Action::Change:
            dialog.cmdPass[1]->click();
            break;
        case Action::Enter:
            QTest::keyClick(dialog.txtPass, Qt::Key_Return);
            break;
        case Action::Escape:
            QTest::keyClick(dialog.txtPass, Qt::Key_Escape);
            break;
        case Action::Close:
            dialog.close();
            break;
        }
    }

    test::ScriptedDialogs dialogs;
};

TEST_F(PasswordDialogTest, ContinueAndTheChangeStepsAsTyped) {
    struct Case {
        const char *name;
        std::vector<Action> actions;
        bool open;     // still showing at the end
        bool accepted; // PasswordAccepted at the end
        QString password;
        QList<int> boxes;
        QString text;       // the box's text, while open
        int caption = 7002; // of cmdPass(1), while open
        int prompt = 7005;
        bool acceptedBefore = false; // what the caller set
    };
    const std::vector<Case> cases{
        {"letter case is ignored", {type("VOG"), kContinue}, false, true, "vog", {}, {}},
        {"a trailing blank counts", {type("vog "), kContinue}, true, false, "vog", {7101}, "vog "},
        {"a leading blank counts", {type(" vog"), kEnter}, true, false, "vog", {7101}, " vog"},
        {"an empty Continue closes unaccepted", {kContinue}, false, false, "vog", {}, {}},
        {"an empty Continue leaves the caller's flag",
         {kContinue},
         false,
         true,
         "vog",
         {},
         {},
         7002,
         7005,
         true},
        {"an empty Continue mid-change closes unaccepted",
         {kChange, type("vog"), kChange, kContinue},
         false,
         false,
         "vog",
         {},
         {}},
        {"the change: vog, New1, new1",
         {kChange, type("vog"), kChange, type("New1"), kChange, type("new1"), kChange},
         true,
         false,
         "new1",
         {7103},
         "new1"},
        {"Continue accepts at once after a change",
         {kChange, type("vog"), kChange, type("New1"), kChange, type("new1"), kChange, kContinue},
         false,
         true,
         "new1",
         {7103},
         {}},
        {"a wrong current password shows and changes nothing",
         {kChange, type("x"), kChange},
         true,
         false,
         "vog",
         {},
         "x",
         7007,
         7006},
        {"an empty current password does nothing",
         {kChange, kChange},
         true,
         false,
         "vog",
         {},
         {},
         7007,
         7006},
        {"an empty new password does nothing",
         {kChange, type("VOG"), kChange, type(""), kChange},
         true,
         false,
         "vog",
         {},
         {},
         7003,
         7008},
        {"a mismatched confirmation",
         {kChange, type("vog"), kChange, type("abc"), kChange, type("abd"), kChange},
         true,
         false,
         "vog",
         {7105},
         {}},
        {"an empty confirmation",
         {kChange, type("vog"), kChange, type("abc"), kChange, kChange},
         true,
         false,
         "vog",
         {7105},
         {}},
        {"the close box refuses", {type("vog"), kClose}, false, false, "vog", {}, {}},
        {"Escape does nothing", {type("vog"), kEscape}, true, false, "vog", {}, "vog"},
        {"Escape mid-change does nothing",
         {kChange, type("vog"), kEscape},
         true,
         false,
         "vog",
         {},
         "vog",
         7007,
         7006},
        {"Enter at the start is Continue", {type("Vog"), kEnter}, false, true, "vog", {}, {}},
        {"Enter in the current step is Continue",
         {kChange, type("vog"), kEnter},
         false,
         true,
         "vog",
         {},
         {}},
        {"Enter in the new step checks the program password",
         {kChange, type("vog"), kChange, type("VOG"), kEnter},
         false,
         true,
         "vog",
         {},
         {}},
        {"Enter in the confirmation step with another text is refused",
         {kChange, type("vog"), kChange, type("abc"), kChange, type("abc"), kEnter},
         true,
         false,
         "vog",
         {7101},
         "abc",
         7004,
         7009},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Globals().PasswordAccepted = c.acceptedBefore;
        dialogs.shown.clear();
        frmPassword dialog;
        dialog.show();
        for (const Action &action : c.actions)
            act(dialog, action);
        EXPECT_EQ(dialog.isVisible(), c.open);
        EXPECT_EQ(Globals().PasswordAccepted, c.accepted);
        EXPECT_EQ(Globals().ProgramPassword, c.password);
        EXPECT_EQ(dialogs.ids(), c.boxes);
        if (c.open) {
            EXPECT_EQ(dialog.txtPass->text(), c.text);
            EXPECT_EQ(dialog.txtPass->displayText(), QString(c.text.size(), u'*'));
            EXPECT_EQ(dialog.cmdPass[1]->text(), LoadMessage(c.caption));
            EXPECT_EQ(dialog.lblPass->text(), LoadMessage(c.prompt));
        }
    }
}

TEST_F(PasswordDialogTest, BoxesCarryTheirTitlesAndIcons) {
    frmPassword dialog;
    dialog.show();
    for (const Action &action :
         {type("x"), kContinue, kChange, type("vog"), kChange, type("a"), kChange, type("a"),
          kChange, kChange, type("A"), kChange, type("c"), kChange, type("b"), kChange})
        act(dialog, action);
    ASSERT_EQ(dialogs.ids(), (QList<int>{7101, 7103, 7105}));
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(7102));
    EXPECT_EQ(dialogs.shown[0].icon, BoxIcon::Critical);
    EXPECT_EQ(dialogs.shown[1].title, LoadMessage(7104));
    EXPECT_EQ(dialogs.shown[1].icon, BoxIcon::Information);
    EXPECT_EQ(dialogs.shown[2].title, LoadMessage(7104));
    EXPECT_EQ(dialogs.shown[2].icon, BoxIcon::Critical);
    EXPECT_EQ(Globals().ProgramPassword, QStringLiteral("a"));
}

TEST_F(PasswordDialogTest, LoadCaptionsFocusAndGeometry) {
    frmPassword dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Password"));
    EXPECT_EQ(dialog.cmdPass[0]->text(), LoadMessage(7001));
    EXPECT_EQ(dialog.cmdPass[1]->text(), LoadMessage(7002));
    EXPECT_EQ(dialog.lblPass->text(), LoadMessage(7005));
    EXPECT_TRUE(dialog.txtPass->text().isEmpty());
    EXPECT_TRUE(dialog.cmdPass[0]->isDefault());
    EXPECT_FALSE(dialog.cmdPass[1]->isDefault());
    EXPECT_EQ(dialog.focusWidget(), dialog.txtPass);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    // 4365 twips wide; label, box, then the buttons 60 twips lower, side by side.
    EXPECT_EQ(dialog.width(), TwipsToPixelsX(4365));
    EXPECT_EQ(T(dialog.txtPass), B(dialog.lblPass));
    EXPECT_NEAR(T(dialog.cmdPass[0]), B(dialog.txtPass) + 60, TwipsPerPixelY());
    EXPECT_EQ(T(dialog.cmdPass[1]), T(dialog.cmdPass[0]));
    EXPECT_NEAR(L(dialog.cmdPass[1]), 4365 / 2.0, TwipsPerPixelX());
    EXPECT_NEAR(R(dialog.cmdPass[1]), 4365, TwipsPerPixelX());
    EXPECT_LT(R(dialog.cmdPass[0]), L(dialog.cmdPass[1]));
    // The window, its frame included, is 1.4 times as high as the buttons' bottom edge.
    EXPECT_EQ(dialog.frameGeometry().height(), TwipsToPixelsY(B(dialog.cmdPass[0]) * 1.4));
    EXPECT_GT(dialog.height(), B(dialog.cmdPass[0]) / TwipsPerPixelY());

    // The display font, not the design font.
    const FontSettings saved = Globals().DisplayFont;
    Globals().DisplayFont.Size = 14;
    frmPassword larger;
    EXPECT_EQ(larger.txtPass->font().pointSizeF(), 14);
    EXPECT_EQ(larger.cmdPass[1]->font().pointSizeF(), 14);
    Globals().DisplayFont = saved;
}

TEST_F(PasswordDialogTest, AChangeReachesTheSettingsFileAtItsNextWrite) {
    const ProgramState saved = Globals();
    QTemporaryDir dir;
    SetStartupValues(dir.path());
    Globals().ProgramPassword = QStringLiteral("vog");
    {
        frmPassword dialog;
        dialog.show();
        for (const Action &action :
             {kChange, type("vog"), kChange, type("New1"), kChange, type("new1"), kChange})
            act(dialog, action);
    }
    EXPECT_FALSE(QFile::exists(SettingsFilePath())) << "the prompt writes no file";
    SaveSettings();
    Globals().ProgramPassword = QStringLiteral("other");
    LoadSettings();
    EXPECT_EQ(Globals().ProgramPassword, QStringLiteral("new1"));
    Globals() = saved;
}

TEST_F(PasswordDialogTest, AskClearsTheFlagAndReportsTheAnswer) {
    for (const auto &[typed, accepted] :
         std::vector<std::pair<QString, bool>>{{"VoG", true}, {"", false}}) {
        Globals().PasswordAccepted = true;
        QTimer::singleShot(0, [typed] {
            auto *prompt = qobject_cast<frmPassword *>(QApplication::activeModalWidget());
            ASSERT_NE(prompt, nullptr);
            EXPECT_FALSE(Globals().PasswordAccepted);
            EXPECT_EQ(prompt->parentWidget(), nullptr);
            prompt->txtPass->setText(typed);
            prompt->cmdPass[0]->click();
        });
        EXPECT_EQ(frmPassword::Ask(), accepted);
    }
}

} // namespace
} // namespace tq
