#include "trend_test_support.h"

#include "core/errors.h"
#include "logs/trend/ascii_log_lines.h"
#include "logs/trend/interval_text_lines.h"
#include "logs/trend/log_items.h"
#include "logs/trend/run_length.h"
#include "logs/trend/trend_file.h"

#include <QFileInfo>

#include <vector>

namespace tq {
namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

// "/01AD" and the date, time and interval fields, padded with blanks to width.
QString logStart(const QString &fields, qsizetype width = 24) {
    return (QStringLiteral("/01AD") + fields).leftJustified(width + 1, QLatin1Char(' '));
}

// "/01AB" and a serial number, long enough for the record but without a sampling character.
QString serialLine(const QString &serial) {
    return ("/01AB" + serial).leftJustified(17, QLatin1Char(' '));
}

class IntervalLines : public test::TrendStoreTest {
protected:
    void SetUp() override {
        TrendStoreTest::SetUp();
        logs.setContext(store);
    }
    void feed(const QStringList &input) {
        for (const QString &line : input)
            EXPECT_TRUE(lines.SetDatas(line, false)) << line.toStdString();
    }
    // Log 01 of serial number SN-1, started 2024-05-01 12:30:00 with samples every 10 s, gas
    // CO with one decimal.
    clsIntervals::ItemPtr startedLog() {
        feed({serialLine("SN-1"), logStart("2405011230000010")});
        const clsIntervals::ItemPtr log = logs.Item("01 L");
        log->setGasListInfo(0, qint32(G::Name), QStringLiteral("CO"));
        log->setGasListInfo(0, qint32(G::Point), 1);
        return log;
    }
    QString serialLog() const { return QString::fromUtf8(test::readFile(path("SerialLog.log"))); }

    clsIntervals logs;
    IntervalTextLines lines{logs};
};

TEST_F(IntervalLines, LogStart) {
    const clsIntervals::ItemPtr log = startedLog();
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Dates)).value<Date>(),
              Date::fromParts(2024, 5, 1, 12, 30, 0));
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Interval)).toInt(), 10);
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Names)).toString(), "iv01123000_SN-1");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::FolderID)).toString(), "05/24");
    EXPECT_TRUE(QFileInfo(store.DataFolder + "/24/05").isDir());
    EXPECT_FALSE(log->Error());
}

TEST_F(IntervalLines, ImproperLogStart) {
    const QString line = logStart("2413011230000010");
    feed({line, "/01A1", "!$%&"});
    const clsIntervals::ItemPtr log = logs.Item("01 L");
    EXPECT_TRUE(log->Error());
    EXPECT_EQ(serialLog(), "<<< improper date in SetDataAD() >>> " + line.mid(1) + "\r\n");
    EXPECT_EQ(log->pendingSamples().recordCount(), 0);
}

TEST_F(IntervalLines, TestModeListsRejectedLines) {
    const QString shortStart = logStart("2405011230000010", 20);
    EXPECT_FALSE(lines.SetDatas(shortStart, true));
    EXPECT_FALSE(lines.SetDatas("/01AEshort", true));
    EXPECT_TRUE(lines.SetDatas("/01AAUSER      STATION   ", true));
    EXPECT_EQ(logs.FailLine(), "\r\n" + shortStart.mid(1) + "\r\n01AEshort");
    EXPECT_EQ(logs.Item("01 L")->GasBaseInfo(qint32(H::UserID)).toString(),
              QString(16, QChar('-')));
}

TEST_F(IntervalLines, UserStationSerialAndSampling) {
    feed({"/01AAO'Brien   Tank 'A'  ", "/01ABSN'1/A          0 1"});
    const clsIntervals::ItemPtr log = logs.Item("01 L");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::UserID)).toString(), "O'Brien");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::StationID)).toString(), "Tank 'A'");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::SerialNo)).toString(), "SN'1/A");
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Sampling)).toInt(), 1);
    feed({serialLine("SN'1/A")}); // no sampling character: Sampling keeps its value
    EXPECT_EQ(log->GasBaseInfo(qint32(H::Sampling)).toInt(), 1);
}

TEST_F(IntervalLines, SamplesAndEvents) {
    const clsIntervals::ItemPtr log = startedLog();
    const Date start = Date::fromParts(2024, 5, 1, 12, 30, 0);
    feed({"/01A1", "!$%&", QString(QChar(67)) + "!!"});
    const QByteArray &records = log->pendingSamples().records();
    ASSERT_EQ(log->pendingSamples().recordCount(), 5);
    const std::vector<float> values = {0.1f, 51.5f, 0, 0, 0};
    for (qint64 n = 1; n <= 5; ++n) {
        EXPECT_FLOAT_EQ(GetTrendPoint(records, n), values[n - 1]) << n;
        EXPECT_EQ(GetTrendTime(records, n), start.addSeconds(10 * n)) << n;
    }
    // An event line after 5 samples, status 1, 3 seconds on.
    feed({QString("/01A101").leftJustified(24, QChar(' ')) + "0003"});
    ASSERT_EQ(log->EventCount(), 1);
    EXPECT_EQ(log->EventDateTimes(0), start.addSeconds(53));
    EXPECT_FLOAT_EQ(log->GasEvent(0, 0).toFloat(), -103);
}

