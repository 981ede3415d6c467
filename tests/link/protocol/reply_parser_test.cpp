#include "link/protocol/reply_parser.h"

#include "core/messages.h"
#include "link/protocol/command_table.h"
#include "link/protocol/frame.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <ostream>
#include <vector>

namespace tq {
namespace {

using Option = clsInstrument::Option;

// A parser wired to a settings object, a log and a fixed PC clock.
class ReplyParserTest : public ::testing::Test {
protected:
    ReplyParserTest() {
        context.Instrument = &instrument;
        context.AddLog = [this](const QString &line) { log << line; };
        context.SetSerialLog = [this](const QString &line) { serialLog << line; };
        context.Now = [] { return Date::fromParts(2026, 12, 10, 12, 0, 0); };
        instrument.SetChangeFlags(true);
    }

    // The reply frame the detector sends for "code,data".
    bool parse(const QString &reply, char terminator = Ctrl::EOT) {
        QByteArray frame = MakeFrame(reply, terminator);
        return parser.ParseReply(frame);
    }
    bool parseFrame(QByteArray frame) { return parser.ParseReply(frame); }

    clsInstrument instrument;
    ReplyContext context;
    ReplyParser parser{context};
    QStringList log;
    QStringList serialLog;
};

// --- Options: decimal, hex and flag-digit reads ------------------------------------------

struct OptionCase {
    const char *reply;
    Option member;
    qint16 value; // what the read stores
};

void PrintTo(const OptionCase &c, std::ostream *os) {
    *os << c.reply;
}

class OptionReadTest : public ReplyParserTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionReadTest, StoresTheFieldAndClearsTheChangeFlag) {
    const OptionCase &c = GetParam();
    ASSERT_TRUE(parse(QString::fromLatin1(c.reply))) << c.reply;
    EXPECT_EQ(instrument.option(c.member), c.value) << c.reply;
    EXPECT_FALSE(instrument.changeFlag(c.member)) << c.reply;
    EXPECT_TRUE(log.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, OptionReadTest,
    ::testing::Values(
        OptionCase{"AP,R,3", Option::AlarmMode, 3}, OptionCase{"SD,R,2", Option::DispCalLimit, 2},
        OptionCase{"SM,R, 1 ", Option::CalCheck, 1}, OptionCase{"XW,R,1", Option::LogOverWrite, 1},
        OptionCase{"UQ,R,0", Option::autoBackLight, 0},
        OptionCase{"AF,R,-1", Option::AlarmOnOff, -1},
        OptionCase{"AM,R,2.5", Option::StelTwaOnOff, 2}, // halves to even
        OptionCase{"AT,R,3.5", Option::AlarmO2, 4}, OptionCase{"LP,R,1", Option::HcMode, 1},
        OptionCase{"XP,R,3C", Option::Intervals, 60}, OptionCase{"SC,R,FFFF", Option::CalLimit, -1},
        OptionCase{"XB,R,10", Option::Confermation, 16},
        OptionCase{"XT,R,00ff", Option::LcdBackLight, 255},
        OptionCase{"HF,R,8000", Option::pressOffset, -32768},
        OptionCase{"SJ,R,1", Option::AutoZero, 1}, OptionCase{"SJ,R,12", Option::AutoZero, 1},
        OptionCase{"SG,R,2", Option::DemandZero, 0}));

struct RejectCase {
    const char *reply;
    Option member; // stays as it was, flag raised
};

void PrintTo(const RejectCase &c, std::ostream *os) {
    *os << c.reply;
}

class OptionRejectTest : public ReplyParserTest,
                         public ::testing::WithParamInterface<RejectCase> {};

TEST_P(OptionRejectTest, LeavesTheMemberAndItsFlag) {
    const RejectCase &c = GetParam();
    instrument.setOption(c.member, 7);
    EXPECT_FALSE(parse(QString::fromLatin1(c.reply))) << c.reply;
    EXPECT_EQ(instrument.option(c.member), 7) << c.reply;
    EXPECT_TRUE(instrument.changeFlag(c.member)) << c.reply;
    EXPECT_TRUE(log.isEmpty()) << c.reply;
}

INSTANTIATE_TEST_SUITE_P(Replies, OptionRejectTest,
                         ::testing::Values(RejectCase{"AP,R,x", Option::AlarmMode},
                                           RejectCase{"AP,R, ", Option::AlarmMode},
                                           RejectCase{"AP,R,40000", Option::AlarmMode},
                                           RejectCase{"XP,R,G0", Option::Intervals},
                                           RejectCase{"XP,R,10000", Option::Intervals},
                                           RejectCase{"XP,R,123456789", Option::Intervals},
                                           RejectCase{"SJ,R,on", Option::AutoZero}));

// --- Other reads ---------------------------------------------------------------------

TEST_F(ReplyParserTest, IdentityReadsStoreTrimmedTexts) {
    struct Case {
        const char *reply;
        clsInstrument::TextOption member;
        const char *value;
    };
    for (const Case &c : std::vector<Case>{
             {"XZ,R,  Bob  ", clsInstrument::TextOption::UserID, "Bob"},
             {"IN,R,SN-0042 ", clsInstrument::TextOption::SerialNo, "SN-0042"},
             {"HN,R,HN1", clsInstrument::TextOption::DummySerial, "HN1"},
             {"BS,R, B-17", clsInstrument::TextOption::SpecNo, "B-17"},
             {"UJ,R,1", clsInstrument::TextOption::SpecType, "1"},
         }) {
        ASSERT_TRUE(parse(QString::fromLatin1(c.reply))) << c.reply;
        EXPECT_EQ(instrument.text(c.member), QString::fromLatin1(c.value)) << c.reply;
        EXPECT_FALSE(instrument.changeFlag(c.member)) << c.reply;
    }
    EXPECT_FALSE(parse(QStringLiteral("UJ,R,2")));
    EXPECT_FALSE(parse(QStringLiteral("UJ,R, 1")));
    EXPECT_EQ(instrument.SpecType(), QStringLiteral("1"));
}

TEST_F(ReplyParserTest, RomNumberAndSumKeepTheirWholeValue) {
    EXPECT_TRUE(parse(QStringLiteral("VP,R,70000")));
    EXPECT_EQ(instrument.RomNumber(), 70000);
    EXPECT_TRUE(parse(QStringLiteral("VS,R,00aF")));
    EXPECT_EQ(instrument.SUM(), QStringLiteral("00aF"));
    EXPECT_FALSE(parse(QStringLiteral("VS,R,xyz")));
    EXPECT_EQ(instrument.SUM(), QStringLiteral("00aF"));
    EXPECT_TRUE(parse(QStringLiteral("CP,R,FFFFFFFF")));
    EXPECT_EQ(instrument.FlowLevel(), -1);
    EXPECT_FALSE(instrument.Change_FlowLevel());
}

TEST_F(ReplyParserTest, StationNamesKeepTheirBlanksTheStationIdIsTrimmed) {
    EXPECT_TRUE(parse(QStringLiteral("XS,R,000A,  Tank 3")));
    EXPECT_EQ(instrument.StationList(10), QStringLiteral("  Tank 3"));
    EXPECT_FALSE(instrument.Change_StationList(10));
    EXPECT_TRUE(instrument.Change_StationList(11));

    EXPECT_TRUE(parse(QStringLiteral("XS,R,****,  Main gate  ")));
    EXPECT_EQ(instrument.StationID(), QStringLiteral("Main gate"));
    EXPECT_FALSE(instrument.Change_StationID());

    EXPECT_FALSE(parse(QStringLiteral("XS,R,00G1,Name")));
}

TEST_F(ReplyParserTest, ClockSetsTheDateAndItsOffsetFromThePc) {
    ASSERT_TRUE(parse(QStringLiteral("HC,R,261209120000")));
    EXPECT_EQ(instrument.SysDate(), Date::fromParts(2026, 12, 9, 12, 0, 0));
    EXPECT_DOUBLE_EQ(instrument.SysDateOffset().days(), 1.0);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, ImproperClockIsLoggedAndRejected) {
    EXPECT_FALSE(parse(QStringLiteral("HC,R,261310120000")));
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< improper date at HC >>> 261310120000")});
    EXPECT_EQ(instrument.FailLine(), QStringLiteral("HC,R"));

    log.clear();
    instrument.setFailLine(QString());
    EXPECT_FALSE(parse(QStringLiteral("HC,R,26121012000")));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(instrument.FailLine().isEmpty());
}

TEST_F(ReplyParserTest, RangedFieldsAreStoredOnlyInTheirRange) {
    instrument.setBumpTime(3);
    EXPECT_TRUE(parse(QStringLiteral("BU,R,6,1,0,1")));
    EXPECT_EQ(instrument.BumpTime(), 3);
    EXPECT_TRUE(instrument.Change_BumpTime());
    EXPECT_EQ(instrument.BumpThreshold(), 1);
    EXPECT_FALSE(instrument.Change_BumpThreshold());
    EXPECT_EQ(instrument.BumpFailCalTime(), 0);
    EXPECT_FALSE(instrument.Change_BumpFailCalTime());
    EXPECT_EQ(instrument.BumpFailAfter(), 1);
    EXPECT_FALSE(instrument.Change_BumpFailAfter());

    EXPECT_TRUE(parse(QStringLiteral("WB,R,1,2,1")));
    EXPECT_EQ(instrument.BhTime(), 2);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, WrongFieldCountsAreRejectedSomeWithAFormatError) {
    struct Case {
        const char *reply;
        bool logged;
    };
    for (const Case &c : std::vector<Case>{
             {"BU,R,1,,1,0", false}, // an empty field is not counted
             {"BU,R,1,1,0,1,1", false},
             {"WB,R,1,2", true},
             {"GJ,R,CO,x", true},
             {"SZ,R,1,2,3", true},
             {"S1,R,1,2,3,4,5", true},
             {"A1,R,1,2", false},
             {"SO,R,1,2", false},
         }) {
        log.clear();
        EXPECT_FALSE(parse(QString::fromLatin1(c.reply))) << c.reply;
        EXPECT_EQ(log,
                  c.logged ? QStringList{QStringLiteral("<<< Format error >>>")} : QStringList{})
            << c.reply;
    }
    EXPECT_TRUE(parse(QStringLiteral("SZ,R,1,2,3,4")));
}

TEST_F(ReplyParserTest, GasRecordFillsSlotZero) {
    EXPECT_TRUE(parse(QStringLiteral("GJ,R,CO         500.0  0.1ppm ")));
    EXPECT_EQ(instrument.GasName(0), QStringLiteral("CO"));
    EXPECT_TRUE(instrument.GasEnabled(0));
    EXPECT_FLOAT_EQ(instrument.GasFullScale(0), 500.0f);
    EXPECT_FALSE(instrument.Change_GasEnable(0));

    EXPECT_FALSE(parse(QStringLiteral("GJ,R,CO         500.0  0.1ppm")));
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, LevelReadsTakeNumbersAndStars) {
    struct Case {
        const char *reply;
        clsInstrument::GasValue member;
        clsInstrument::GasFlag flag;
        float value;
    };
    using GV = clsInstrument::GasValue;
    using GF = clsInstrument::GasFlag;
    for (const Case &c : std::vector<Case>{
             {"A1,R,  25.0", GV::Warning, GF::Warn, 25.0f},
             {"A2,R,50", GV::Alarm, GF::Alarm, 50.0f},
             {"AS,R,*****", GV::Stel, GF::Stel, -101.0f},
             {"AW,R,12.5", GV::Twa, GF::Twa, 12.5f},
             {"SA,R,100", GV::AutoCalib, GF::AutoCal, 100.0f},
         }) {
        ASSERT_TRUE(parse(QString::fromLatin1(c.reply))) << c.reply;
        EXPECT_FLOAT_EQ(instrument.gasValue(c.member, 0), c.value) << c.reply;
        EXPECT_FALSE(instrument.gasChangeFlag(c.flag, 0)) << c.reply;
    }
    EXPECT_FALSE(parse(QStringLiteral("A1,R,****")));
    EXPECT_FALSE(parse(QStringLiteral("A1,R,OVER")));
    EXPECT_FLOAT_EQ(instrument.Warning(0), 25.0f);
}

TEST_F(ReplyParserTest, LatestCalibrationRecord) {
    ASSERT_TRUE(parse(QStringLiteral("SO,R,261130093045 0.00 50.5")));
    EXPECT_EQ(instrument.CalibDate(0), Date::fromParts(2026, 11, 30, 9, 30, 45));
    EXPECT_FLOAT_EQ(instrument.CalibBefore(0), 0.0f);
    EXPECT_FLOAT_EQ(instrument.CalibAfter(0), 50.5f);

    // Month 13 carries into the next year.
    ASSERT_TRUE(parse(QStringLiteral("SO,R,261301000000 1.00 2.00")));
    EXPECT_EQ(instrument.CalibDate(0), Date::fromParts(2027, 1, 1));

    // Stars: the date is kept, the values become "no value".
    ASSERT_TRUE(parse(QStringLiteral("SO,R,**********************")));
    EXPECT_EQ(instrument.CalibDate(0), Date::fromParts(2027, 1, 1));
    EXPECT_FLOAT_EQ(instrument.CalibBefore(0), -101.0f);
    EXPECT_FLOAT_EQ(instrument.CalibAfter(0), -101.0f);

    EXPECT_FALSE(parse(QStringLiteral("SO,R,261130093045 0.00 50.")));
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, FlagStringsSetOneSlotPerCharacter) {
    instrument.setZero(0, 1);
    ASSERT_TRUE(parse(QStringLiteral("UZ,R,2100")));
    EXPECT_EQ(instrument.Zero(0), 0);
    EXPECT_FALSE(instrument.Change_Zero(0));

    // A character that is no digit rejects the reply; the others are still taken.
    instrument.setOverScale(0, 0);
    EXPECT_FALSE(parse(QStringLiteral("AO,R,1x00")));
    EXPECT_EQ(instrument.OverScale(0), 1);
    EXPECT_FALSE(instrument.Change_OverScale(0));
    EXPECT_TRUE(log.isEmpty());

    EXPECT_FALSE(parse(QStringLiteral("UZ,R,101")));
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< Format error >>>")});
}

TEST_F(ReplyParserTest, AnalogValuesAreHexAndTheLastASingle) {
    ASSERT_TRUE(parse(QStringLiteral("HA,R,FFFF,1,x,3,4,5,6,7F,3F800000")));
    EXPECT_EQ(instrument.AnalogValue(0), -1);
    EXPECT_EQ(instrument.AnalogValue(1), 1);
    EXPECT_EQ(instrument.AnalogValue(2), 0); // not hex: skipped
    EXPECT_EQ(instrument.AnalogValue(7), 0x7F);
    EXPECT_FLOAT_EQ(instrument.AdrealValue(), 1.0f);

    // A single of fewer than eight digits cannot be converted: the reply fails.
    EXPECT_FALSE(parse(QStringLiteral("HA,R,1,1,1,1,1,1,1,1,3F80")));
    EXPECT_FLOAT_EQ(instrument.AdrealValue(), 1.0f);
}

TEST_F(ReplyParserTest, ReadingsAreStoredAndRaisedWithDensty) {
    std::vector<std::array<float, 5>> raised;
    context.Densty = [&raised](std::array<float, 5> &values) { raised.push_back(values); };
    instrument.setLimitValue(1, 9.0f);
    ASSERT_TRUE(parse(QStringLiteral("DN,R,1.5,x,3,-, 5")));
    EXPECT_FLOAT_EQ(instrument.LimitValue(0), 1.5f);
    EXPECT_FLOAT_EQ(instrument.LimitValue(1), 9.0f);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], (std::array<float, 5>{1.5f, 9.0f, 3.0f, -101.0f, 5.0f}));
}

