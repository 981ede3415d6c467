#include "trend_test_support.h"

#include "core/errors.h"
#include "logs/trend/ascii_log_lines.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/log_items.h"
#include "logs/trend/run_length.h"
#include "logs/trend/trend_file.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace tq {
namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

// "/01BD" and the date, time and interval fields, padded with blanks to width.
QString logStart(const QString &fields, qsizetype width = 24) {
    return (QStringLiteral("/01BD") + fields).leftJustified(width + 1, QLatin1Char(' '));
}

// "/01BB", the serial number SERIAL-1, the digits at positions 18-21 and the sampling
// character at 23.
QString serialLine(const QString &sampling, const QString &digits = "0010") {
    return "/01BBSERIAL-1     " + digits + " " + sampling;
}

class AlarmLines : public test::TrendStoreTest {
protected:
    void SetUp() override {
        TrendStoreTest::SetUp();
        alarms.setContext(store);
    }
    // Feeds lines outside test mode; every one must be accepted.
    void feed(const QStringList &lines) {
        for (const QString &line : lines)
            EXPECT_TRUE(alarms.SetDatas(line, false)) << line.toStdString();
    }
    // The log of key 01 after a serial number and a proper log start at 12:30:00, every 10 s.
    clsAlarms::LogPtr startedLog(const QString &sampling = "0") {
        feed({serialLine(sampling), logStart("2405011230000010")});
        const clsAlarms::LogPtr log = alarms.Item("01 L");
        log->setGasListInfo(0, qint32(G::Name), QStringLiteral("CO"));
        log->setGasListInfo(0, qint32(G::Point), 1);
        return log;
    }
    QString serialLog() const { return QString::fromUtf8(test::readFile(path("SerialLog.log"))); }
    static float sample(const clsAlarms::LogPtr &log, qint64 n) {
        return GetTrendPoint(log->pendingSamples().records(), n);
    }

    clsAlarms alarms;
};

TEST_F(AlarmLines, LogStart) {
    const clsAlarms::LogPtr log = startedLog();
    EXPECT_EQ(alarms.Count(), 1);
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Dates)).value<Date>(),
              Date::fromParts(2024, 5, 1, 12, 30, 0));
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Interval)).toInt(), 10);
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Names)).toString(), "al01123000_SERIAL-1");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::FolderID)).toString(), "05/24");
    EXPECT_TRUE(QFileInfo(store.DataFolder + "/24/05").isDir());
    EXPECT_FALSE(log->Error());
    EXPECT_FALSE(log->Duplicate());
}

TEST_F(AlarmLines, SamplingModeNamesTheLogAsAnIntervalTrend) {
    EXPECT_EQ(startedLog("1")->GasBaseInfo(qint32(H::Names)).toString(), "iv01123000_SERIAL-1");
}

TEST_F(AlarmLines, ImproperLogStart) {
    const QString line = logStart("2413011230000010");
    feed({line, "/01B1", "!$!%"});
    const clsAlarms::LogPtr log = alarms.Item("01 L");
    EXPECT_TRUE(log->Error());
    EXPECT_EQ(serialLog(), "<<< improper date in SetDataBD() >>> " + line.mid(1) + "\r\n");
    EXPECT_EQ(log->pendingSamples().recordCount(), 0); // later samples are skipped
}

TEST_F(AlarmLines, ShortRecordsAreRejected) {
    EXPECT_FALSE(alarms.SetDatas(logStart("2405011230000010", 20), false));
    EXPECT_FALSE(alarms.SetDatas("/01BA short", false));
    EXPECT_FALSE(alarms.SetDatas("/01BBX", false));
    EXPECT_TRUE(alarms.SetDatas("/01XX", false)); // no decoder: taken and ignored
    EXPECT_TRUE(alarms.SetDatas("/01B0", false));
    EXPECT_EQ(alarms.FailLine(), QString());
}

