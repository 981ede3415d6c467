// The link control against the detector simulator, through a real pseudo-terminal, on the
// serial port and on the infrared port.
#include "core/instrument/clsInstrument.h"
#include "link/dump_list.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"
#include "link/usb_port_finder.h"
#include "link_probe.h"
#include "simulator.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>

namespace tq::test {
namespace {

using ::testing::HasSubstr;

enum class Port { Serial, Infrared };

class LinkAgainstSimulator : public TempFolderTest, public ::testing::WithParamInterface<Port> {
protected:
    std::unique_ptr<Simulator> sim;
    std::unique_ptr<uclPvif> link;
    clsInstrument instrument;

    void TearDown() override {
        link.reset();
        sim.reset();
        qunsetenv("TQ6200_SERIAL_PORT");
        qunsetenv("TQ6200_IRDA_PORT");
    }

    // Starts the simulator with `options`, opens the port as the program's start-up does and
    // waits for the connection.
    void connectTo(const QStringList &options = {}, qint16 timeout = 2, qint16 retry = 2) {
        sim = std::make_unique<Simulator>(options);
        openPort(timeout, retry);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(QTest::qWaitFor([&] { return link->Connected(); }, 5000));
    }

    // Opens the port to the running simulator as the program's start-up does.
    void openPort(qint16 timeout, qint16 retry) {
        ASSERT_FALSE(sim->device().isEmpty());
        if (GetParam() == Port::Serial) {
            qputenv("TQ6200_SERIAL_PORT", sim->device().toUtf8());
            qunsetenv("TQ6200_IRDA_PORT");
        } else {
            qunsetenv("TQ6200_SERIAL_PORT");
            qputenv("TQ6200_IRDA_PORT", sim->device().toUtf8());
        }
        link = std::make_unique<uclPvif>();
        link->setLinkSettings({dir.path(), timeout, retry, 1});
        if (GetParam() == Port::Serial) {
            const ConverterSearch search =
                FindUsbSerialPort(QString::fromLatin1(kConverterDeviceId));
            ASSERT_EQ(search, ConverterSearch::One);
            link->setSerialComm(true);
            link->setCommPort(ConverterPortNumber(search));
            link->setSettings(QString::fromLatin1(kConverterCommSettings));
        }
        // Parallel test processes reuse terminal numbers quickly, and the serial port's
        // lock file of a number may outlive its last user for a moment.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                link->setPortOpen(true);
                return link->PortOpen();
            },
            5000));
    }

    // Ticks every millisecond, a reply time-out long enough for the simulator.
    void fastTicks() {
        uclPvifProbe::fastTicks(*link);
        link->setTimeout(30);
    }

    QString serialLog() const { return QString::fromUtf8(readFile(SerialLogPath(dir.path()))); }

    static QByteArray randomImage() {
        QByteArray image(524288, Qt::Uninitialized);
        QRandomGenerator generator(6200);
        for (char &byte : image)
            byte = static_cast<char>(generator.bounded(256));
        return image;
    }
};

TEST_P(LinkAgainstSimulator, ReadsTheSettings) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    ASSERT_TRUE(link->GetInstrument(&instrument));
    EXPECT_EQ(instrument.RomNumber(), 10207);
    EXPECT_EQ(instrument.UserID(), QStringLiteral("SAFETY TEAM"));
    EXPECT_EQ(instrument.StationList(1), QStringLiteral("TANK YARD A     "));
    EXPECT_EQ(instrument.Intervals(), 0x3C);
    EXPECT_EQ(instrument.GasName(0).trimmed(), QStringLiteral("CH4"));
    const QStringList commands = sim->commands();
    EXPECT_EQ(commands.size(), 1 + 287); // the connect poll and the read list
    EXPECT_EQ(commands.last(), QStringLiteral("XS,R,00FF"));
    ASSERT_TRUE(link->GetLatestHistory(&instrument));
    EXPECT_EQ(instrument.CalibDate(0), Date::fromParts(2026, 9, 15, 9, 30, 12));
    EXPECT_FLOAT_EQ(instrument.CalibAfter(0), 50.1f);
    // Frames in both directions, control characters visible.
    EXPECT_THAT(serialLog().toStdString(), HasSubstr(" W : [STX]0001VP,R,[ETX]"));
    EXPECT_THAT(serialLog().toStdString(), HasSubstr(" R : [STX]0001VP,R,10207[ETX]"));
}