TEST_F(ReplyParserTest, ConnectReplyConnectsOnce) {
    int connects = 0;
    context.OnConnect = [&connects] { ++connects; };
    context.LinkState = LinkStateCode::Polling;
    EXPECT_FALSE(parse(QStringLiteral("RC,R,TQ-6100")));
    EXPECT_EQ(context.LinkState, LinkStateCode::Polling);

    EXPECT_TRUE(parse(QStringLiteral("RC,R,TQ-6200,V1.00")));
    EXPECT_EQ(context.LinkState, LinkStateCode::Connected);
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(serialLog, QStringList{LoadMessage(5514)});

    EXPECT_TRUE(parse(QStringLiteral("RC,R,TQ-6200,V1.00")));
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(serialLog.size(), 1);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, DumpLinesFillThePageAndWriteItWhenFull) {
    int pagesWritten = 0;
    std::vector<DumpListPage> pages;
    context.WriteDumpList = [&] {
        ++pagesWritten;
        pages.push_back(context.DumpPage);
    };
    const QString digits40 = QStringLiteral("0123456789ABCDEF0123456789ABCDEF01234567");
    ASSERT_TRUE(parse(QStringLiteral("EF,R,0,2,0,") + digits40, Ctrl::ETB));
    ASSERT_EQ(context.DumpPage.Count, 2);
    EXPECT_EQ(context.DumpPage.Lines[0], digits40.left(32));
    EXPECT_EQ(context.DumpPage.Addresses[0], 128);
    EXPECT_EQ(context.DumpPage.Lines[1],
              QStringLiteral("01234567") + QString(24, QLatin1Char('F')));
    EXPECT_EQ(context.DumpPage.Addresses[1], 144);

    // Fourteen more lines complete the page.
    ASSERT_TRUE(parse(QStringLiteral("EP,R,0,3,0,") + QString(14 * 32, QLatin1Char('A'))));
    EXPECT_EQ(pagesWritten, 1);
    EXPECT_EQ(context.DumpPage.Count, 0);
    EXPECT_EQ(pages[0].Addresses[15], 256 + 16 * 13);

    // A frame without memory: accepted, nothing collected.
    EXPECT_TRUE(parse(QStringLiteral("EF,R,0,1,0")));
    EXPECT_TRUE(parse(QStringLiteral("ES,R,0,x")));
    EXPECT_EQ(context.DumpPage.Count, 0);
}

