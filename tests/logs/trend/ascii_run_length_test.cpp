#include "core/errors.h"
#include "logs/trend/run_length.h"

#include <gtest/gtest.h>

#include <vector>

namespace tq {
namespace {

TEST(RunLength, ByteCodes) {
    const std::vector<std::pair<QChar, QString>> cases = {
        {u'!', "00"}, {u'"', "FF"},  {u'#', "D1"}, {u'$', "01"}, {u'%', "02"},
        {u'&', "03"}, {u'\'', "FE"}, {u' ', ""},   {u'/', ""},   {u'A', ""},
    };
    for (const auto &[ch, digits] : cases)
        EXPECT_EQ(RunLengthByteCode(ch), digits) << QString(ch).toStdString();
}

TEST(RunLength, Decode) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"!$", "0001"},
        {"!$%&", "00010203"},
        {QString(QChar(66)) + "#'", "D1FED1FE"}, // repeat count 2
        {QString(QChar(67)) + "!!", "000000000000"},
        {QString(QChar(64)) + "!!$%", "0102"}, // a count of 0 drops its group
        {"12:?", "12AF"},                      // half-byte pairs
        {"!", ""},                             // an unfinished group gives nothing
        {"!\x01\xC3$", "0001"},                // characters outside the code are ignored
        {"!,$", "0001"},                       // a byte character without digits
        // Two count characters: (65 - 64) * 64 + (64 - 64) = 64 repeats.
        {QString(QChar(65)) + QChar(64) + "!$", QString("0001").repeated(64)},
        {"!$" + QString(QChar(66)), "0001"}, // a trailing count has nothing to repeat
    };
    for (const auto &[text, digits] : cases)
        EXPECT_EQ(DecodeRunLength(text), digits) << text.toStdString();
}

TEST(RunLength, CountIsResetAfterEachGroup) {
    EXPECT_EQ(DecodeRunLength(QString(QChar(66)) + "!!$$"), "000000000101");
}

TEST(RunLength, GroupsAreCountedWithoutExpanding) {
    // 16,384 groups of 4,095 repeats: 67 million samples from a 64 KB line.
    const QString line = QString("\x7f\x7f!!").repeated(16384);
    const QList<RunLengthGroup> groups = RunLengthGroups(line);
    ASSERT_EQ(groups.size(), 16384);
    EXPECT_EQ(groups.first().digits, "0000");
    EXPECT_EQ(groups.first().count, 4095);
    EXPECT_EQ(RunLengthSampleCount(groups), qint64(16384) * 4095);
    EXPECT_FALSE(SampleLineFits(line, 54001));
    EXPECT_THROW(SampleGroupsWithin(line, 0, 54001), TqError);
    // A count of 0 leaves no group; the counter already reached counts against the table.
    const QString three = QString(QChar(64)) + "!!" + QChar(67) + "!$";
    EXPECT_EQ(RunLengthGroups(three).size(), 1);
    EXPECT_EQ(SampleGroupsWithin(three, 7, 10).size(), 1);
    EXPECT_THROW(SampleGroupsWithin(three, 8, 10), TqError);
    EXPECT_TRUE(SampleLineFits(three, 3));
    EXPECT_FALSE(SampleLineFits(three, 2));
}

struct SampleCase {
    QString digits;
    bool hasGas;
    qint16 decimals;
    float value;
};

TEST(RunLength, SampleValues) {
    const std::vector<SampleCase> cases = {
        {"FEFE", false, 0, -118}, {"FFFF", false, 0, -101}, {"FEFE", true, 1, -118},
        {"ffff", true, 1, -101},  {"0001", false, 0, -101}, {"0001", true, 0, 1},
        {"0203", true, 1, 51.5f}, {"FFFE", true, 0, -2},    {"8000", true, 0, -32768},
        {"012C", true, 1, 30},    {"0000", true, 2, 0},
    };
    for (const SampleCase &c : cases)
        EXPECT_FLOAT_EQ(HexSampleValue(c.digits, c.hasGas, c.decimals), c.value)
            << c.digits.toStdString();
}

TEST(RunLength, SampleValueFailures) {
    EXPECT_THROW(HexSampleValue(u"0001", true, -101), TqError);
    EXPECT_THROW(HexSampleValue(u"00G1", true, 0), TqError);
}

} // namespace
} // namespace tq
