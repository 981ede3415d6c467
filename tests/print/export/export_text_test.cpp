#include "core/database.h"
#include "core/gas_format.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "logs/events/clsAlarmEvents.h"
#include "logs/events/clsHistorys.h"
#include "logs/events/clsPowerEvents.h"
#include "logs/events/clsSnapShots.h"
#include "logs/events/clsTroubleEvents.h"
#include "logs/trend/clsAlarms.h"
#include "logs/trend/clsIntervals.h"
#include "logs/trend/trend_file.h"
#include "print/export/export_cells.h"
#include "print/export/export_sink.h"
#include "print/export/export_text.h"
#include "program_folder.h"
#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <limits>
#include <memory>
#include <type_traits>

namespace tq {
namespace {

// Bump tests passed and failed, one reading beyond the full scale, on two days.
const QString kBumpTests = QStringLiteral(R"({"histories": [
    {"log_no": 1, "serial": "B7", "date": "2024-05-04 08:00:00",
     "gases": [{"name": "CO", "decimals": 0, "unit": "ppm", "full": 500}],
     "records": [{"bump": {"slot": 0, "first": 48, "second": 50, "passed": true}}]},
    {"log_no": 2, "serial": "B7", "date": "2024-05-05 08:00:00",
     "gases": [{"name": "CO", "decimals": 0, "unit": "ppm", "full": 500}],
     "records": [{"bump": {"slot": 0, "first": 600, "second": 50, "passed": false}}]}]})");

// Logs of the image builder's fixtures, stored through the log classes and reloaded as the
// Data View page loads them.
class ExportTextTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        test::UseProgramFolder(dir.path());
        CreateLogDatabase(Globals().DatabasePath);
        store<clsIntervals, &clsInterval::Update>(QStringLiteral("interval_basic"));
        store<clsAlarms, &clsAlarm::Update>(QStringLiteral("alarm_basic"));
        const QString events = QStringLiteral("events_basic");
        store<clsSnapShots, &clsSnapShot::Update>(events);
        store<clsAlarmEvents, &clsAlarmEvent::Update>(events);
        store<clsTroubleEvents, &clsTroubleEvent::Update>(events);
        store<clsPowerEvents, &clsPowerEvent::Update>(events);
        store<clsHistorys, &clsHistory::HistoryUpdate>(events);
        store<clsHistorys, &clsHistory::HistoryUpdate>(kBumpTests);
        // Heads of events and histories carry the time of their download: fixed here.
        Database db(Globals().DatabasePath);
        db.execute(
            QStringLiteral("Update Log_Head Set Dates=? Where Types In (3, 5, 6, 7, 10, 12)"),
            {DateParam(Date::fromParts(2024, 6, 1, 12, 0, 0))});
    }
    void TearDown() override { Globals().CondensedView = false; }

    template <typename Collection, auto Store> void store(const QString &fixture) {
        Collection logs;
        logs.setContext(ProgramStoreContext());
        ASSERT_TRUE(logs.ReadBinaryLog(test::BuildImage(fixture)));
        for (const auto &log : logs) {
            log->setInstrument(instrument);
            std::invoke(Store, *log);
        }
    }
    template <typename Log> std::shared_ptr<Log> load(qint32 type, int n) {
        auto log = std::make_shared<Log>();
        log->setContext(ProgramStoreContext());
        log->ClearDatas();
        log->setSeqNo(seqNo(type, n));
        if constexpr (std::is_same_v<Log, clsInterval>)
            log->ReLoad(Globals().CondensedView);
        else
            log->ReLoad();
        return log;
    }

    std::shared_ptr<clsInstrument> instrument = std::make_shared<clsInstrument>();

public:
    // A stored log loaded into the request's slot; the test keeps it alive.
    template <typename Log, typename Slot> ExportLogs loaded(qint32 type, int n, Slot member) {
        auto log = load<Log>(type, n);
        keep.push_back(log);
        ExportLogs logs;
        logs.*member = log.get();
        return logs;
    }
    std::vector<std::shared_ptr<void>> keep;
    qint64 eventSeqNo = 0;
    static qint64 seqNo(qint32 type, int n) {
        Database db(Globals().DatabasePath);
        const auto rows = db.query(
            QStringLiteral("Select SeqNo From Log_Head Where Types=? Order By SeqNo"), {type});
        return rows.at(n).value(QStringLiteral("SeqNo")).toLongLong();
    }
};