TEST_F(AlarmLines, TestModeListsRejectedLinesAndStoresNothing) {
    const QString shortStart = logStart("2405011230000010", 20);
    EXPECT_FALSE(alarms.SetDatas(shortStart, true));
    EXPECT_TRUE(alarms.SetDatas(serialLine("1"), true));
    EXPECT_FALSE(alarms.SetDatas(serialLine("1", "AB10"), true));
    EXPECT_TRUE(alarms.SetDatas(logStart("2405011230000010"), true));
    EXPECT_EQ(alarms.FailLine(),
              "\r\n" + shortStart.mid(1) + "\r\n" + serialLine("1", "AB10").mid(1));
    const clsAlarms::LogPtr log = alarms.Item("01 L");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::SerialNo)).toString(), QString(20, QChar('-')));
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Names)).toString(), QString());
    EXPECT_FALSE(QFile::exists(path("SerialLog.log")));
    // A failed check still marks the log.
    EXPECT_TRUE(alarms.SetDatas(logStart("2405011260000010"), true));
    EXPECT_TRUE(log->Error());
}

TEST_F(AlarmLines, UserAndControlCharacters) {
    feed({"/01BA\x01O'Brien   \x7FXXXXXXXXXX"});
    EXPECT_EQ(alarms.Item("01 L")->GasBaseInfo(qint32(H::UserID)).toString(), "O'Brien");
}

TEST_F(AlarmLines, SamplingCharacterMustBeADigit) {
    alarms.SetDatas("/02B1", false);
    EXPECT_THROW(alarms.SetDatas(serialLine("X"), false), TqError);
    // The failing line is not remembered: a continuation still belongs to log 02.
    alarms.SetDatas("!$", false);
    EXPECT_EQ(alarms.Count(), 2);
    EXPECT_EQ(alarms.Item("02 L")->Error(), false);
}

struct SampleLineCase {
    const char *name;
    QString line;
    std::vector<float> values; // records 1, 2, ...
};

TEST_F(AlarmLines, SampleLines) {
    const std::vector<SampleLineCase> cases = {
        {"byte characters", "!$%&", {0.1f, 51.5f}},
        {"repeat count", QString(QChar(67)) + "!!", {0, 0, 0}},
        {"count of zero", QString(QChar(64)) + "!!$$", {25.7f}},
        {"unfinished group", "!$%", {0.1f}},
        {"codes", "''\"\"", {-118, -101}},
    };
    for (const SampleLineCase &c : cases) {
        alarms.Clear();
        const clsAlarms::LogPtr log = startedLog();
        feed({"/01B1", c.line});
        const QByteArray &records = log->pendingSamples().records();
        ASSERT_EQ(log->pendingSamples().recordCount(), qint64(c.values.size())) << c.name;
        for (qsizetype i = 0; i < qsizetype(c.values.size()); ++i)
            EXPECT_FLOAT_EQ(GetTrendPoint(records, i + 1), c.values[i]) << c.name << i;
    }
}

TEST_F(AlarmLines, SamplesAroundTheAlarmPoint) {
    const clsAlarms::LogPtr log = startedLog();
    feed({"/01B1", QString(QChar(64 + 11)) + QChar(64 + 16) + "!$"}); // 720 samples
    const QByteArray &records = log->pendingSamples().records();
    EXPECT_EQ(log->pendingSamples().recordCount(), 720);
    EXPECT_EQ(GetTrendTime(records, 1), Date::fromParts(2024, 5, 1, 11, 30, 0));
    EXPECT_EQ(GetTrendTime(records, 361), Date::fromParts(2024, 5, 1, 12, 30, 0));
    EXPECT_EQ(GetTrendTime(records, 720), Date::fromParts(2024, 5, 1, 13, 29, 50));
    // Samples continue their numbering on the next line.
    feed({"%&"});
    EXPECT_EQ(log->pendingSamples().recordCount(), 721);
}

const QString kAmplifyingLine = test::AmplifyingSampleLine();
// 11 * 64 + 17 samples: exactly the sample table of an alarm trend.
const QString kFullTableLine = QString(QChar(64 + 11)) + QChar(64 + 17) + "!$";