// A dump frame whose memory cannot be placed is rejected before any line is kept, so the
// list neither loses it nor holds part of it twice when it is sent again.
TEST_F(ReplyParserTest, DamagedDumpFramesAreRejectedWhole) {
    int pagesWritten = 0;
    context.WriteDumpList = [&pagesWritten] { ++pagesWritten; };
    const QString line = QString(32, QLatin1Char('A'));
    ASSERT_TRUE(parse(QStringLiteral("EF,R,3,1,16,") + line, Ctrl::ETB));
    struct Case {
        const char *name;
        QString reply;
    };
    const std::vector<Case> cases{
        {"no frame number", QStringLiteral("EF,R,3,x,16,") + line},
        {"frame number 0", QStringLiteral("EF,R,3,0,16,") + line},
        {"negative frame number", QStringLiteral("EP,R,3,-2,16,") + line},
        {"frame number too large", QStringLiteral("ES,R,3,99999999999,16,") + line},
        {"not hex", QStringLiteral("EF,R,3,2,16,") + line.left(31) + QLatin1Char('G')},
        {"blank in the digits", QStringLiteral("EF,R,3,2,16,AAAA AAAA")},
        // The first eight lines would fit, the ninth lies beyond the largest address.
        {"addresses overflow",
         QStringLiteral("EF,R,3,16777216,129,") + line.repeated(8) + QStringLiteral("AA")},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(parse(c.reply, Ctrl::ETB)) << c.name;
        EXPECT_EQ(context.DumpPage.Count, 1) << c.name;
    }
    EXPECT_EQ(pagesWritten, 0);
    EXPECT_TRUE(log.isEmpty());
}