TEST_P(LinkAgainstSimulator, UploadsOnlyFlaggedSettingsThenCommits) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    ASSERT_TRUE(link->GetInstrument(&instrument));
    const qsizetype readCommands = sim->commands().size();
    instrument.setUserID(QStringLiteral("NIGHT SHIFT"));
    instrument.setAlarmMode(1);
    instrument.setConfermation(16);
    instrument.setStationList(10, QStringLiteral("PUMP HOUSE"));
    ASSERT_TRUE(link->SetInstrument(&instrument));
    EXPECT_EQ(sim->commands().mid(readCommands),
              (QStringList{"XZ,W,NIGHT SHIFT     ", "AP,W,1", "XB,W,0010",
                           "XS,W,000A,PUMP HOUSE      ", "DW,W,"}));
    EXPECT_FALSE(instrument.Change_UserID());
    EXPECT_FALSE(instrument.Change_StationList(10));
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("---Instrument Upload Finished---"));

    // What was written is what is read back.
    clsInstrument readBack;
    ASSERT_TRUE(link->GetInstrument(&readBack));
    EXPECT_EQ(readBack.Confermation(), 16);
    EXPECT_EQ(readBack.UserID(), QStringLiteral("NIGHT SHIFT"));
    EXPECT_EQ(readBack.StationList(10), QStringLiteral("PUMP HOUSE      "));
}

TEST_P(LinkAgainstSimulator, UploadWithNothingFlaggedSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    ASSERT_TRUE(link->GetInstrument(&instrument));
    const qsizetype readCommands = sim->commands().size();
    EXPECT_FALSE(link->SetInstrument(&instrument));
    EXPECT_EQ(sim->commands().size(), readCommands);
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("---Instrument Upload Finished---"));
}

TEST_P(LinkAgainstSimulator, SetsTheClock) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    ASSERT_TRUE(link->SetDateTime(Date::fromParts(2024, 3, 5, 14, 7, 9)));
    EXPECT_EQ(sim->commands().last(), QStringLiteral("HC,W,240305140709"));
}

TEST_P(LinkAgainstSimulator, ClearsTheDataAfterTheDetectorConfirms) {
    const struct {
        bool (uclPvif::*clear)();
        const char *write;
        const char *confirm;
    } clears[] = {{&uclPvif::BodyDataClear, "XC,W,", "XC,C,"},
                  {&uclPvif::PowerDataClear, "XY,W,", "XY,C,"}};
    for (const auto &c : clears) {
        SCOPED_TRACE(c.write);
        ASSERT_NO_FATAL_FAILURE(connectTo({"--busy", "2"}));
        fastTicks();
        ASSERT_TRUE(((*link).*c.clear)());
        EXPECT_EQ(sim->commands().mid(1), (QStringList{c.write, c.confirm, c.confirm, c.confirm}));
        EXPECT_THAT(serialLog().toStdString(), HasSubstr("--- Data Remove Finished---."));
        link.reset();
        sim.reset();
    }
}

TEST_P(LinkAgainstSimulator, FactoryDefaultConfirmsAfterFiveSeconds) {
    ASSERT_NO_FATAL_FAILURE(connectTo({"--busy", "0"}, 10));
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(link->DefaultInstrument());
    EXPECT_GE(took.elapsed(), 4000);
    EXPECT_EQ(sim->commands().mid(1), (QStringList{"UX,W,", "UX,C,"}));
}

TEST_P(LinkAgainstSimulator, SpanCalibrationKeepsTheStatus) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    ASSERT_TRUE(link->SpanCal(QStringLiteral("1000")));
    EXPECT_TRUE(link->SpanStatus(0));
    EXPECT_FALSE(link->SpanStatus(1));
    EXPECT_EQ(sim->commands().last(), QStringLiteral("S1,W,1000"));
}

TEST_P(LinkAgainstSimulator, ConfirmLoopHonoursCancel) {
    ASSERT_NO_FATAL_FAILURE(connectTo({"--busy-forever"}));
    QTimer::singleShot(300, [&] { link->setCancel(true); });
    EXPECT_FALSE(link->BodyDataClear());
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("--- Data Remove Failed---."));
}

