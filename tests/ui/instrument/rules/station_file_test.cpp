#include "ui/instrument/rules/station_file.h"

#include "bench_support.h"
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
        {"LF only ends lines", "1,A\n2,B\n3,C\r\n", {"A", "B", "C"}, 3},
        {"CR only ends lines", "1,A\r2,B\r", {"A", "B"}, 2},
        {"no final line end", "1,A\r\n2,B", {"A", "B"}, 2},
        {"17 characters kept as read", "1,ABCDEFGHIJKLMNOPQ\r\n", {"ABCDEFGHIJKLMNOPQ"}, 1},
        {"quotes are plain characters", "1,\"A;B\"\r\n", {"\"A;B\""}, 1},
        {"UTF-8 text", "1,ÄB\r\n", {QString::fromUtf8("ÄB")}, 1},
        {"UTF-8 byte-order mark dropped",
         "\xEF\xBB\xBF"
         "1,A\r\n",
         {"A"},
         1},
        {"300 lines give 256 names", numbered(300), {}, 256},
        {"nothing after the 256th line is read", numbered(256) + QByteArray(5000, '\0'), {}, 256},
        {"51 fields, the last one too",
         "1" + QByteArray(",x").repeated(50) + "\r\n",
         {QStringList(50, QStringLiteral("x")).join(QLatin1Char(','))},
         1},
        {"4,096 characters", "1," + QByteArray(4094, 'A') + "\r\n", {QString(4094, 'A')}, 1},
        {"4,096 characters of three bytes each",
         "1," + QByteArray("\xE9\xA7\x85").repeated(4094),
         {QString::fromUtf8("\xE9\xA7\x85").repeated(4094)},
         1},
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

// A file that is no station list is refused whole, naming the line and the cause.
TEST_F(StationFileTest, AFileThatIsNoStationListGivesNoNames) {
    struct Case {
        const char *what;
        QByteArray content;
        int line;
        QString cause;
    };
    const QString tooLong = LoadMessage(30305);
    const QString tooManyFields = LoadMessage(30306);
    const QString wide = LoadMessage(30308);
    const auto control = [](const char *code) { return LoadMessage(30307, {code}); };
    const std::vector<Case> cases = {
        {"60 fields", "1,A\r\n1" + QByteArray(",x").repeated(59) + "\r\n", 2, tooManyFields},
        {"52 fields", "1" + QByteArray(",x").repeated(51) + "\r\n", 1, tooManyFields},
        {"4,097 characters", "1,A\r\n2," + QByteArray(4095, 'A') + "\r\n", 2, tooLong},
        {"a line too long to read whole", "1,A\r\n2,B\r\n" + QByteArray(20000, 'A'), 3, tooLong},
        {"NUL byte", QByteArrayLiteral("1,A\r\n2,B\r\n3,C\0D\r\n"), 3, control("U+0000")},
        {"escape", "1,\x1B[1mA\r\n", 1, control("U+001B")},
        {"delete", "1,A\x7F\r\n", 1, control("U+007F")},
        {"UTF-8 C1 control", "1,A\xC2\x85\r\n", 1, control("U+0085")},
        {"binary data",
         QByteArray("\x7F"
                    "ELF\x02\x01\x01\0\0",
                    9),
         1, control("U+007F")},
        {"UTF-16 without a mark", QByteArray("1\0,\0A\0\r\0\n\0", 10), 1, control("U+0000")},
        {"UTF-16 LE",
         QByteArray("\xFF\xFE"
                    "1\0,\0A\0",
                    8),
         1, wide},
        {"UTF-16 BE",
         QByteArray("\xFE\xFF\0"
                    "1\0,\0A",
                    8),
         1, wide},
        {"UTF-32 LE",
         QByteArray("\xFF\xFE\0\0"
                    "1\0\0\0",
                    8),
         1, wide},
        {"UTF-32 BE",
         QByteArray("\0\0\xFE\xFF\0\0\0"
                    "1",
                    8),
         1, wide},
    };
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("bad.csv"));
        test::writeFile(file, c.content);
        const StationFileImport read = ReadStationFile(file);
        EXPECT_EQ(read.error.messageId, 30304) << c.what;
        EXPECT_EQ(read.error.params,
                  QStringList({QStringLiteral("bad.csv"), QString::number(c.line), c.cause}))
            << c.what;
        EXPECT_TRUE(read.names.isEmpty()) << c.what;
    }
    const StationFileImport missing = ReadStationFile(path(QStringLiteral("none.csv")));
    EXPECT_EQ(missing.error.messageId, 30303);
    EXPECT_EQ(missing.error.params.value(0), QStringLiteral("none.csv"));
    EXPECT_FALSE(missing.error.params.value(1).isEmpty());
    EXPECT_TRUE(missing.names.isEmpty());
}

// However large the file, the reading stops at the first line too long or after the
// stations, so it costs a few megabytes.
TEST_F(StationFileTest, AHugeFileIsRefusedWithoutReadingIt) {
    struct Case {
        const char *what;
        QByteArray head; // then the file grows to 512 MB of NUL bytes
        int line;
    };
    for (const Case &c :
         {Case{"one line", "1,", 1}, Case{"after the stations", numbered(256), 0}}) {
        const QString file = path(QStringLiteral("huge.csv"));
        test::writeFile(file, c.head);
        ASSERT_TRUE(QFile(file).resize(qint64(512) << 20)) << c.what;
        bench::ResetPeakResident();
        const double before = bench::PeakResidentMB();
        const StationFileImport read = ReadStationFile(file);
        EXPECT_LT(bench::PeakResidentMB() - before, 20.0) << c.what;
        if (c.line == 0) {
            EXPECT_EQ(read.error.messageId, 0) << c.what;
            EXPECT_EQ(read.names.size(), 256) << c.what;
        } else {
            EXPECT_EQ(read.error.params.value(1), QString::number(c.line)) << c.what;
            EXPECT_EQ(read.error.params.value(2), LoadMessage(30305)) << c.what;
        }
        QFile::remove(file);
    }
}

TEST_F(StationFileTest, TheRefusalNamesTheFileTheLineAndTheCause) {
    const QString file = path(QStringLiteral("bad.csv"));
    test::writeFile(file, QByteArrayLiteral("1,A\r\n2,B\0\r\n"));
    const QString text = ReadStationFile(file).error.text();
    const QString expected =
        JapaneseActive()
            ? QString::fromUtf8(
                  "bad.csv はステーションリストではないため、インポートしませんでした: 2 "
                  "行目に制御文字 U+0000 があります。")
            : QStringLiteral("bad.csv is not a station list and was not imported: line 2 holds the "
                             "control character U+0000.");
    EXPECT_EQ(text, expected);
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
