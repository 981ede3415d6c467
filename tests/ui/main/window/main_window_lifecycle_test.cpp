#include "core/messages.h"
#include "core/settings_file.h"
#include "main_window_fixture.h"
#include "ui/browser/DataPage.h"
#include "ui/main/database_lock.h"
#include "ui/main/window/serial_log_files.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSysInfo>

namespace tq {
namespace {

using test::MainWindowTest;

QString lockFile(const QString &folder) {
    return QDir(folder).filePath(QStringLiteral("TQ6200.LCK"));
}

TEST_F(MainWindowTest, StartUpMakesTheDatabaseAndHoldsTheLock) {
    load();
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("Data"))).isDir());
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("TQ6200.mdb"))));
    EXPECT_TRUE(window->databaseLock().isLocked());
    EXPECT_EQ(window->downloadCommands().DumpFile(), path(QStringLiteral("TQ6200.DAT")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(MainWindowTest, FirstActivationShowsTheDownloadPageAndWritesTheStandbyLine) {
    window = makeWindow();
    QStringList lines;
    QObject::connect(window.get(), &frmMain::serialLogLine,
                     [&lines](const QString &line) { lines.append(line); });
    ASSERT_EQ(window->Form_Load(), frmMain::LoadResult::Loaded);
    window->show();
    settle();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(!window->controls().fraMenu[std::size_t(i)]->isHidden(), i == 0) << i;
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], LoadMessage(5541, {dialogs.now.generalDate()}));
}

TEST_F(MainWindowTest, ASecondCopyOnTheSameDatabaseIsToldWhoHoldsItAndEnds) {
    load();
    auto second = makeWindow();
    EXPECT_EQ(second->Form_Load(), frmMain::LoadResult::EndProgram);
    ASSERT_EQ(dialogs.ids(), QList<int>{300});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QSysInfo::machineHostName()));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("TQ-6200"));
    second.reset();
    // The refused copy leaves the holder's lock alone.
    EXPECT_TRUE(QFileInfo::exists(lockFile(dir.path())));
    EXPECT_TRUE(window->databaseLock().isLocked());
}

TEST_F(MainWindowTest, ADataLocationThatCannotBeMadeIsToldInsteadOfRunningUnlocked) {
    writeSettings("DataLocation\t" + path(QStringLiteral("missing/deeper")).toUtf8() + "\r\n");
    window = makeWindow();
    EXPECT_EQ(window->Form_Load(), frmMain::LoadResult::EndProgram);
    EXPECT_EQ(dialogs.ids(), QList<int>{301});
    EXPECT_FALSE(window->databaseLock().isLocked());
}

TEST_F(MainWindowTest, ALockFileLeftByAKilledCopyDoesNotBlock) {
    test::writeFile(lockFile(dir.path()), "OTHERPC\r\nsomeone\r\n");
    load();
    EXPECT_TRUE(window->databaseLock().isLocked());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(MainWindowTest, ExitAnsweredNoKeepsTheWindowAndItsTimer) {
    load();
    dialogs.answers = {BoxAnswer::No};
    window->controls().cmdInst[5]->click();
    settle();
    EXPECT_EQ(dialogs.ids(), QList<int>{5373});
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("TQ-6200"));
    EXPECT_EQ(dialogs.shown[0].buttons, BoxButtons::YesNo);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->databaseLock().isLocked());
    window->downloadCommands().setTickCount(0);
    settle(350);
    EXPECT_GE(window->downloadCommands().TickCount(), 2);
}