Date at(int day, int hour, int minute, int second) {
    return Date::fromParts(2024, 5, day, hour, minute, second);
}

// An interval trend built in memory: a gas with a positive ratio (units from the unit
// events), a unit change to ppm, a sample and an event at one second, no value, readings
// above the full scale and below 0, and identifiers that need quoting.
std::shared_ptr<clsInterval> EdgeInterval(bool withLevels) {
    auto log = std::make_shared<clsInterval>();
    log->setGasBaseInfo(qint32(LogHeaderItem::Names), QStringLiteral("say \"hi\"\r\nthere"));
    log->setGasBaseInfo(qint32(LogHeaderItem::Dates), QVariant::fromValue(at(14, 9, 30, 0)));
    log->setGasBaseInfo(qint32(LogHeaderItem::StationID), QStringLiteral("A,B"));
    log->setGasBaseInfo(qint32(LogHeaderItem::UserID), QStringLiteral("tab\there"));
    log->setGasBaseInfo(qint32(LogHeaderItem::SerialNo), QStringLiteral("X9"));
    log->setGasBaseInfo(qint32(LogHeaderItem::Interval), 20);
    const auto gas = [&](GasInfoItem item, const QVariant &value) {
        log->setGasListInfo(0, qint32(item), value);
    };
    gas(GasInfoItem::Name, QStringLiteral("CH4"));
    gas(GasInfoItem::Unit, QStringLiteral("%LEL"));
    gas(GasInfoItem::Full, 100);
    gas(GasInfoItem::Point, 1);
    gas(GasInfoItem::Ratio, 1.5);
    gas(GasInfoItem::Enable, true);
    gas(GasInfoItem::Max, withLevels ? 120 : -101);
    gas(GasInfoItem::Avr, 3.25);
    gas(GasInfoItem::Min, -118);
    gas(GasInfoItem::MaxDate, QVariant::fromValue(at(14, 9, 31, 0)));
    gas(GasInfoItem::MinDate, QVariant::fromValue(Date::emptyLogDate()));
    gas(GasInfoItem::Warning, 10);
    gas(GasInfoItem::Alarm, 20);
    const QList<float> samples = {12.5f, -101, 150, -2, 7};
    log->setDataCount(samples.size());
    for (qint32 i = 0; i < samples.size(); ++i) {
        log->setDateTimes(i, at(14, 9, 30, 0).addSeconds(20 * i));
        log->setGasValue(0, i, samples[i]);
    }
    const QList<std::pair<Date, float>> events = {{at(14, 9, 30, 20), ReadingCode::Warning},
                                                  {at(14, 9, 30, 50), ReadingCode::Ppm}};
    log->setEventCount(events.size());
    for (qint32 i = 0; i < events.size(); ++i) {
        log->setEventDateTimes(i, events[i].first);
        log->setGasEvent(0, i, events[i].second);
    }
    return log;
}

QString GoldenPath(const QString &name) {
    const QString language = test::japaneseLocale() ? QStringLiteral("ja") : QStringLiteral("en");
    return QStringLiteral(TQ_EXPORT_GOLDEN_DIR "/%1.%2.txt").arg(name, language);
}

// Compares the bytes with a golden file; a mismatch leaves the bytes in the temporary
// folder for a diff.
void ExpectGolden(const QString &name, const QByteArray &bytes) {
    const QString golden = GoldenPath(name);
    const QString actualPath =
        QDir::temp().filePath(QFileInfo(golden).completeBaseName() + QStringLiteral(".actual"));
    if (!QFile::exists(golden) || test::readFile(golden) != bytes) {
        test::writeFile(actualPath, bytes);
        ADD_FAILURE() << "export text differs from " << golden.toStdString() << "; written to "
                      << actualPath.toStdString();
    }
}