// --- Writes, confirms and status ------------------------------------------------------

struct EchoCase {
    const char *name;
    std::function<void(clsInstrument &)> written; // what the upload wrote
    const char *reply;
    bool accepted;
};

TEST_F(ReplyParserTest, WriteEchoesMustMatchTheWrittenValue) {
    const auto alarmMode = [](qint16 v) { return [v](clsInstrument &i) { i.setAlarmMode(v); }; };
    const auto confermation = [](qint16 v) {
        return [v](clsInstrument &i) { i.setConfermation(v); };
    };
    const auto dispCalLimit = [](qint16 v) {
        return [v](clsInstrument &i) { i.setDispCalLimit(v); };
    };
    const auto userId = [](const char *v) {
        return [v](clsInstrument &i) { i.setUserID(QString::fromLatin1(v)); };
    };
    const auto nothing = [](clsInstrument &) {};
    const std::vector<EchoCase> cases{
        {"decimal", alarmMode(3), "AP,W,3", true},
        {"decimal with blanks", alarmMode(-1), "AP,W, -1", true},
        {"decimal differs", alarmMode(3), "AP,W,4", false},
        {"decimal not a number", alarmMode(3), "AP,W,x", false},
        {"hex is compared as hex", confermation(16), "XB,W,10", true},
        {"hex read as decimal differs", confermation(16), "XB,W,16", false},
        {"hex of a negative", [](clsInstrument &i) { i.setLcdBackLight(-1); }, "XT,W,FFFF", true},
        {"32-bit hex", [](clsInstrument &i) { i.setFlowLevel(65536); }, "CP,W,00010000", true},
        {"digit for non-zero", dispCalLimit(5), "SD,W,1", true},
        {"digit is not the value", dispCalLimit(5), "SD,W,5", false},
        {"digit for zero", dispCalLimit(0), "SD,W, 0 ", true},
        {"text padded", userId("Bob"), "XZ,W,Bob             ", true},
        {"text differs", userId("Bob"), "XZ,W,Bo", false},
        {"exact", [](clsInstrument &i) { i.setSpecType(QStringLiteral("1")); }, "UJ,W,1", true},
        {"exact with a blank", [](clsInstrument &i) { i.setSpecType(QStringLiteral("1")); },
         "UJ,W, 1", false},
        {"level number", nothing, "A1,W,  1.5", true},
        {"level stars", nothing, "SA,W,*****", true},
        {"level not a level", nothing, "A2,W,abc", false},
        {"level two fields", nothing, "AS,W,1,2", false},
        {"station write", nothing, "XS,W,000A,Name", true},
    };
    for (const EchoCase &c : cases) {
        c.written(instrument);
        EXPECT_EQ(parse(QString::fromLatin1(c.reply)), c.accepted) << c.name;
    }
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, AcknowledgedWritesNeedAckInTheDataPosition) {
    QByteArray shortest = MakeFrame(QStringLiteral("DW,W,\x06"));
    ASSERT_EQ(shortest.size(), 15);
    EXPECT_TRUE(parseFrame(shortest));
    for (const char *code : {"SZ,W,", "XC,W,", "XY,W,", "RO,W,", "UX,W,", "UD,W,", "UP,W,"})
        EXPECT_TRUE(parse(QString::fromLatin1(code) + QChar(Ctrl::ACK))) << code;
    EXPECT_TRUE(log.isEmpty());

    EXPECT_FALSE(parse(QStringLiteral("DW,W,\x1a")));
    EXPECT_FALSE(parse(QStringLiteral("RO,W,1")));
    EXPECT_EQ(log, QStringList(2, QStringLiteral("<<< Response error >>>")));
}