TEST_P(LinkAgainstSimulator, ConfirmLoopGivesUpOnADetectorBusyForEver) {
    ASSERT_NO_FATAL_FAILURE(connectTo({"--busy-forever"}));
    uclPvifProbe::setConfirmLimit(*link, 500);
    EXPECT_FALSE(link->ZeroCal(QStringLiteral("1000")));
}

TEST_P(LinkAgainstSimulator, ZeroCalibrationReportsTheStatus) {
    ASSERT_NO_FATAL_FAILURE(connectTo({"--busy", "2"}));
    fastTicks();
    ASSERT_TRUE(link->ZeroCal(QStringLiteral("1000")));
    EXPECT_TRUE(link->ZeroStatus(0));
    EXPECT_FALSE(link->ZeroStatus(5));
    EXPECT_EQ(sim->commands().mid(1).count(QStringLiteral("SZ,C,")), 3);
}

TEST_P(LinkAgainstSimulator, PowersOff) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    fastTicks();
    EXPECT_TRUE(link->BodyPowerOff());
    EXPECT_FALSE(link->Connected());
    EXPECT_EQ(link->Status(), LinkStatus::Reset);
    EXPECT_TRUE(sim->state().value("powered_off").toBool());
}

TEST_P(LinkAgainstSimulator, PowerOffUnansweredReportsFailure) {
    ASSERT_NO_FATAL_FAILURE(connectTo({"--pull-cable-after", "1"}, 1, 1));
    fastTicks();
    EXPECT_FALSE(link->BodyPowerOff());
}

TEST_P(LinkAgainstSimulator, FastDumpOfAnErasedImageReadsOnlyThePlannedBlocks) {
    ASSERT_NO_FATAL_FAILURE(connectTo());
    const QString image = path(QStringLiteral("TQ6200.DAT"));
    ASSERT_TRUE(link->GetFastBinDump(image));
    link.reset();
    sim->finish();
    QList<int> blocks;
    for (const QString &command : sim->commands()) {
        if (command.startsWith(QLatin1String("EP,R,")))
            blocks << command.mid(5).toInt(nullptr, 16);
    }
    QList<int> expected{0, 64, 65, 66};
    for (int s = 128; s <= 344; s += 24)
        expected << s;
    expected << 511 << 384 << 385 << 386 << 639 << 512 << 513 << 514 << 640 << 704 << 705 << 706
             << 768 << 832 << 833 << 834 << 896 << 960 << 961 << 962;
    EXPECT_EQ(blocks, expected);
    EXPECT_EQ(readFile(image), QByteArray(524288, char(0xFF)));
}

TEST_P(LinkAgainstSimulator, CompleteDumpEqualsTheImage) {
    const QByteArray original = randomImage();
    const QString source = path(QStringLiteral("source.bin"));
    writeFile(source, original);
    ASSERT_NO_FATAL_FAILURE(connectTo({"--image", source, "--long-block", "5"}));
    const QString image = path(QStringLiteral("TQ6200.DAT"));
    writeFile(image, "an older image");
    ASSERT_TRUE(link->GetBinDump(image, 0, 1023));
    EXPECT_TRUE(readFile(image) == original);
    EXPECT_FALSE(QFile::exists(image + ".part"));
}

TEST_P(LinkAgainstSimulator, DumpListIsWritten) {
    const QByteArray original = randomImage();
    const QString source = path(QStringLiteral("source.bin"));
    writeFile(source, original);
    // 1104 bytes: 69 lines, the fifth page holds five.
    ASSERT_NO_FATAL_FAILURE(connectTo({"--image", source, "--dump-bytes", "1104"}));
    const QString list = path(QStringLiteral("DumpEF.dat"));
    ASSERT_TRUE(link->GetRomDump2(list));
    const QStringList lines = QString::fromUtf8(readFile(list)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.count(DumpPageHeading()), 5);
    for (qint32 address : {0x000, 0x3F0, 0x440}) {
        const QString hex = QString::fromLatin1(original.mid(address, 16).toHex().toUpper());
        EXPECT_TRUE(lines.contains(DumpListLine(address, hex))) << address;
    }
    // The last page is filled up with erased lines whose addresses go on.
    EXPECT_TRUE(lines.contains(DumpListLine(0x450, QString(32, 'F'))));
    EXPECT_TRUE(lines.contains(DumpListLine(0x4F0, QString(32, 'F'))));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^[0-9A-F]{6} "))).size(), 80);
    EXPECT_EQ(lines.filter(QStringLiteral(";\tTotal Download Time = ")).size(), 1);
}

