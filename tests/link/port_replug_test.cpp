// The ports on real pseudo-terminals behind a symbolic link, as the detector simulator gives
// them: a device that goes away is closed and reported as gone, and the link's ticks open the
// same path again once a device is back there.
#include "link/irda_port_control.h"
#include "link/serial_port_control.h"
#include "link/usb_port_finder.h"
#include "test_support.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace tq::test {
namespace {

constexpr int kBothLines = ModemLine::Cts | ModemLine::Dsr;

// The detector's side of a pseudo-terminal; the port opens the other side.
class Terminal {
public:
    Terminal() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_device = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~Terminal() { hangUp(); }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;

    QString device() const { return m_device; }
    void hangUp() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    bool send(const QByteArray &bytes) {
        return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

private:
    int m_master = -1;
    QString m_device;
};

// The symbolic link `link` points at `terminal`, replaced in one step.
bool pointLink(const QString &link, const Terminal &terminal) {
    const QString temporary = link + QStringLiteral(".new");
    QFile::remove(temporary);
    return QFile::link(terminal.device(), temporary) &&
           ::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(link).constData()) == 0;
}

enum class Loss { HangUp, NodeReplaced, AwayForAWhile };

struct LossCase {
    const char *name;
    Loss loss;
};

// A port on the converter's number, the converter being the symbolic link that
// TQ6200_SERIAL_PORT names.
class SerialPortOnTerminal : public TempFolderTest {
protected:
    QString link;
    SerialPortControl port;
    QList<int> lineEvents; // the modem lines at each line event

    void SetUp() override {
        link = path(QStringLiteral("converter"));
        qputenv("TQ6200_SERIAL_PORT", QFile::encodeName(link));
        ASSERT_EQ(FindUsbSerialPort(QString::fromLatin1(kConverterDeviceId)), ConverterSearch::One);
        port.setPortNumber(kConverterPortNumber);
        QObject::connect(&port, &LinkPort::commEvent, [this](int code) {
            if (code == CommEvent::CtsChange || code == CommEvent::DsrChange)
                lineEvents << port.modemLines();
        });
    }
    void TearDown() override { qunsetenv("TQ6200_SERIAL_PORT"); }

    bool linkTo(const Terminal &terminal) const { return pointLink(link, terminal); }
    // Ticks until the port is open, at most two seconds.
    bool tickUntilOpen() {
        return QTest::qWaitFor(
            [&] {
                port.pollLines();
                return port.isOpen();
            },
            2000);
    }
    // What the port receives within a second.
    QByteArray received() {
        QByteArray bytes;
        (void)QTest::qWaitFor(
            [&] {
                bytes += port.takeReceived();
                return !bytes.isEmpty();
            },
            1000);
        return bytes;
    }
};

class SerialPortReplug : public SerialPortOnTerminal,
                         public ::testing::WithParamInterface<LossCase> {};

TEST_P(SerialPortReplug, ALostDeviceIsReportedOnceAndOpenedAgainWhenBack) {
    auto first = std::make_unique<Terminal>();
    ASSERT_FALSE(first->device().isEmpty());
    ASSERT_TRUE(linkTo(*first));
    ASSERT_TRUE(port.setOpen(true));
    // A terminal has no modem lines: open counts as a detector present.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lineEvents.isEmpty(); }, 1000));
    EXPECT_EQ(lineEvents, QList<int>{kBothLines});
    lineEvents.clear();

    Terminal second;
    ASSERT_FALSE(second.device().isEmpty());
    switch (GetParam().loss) {
    case Loss::HangUp:
        first->hangUp();
        break;
    case Loss::NodeReplaced:
        // The old device says nothing; only its node now names another one.
        ASSERT_TRUE(linkTo(second));
        port.pollLines();
        break;
    case Loss::AwayForAWhile:
        first.reset();
        ASSERT_TRUE(QFile::remove(link));
        break;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lineEvents.isEmpty(); }, 2000));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(lineEvents, QList<int>{0}) << "both lines off: the cable was pulled";
    lineEvents.clear();

    // While nothing is there, the ticks report nothing. (A link left dangling is not ticked
    // on: another test's terminal may take its number.)
    if (GetParam().loss == Loss::AwayForAWhile) {
        for (int tick = 0; tick < 30; ++tick)
            port.pollLines();
        QTest::qWait(50);
        EXPECT_FALSE(port.isOpen());
        EXPECT_TRUE(lineEvents.isEmpty());
    }
    if (GetParam().loss != Loss::NodeReplaced) {
        ASSERT_TRUE(linkTo(second));
    }

    ASSERT_TRUE(tickUntilOpen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lineEvents.isEmpty(); }, 1000));
    EXPECT_EQ(lineEvents, QList<int>{kBothLines}) << "the line is on again: connect polling";
    EXPECT_TRUE(second.send("back"));
    EXPECT_EQ(received(), QByteArray("back"));
}

