// The link's small helpers: serial log, read list, dump-list lines, converter finder.
#include "link/dump_list.h"
#include "link/read_list.h"
#include "link/serial_log.h"
#include "link/usb_port_finder.h"
#include "test_support.h"

#include <QRegularExpression>

#include <gmock/gmock.h>

namespace tq::test {
namespace {

class SerialLog : public TempFolderTest {};

TEST_F(SerialLog, AppendsTimeTextAndCrLf) {
    for (const QString &folder : {dir.path(), dir.path() + '/'})
        EXPECT_EQ(SerialLogPath(folder), dir.filePath(QStringLiteral("SerialLog.log")));
    ASSERT_TRUE(SetSerialLog(dir.path(), QStringLiteral("first")));
    ASSERT_TRUE(SetSerialLog(dir.path(), QStringLiteral("two\r\nlines")));
    const QString log = QString::fromUtf8(readFile(SerialLogPath(dir.path())));
    const QRegularExpression expected(
        QStringLiteral(R"(^\d\d:\d\d:\d\d first\r\n\d\d:\d\d:\d\d two\r\nlines\r\n$)"));
    EXPECT_TRUE(expected.match(log).hasMatch()) << log.toStdString();
}

TEST_F(SerialLog, FailureIsReportedNotThrown) {
    EXPECT_FALSE(SetSerialLog(dir.filePath(QStringLiteral("missing")), QStringLiteral("lost")));
}

TEST_F(SerialLog, AHoldWritesItsLinesThroughAtItsEndOrAtAFlush) {
    const QString folder = dir.path();
    const auto lines = [&] {
        return QString::fromUtf8(readFile(SerialLogPath(folder))).count("\r\n");
    };
    ASSERT_TRUE(SetSerialLog(folder, QStringLiteral("before")));
    {
        const SerialLogHold hold(folder);
        {
            const SerialLogHold nested(folder); // the outer hold still keeps the log
        }
        ASSERT_TRUE(SetSerialLog(folder, QStringLiteral("block 1")));
        ASSERT_TRUE(SetSerialLog(folder, QStringLiteral("block 2")));
        EXPECT_EQ(lines(), 1); // held back
        FlushSerialLog();
        EXPECT_EQ(lines(), 3);
        ASSERT_TRUE(SetSerialLog(folder, QStringLiteral("block 3")));
    }
    EXPECT_EQ(lines(), 4);
    ASSERT_TRUE(SetSerialLog(folder, QStringLiteral("after")));
    EXPECT_EQ(lines(), 5);
    EXPECT_TRUE(QString::fromUtf8(readFile(SerialLogPath(folder))).endsWith(" after\r\n"));
}

TEST(ReadList, SendsTheIdentityOptionsAndEveryStation) {
    const auto &list = ReadList();
    EXPECT_EQ(std::ranges::count_if(list, [](const QString &c) { return !c.isEmpty(); }), 287);
    EXPECT_EQ(list[0], QStringLiteral("VP,R,"));
    EXPECT_EQ(list[2], QStringLiteral("XS,R,****"));
    EXPECT_EQ(list[48], QStringLiteral("AF,R,"));
    EXPECT_EQ(list[49], QStringLiteral("XS,R,0000"));
    EXPECT_EQ(list[59], QStringLiteral("XS,R,000A"));
    EXPECT_EQ(list[304], QStringLiteral("XS,R,00FF"));
    EXPECT_TRUE(list[4].isEmpty());
    EXPECT_TRUE(list[305].isEmpty());
}

TEST(DumpList, LineShowsHexAndCharacters) {
    EXPECT_EQ(DumpListLine(0x100, QStringLiteral("4142434445464748494A4B4C4D4E4F50")),
              QStringLiteral("000100 41 42 43 44 45 46 47 48  49 4A 4B 4C 4D 4E 4F 50   "
                             "ABCDEFGHIJKLMNOP"));
    const QString line = HexDumpLine(QStringLiteral("001F207E7FFF0000000000000000000A"));
    EXPECT_EQ(line.size(), 67);
    EXPECT_TRUE(line.endsWith(QStringLiteral("  .. ~............")));
    EXPECT_EQ(DumpPageHeading().size(), 74);
    EXPECT_EQ(DumpPageRule(), QString(74, '-'));
}

TEST(DumpList, ElapsedTimeIsHoursMinutesSeconds) {
    EXPECT_EQ(ElapsedText(75), QStringLiteral("00:01:15"));
    EXPECT_EQ(ElapsedText(3600 * 25 + 1), QStringLiteral("25:00:01"));
    EXPECT_EQ(ElapsedText(-3), QStringLiteral("00:00:00"));
}

TEST(ConverterFinder, NamedPortReplacesTheSearch) {
    EXPECT_EQ(QString::fromLatin1(kConverterCommSettings), QStringLiteral("921600,n,8,1"));
    qputenv("TQ6200_SERIAL_PORT", "/dev/pts/77");
    const ConverterSearch search = FindUsbSerialPort(QString::fromLatin1(kConverterDeviceId));
    EXPECT_EQ(search, ConverterSearch::One);
    EXPECT_EQ(ConverterPortNumber(search), 1);
    EXPECT_EQ(SerialDevicePath(1), QStringLiteral("/dev/pts/77"));
    qunsetenv("TQ6200_SERIAL_PORT");
}

TEST(ConverterFinder, DeviceIdThatNamesNoUsbDeviceFindsNothing) {
    qunsetenv("TQ6200_SERIAL_PORT");
    const ConverterSearch search = FindUsbSerialPort(QStringLiteral("not a device id"));
    EXPECT_EQ(search, ConverterSearch::None);
    EXPECT_EQ(ConverterPortNumber(search), 0);
    EXPECT_EQ(ConverterPortNumber(ConverterSearch::Several), 0);
    EXPECT_EQ(SerialDevicePath(4), QStringLiteral("/dev/ttyS3"));
}

} // namespace
} // namespace tq::test