TEST_F(ReplyParserTest, ClockWriteMustEchoTheFrameSent) {
    context.LastSentFrame = MakeFrame(QStringLiteral("HC,W,261210120000"));
    EXPECT_TRUE(parseFrame(context.LastSentFrame));
    EXPECT_FALSE(parse(QStringLiteral("HC,W,261210120001")));
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< Response error >>>")});
}

TEST_F(ReplyParserTest, ZeroFlagWriteNeedsFourCharacters) {
    EXPECT_TRUE(parse(QStringLiteral("UZ,W,1010")));
    EXPECT_FALSE(parse(QStringLiteral("UZ,W,101")));
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< Response error >>>")});
}

TEST_F(ReplyParserTest, ConfirmsRecordWhetherTheDetectorAcknowledged) {
    for (const char *code : {"XC,C,", "XY,C,", "UX,C,"}) {
        EXPECT_TRUE(parse(QString::fromLatin1(code) + QChar(Ctrl::ACK))) << code;
        EXPECT_TRUE(context.ConfirmAcknowledged) << code;
        EXPECT_TRUE(parse(QString::fromLatin1(code) + QChar(Ctrl::SUB))) << code;
        EXPECT_FALSE(context.ConfirmAcknowledged) << code;
    }
}

TEST_F(ReplyParserTest, ZeroConfirmTakesAStatusOrBusy) {
    EXPECT_TRUE(parse(QStringLiteral("SZ,C, 0K0K0 ")));
    EXPECT_EQ(context.ZeroStatusText, QStringLiteral("0K0K0"));
    EXPECT_TRUE(parse(QStringLiteral("SZ,C,\x1a")));
    EXPECT_TRUE(context.ZeroStatusText.isEmpty());
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(parse(QStringLiteral("SZ,C,\x06")));
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< Response error >>>")});
}