// A log started again after the collection was cleared counts its samples from the start,
// also when its new object takes the old one's place in memory.
TEST_F(IntervalLines, ClearedCollectionCountsSamplesAfresh) {
    startedLog();
    feed({"/01A1", "!$%&"});
    const qint64 first = logs.Item("01 L")->pendingSamples().recordCount();
    ASSERT_GT(first, 0);
    for (int round = 0; round < 3; ++round) {
        logs.Clear();
        const clsIntervals::ItemPtr log = startedLog();
        feed({"/01A1", "!$%&"});
        EXPECT_EQ(log->pendingSamples().recordCount(), first) << round;
    }
}

const QString kAmplifyingLine = test::AmplifyingSampleLine();
// 13 * 4095 + (11 * 64 + 62) samples: exactly the sample table of a stored trend.
const QString kFullTableLine =
    QString("\x7f\x7f!$").repeated(13) + QChar(64 + 11) + QChar(64 + 62) + "!$";

TEST_F(IntervalLines, SampleLinePastTheTableIsRefusedWhole) {
    ASSERT_EQ(RunLengthSampleCount(RunLengthGroups(kFullTableLine)), clsInterval::kSampleEntries);
    const std::vector<test::SampleOverrunCase> cases = {
        {"amplifying line", {}, kAmplifyingLine, 0},
        {"one past a full table", {kFullTableLine}, "!$", clsInterval::kSampleEntries},
        {"a line that crosses the end", {"!$"}, kFullTableLine, 1},
    };
    for (const test::SampleOverrunCase &c : cases) {
        logs.Clear();
        QFile::remove(path("SerialLog.log"));
        IntervalTextLines fresh{logs};
        const clsIntervals::ItemPtr log = startedLog();
        for (const QString &line : QStringList{"/01A1"} + c.before)
            EXPECT_TRUE(fresh.SetDatas(line, false)) << c.name;
        ASSERT_FALSE(log->Error()) << c.name;
        EXPECT_TRUE(fresh.SetDatas(c.line, false)) << c.name;
        EXPECT_TRUE(log->Error()) << c.name;
        EXPECT_EQ(log->pendingSamples().recordCount(), c.kept) << c.name;
        EXPECT_TRUE(serialLog().startsWith("<<< error catch in SetDataA0() >>> 6:")) << c.name;
    }
}

// Each log keeps no more than its table, but every new key starts a log: the lines given to
// one collection together make no more samples than the interval area of an image holds.
TEST_F(IntervalLines, TheInputAsAWholeHoldsNoMoreSamplesThanAnImage) {
    ASSERT_EQ(kIntervalAreaSamples, 16384 * 255);
    ASSERT_EQ(RunLengthSampleCount(RunLengthGroups(test::SampleLineOf(54001))), 54001);
    // Slot 1 samples count as well; they are only counted, not kept, so this runs quickly.
    const qint64 fullLogs = kIntervalAreaSamples / clsInterval::kSampleEntries; // 77
    const qint64 rest = kIntervalAreaSamples % clsInterval::kSampleEntries;
    const auto key = [](qint64 n) { return QString::number(n).rightJustified(2, QChar('0')); };
    for (qint64 n = 0; n < fullLogs; ++n)
        feed(test::SampleLogLines(key(n), "A2", clsInterval::kSampleEntries));
    for (qint64 n = 0; n < fullLogs; ++n)
        EXPECT_FALSE(logs.Item(key(n) + " L")->Error()) << n;
    ASSERT_FALSE(QFile::exists(path("SerialLog.log")));

    struct Case {
        qint64 samples;
        bool taken;
    };
    // One more full log is too many; the rest fits exactly, and then not one sample more.
    const Case cases[] = {{clsInterval::kSampleEntries, false}, {rest, true}, {1, false}};
    qint64 n = fullLogs;
    for (const Case &c : cases) {
        feed(test::SampleLogLines(key(n), "A2", c.samples));
        EXPECT_EQ(logs.Item(key(n) + " L")->Error(), !c.taken) << c.samples;
        ++n;
    }
    EXPECT_TRUE(serialLog().startsWith("<<< error catch in SetDataA0() >>> 6:"));
    EXPECT_EQ(serialLog().count("\r\n"), 2);
}

TEST_F(IntervalLines, TestModeRefusesASampleLinePastTheTable) {
    startedLog();
    EXPECT_TRUE(lines.SetDatas("/01A1", true));
    EXPECT_FALSE(lines.SetDatas(kAmplifyingLine, true));
    EXPECT_TRUE(lines.SetDatas(kFullTableLine, true));
    EXPECT_EQ(logs.FailLine(), "\r\n" + kAmplifyingLine);
    EXPECT_EQ(logs.Item("01 L")->pendingSamples().recordCount(), 0);
}

