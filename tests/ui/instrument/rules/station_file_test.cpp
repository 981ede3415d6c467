#include "ui/instrument/rules/station_file.h"

#include "core/messages.h"
#include "core/text_codec.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>

#include <vector>

namespace tq {
namespace {

class StationFileTest : public test::TempFolderTest {};

QByteArray numbered(int count, const QByteArray &lineEnd = "\r\n") {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += QByteArray::number(i) + ",S" + QByteArray::number(i) + lineEnd;
    return out;
}

TEST_F(StationFileTest, ImportsTheNamesOfEachLine) {
    struct Case {
        const char *what;
        QByteArray content;
        QStringList names; // empty list: count given instead
        int count;
    };
    const std::vector<Case> cases = {
        {"3 lines", "1,A\r\n2,B\r\n3,C\r\n", {"A", "B", "C"}, 3},
        {"number ignored, blank kept", "7,NORTH GATE\r\n", {"NORTH GATE"}, 1},
        {"further fields after a comma", "1,NORTH,GATE\r\n", {"NORTH,GATE"}, 1},
        {"Tab as separator", "1\tNORTH\tGATE\r\n", {"NORTH,GATE"}, 1},
        {"two commas as one", "1,,NORTH\r\n", {"NORTH"}, 1},
        {"leading comma: empty name", ",NORTH\r\n", {""}, 1},
        {"no separator: empty name", "NORTH\r\n2,B\r\n", {"", "B"}, 2},
        {"empty line takes a station", "\r\n2,B\r\n", {"", "B"}, 2},
        {"LF only ends lines", "1,A\n2,B\n", {"A", "B"}, 2},
        {"CR only ends lines", "1,A\r2,B\r", {"A", "B"}, 2},
        {"no final line end", "1,A\r\n2,B", {"A", "B"}, 2},
        {"17 characters kept as read", "1,ABCDEFGHIJKLMNOPQ\r\n", {"ABCDEFGHIJKLMNOPQ"}, 1},
        {"quotes are plain characters", "1,\"A;B\"\r\n", {"\"A;B\""}, 1},
        {"UTF-8 text", "1,ÄB\r\n", {QString::fromUtf8("ÄB")}, 1},
        {"300 lines give 256 names", numbered(300), {}, 256},
        {"51 fields pass", "1" + QByteArray(",x").repeated(50) + "\r\n", {}, 1},
    };
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("s.csv"));
        test::writeFile(file, c.content);
        const StationFileImport read = ReadStationFile(file);
        EXPECT_EQ(read.error.messageId, 0) << c.what;
        EXPECT_EQ(read.names.size(), c.count) << c.what;
        if (!c.names.isEmpty()) {
            EXPECT_EQ(read.names, c.names) << c.what;
        }
    }
}

TEST_F(StationFileTest, LinesInTheActiveCodePageWhenNotUtf8) {
    const QString file = path(QStringLiteral("s.csv"));
    // Windows-1252 in English, Shift_JIS in Japanese.
    const QString name = JapaneseActive() ? QString::fromUtf8("駅X") : QString::fromUtf8("ÄX");
    test::writeFile(file, "1," + EncodeDeviceText(name) + "\r\n");
    EXPECT_EQ(ReadStationFile(file).names, QStringList{name});
}

TEST_F(StationFileTest, AFileWithABadLineGivesNoNames) {
    const QString improper = LoadMessage(8038);
    struct Case {
        const char *what;
        QByteArray content;
    };
    const std::vector<Case> cases = {
        {"60 fields", "1,A\r\n" + QByteArray("1") + QByteArray(",x").repeated(59) + "\r\n"},
        {"52 fields", QByteArray("1") + QByteArray(",x").repeated(51) + "\r\n"},
        {"a line of 4,097 characters", "1,A\r\n2," + QByteArray(4095, 'A') + "\r\n"},
    };
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("bad.csv"));
        test::writeFile(file, c.content);
        const StationFileImport read = ReadStationFile(file);
        EXPECT_EQ(read.error.messageId, 8056) << c.what;
        EXPECT_EQ(read.error.params, QStringList{improper}) << c.what;
        EXPECT_TRUE(read.names.isEmpty()) << c.what;
    }
    const StationFileImport missing = ReadStationFile(path(QStringLiteral("none.csv")));
    EXPECT_EQ(missing.error.messageId, 30303);
    EXPECT_EQ(missing.error.params.value(0), QStringLiteral("none.csv"));
    EXPECT_FALSE(missing.error.params.value(1).isEmpty());
    EXPECT_TRUE(missing.names.isEmpty());
}

TEST_F(StationFileTest, ExportAndImportGiveTheSameNames) {
    QStringList names;
    for (int i = 0; i < 256; ++i)
        names.append(QString(16, '-'));
    names[0] = QStringLiteral("  LEAD");
    names[1] = QStringLiteral("TRAIL  ");
    names[2] = QString();
    names[3] = QStringLiteral(" A B ");
    const QString file = path(QStringLiteral("Station.csv"));
    ASSERT_EQ(WriteStationFile(file, names).messageId, 0);
    const QByteArray bytes = test::readFile(file);
    EXPECT_TRUE(
        bytes.startsWith("1,  LEAD\r\n2,TRAIL  \r\n3,\r\n4, A B \r\n5,----------------\r\n"));
    EXPECT_TRUE(bytes.endsWith("256,----------------\r\n"));
    EXPECT_EQ(ReadStationFile(file).names, names);
}

TEST_F(StationFileTest, AFailedExportKeepsTheOldFileAndSaysWhy) {
    const QString file = path(QStringLiteral("Station.csv"));
    test::writeFile(file, "1,OLD\r\n");
    StationFileError error;
    {
        test::FileSizeLimit full(8); // the new list does not fit
        error = WriteStationFile(file, {QStringLiteral("NEW"), QStringLiteral("NAMES")});
    }
    EXPECT_EQ(error.messageId, 30302);
    EXPECT_EQ(error.params.value(0), QStringLiteral("Station.csv"));
    EXPECT_FALSE(error.params.value(1).isEmpty());
    EXPECT_EQ(test::readFile(file), QByteArray("1,OLD\r\n"));
}

TEST(StationName, ValidNames) {
    EXPECT_TRUE(IsValidStationName(QString()));
    EXPECT_TRUE(IsValidStationName(QStringLiteral("A-_/ 09az")));
    EXPECT_TRUE(IsValidStationName(QString(16, 'A')));
    EXPECT_FALSE(IsValidStationName(QString(17, 'A')));
    EXPECT_FALSE(IsValidStationName(QStringLiteral("NORTH,GATE")));
    EXPECT_FALSE(IsValidStationName(QStringLiteral("A*")));
}

} // namespace
} // namespace tq