struct GoldenCase {
    const char *name;
    qint32 logType;
    qint32 filterIndex;
    bool debugMode;
    // The log objects of the case, loaded in the test's folder.
    std::function<ExportLogs(ExportTextTest &)> logs;
};

template <typename Log, typename Slot> auto Stored(qint32 type, int n, Slot member) {
    return [=](ExportTextTest &test) { return test.loaded<Log>(type, n, member); };
}

// A stored event list, read from the database by its key.
auto Listed(qint32 type, int n) {
    return [=](ExportTextTest &test) {
        test.eventSeqNo = ExportTextTest::seqNo(type, n);
        return ExportLogs{};
    };
}

// Alarm events of one second with names that need quoting, added to a stored list.
auto ListedWithTies() {
    return [](ExportTextTest &test) {
        test.eventSeqNo = ExportTextTest::seqNo(5, 1);
        Database db(Globals().DatabasePath);
        const QString sql =
            QStringLiteral("Insert Into Alarm_Event (RelNo, GasNo, GasName, Alarm_Type, Dates) "
                           "Values (?, 0, ?, ?, ?)");
        const QVariant tie = DateParam(Date::fromParts(2030, 1, 2, 3, 4, 5));
        db.execute(sql, {test.eventSeqNo, QStringLiteral("first, \"A\""), -104, tie});
        db.execute(sql, {test.eventSeqNo, QStringLiteral("second\nline"), -103, tie});
        db.execute(sql, {test.eventSeqNo, QStringLiteral("no word"), -101, tie});
        return ExportLogs{};
    };
}

auto Edge(bool withLevels) {
    return [=](ExportTextTest &test) {
        auto log = EdgeInterval(withLevels);
        test.keep.push_back(log);
        ExportLogs logs;
        logs.interval = log.get();
        return logs;
    };
}

auto None() {
    return [](ExportTextTest &) { return ExportLogs{}; };
}

const auto kInterval = &ExportLogs::interval;
const auto kAlarm = &ExportLogs::alarm;
const auto kSnapshot = &ExportLogs::snapshot;
const auto kHistory = &ExportLogs::history;

// Filter entry 2 is the tab-separated one; 4 puts the units in a column of their own.
const std::vector<GoldenCase> kGoldenCases = {
    {"interval_ch4", 1, 1, false, Stored<clsInterval>(1, 0, kInterval)},
    {"interval_ch4_tab", 1, 2, false, Stored<clsInterval>(1, 0, kInterval)},
    {"interval_ch4_text", 1, 3, false, Stored<clsInterval>(1, 0, kInterval)},
    {"interval_ch4_units", 1, 4, false, Stored<clsInterval>(1, 0, kInterval)},
    {"interval_o2", 1, 1, false, Stored<clsInterval>(1, 1, kInterval)},
    {"interval_o2_debug", 1, 1, true, Stored<clsInterval>(1, 1, kInterval)},
    {"bar_hole", 9, 1, false, Stored<clsInterval>(9, 0, kInterval)},
    {"bar_hole_units", 9, 4, false, Stored<clsInterval>(9, 0, kInterval)},
    {"alarm_ch4", 2, 1, false, Stored<clsAlarm>(2, 0, kAlarm)},
    {"alarm_co", 2, 1, false, Stored<clsAlarm>(2, 1, kAlarm)},
    {"alarm_co_units", 2, 4, false, Stored<clsAlarm>(2, 1, kAlarm)},
    {"alarm_h2s_tab", 2, 2, false, Stored<clsAlarm>(2, 2, kAlarm)},
    {"snapshot_alarm", 11, 1, false, Stored<clsSnapShot>(11, 0, kSnapshot)},
    {"snapshot_no_value", 11, 3, false, Stored<clsSnapShot>(11, 1, kSnapshot)},
    {"edge_interval", 1, 1, false, Edge(true)},
    {"edge_interval_debug", 1, 1, true, Edge(true)},
    {"edge_interval_units", 1, 4, true, Edge(true)},
    {"edge_interval_tab", 1, 2, false, Edge(true)},
    {"edge_no_levels", 1, 1, false, Edge(false)},
    {"empty_interval", 1, 1, false, None()},
    {"empty_bar_hole", 9, 1, false, None()},
    {"empty_alarm", 2, 4, false, None()},
    {"empty_snapshot", 11, 1, false, None()},
    {"calibration", 3, 1, false, Stored<clsHistory>(3, 0, kHistory)},
    {"calibration_tab", 3, 2, false, Stored<clsHistory>(3, 0, kHistory)},
    {"bump_test", 10, 1, false, Stored<clsHistory>(10, 0, kHistory)},
    {"empty_calibration", 3, 1, false, None()},
    {"empty_bump_test", 10, 3, false, None()},
    {"alarm_events", 5, 1, false, Listed(5, 0)},
    {"alarm_events_tab", 5, 2, false, Listed(5, 0)},
    {"alarm_events_ties", 5, 1, false, ListedWithTies()},
    {"trouble_events", 6, 1, false, Listed(6, 0)},
    {"power_events", 7, 1, false, Listed(7, 0)},
    {"power_events_tab", 7, 2, false, Listed(7, 0)},
    {"sensor_history", 12, 1, false, Listed(12, 0)},
};