TEST_F(MainWindowTest, CloseWhileExitIsDisabledIsRefusedWhateverTheAnswer) {
    load();
    window->controls().cmdInst[5]->setEnabled(false);
    for (BoxAnswer answer : {BoxAnswer::Yes, BoxAnswer::No}) {
        dialogs.answers = {answer};
        window->close();
        settle();
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_EQ(dialogs.ids(), (QList<int>{5373, 5373}));
    EXPECT_FALSE(QFileInfo::exists(SettingsFilePath()));
}

TEST_F(MainWindowTest, ExitWritesTheSettingsAndReleasesTheLock) {
    load();
    window->resize(1000, 700);
    window->dataPage().chkLog[1]->setChecked(true);
    window->controls().cmdInst[5]->click();
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(lockFile(dir.path())));
    ASSERT_TRUE(QFileInfo::exists(SettingsFilePath()));

    // What was written comes back: size, grouping boxes, the execute count.
    Globals() = ProgramState();
    Globals().AppFolder = dir.path();
    LoadSettings();
    EXPECT_NEAR(Globals().MainWindow.Width, PixelsToTwipsX(1000), 1);
    EXPECT_NEAR(Globals().MainWindow.Height, PixelsToTwipsY(700), 1);
    EXPECT_EQ(Globals().MainWindow.DataSelect, (std::array<int, 3>{0, 1, 0}));
    EXPECT_EQ(Globals().ExecuteCount, 1);
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenIsToldOnceAndTheLockIsStillReleased) {
    load();
    // A folder in the place of the settings file cannot be replaced.
    QDir(dir.path()).mkdir(QStringLiteral("TQ6200.ini"));
    test::writeFile(path(QStringLiteral("TQ6200.ini/keep")), "x");
    window->close();
    settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.ids(), (QList<int>{5373, 0}));
    EXPECT_FALSE(QFileInfo::exists(lockFile(dir.path())));
    window->close(); // a second close tells nothing more
    EXPECT_EQ(dialogs.shown.size(), 2);
}

struct SerialLogStart {
    const char *name;
    const char *setting;
    std::vector<int> before;
    std::vector<int> after; // earlier generations present after the start
};

class SerialLogStartTest : public MainWindowTest,
                           public ::testing::WithParamInterface<SerialLogStart> {};

TEST_P(SerialLogStartTest, StartUpStartsANewSerialLog) {
    writeSettings(QByteArray("Serial Log File\t") + GetParam().setting + "\r\n");
    for (int n : GetParam().before)
        test::writeFile(SerialLogFile(dir.path(), n), "old " + QByteArray::number(n));
    load();
    std::vector<int> present;
    for (int n = 1; n <= kSerialLogGenerations; ++n)
        if (QFileInfo::exists(SerialLogFile(dir.path(), n)))
            present.push_back(n);
    EXPECT_EQ(present, GetParam().after);
    if (std::string(GetParam().setting) == "ON" && !GetParam().after.empty()) {
        EXPECT_EQ(test::readFile(SerialLogFile(dir.path(), 1)), "old 0");
    }
    // This run's log starts afresh with the standby line of the first activation.
    const QByteArray current = test::readFile(SerialLogFile(dir.path(), 0));
    EXPECT_FALSE(current.contains("old")) << current.toStdString();
    EXPECT_EQ(current.count('\n'), 1) << current.toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Switch, SerialLogStartTest,
    ::testing::Values(SerialLogStart{"OnShiftsGenerations",
                                     "ON",
                                     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                                     {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                      SerialLogStart{"OnWithGaps", "ON", {0, 2}, {1, 3}},
                      SerialLogStart{"OffDeletesOnlyTheCurrentLog", "OFF", {0, 1, 9}, {1, 9}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ASerialLogThatWillNotGoIsToldOnceAndTheStartGoesOn) {
    QDir(dir.path()).mkdir(QStringLiteral("SerialLog.log"));
    test::writeFile(path(QStringLiteral("SerialLog.log/keep")), "x");
    load();
    EXPECT_EQ(dialogs.ids(), QList<int>{301});
    EXPECT_TRUE(window->databaseLock().isLocked());
}

class DebugControlsTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DebugControlsTest, DumpImportAndRawExportShowOnlyInDebugMode) {
    Globals().DebugMode = GetParam();
    load();
    window->cmdInst_Click(2);
    settle();
    EXPECT_EQ(window->downloadPage().cmdInportDat->isHidden(), !GetParam());
    EXPECT_EQ(window->dataPage().chkRawData->isHidden(), !GetParam());
}

INSTANTIATE_TEST_SUITE_P(Modes, DebugControlsTest, ::testing::Bool());

} // namespace
} // namespace tq