// Faults that keep the detector from connecting: the polls are used up, then the alarm.
TEST_P(LinkAgainstSimulator, ConnectFaultsEndInTheAlarm) {
    for (const char *fault : {"--silent", "--nak", "--bad-checksum"}) {
        SCOPED_TRACE(fault);
        sim = std::make_unique<Simulator>(QStringList{fault});
        ASSERT_NO_FATAL_FAILURE(openPort(1, 2));
        QSignalSpy alarms(link.get(), &uclPvif::AlarmMessage);
        EXPECT_TRUE(QTest::qWaitFor([&] { return alarms.count() > 0; }, 8000));
        EXPECT_FALSE(link->Connected());
        link.reset();
        sim.reset();
    }
}

struct RecoveryCase {
    const char *name;
    QStringList options;
    int sends; // frames of the read the detector received
};

// Faults the retries get over.
TEST_P(LinkAgainstSimulator, ExchangeFaultsAreRetried) {
    const RecoveryCase cases[] = {
        {"negative acknowledge", {"--nak", "2"}, 2}, {"bad checksum", {"--bad-checksum", "2"}, 2},
        {"reply in chunks", {"--chunk", "3"}, 1},    {"slow reply", {"--delay", "300"}, 1},
        {"paced bytes", {"--baud", "9600"}, 1},
    };
    for (const RecoveryCase &c : cases) {
        SCOPED_TRACE(c.name);
        // A time-out well above the slowest reply, so a loaded machine adds no re-send.
        ASSERT_NO_FATAL_FAILURE(connectTo(c.options, 3, 2));
        EXPECT_TRUE(link->GetRomNo(&instrument));
        EXPECT_EQ(sim->commands().count(QStringLiteral("VP,R,")), c.sends);
        link.reset();
        sim.reset();
    }
}

// A block that does not come, or comes short, ends the download for another try; the
// last complete image stays as it was.
TEST_P(LinkAgainstSimulator, AMissingOrShortBlockEndsTheDumpForAnotherTry) {
    struct Case {
        const char *fault;
        bool fast;
    };
    for (const Case &c : {Case{"--drop-block", false}, Case{"--short-block", true}}) {
        SCOPED_TRACE(c.fault);
        const QString image = path(QStringLiteral("TQ6200.DAT"));
        const QByteArray last = randomImage();
        writeFile(image, last);
        QFile::remove(SerialLogPath(dir.path()));
        ASSERT_NO_FATAL_FAILURE(connectTo({c.fault, "65"}, 1, 1));
        EXPECT_FALSE(c.fast ? link->GetFastBinDump(image) : link->GetBinDump(image, 60, 70));
        EXPECT_TRUE(link->BinaryRetry());
        EXPECT_THAT(serialLog().toStdString(), HasSubstr("= timeout ="));
        EXPECT_TRUE(readFile(image) == last);
        EXPECT_FALSE(QFile::exists(image + ".part"));
        link.reset();
        sim.reset();
    }
}

TEST_P(LinkAgainstSimulator, PulledCableFailsTheExchange) {
    ASSERT_NO_FATAL_FAILURE(connectTo({"--pull-cable-after", "3"}, 1, 1));
    EXPECT_FALSE(link->GetRomNo(&instrument));
    EXPECT_EQ(link->Status(), LinkStatus::Failed);
    EXPECT_FALSE(link->Connected());
}

INSTANTIATE_TEST_SUITE_P(Ports, LinkAgainstSimulator,
                         ::testing::Values(Port::Serial, Port::Infrared), [](const auto &info) {
                             return info.param == Port::Serial ? "Serial" : "Infrared";
                         });

} // namespace
} // namespace tq::test