ExportRequest Request(const GoldenCase &c, const ExportLogs &logs, qint64 seqNo = 0) {
    ExportRequest request;
    request.seqNo = seqNo;
    request.logType = c.logType;
    request.logs = logs;
    request.separator = c.filterIndex == 2 ? QStringLiteral("\t") : QStringLiteral(",");
    request.filterIndex = c.filterIndex;
    request.debugMode = c.debugMode;
    return request;
}

} // namespace

// Every case byte for byte; the file written through a device equals the returned text,
// with one more line end for the types that are not written line by line.
TEST_F(ExportTextTest, TextsMatchTheirGoldenFiles) {
    for (const GoldenCase &c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        const ExportLogs logs = c.logs(*this);
        const ExportRequest request = Request(c, logs, eventSeqNo);
        const QString text = MakeExportText(request);
        ExpectGolden(QString::fromLatin1(c.name), text.toUtf8());

        QBuffer file;
        file.open(QIODevice::WriteOnly);
        DeviceSink sink(file);
        WriteExportFile(request, sink);
        const bool lineByLine = c.logType == 1 || c.logType == 9;
        EXPECT_EQ(file.data(), text.toUtf8() + (lineByLine ? "" : "\r\n"));
    }
}

TEST_F(ExportTextTest, ACondensedTrendListsTheKeptSamplesOnly) {
    Globals().CondensedView = true;
    const ExportRequest request =
        Request({"interval_ch4_condensed", 1, 1, false, {}}, loaded<clsInterval>(1, 0, kInterval));
    ExpectGolden(QStringLiteral("interval_ch4_condensed"), MakeExportText(request).toUtf8());
}

// An event list whose head row is gone has no header to write: an error, not a text.
TEST_F(ExportTextTest, AnEventListWithoutItsHeadRowFails) {
    for (const qint32 type : {5, 6, 7, 12}) {
        ExportRequest request;
        request.logType = type;
        request.seqNo = 999999;
        StringSink sink;
        EXPECT_THROW(WriteExportText(request, sink), TqError) << type;
        EXPECT_EQ(sink.text(), QString()) << type;
    }
}