TEST_F(AlarmLines, SampleLinePastTheTableIsRefusedWhole) {
    ASSERT_EQ(RunLengthSampleCount(RunLengthGroups(kFullTableLine)), clsAlarm::kSampleEntries);
    const std::vector<test::SampleOverrunCase> cases = {
        {"amplifying line", {}, kAmplifyingLine, 0},
        {"one past a full table", {kFullTableLine}, "!$", clsAlarm::kSampleEntries},
        {"a line that crosses the end", {"!$"}, kFullTableLine, 1},
    };
    for (const test::SampleOverrunCase &c : cases) {
        alarms.Clear();
        QFile::remove(path("SerialLog.log"));
        const clsAlarms::LogPtr log = startedLog();
        feed(QStringList{"/01B1"} + c.before);
        ASSERT_FALSE(log->Error()) << c.name;
        EXPECT_TRUE(alarms.SetDatas(c.line, false)) << c.name;
        EXPECT_TRUE(log->Error()) << c.name;
        EXPECT_EQ(log->pendingSamples().recordCount(), c.kept) << c.name;
        EXPECT_TRUE(serialLog().startsWith("<<< error catch in SetDataB0() >>> 6:")) << c.name;
    }
}

// Each log keeps no more than its table, but every new key starts a log: the lines given to
// one collection together make no more samples than the alarm area of an image holds, ten
// logs of 720.
TEST_F(AlarmLines, TheInputAsAWholeHoldsNoMoreSamplesThanAnImage) {
    ASSERT_EQ(kAlarmAreaSamples, 10 * 720);
    const auto key = [](int n) { return QString::number(n).rightJustified(2, QChar('0')); };
    struct Case {
        qint64 samples;
        bool taken;
    };
    // Ten logs of 720 samples fit exactly, and then not one sample more.
    QList<Case> cases(10, Case{720, true});
    cases.append({1, false});
    for (int n = 0; n < cases.size(); ++n) {
        feed(test::SampleLogLines(key(n), "B2", cases[n].samples));
        EXPECT_EQ(alarms.Item(key(n) + " L")->Error(), !cases[n].taken) << n;
    }
    EXPECT_TRUE(serialLog().startsWith("<<< error catch in SetDataB0() >>> 6:"));
    EXPECT_EQ(serialLog().count("\r\n"), 1);
}

TEST_F(AlarmLines, TestModeRefusesASampleLinePastTheTable) {
    const clsAlarms::LogPtr log = startedLog();
    EXPECT_TRUE(alarms.SetDatas("/01B1", true));
    EXPECT_FALSE(alarms.SetDatas(kAmplifyingLine, true));
    EXPECT_TRUE(alarms.SetDatas(kFullTableLine, true));
    EXPECT_EQ(alarms.FailLine(), "\r\n" + kAmplifyingLine);
    EXPECT_EQ(log->pendingSamples().recordCount(), 0);
}

TEST_F(AlarmLines, SamplingMode2KeepsTheSamplesAfterTheAlarmPoint) {
    const clsAlarms::LogPtr log = startedLog("2");
    feed({"/01B1", QString(QChar(64 + 11)) + QChar(64 + 16) + "!$"});
    EXPECT_EQ(log->pendingSamples().recordCount(), 180);
    EXPECT_EQ(GetTrendTime(log->pendingSamples().records(), 1),
              Date::fromParts(2024, 5, 1, 12, 30, 0));
}

TEST_F(AlarmLines, SlotWithoutGasNameGivesNoValues) {
    feed({serialLine("0"), logStart("2405011230000010"), "/01B1", "!$''"});
    const clsAlarms::LogPtr log = alarms.Item("01 L");
    EXPECT_FLOAT_EQ(sample(log, 1), -101);
    EXPECT_FLOAT_EQ(sample(log, 2), -118);
}

TEST_F(AlarmLines, Slot1SamplesStayOutOfTheTrendFile) {
    const clsAlarms::LogPtr log = startedLog();
    feed({"/01B2", "!$%&", "/01B1", "!$"});
    EXPECT_EQ(log->pendingSamples().recordCount(), 1);
    EXPECT_FLOAT_EQ(sample(log, 1), 0.1f);
}

TEST_F(AlarmLines, SlotThatIsNotKeptEndsTheLog) {
    const clsAlarms::LogPtr log = startedLog();
    EXPECT_TRUE(alarms.SetDatas("/01B3", false));
    EXPECT_FALSE(log->Error()); // a record line only names the slot
    EXPECT_TRUE(alarms.SetDatas("!$", false));
    EXPECT_TRUE(log->Error());
    EXPECT_TRUE(serialLog().startsWith("<<< error catch in SetDataB0() >>> 9:"));
    EXPECT_TRUE(serialLog().endsWith("\r\n"));
}