TEST_F(ReplyParserTest, SpanStatusIsOneCharacterOrEmpty) {
    EXPECT_TRUE(parse(QStringLiteral("S1,W, A ")));
    EXPECT_EQ(context.SpanStatusText, QStringLiteral("A"));
    EXPECT_TRUE(parse(QStringLiteral("S2,C,AB")));
    EXPECT_TRUE(context.SpanStatusText.isEmpty());
}

// --- Refusals ------------------------------------------------------------------------

// What a reply could change: the settings object, read member by member.
QStringList Observed(const clsInstrument &i) {
    QStringList seen;
    for (int k = 0; k < clsInstrument::kOptionCount; ++k) {
        const auto which = clsInstrument::Option(k);
        seen << QString::number(i.option(which)) << QString::number(i.changeFlag(which));
    }
    for (int k = 0; k < clsInstrument::kTextCount; ++k) {
        const auto which = clsInstrument::TextOption(k);
        seen << i.text(which) << QString::number(i.changeFlag(which));
    }
    for (int k = 0; k < clsInstrument::kGasFlagCount; ++k)
        seen << QString::number(i.gasChangeFlag(clsInstrument::GasFlag(k), 0));
    for (int k = 0; k < clsInstrument::kGasValueCount; ++k)
        seen << QString::number(i.gasValue(clsInstrument::GasValue(k), 0));
    for (int k = 0; k < clsInstrument::kGasIntegerCount; ++k)
        seen << QString::number(i.gasInteger(clsInstrument::GasInteger(k), 0));
    for (qint16 k = 0; k < 9; ++k)
        seen << QString::number(i.AnalogValue(k));
    for (qint16 k = 0; k < clsInstrument::kLimitCount; ++k)
        seen << QString::number(i.LimitValue(k));
    seen << QString::number(i.RomNumber()) << i.SUM() << QString::number(i.FlowLevel())
         << QString::number(i.Change_FlowLevel()) << QString::number(i.SysDate().days())
         << QString::number(i.AdrealValue()) << QString::number(i.CalibDate(0).days())
         << i.GasName(0) << i.FailLine();
    return seen;
}