// A stored log changed by hand (a trend file gone or damaged, a Null or a value beyond its
// field in a row) cannot be written: the export fails, naming what it met, where it would
// otherwise write a value the log does not hold. One fault per case.
TEST_F(ExportTextTest, WhatIsNotThereEndsTheExport) {
    const auto execute = [](const char *sql, qint64 key) {
        Database(Globals().DatabasePath).execute(QLatin1String(sql), {key});
    };
    const auto trendFile = [](qint32 type, int n) {
        const DbRow head = Database(Globals().DatabasePath)
                               .query(QStringLiteral("Select FolderID, Names From Log_Head "
                                                     "Where SeqNo=?"),
                                      {seqNo(type, n)})
                               .at(0);
        return TrendFilePath(Globals().DataFolder, head.text(QStringLiteral("FolderID")),
                             head.text(QStringLiteral("Names")));
    };
    // An event list of the type, its rows changed by the statement.
    const auto listedAfter = [&](qint32 type, const char *sql) {
        return [=](ExportTextTest &t) {
            execute(sql, seqNo(type, 0));
            t.eventSeqNo = seqNo(type, 0);
            return ExportLogs{};
        };
    };
    struct Case {
        const char *name;
        qint32 logType;
        std::function<ExportLogs(ExportTextTest &)> fault;
        QString told; // in the failure's message
    };
    const std::vector<Case> cases = {
        {"trend file missing", 1,
         [&](ExportTextTest &t) {
             QFile::remove(trendFile(1, 1));
             return t.loaded<clsInterval>(1, 1, kInterval);
         },
         LoadMessage(30005, {trendFile(1, 1)})},
        {"trend file damaged", 2,
         [&](ExportTextTest &t) {
             QFile file(trendFile(2, 0));
             const double nan = std::numeric_limits<double>::quiet_NaN();
             file.open(QIODevice::ReadWrite);
             file.seek(4 * kTrendRecordSize);
             file.write(reinterpret_cast<const char *>(&nan), sizeof nan);
             file.close();
             return t.loaded<clsAlarm>(2, 0, kAlarm);
         },
         LoadMessage(30006, {trendFile(2, 0)})},
        {"event code beyond 16 bits", 1,
         [&](ExportTextTest &t) {
             execute("Update Interval_Event Set Gas1Event=65429 Where RelNo=?", seqNo(1, 0));
             return t.loaded<clsInterval>(1, 0, kInterval);
         },
         QStringLiteral("65429")},
        {"snapshot status beyond 16 bits", 11,
         [&](ExportTextTest &t) {
             execute("Update SnapShot Set Gas1sts=65429 Where RelNo=?", seqNo(11, 0));
             return t.loaded<clsSnapShot>(11, 0, kSnapshot);
         },
         LoadMessage(30106, {QStringLiteral("65429")})},
        {"Null Power_Type", 7,
         listedAfter(7, "Update Power_Event Set Power_Type=Null Where RelNo=?"),
         QStringLiteral("Power_Type")},
        {"Null Alarm_Type", 5,
         listedAfter(5, "Update Alarm_Event Set Alarm_Type=Null Where RelNo=?"),
         QStringLiteral("Alarm_Type")},
        {"Alarm_Type beyond 16 bits", 6,
         listedAfter(6, "Update Trouble_Event Set Alarm_Type=65429 Where RelNo=?"),
         QStringLiteral("Alarm_Type")},
        {"Null Gas1Full", 12,
         listedAfter(12, "Update SensorChange Set Gas1Full=Null Where RelNo=?"),
         QStringLiteral("Gas1Full")},
        {"Null Gas1Point", 12,
         listedAfter(12, "Update SensorChange Set Gas1Full=100, Gas1Point=Null Where RelNo=?"),
         QStringLiteral("Gas1Point")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ExportLogs logs = c.fault(*this);
        const ExportRequest request = Request({c.name, c.logType, 1, false, {}}, logs, eventSeqNo);
        try {
            MakeExportText(request);
            ADD_FAILURE() << "the export did not fail";
        } catch (const TqError &e) {
            EXPECT_TRUE(e.message().contains(c.told)) << e.message().toStdString();
        }
    }
}

// A Null date is an empty cell, in the header and in a row: never 1899/09/20.
TEST_F(ExportTextTest, ANullDateIsAnEmptyCell) {
    const qint64 key = seqNo(7, 0);
    Database db(Globals().DatabasePath);
    db.execute(QStringLiteral("Update Log_Head Set Dates=Null Where SeqNo=?"), {key});
    db.execute(QStringLiteral("Update Power_Event Set Dates=Null Where RelNo=? And Power_Type=1"),
               {key});
    ExportRequest request;
    request.logType = 7;
    request.seqNo = key;
    const QStringList lines = MakeExportText(request).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.contains(LoadMessage(5668) + QStringLiteral(",")));
    EXPECT_TRUE(lines.contains(QStringLiteral("3,,ON"))) << lines.join('|').toStdString();
    EXPECT_FALSE(lines.join(QString()).contains(QStringLiteral("1899")));
}

