#include "event_fixtures.h"

#include "core/gas_format.h"
#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsTroubleEvents.h"

namespace tq::test {
namespace {

// A line of the given length: the start, then '0' up to the length.
QString line(const QString &start, qint32 length) {
    return start.leftJustified(length, QChar('0'));
}

struct LineCase {
    const char *name;
    QString alarmLine; // trouble: the same line with 'D' for 'C'
    bool taken;
};

class GasEventLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(GasEventLineTest, AlarmAndTroubleCollectionsAgree) {
    const LineCase &c = GetParam();
    QString troubleLine = c.alarmLine;
    if (troubleLine.size() > 3 && troubleLine[2] == QChar('C'))
        troubleLine[2] = QChar('D');
    for (bool testFlag : {true, false}) {
        clsAlarmEvents alarms;
        clsTroubleEvents troubles;
        EXPECT_EQ(alarms.SetDatas(c.alarmLine, testFlag), c.taken) << testFlag;
        EXPECT_EQ(troubles.SetDatas(troubleLine, testFlag), c.taken) << testFlag;
        const QString failed = testFlag && !c.taken ? QStringLiteral("\r\n") + c.alarmLine : "";
        EXPECT_EQ(alarms.FailLine(), failed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, GasEventLineTest,
    ::testing::Values(LineCase{"unknownCode", line("01XX", 30), true},
                      LineCase{"eventGas0", line("01C0", 30), false},
                      LineCase{"eventGas1", line("01C1", 30), true},
                      LineCase{"dateLine", "01CD200331235900" + QString(10, ' '), true},
                      LineCase{"impossibleDate", "01CD201331235900" + QString(10, ' '), true},
                      LineCase{"serialLine", "01CBSERIAL000001 0012    ", true},
                      LineCase{"serialBadCount", "01CBSERIAL000001 00x2    ", false},
                      LineCase{"idLine", "01CAUSER1     STATION1  ", true},
                      LineCase{"gasLineShort", line("01CC***", 60), false},
                      LineCase{"noFourthOrFifthGas",
                               line("01CC***", 56) + "****" + QString(10, '0'), true},
                      // The fourth and fifth gas cannot be held: refused, not an error.
                      LineCase{"fourthGas", line("01CCCO ", 56) + "****" + QString(10, '0'), false},
                      LineCase{"fifthGas", line("01CC***", 56) + "H2S " + QString(10, '0'), false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(EventTextLineTest, ShortAndUnnumberedLinesAreRefused) {
    clsAlarmEvents alarms;
    EXPECT_FALSE(alarms.SetDatas(line("01C1", 20), true));
    EXPECT_EQ(alarms.FailLine(), QStringLiteral("\r\n"));
    EXPECT_FALSE(alarms.SetDatas(line("xxC1", 30), true));
    EXPECT_EQ(alarms.FailLine(), QStringLiteral("\r\n\r\n") + line("xxC1", 30));
    EXPECT_EQ(alarms.Count(), 0);
    // Control characters go before the length of a record is judged.
    clsPowerEvents powers;
    EXPECT_FALSE(powers.SetDatas(QStringLiteral("01FD200101\t\t\t\t\t\t\t\t\t\t\t"), true));
    EXPECT_EQ(powers.FailLine(), QStringLiteral("\r\n01FD200101"));
    EXPECT_EQ(powers.Count(), 1); // made before the record is judged
}

TEST(EventTextLineTest, EventLinesReplaceEntryZero) {
    clsAlarmEvents alarms;
    clsTroubleEvents troubles;
    ASSERT_TRUE(alarms.SetDatas(line("07C432", 25), false));
    EXPECT_FALSE(alarms.SetDatas(line("07C4", 24), false)); // alarm events need 25
    ASSERT_TRUE(troubles.SetDatas(line("07D5", 24), false));
    const auto alarm = alarms.Item(QStringLiteral("07 L"));
    ASSERT_NE(alarm, nullptr);
    EXPECT_EQ(alarm->GasNo(0), 3);
    EXPECT_EQ(alarm->Events(0), ReadingCode::FailAlkaline);
    EXPECT_EQ(alarm->DataCount(), 1);
    EXPECT_EQ(troubles.Item(1)->GasNo(0), 4);
    clsAlarmEvents checked; // check mode stores nothing
    ASSERT_TRUE(checked.SetDatas(line("07C432", 25), true));
    EXPECT_EQ(checked.Item(1)->DataCount(), 0);
}

TEST(EventTextLineTest, DateSerialAndIdLinesFillTheHeader) {
    clsTroubleEvents troubles;
    ASSERT_TRUE(troubles.SetDatas(QStringLiteral("02DD200331235958        "), false));
    ASSERT_TRUE(troubles.SetDatas(QStringLiteral("02DBSERIAL000001 0003    "), false));
    ASSERT_TRUE(troubles.SetDatas(QStringLiteral("02DA  USER1   STATION1  "), false));
    const auto log = troubles.Item(QStringLiteral("02 L"));
    EXPECT_EQ(log->header().Dates, Date::fromParts(2020, 3, 31, 23, 59, 58));
    EXPECT_EQ(log->header().Names, QStringLiteral("te31235958"));
    EXPECT_EQ(log->header().FolderID, QStringLiteral("03/20"));
    EXPECT_EQ(log->header().SerialNo, QStringLiteral("SERIAL000001"));
    EXPECT_EQ(log->DataCount(), 3);
    EXPECT_EQ(log->header().UserID, QStringLiteral("USER1"));
    EXPECT_EQ(log->header().StationID, QStringLiteral("STATION1"));
    EXPECT_FALSE(log->Error());

    clsAlarmEvents alarms; // an impossible time is taken but marks the log
    ASSERT_TRUE(alarms.SetDatas(QStringLiteral("03CD200331256100        "), true));
    EXPECT_TRUE(alarms.Item(1)->Error());
    EXPECT_EQ(alarms.Item(1)->header().Names, QString());
}

class PowerTextLineTest : public EventDatabaseTest {};

TEST_F(PowerTextLineTest, PowerLinesAppendEntries) {
    clsPowerEvents powers;
    powers.setContext(store);
    ASSERT_TRUE(powers.SetDatas(QStringLiteral("05FD2003312359581111    "), true));
    EXPECT_EQ(powers.Item(1)->DataCount(), 0);
    ASSERT_TRUE(powers.SetDatas(QStringLiteral("05FD2003312359581111    "), false));
    ASSERT_TRUE(powers.SetDatas(QStringLiteral("05FD2003312359590000    "), false));
    const auto log = powers.Item(QStringLiteral("05 L"));
    ASSERT_EQ(log->DataCount(), 2);
    EXPECT_EQ(log->Dates(0), Date::fromParts(2020, 3, 31, 23, 59, 58));
    EXPECT_TRUE(log->Flags(0));
    EXPECT_FALSE(log->Flags(1));
    EXPECT_FALSE(log->Error());
}

TEST_F(PowerTextLineTest, AnImproperDateIsMarkedAndLogged) {
    clsPowerEvents powers;
    powers.setContext(store);
    const QString bad = QStringLiteral("05FD2013312359581111    ");
    ASSERT_TRUE(powers.SetDatas(bad, false));
    const auto log = powers.Item(1);
    EXPECT_TRUE(log->Error());
    EXPECT_EQ(log->Dates(0), Date(0.0));
    EXPECT_EQ(log->DataCount(), 1);
    EXPECT_EQ(readFile(path(QStringLiteral("SerialLog.log"))),
              QByteArray("<<< improper date in SetDataF0() >>> ") + bad.toUtf8() + "\r\n");
}

} // namespace
} // namespace tq::test