// NAK in the data position is the detector refusing the command: whatever the code, the
// reply is rejected with a response error and changes nothing, so that a refused read
// never overwrites a setting with nothing and a refused write never counts as done.
TEST_F(ReplyParserTest, NakIsARefusalForEveryCode) {
    for (int k = 0; k < clsInstrument::kTextCount; ++k)
        instrument.setText(clsInstrument::TextOption(k), QStringLiteral("1"));
    instrument.SetChangeFlags(true);
    const QStringList before = Observed(instrument);
    context.ConfirmAcknowledged = true;
    context.SpanStatusText = QStringLiteral("A");
    context.ZeroStatusText = QStringLiteral("0K0K0");
    context.LinkState = LinkStateCode::Polling;
    int events = 0;
    context.OnConnect = [&events] { ++events; };
    context.Densty = [&events](std::array<float, 5> &) { ++events; };
    context.WriteDumpList = [&events] { ++events; };

    QStringList codes{QStringLiteral("ZZ,R")}; // a code in no row as well
    for (const CommandRow &row : CommandTable())
        codes << QString::fromLatin1(row.code.data(), qsizetype(row.code.size()));
    for (const QString &code : codes) {
        for (char terminator : {Ctrl::EOT, Ctrl::ETB}) {
            log.clear();
            EXPECT_FALSE(parse(code + QLatin1Char(',') + QChar(Ctrl::NAK), terminator))
                << code.toStdString();
            EXPECT_EQ(log, QStringList{QStringLiteral("<<< Response error >>>")})
                << code.toStdString();
        }
        EXPECT_EQ(Observed(instrument), before) << code.toStdString();
    }
    EXPECT_TRUE(context.ConfirmAcknowledged);
    EXPECT_EQ(context.SpanStatusText, QStringLiteral("A"));
    EXPECT_EQ(context.ZeroStatusText, QStringLiteral("0K0K0"));
    EXPECT_EQ(context.LinkState, LinkStateCode::Polling);
    EXPECT_EQ(context.DumpPage.Count, 0);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(serialLog.isEmpty());
}

