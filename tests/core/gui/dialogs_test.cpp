#include "core/gui/dialogs.h"

#include "test_support.h"

#include <gtest/gtest.h>

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