TEST_F(IntervalLines, RecordLineWithoutTypeContinuesThePreviousRecord) {
    const clsIntervals::ItemPtr log = startedLog();
    feed({"/01A1", "/!$"}); // position 3 is no "A": a line of the previous record, 01A1
    EXPECT_EQ(log->pendingSamples().recordCount(), 0); // it is an event line of 5 characters
    feed({"!$"});
    EXPECT_EQ(log->pendingSamples().recordCount(), 1);
}

TEST_F(IntervalLines, SlotsThatAreNotKept) {
    for (const bool longRecord : {true, false}) {
        logs.Clear();
        QFile::remove(path("SerialLog.log"));
        const clsIntervals::ItemPtr log = startedLog();
        const QString record =
            longRecord ? QString("/01A301").leftJustified(27, QChar('0')) : QString("/01A3");
        feed({record});
        EXPECT_EQ(log->Error(), longRecord);
        feed({"!$"});
        EXPECT_TRUE(log->Error());
        EXPECT_TRUE(serialLog().startsWith("<<< error catch in SetDataA0() >>> 9:"));
    }
}

TEST_F(IntervalLines, Slot1SamplesStayOutOfTheTrendFile) {
    const clsIntervals::ItemPtr log = startedLog();
    feed({"/01A2", "!$%&", "/01A1", "!$"});
    EXPECT_EQ(log->pendingSamples().recordCount(), 1);
    EXPECT_FLOAT_EQ(GetTrendPoint(log->pendingSamples().records(), 1), 0.1f);
}

struct SummaryCase {
    const char *name;
    QString line;
    bool answer;
    float avr;
    float max;
    Date maxDate;
};

TEST_F(IntervalLines, GasSummary) {
    const std::vector<SummaryCase> cases = {
        {"date and time", "01AE 12.5 30.0240502101520", true, 12.5f, 30,
         Date::fromParts(2024, 5, 2, 10, 15, 20)},
        {"placeholders", "01AE  1.0 OVER************", true, 1, -107, Date::emptyLogDate()},
        {"month runs over", "01AH  1.0  2.0241301000000", true, 1, 2, Date::fromParts(2025, 1, 1)},
        {"bad date", "01AE  1.0  2.0xx0101000000", false, 1, 2, Date::fromParts(2000, 1, 1)},
        {"bad time", "01AE  1.0  2.0240101xx0000", false, 1, 2, Date::fromParts(2024, 1, 1)},
    };
    const clsIntervals::ItemPtr log = startedLog();
    for (const SummaryCase &c : cases) {
        log->setGasListInfo(0, qint32(G::MaxDate),
                            QVariant::fromValue(Date::fromParts(2000, 1, 1)));
        log->setGasListInfo(0, qint32(G::Min), 3.0f);
        EXPECT_EQ(lines.SetDataAE(*log, c.line, false), c.answer) << c.name;
        EXPECT_FLOAT_EQ(log->GasListInfo(0, qint32(G::Avr)).toFloat(), c.avr) << c.name;
        EXPECT_FLOAT_EQ(log->GasListInfo(0, qint32(G::Max)).toFloat(), c.max) << c.name;
        EXPECT_EQ(log->GasListInfo(0, qint32(G::MaxDate)).value<Date>(), c.maxDate) << c.name;
        EXPECT_FLOAT_EQ(log->GasListInfo(0, qint32(G::Min)).toFloat(), -101) << c.name;
    }
}

TEST_F(IntervalLines, SummaryOfASlotThatIsNotKept) {
    const QString line = "/01AI  1.0  2.0240101000000";
    EXPECT_TRUE(lines.SetDatas(line, true));
    EXPECT_THROW(lines.SetDatas(line, false), TqError);
    EXPECT_FALSE(lines.SetDatas("/01AE  1.0  2.0xx0101000000", true));
}

TEST_F(IntervalLines, StoredLogIsADuplicate) {
    const std::shared_ptr<clsInstrument> instrument = std::make_shared<clsInstrument>();
    logs.setInstruments(instrument);
    const clsIntervals::ItemPtr first = startedLog();
    feed({"/01A1", "!$%&"});
    first->Update();
    EXPECT_EQ(rows("Log_Head"), 1);
    EXPECT_EQ(QFileInfo(trendFile("05/24", "iv01123000_SN-1")).size(), 24);

    clsIntervals again;
    again.setContext(store);
    again.setInstruments(instrument);
    IntervalTextLines second{again};
    for (const QString &line :
         {serialLine("SN-1"), logStart("2405011230000010"), QString("/01A1"), QString("!$")})
        second.SetDatas(line, false);
    EXPECT_TRUE(again.Item("01 L")->Duplicate());
    EXPECT_EQ(again.Item("01 L")->pendingSamples().recordCount(), 0);
}

} // namespace
} // namespace tq