// --- Frame checks ---------------------------------------------------------------------

TEST_F(ReplyParserTest, AShortFrameIsAFormatError) {
    QByteArray frame = MakeFrame(QStringLiteral("DW,W,\x06"));
    frame.remove(6, 1);
    EXPECT_FALSE(parseFrame(frame));
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< Format error >>>")});
}

TEST_F(ReplyParserTest, AWrongChecksumRejectsTheReplyBeforeAnythingIsStored) {
    QByteArray frame = MakeFrame(QStringLiteral("AP,R,3"));
    frame[frame.size() - 2] = frame.at(frame.size() - 2) == '0' ? '1' : '0';
    instrument.setAlarmMode(7);
    EXPECT_FALSE(parseFrame(frame));
    EXPECT_EQ(instrument.AlarmMode(), 7);
    EXPECT_TRUE(instrument.Change_AlarmMode());
    EXPECT_EQ(log, QStringList{QStringLiteral("<<< Checksum error >>>")});

    // A data byte changed on the way.
    QByteArray corrupted = MakeFrame(QStringLiteral("AP,R,3"));
    corrupted[11] = '4';
    EXPECT_FALSE(parseFrame(corrupted));
    EXPECT_EQ(instrument.AlarmMode(), 7);
}

TEST_F(ReplyParserTest, CarriageReturnsSeparateFieldsAndBecomeCommas) {
    QByteArray frame = MakeFrame(QStringLiteral("BU,R,1\r2\r0\r1"));
    EXPECT_TRUE(parser.ParseReply(frame));
    EXPECT_FALSE(frame.contains('\r'));
    EXPECT_TRUE(frame.contains("BU,R,1,2,0,1"));
    EXPECT_EQ(instrument.BumpThreshold(), 2);
}

TEST_F(ReplyParserTest, UnknownCodesAreAcceptedAndChangeNothing) {
    instrument.setAlarmMode(7);
    EXPECT_TRUE(parse(QStringLiteral("ZZ,R,1")));
    EXPECT_TRUE(parse(QStringLiteral("ap,r,1")));
    EXPECT_TRUE(parse(QStringLiteral("YA,R,anything")));
    EXPECT_EQ(instrument.AlarmMode(), 7);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, MoreFieldsThanAReplyHoldsAreRejectedSilently) {
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QString::number(i);
    EXPECT_FALSE(parse(QStringLiteral("ZZ,R,") + many.join(QLatin1Char(','))));
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(ReplyParserTest, WithoutASettingsObjectOnlyRulesThatAcceptFirstSucceed) {
    context.Instrument = nullptr;
    EXPECT_FALSE(parse(QStringLiteral("AP,R,3")));
    EXPECT_FALSE(parse(QStringLiteral("DN,R,1,2,3,4,5")));
    EXPECT_TRUE(parse(QStringLiteral("A1,R,25")));   // a level read accepts first
    EXPECT_TRUE(parse(QStringLiteral("UZ,R,1000"))); // so does a flag string
    EXPECT_TRUE(parse(QStringLiteral("RC,R,TQ-6200")));
    EXPECT_TRUE(parse(QStringLiteral("XC,C,\x06")));
}

} // namespace
} // namespace tq