TEST_F(AlarmLines, StoredLogIsADuplicate) {
    const std::shared_ptr<clsInstrument> instrument = std::make_shared<clsInstrument>();
    alarms.setInstruments(instrument);
    const clsAlarms::LogPtr first = startedLog();
    feed({"/01B1", "!$%&"});
    first->Update();
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(QFileInfo(trendFile("05/24", "al01123000_SERIAL-1")).size(), 24);

    clsAlarms again;
    again.setContext(store);
    again.setInstruments(instrument);
    for (const QString &line :
         {serialLine("0"), logStart("2405011230000010"), QString("/01B1"), QString("!$")})
        again.SetDatas(line, false);
    const clsAlarms::LogPtr second = again.Item("01 L");
    EXPECT_TRUE(second->Duplicate());
    EXPECT_EQ(second->pendingSamples().recordCount(), 0);
    second->Update();
    EXPECT_EQ(rows("Log_Head"), 1);
}

struct CheckCase {
    const char *name;
    QString line;
    bool testMode;
    bool answer;
};

TEST(AlarmLineChecks, TwoSlotRecords) {
    const QString blank(70, QChar(' '));
    const QString numbers =
        QString("01BCxxx").leftJustified(46, QChar('x')) + "0000100002xxxx0000300004";
    const QString stars = "01BC***" + QString(49, QChar('x')) + "****" + QString(10, QChar('x'));
    const QString firstOnly = "01BC***" + QString(63, QChar('x'));
    const std::vector<CheckCase> cases = {
        {"too short", blank.left(68), true, false},
        {"blanks", blank, true, true},
        {"numbers", numbers, true, true},
        {"placeholders", stars, true, true},
        {"one part, test", firstOnly, true, false},
        {"one part", firstOnly, false, true},
        {"no part", QString(70, QChar('x')), false, false},
    };
    clsAlarm log;
    for (const CheckCase &c : cases)
        EXPECT_EQ(log.SetDataBC(c.line, c.testMode), c.answer) << c.name;
}

TEST(AlarmLineChecks, Record96) {
    const std::vector<CheckCase> cases = {
        {"both numbers", "0196xxxxxx1xxxxxxxx2", true, true},
        {"both blank", "0196   xxxxxxx   xxx", true, true},
        {"second fails", "0196xxxxxx1xxxxxxxxx", true, false},
        {"second fails, one part", "0196xxxxxx1xxxxxxxxx", false, true},
        {"none", "0196xxxxxxxxxxxxxxxx", false, false},
    };
    clsAlarm log;
    for (const CheckCase &c : cases)
        EXPECT_EQ(log.SetData96(c.line, c.testMode), c.answer) << c.name;
}

TEST(AlarmLineChecks, SampleEntryRecord) {
    clsAlarm log;
    log.setGasBaseInfo(qint32(H::Dates), QVariant::fromValue(Date::fromParts(2024, 1, 1)));
    log.setGasBaseInfo(qint32(H::Interval), 10);
    log.setValue(0, 180, 5);
    EXPECT_TRUE(log.SetDataXX("01XXxxxxxx0181", false));
    EXPECT_EQ(log.DateTimes(180), Date::fromParts(2024, 1, 1));
    EXPECT_FLOAT_EQ(log.value(0, 180), -101);
    EXPECT_TRUE(log.SetDataXX("01XXxxxxxx0720", true));
    EXPECT_FALSE(log.SetDataXX("01XXxxxxxx0721", false));
    EXPECT_FALSE(log.SetDataXX("01XXxxxxxx072", false)); // 13 characters
    EXPECT_FALSE(log.SetDataXX("01XXxxxxxxABCD", false));
    log.setDateTimes(0, Date(1.0));
    EXPECT_TRUE(log.SetDataXX("01XXxxxxxx0001", true)); // test mode stores nothing
    EXPECT_EQ(log.DateTimes(0), Date(1.0));
}

} // namespace
} // namespace tq