INSTANTIATE_TEST_SUITE_P(Cases, SerialPortReplug,
                         ::testing::Values(LossCase{"HangUp", Loss::HangUp},
                                           LossCase{"NodeReplaced", Loss::NodeReplaced},
                                           LossCase{"AwayForAWhile", Loss::AwayForAWhile}),
                         [](const ::testing::TestParamInfo<LossCase> &info) {
                             return std::string(info.param.name);
                         });

// A port asked to open while its device is not there (the converter still unplugged) opens
// once it is, and reports the line on then.
TEST_F(SerialPortOnTerminal, AskedToOpenWhileAwayOpensOnceBack) {
    EXPECT_FALSE(port.setOpen(true));
    for (int tick = 0; tick < 30; ++tick)
        port.pollLines();
    EXPECT_FALSE(port.isOpen());
    Terminal terminal;
    ASSERT_TRUE(linkTo(terminal));
    ASSERT_TRUE(tickUntilOpen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lineEvents.isEmpty(); }, 1000));
    EXPECT_EQ(lineEvents, QList<int>{kBothLines});
}

// A port the program closed itself is not looked for.
TEST_F(SerialPortOnTerminal, ClosedByTheProgramIsNotOpenedAgainByTheTicks) {
    Terminal first;
    ASSERT_TRUE(linkTo(first));
    ASSERT_TRUE(port.setOpen(true));
    first.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }, 2000));
    EXPECT_TRUE(port.setOpen(false));
    Terminal second;
    ASSERT_TRUE(linkTo(second));
    for (int tick = 0; tick < 30; ++tick)
        port.pollLines();
    EXPECT_FALSE(port.isOpen());
}

// The infrared port: a hang-up is a socket error, and the poll that finds the device back
// opens it and reports the detector in range again.
class InfraredPortOnTerminal : public TempFolderTest {
protected:
    void TearDown() override { qunsetenv("TQ6200_IRDA_PORT"); }
};

TEST_F(InfraredPortOnTerminal, IsOpenedAgainByThePollOnceBack) {
    const QString link = path(QStringLiteral("irda"));
    qputenv("TQ6200_IRDA_PORT", QFile::encodeName(link));
    IrdaPortControl port;
    QList<int> events;
    QObject::connect(&port, &LinkPort::commEvent, [&](int code) {
        if (code != CommEvent::Receive)
            events << code;
    });
    auto first = std::make_unique<Terminal>();
    ASSERT_TRUE(pointLink(link, *first));
    ASSERT_TRUE(port.setOpen(true));
    port.poll();
    EXPECT_EQ(events, QList<int>{CommEvent::InfraredConnect});
    events.clear();

    first.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.isEmpty(); }, 2000));
    EXPECT_EQ(events, QList<int>{CommEvent::InfraredSocketError});
    EXPECT_FALSE(port.isOpen());
    events.clear();

    Terminal second;
    ASSERT_TRUE(pointLink(link, second));
    port.poll();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(events, QList<int>{CommEvent::InfraredConnect});
    EXPECT_TRUE(second.send("back"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.takeReceived() == "back"; }, 1000));
}

} // namespace
} // namespace tq::test