// An alarm trend file of 721 records exports the 720 samples of an alarm trend and no
// reading it does not hold.
TEST_F(ExportTextTest, AnAlarmTrendOf721RecordsWritesItsSamplesOnly) {
    const DbRow head =
        Database(Globals().DatabasePath)
            .query(QStringLiteral("Select FolderID, Names From Log_Head Where SeqNo=?"),
                   {seqNo(2, 0)})
            .at(0);
    QFile file(TrendFilePath(Globals().DataFolder, head.text(QStringLiteral("FolderID")),
                             head.text(QStringLiteral("Names"))));
    ASSERT_TRUE(file.open(QIODevice::Append));
    TrendFileWriter extra;
    extra.PutTrendPoint(1, Date::fromParts(2024, 5, 14, 12, 0, 0), 99);
    file.write(extra.records());
    file.close();
    ExportRequest request;
    request.logType = 2;
    request.logs = loaded<clsAlarm>(2, 0, kAlarm);
    const QStringList lines = MakeExportText(request).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.contains(LoadMessage(5611) + QStringLiteral(",720")));
    EXPECT_TRUE(lines.at(lines.size() - 2).startsWith(QStringLiteral("720,")));
    EXPECT_TRUE(lines.filter(QRegularExpression(QStringLiteral("^721,"))).isEmpty());
}

// The run under a German locale must really have a comma as the system's decimal mark,
// or it would not show that the export bytes ignore the locale.
TEST(ExportText, TheGermanRunHasACommaForDecimalMark) {
    if (!qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_")))
        GTEST_SKIP() << "not the German run";
    EXPECT_EQ(SystemDecimalMark(), QStringLiteral(","));
    EXPECT_EQ(FormatGasValue(12.5f, 1), QStringLiteral("12,5"));
}

TEST(ExportText, ATypeWithoutTextIsOneLineEndAsAFile) {
    for (const qint32 type : {0, 4, 8, 13}) {
        ExportRequest request;
        request.logType = type;
        EXPECT_EQ(MakeExportText(request), QString());
        StringSink sink;
        WriteExportFile(request, sink);
        EXPECT_EQ(sink.text(), QStringLiteral("\r\n"));
    }
}

TEST(ExportText, CellsThatWouldShiftColumnsAreQuoted) {
    struct Case {
        QStringList cells;
        const char *separator;
        const char *line;
    };
    const std::vector<Case> cases = {
        {{"A,B", "x"}, ",", "\"A,B\",x"},
        {{"A,B", "x"}, "\t", "A,B\tx"},
        {{"A\tB", "x"}, "\t", "\"A\tB\"\tx"},
        {{"say \"hi\"", ""}, ",", "\"say \"\"hi\"\"\","},
        {{"two\r\nlines"}, ",", "\"two\r\nlines\""},
        {{"line\nfeed", "12.5"}, "\t", "\"line\nfeed\"\t12.5"},
        {{"", "", "ALARM"}, ",", ",,ALARM"},
        {{}, ",", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(JoinCells(c.cells, QString::fromLatin1(c.separator)),
                  QString::fromLatin1(c.line));
}

TEST(ExportText, DatesAndEventTimesHaveFixedSeparators) {
    EXPECT_EQ(ExportDate(Date::fromParts(2024, 5, 14, 9, 31, 20)),
              QStringLiteral("2024/05/14 09:31:20"));
    EXPECT_EQ(ExportEventTime(12, Date::fromParts(2024, 5, 14, 9, 45, 0)),
              QStringLiteral("05/14 09:45:00"));
    EXPECT_EQ(ExportEventTime(-118, Date::fromParts(2024, 5, 14)), QStringLiteral("-----"));
    EXPECT_EQ(ExportEventTime(12, Date::emptyLogDate()), QStringLiteral("*****"));
}

// A device that refuses a write ends the export with an error.
TEST(ExportText, AFailingDeviceThrows) {
    QBuffer file;
    file.open(QIODevice::ReadOnly);
    DeviceSink sink(file);
    ExportRequest request;
    request.logType = 2;
    EXPECT_THROW(WriteExportText(request, sink), TqError);
}

} // namespace tq
