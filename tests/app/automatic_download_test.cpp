// The automatic mode end to end: the program, started headless with the automatic mode on,
// meets the detector simulator on a pseudo-terminal, downloads and imports every log,
// clears the detector only after a whole import, and switches it off.
#include "link/simulator.h"
#include "program_process.h"

#include <QJsonArray>

#include <ostream>

namespace tq {
namespace {

struct AutomaticCase {
    const char *name;
    QStringList fixtures;   // combined into the simulator's image
    bool removeData;        // "Automatic Data Removal"
    QList<int> storedTypes; // Log_Head Types the database then holds
    bool clearExpected;     // the simulator saw the data clear before the power-off
    bool whole;             // the run ends as complete, not failed
};

void PrintTo(const AutomaticCase &c, std::ostream *os) {
    *os << c.name;
}

const QStringList kEveryFamily{QStringLiteral("interval_basic"), QStringLiteral("alarm_basic"),
                               QStringLiteral("events_basic")};
const QList<int> kEveryType{1, 2, 3, 5, 6, 7, 9, 11, 12};
// The interval logs of that image stop at a log naming a gas slot the program cannot hold:
// the logs before it are stored, and it held no sampling-mode log (type 9).
const QList<int> kFailingImageTypes{1, 2, 3, 5, 6, 7, 11, 12};

class AutomaticDownloadTest : public test::ProgramProcessTest,
                              public ::testing::WithParamInterface<AutomaticCase> {
protected:
    QStringList simulatorEvents(const test::Simulator &simulator) const {
        QStringList events;
        for (const QJsonValue &event : simulator.state().value(QStringLiteral("events")).toArray())
            events << event.toString();
        return events;
    }
    // The serial log with the parts a failed import moved into ErrorLogs before it.
    QString serialLogs() const {
        QString text;
        const QDir errorLogs(path(QStringLiteral("work/ErrorLogs")));
        for (const QString &name : errorLogs.entryList(QDir::Files, QDir::Name))
            text += QString::fromUtf8(test::readFile(errorLogs.filePath(name)));
        return text + QString::fromUtf8(test::readFile(path(QStringLiteral("work/SerialLog.log"))));
    }
    QString headTypes(const QString &database) const {
        return test::Sqlite(database,
                            QStringLiteral("SELECT group_concat(Types) FROM (SELECT DISTINCT "
                                           "Types FROM Log_Head ORDER BY Types)"));
    }
};

QString typeList(const QList<int> &types) {
    QStringList texts;
    for (int type : types)
        texts << QString::number(type);
    return texts.join(QLatin1Char(','));
}

TEST_P(AutomaticDownloadTest, TheDetectorIsReadStoredClearedOnlyWhenWholeAndSwitchedOff) {
    const AutomaticCase &c = GetParam();
    const QString image = test::BuildImage(test::CombinedFixtures(c.fixtures));
    test::Simulator simulator({QStringLiteral("--image"), image});
    ASSERT_FALSE(simulator.device().isEmpty());
    test::writeFile(path(QStringLiteral("work/TQ6200.ini")),
                    QByteArray("Serial Log File\tON\r\nAuto Load Mode\tTrue\t") +
                        (c.removeData ? "True" : "False") + "\r\n");
    QProcessEnvironment env;
    env.insert(QStringLiteral("TQ6200_SERIAL_PORT"), simulator.device());
    start(QStringLiteral("messages.log"), env);

    ASSERT_TRUE(waitFor(
        [&] { return simulator.state().value(QStringLiteral("powered_off")).toBool(); }, 60000))
        << "the detector was not switched off within a minute";
    const QStringList events = simulatorEvents(simulator);
    const qsizetype clear = events.indexOf(QStringLiteral("data clear"));
    const qsizetype powerOff = events.indexOf(QStringLiteral("power off"));
    ASSERT_GE(powerOff, 0);
    if (c.clearExpected) {
        EXPECT_GE(clear, 0);
        EXPECT_LT(clear, powerOff);
    } else {
        EXPECT_EQ(clear, -1) << events.join(QLatin1String(", ")).toStdString();
    }

    const QString database = path(QStringLiteral("work/TQ6200.mdb"));
    EXPECT_EQ(headTypes(database), typeList(c.storedTypes));
    for (const char *table :
         {"Alarm_Event", "Trouble_Event", "Power_Event", "SnapShot", "cHistory", "SensorChange"})
        EXPECT_NE(test::Sqlite(database,
                               QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))),
                  QStringLiteral("0"))
            << table;
    // The run's last line follows the power-off.
    const QString last = c.whole ? QStringLiteral("---Automatic Mode Camplate Finished---")
                                 : QStringLiteral("---Automatic Mode Failed Finished---");
    EXPECT_TRUE(waitFor([&] { return serialLogs().contains(last); }, 10000)) << last.toStdString();
    EXPECT_TRUE(serialLogs().contains(QStringLiteral("---Start Automatic Download---")));
    EXPECT_TRUE(messages(QStringLiteral("messages.log")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Images, AutomaticDownloadTest,
                         ::testing::Values(AutomaticCase{"EveryFamilyWithRemoval", kEveryFamily,
                                                         true, kEveryType, true, true},
                                           AutomaticCase{"EveryFamilyWithoutRemoval", kEveryFamily,
                                                         false, kEveryType, false, true},
                                           AutomaticCase{"AFailingFamilyKeepsTheDetectorsData",
                                                         {QStringLiteral("corrupt_gas_slot"),
                                                          QStringLiteral("alarm_basic"),
                                                          QStringLiteral("events_basic")},
                                                         true,
                                                         kFailingImageTypes,
                                                         false,
                                                         false}),
                         [](const ::testing::TestParamInfo<AutomaticCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tq
