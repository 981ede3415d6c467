#include "core/errors.h"
#include "link_fixture.h"

#include <QDir>
#include <QRegularExpression>

#include <gmock/gmock.h>

namespace tq::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

QByteArray withBadChecksum(QByteArray frame) {
    frame[frame.size() - 2] = frame[frame.size() - 2] == '0' ? '1' : '0';
    return frame;
}

class LinkTransport : public LinkFixture {};

TEST_F(LinkTransport, FramesGoToTheSerialLogInVisibleForm) {
    serial->open = true;
    serial->setLines(ModemLine::Cts);
    uclPvifProbe::tick(link);
    serial->receive(QByteArray("\x02"
                               "0001RC,R,\x03"
                               "FB\x04"));
    const QString log = serialLog();
    const QRegularExpression sent(R"(^\d\d:\d\d:\d\d W : \[STX\]0001RC,R,\[ETX\]FB\[EOT\]\r$)",
                                  QRegularExpression::MultilineOption);
    const QRegularExpression received(R"(^\d\d:\d\d:\d\d R : \[STX\]0001RC,R,\[ETX\]FB\[EOT\]\r$)",
                                      QRegularExpression::MultilineOption);
    EXPECT_TRUE(sent.match(log).hasMatch()) << log.toStdString();
    EXPECT_TRUE(received.match(log).hasMatch()) << log.toStdString();
}

TEST_F(LinkTransport, ConnectPollAnsweredByTheModelConnects) {
    QSignalSpy connected(&link, &uclPvif::OnConnect);
    serial->open = true;
    serial->setLines(ModemLine::Dsr);
    EXPECT_EQ(uclPvifProbe::linkState(link), LinkStateCode::Polling);
    uclPvifProbe::tick(link);
    ASSERT_THAT(serial->written, ElementsAre(MakeFrame(QStringLiteral("RC,R,"))));
    EXPECT_EQ(link.Status(), LinkStatus::ReadPending);
    serial->receive(MakeFrame(QStringLiteral("RC,R,TQ-6200")));
    EXPECT_TRUE(link.Connected());
    EXPECT_EQ(link.Status(), LinkStatus::Done);
    EXPECT_EQ(connected.count(), 1);
}

struct PollCase {
    qint16 retry;
    int ticks;                  // ticks run
    int polls;                  // connect polls sent
    QList<qint16> connectRetry; // ConnectRetry arguments
    bool alarm;                 // AlarmMessage raised
};

class ConnectPolling : public LinkFixture, public ::testing::WithParamInterface<PollCase> {};

TEST_P(ConnectPolling, PollsTwelveTicksApartThenGivesUp) {
    const PollCase &c = GetParam();
    link.setRetry(c.retry);
    QSignalSpy retries(&link, &uclPvif::ConnectRetry);
    QSignalSpy alarms(&link, &uclPvif::AlarmMessage);
    serial->open = true;
    serial->setLines(ModemLine::Cts);
    QList<int> pollTicks;
    for (int t = 1; t <= c.ticks; ++t) {
        const auto before = serial->written.size();
        uclPvifProbe::tick(link);
        if (serial->written.size() > before)
            pollTicks << t;
    }
    ASSERT_EQ(pollTicks.size(), c.polls);
    for (int i = 0; i < pollTicks.size(); ++i)
        EXPECT_EQ(pollTicks[i], 1 + 12 * i);
    QList<qint16> retryArgs;
    for (const auto &args : retries)
        retryArgs << args.at(0).value<qint16>();
    EXPECT_EQ(retryArgs, c.connectRetry);
    ASSERT_EQ(alarms.count(), c.alarm ? 1 : 0);
    if (c.alarm) {
        EXPECT_THAT(alarms.at(0).at(0).toString().toStdString(), HasSubstr("No Response"));
        EXPECT_EQ(uclPvifProbe::linkState(link), LinkStateCode::NoLink);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectPolling,
                         ::testing::Values(
                             // Three polls, the alarm on the next poll tick, no ConnectRetry.
                             PollCase{3, 37, 3, {}, true}, PollCase{3, 36, 3, {}, false},
                             // ConnectRetry at the fifth and tenth poll.
                             PollCase{10, 121, 10, {1, 2}, true}));

struct FrameLoopCase {
    const char *name;
    std::vector<QByteArray> events;
    bool cancelled;
    qint32 status;
    QByteArrayList sentAfterCommand; // "cmd" stands for the command frame, "ack" for its ACK
    QString userId;                  // what the reply stored ("" for nothing)
    QString serialNo;
};

QByteArray frame(const char *text, char terminator = Ctrl::EOT) {
    return MakeFrame(QString::fromLatin1(text), terminator);
}

class FrameLoop : public LinkFixture, public ::testing::WithParamInterface<FrameLoopCase> {};

TEST_P(FrameLoop, CutsFramesAsTheyArrive) {
    const FrameLoopCase &c = GetParam();
    connectDetector();
    const QByteArray command = start(LinkStatus::ReadPending, QStringLiteral("XZ,R,"));
    link.setCancel(c.cancelled);
    for (const QByteArray &bytes : c.events)
        serial->receive(bytes);
    EXPECT_EQ(link.Status(), c.status);
    QByteArrayList expected{command};
    for (const QByteArray &sent : c.sentAfterCommand)
        expected << (sent == "cmd" ? command : sent == "ack" ? MakeAckFrame(command) : sent);
    EXPECT_EQ(serial->written, expected);
    EXPECT_EQ(instrument.UserID().trimmed(), c.userId.isEmpty() ? QString(16, '-') : c.userId);
    EXPECT_EQ(instrument.SerialNo().trimmed(),
              c.serialNo.isEmpty() ? QString(20, '-') : c.serialNo);
}

// Built when used: frames are not made during static initialisation.
QByteArray userFrame() {
    return frame("XZ,R,USER1");
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameLoop,
                         ::testing::Values(FrameLoopCase{"TwoFramesInOneEventBothParsed",
                                                         {userFrame() + frame("IN,R,SER9")},
                                                         false,
                                                         LinkStatus::Done,
                                                         {},
                                                         "USER1",
                                                         "SER9"},
                                           FrameLoopCase{"EtbFrameAcknowledgedAndTheRestDropped",
                                                         {frame("XZ,R,USER1", Ctrl::ETB) +
                                                          frame("IN,R,SER9")},
                                                         false,
                                                         LinkStatus::ReadPending,
                                                         {"ack"},
                                                         "USER1",
                                                         ""},
                                           FrameLoopCase{"FrameSplitOverTwoEventsParsedOnce",
                                                         {userFrame().left(9), userFrame().mid(9)},
                                                         false,
                                                         LinkStatus::Done,
                                                         {},
                                                         "USER1",
                                                         ""},
                                           FrameLoopCase{"CrBeforeTerminatorAsksAgainAtOnce",
                                                         {QByteArray("\x02"
                                                                     "0001XZ,R,US\rER")},
                                                         false,
                                                         LinkStatus::ReadPending,
                                                         {"cmd"},
                                                         "",
                                                         ""},
                                           FrameLoopCase{"DataWhileCancelledEndsTheExchange",
                                                         {userFrame()},
                                                         true,
                                                         LinkStatus::Cancelled,
                                                         {},
                                                         "",
                                                         ""}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkTransport, DataWhileCancelledEmptiesTheBuffer) {
    connectDetector();
    start(LinkStatus::ReadPending, QStringLiteral("XZ,R,"));
    serial->receive(userFrame().left(8));
    link.setCancel(true);
    serial->receive(userFrame().mid(8, 3));
    EXPECT_EQ(link.Status(), LinkStatus::Cancelled);
    EXPECT_TRUE(uclPvifProbe::receiveBuffer(link).isEmpty());
}

TEST_F(LinkTransport, IncompleteReplyWithRetriesUsedUpFailsAndDropsTheText) {
    link.setRetry(1);
    connectDetector();
    start(LinkStatus::ReadPending, QStringLiteral("XZ,R,"));
    serial->receive("\x02"
                    "0001XZ\r");
    ASSERT_EQ(serial->written.size(), 2); // asked again once
    serial->receive("\x02"
                    "0001XZ\r");
    EXPECT_EQ(link.Status(), LinkStatus::Failed);
    EXPECT_EQ(serial->written.size(), 2);
    EXPECT_TRUE(uclPvifProbe::receiveBuffer(link).isEmpty());
}

struct RejectCase {
    const char *name;
    qint32 status;
    const char *command;
    QByteArray reply;
    QByteArray again; // what a rejection sends; empty: nothing
};

class RejectedReply : public LinkFixture, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectedReply, IsRequestedAgainUntilTheRetriesAreUsedUp) {
    const RejectCase &c = GetParam();
    connectDetector();
    const QByteArray command = start(c.status, QString::fromLatin1(c.command));
    const QByteArray again = c.again == "cmd" ? command : c.again;
    for (int attempt = 0; attempt < link.Retry(); ++attempt) {
        serial->receive(c.reply);
        EXPECT_EQ(link.Status(), c.status);
    }
    serial->receive(c.reply);
    EXPECT_EQ(link.Status(), LinkStatus::Failed);
    QByteArrayList expected{command};
    if (!again.isEmpty())
        expected << again << again;
    EXPECT_EQ(serial->written, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedReply,
    ::testing::Values(RejectCase{"WrongChecksumReSendsTheRead", LinkStatus::ReadPending, "XZ,R,",
                                 withBadChecksum(frame("XZ,R,USER1")), "cmd"},
                      RejectCase{"WrongChecksumInAMultiFrameReadIsNegativelyAcknowledged",
                                 LinkStatus::MultiFramePending, "EF,R,",
                                 withBadChecksum(frame("EF,R,0,1,0,FF", Ctrl::ETB)),
                                 MakeNakFrame(MakeFrame(QStringLiteral("EF,R,")))},
                      RejectCase{"RejectedDataClearIsNeverSentTwice", LinkStatus::WritePending,
                                 "XC,W,", frame("XC,W,\x15"), ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkTransport, RejectedReplyStoresNothing) {
    connectDetector();
    start(LinkStatus::ReadPending, QStringLiteral("XZ,R,"));
    serial->receive(withBadChecksum(frame("XZ,R,USER1")));
    EXPECT_EQ(instrument.UserID(), QString(16, '-'));
}

struct TimeoutCase {
    const char *name;
    qint32 status;
    const char *command;
    int sends; // frames written in all
    int ticks; // ticks until the exchange failed
};

class ReplyTimeout : public LinkFixture, public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(ReplyTimeout, ReSendsThenFails) {
    const TimeoutCase &c = GetParam();
    connectDetector();
    ASSERT_TRUE(link.ReplyReceived()) << "the detector answered the connect poll";
    start(c.status, QString::fromLatin1(c.command));
    int ticks = 0;
    while (link.Status() == c.status && ticks < 200) {
        uclPvifProbe::tick(link);
        ++ticks;
    }
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_EQ(link.Status(), LinkStatus::Failed);
    EXPECT_EQ(serial->written.size(), c.sends);
    EXPECT_FALSE(link.ReplyReceived());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyTimeout,
    ::testing::Values(
        // Timeout 1 s = 10 ticks, Retry 2: 11 ticks per try, then one more tick fails.
        TimeoutCase{"ReadIsReSent", LinkStatus::ReadPending, "XZ,R,", 3, 33},
        TimeoutCase{"PowerDataClearIsReSent", LinkStatus::WritePending, "XY,W,", 3, 33},
        // Never re-sent: one time-out, then one tick per retry.
        TimeoutCase{"DataClearIsNeverReSent", LinkStatus::WritePending, "XC,W,", 1, 13},
        TimeoutCase{"ZeroCalibrationIsNeverReSent", LinkStatus::WritePending, "SZ,W,1", 1, 13}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkTransport, BlockTimeoutCancelsAndFlagsBinaryRetry) {
    connectDetector();
    start(LinkStatus::BlockPending, QStringLiteral("EP,R,0000"));
    uclPvifProbe::tick(link, 11);
    EXPECT_TRUE(link.BinaryRetry());
    EXPECT_TRUE(link.Cancel());
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("= timeout ="));
}

TEST_F(LinkTransport, PulledCableFailsThePendingExchange) {
    connectDetector();
    QSignalSpy disconnected(&link, &uclPvif::Disconnected);
    start(LinkStatus::ReadPending, QStringLiteral("XZ,R,"));
    serial->setLines(0);
    EXPECT_EQ(link.Status(), LinkStatus::Failed);
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(disconnected.count(), 1);
}

TEST_F(LinkTransport, ExchangeWhileNotConnectedFailsAtOnce) {
    EXPECT_FALSE(link.GetRomNo(&instrument));
    EXPECT_EQ(link.Status(), LinkStatus::Failed);
    EXPECT_TRUE(serial->written.isEmpty());
}

struct LineErrorCase {
    const char *name;
    int code;
    bool polling; // the event comes while connect polling
    qint32 status;
    const char *logged; // "" for no line
};

class LineError : public LinkFixture, public ::testing::WithParamInterface<LineErrorCase> {};

TEST_P(LineError, IsLoggedAndSetsTheStatus) {
    const LineErrorCase &c = GetParam();
    if (c.polling) {
        serial->open = true;
        serial->setLines(ModemLine::Cts);
    } else {
        connectDetector();
    }
    link.setStatus(LinkStatus::ReadPending);
    emit serial->commEvent(c.code);
    EXPECT_EQ(link.Status(), c.status);
    if (*c.logged)
        EXPECT_THAT(serialLog().toStdString(), HasSubstr(c.logged));
    else
        EXPECT_FALSE(serialLog().contains("Over Flow"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineError,
    ::testing::Values(LineErrorCase{"Break", CommEvent::Break, false, LinkStatus::ReadPending,
                                    "Break Signal Found. Date = "},
                      LineErrorCase{"Parity", CommEvent::Parity, false, LinkStatus::Failed,
                                    "Parity Error. Date = "},
                      // Never reported as done.
                      LineErrorCase{"SendOverflow", CommEvent::SendOverflow, false,
                                    LinkStatus::Failed, "Send Buffer Over Flow. Date = "},
                      LineErrorCase{"DeviceControl", CommEvent::DeviceControl, false,
                                    LinkStatus::Failed, "Device Control Memory Error. Date = "},
                      LineErrorCase{"SendOverflowWhilePollingIgnored", CommEvent::SendOverflow,
                                    true, LinkStatus::ReadPending, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkTransport, SerialLogThatCannotBeWrittenStopsNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("SerialLog.log")));
    connectDetector();
    start(LinkStatus::ReadPending, QStringLiteral("XZ,R,"));
    serial->receive(userFrame());
    EXPECT_EQ(link.Status(), LinkStatus::Done);
    EXPECT_FALSE(SetSerialLog(dir.path(), QStringLiteral("x")));
}

TEST_F(LinkTransport, ReadingPollAlternatesWithTimeOutLines) {
    connectDetector();
    uclPvifProbe::densityTick(link);
    EXPECT_EQ(serial->written, QByteArrayList{MakeFrame(QStringLiteral("DN,R,"))});
    EXPECT_EQ(link.Status(), LinkStatus::ReadPending);
    uclPvifProbe::densityTick(link);
    EXPECT_EQ(link.Status(), LinkStatus::Idle);
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("Current reading download time out"));
    uclPvifProbe::densityTick(link);
    EXPECT_EQ(serial->written.size(), 2);
}

TEST_F(LinkTransport, ReadingPollSwitchedOffWaitsForThePendingReply) {
    connectDetector();
    link.setRunDensty(true);
    uclPvifProbe::densityTick(link);
    ASSERT_EQ(link.Status(), LinkStatus::ReadPending);
    QSignalSpy readings(&link, &uclPvif::Densty);
    serial->reply(MakeFrame(QStringLiteral("DN,R,1.5,20.9,0,0,0")));
    link.setRunDensty(false);
    EXPECT_FALSE(link.RunDensty());
    EXPECT_EQ(link.Status(), LinkStatus::Done);
    ASSERT_EQ(readings.count(), 1);
    EXPECT_EQ(readings.at(0).at(0).toFloat(), 1.5f);
}

TEST_F(LinkTransport, InfraredArrivalStartsPollingAndSocketErrorFails) {
    infrared->isAvailable = true;
    infrared->open = true;
    QSignalSpy errors(&link, &uclPvif::IrDAError);
    emit infrared->commEvent(CommEvent::InfraredConnect);
    EXPECT_EQ(uclPvifProbe::linkState(link), LinkStateCode::Polling);
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("TQ-6200 ...Conneted. Date = "));
    uclPvifProbe::tick(link);
    EXPECT_EQ(infrared->written, QByteArrayList{MakeFrame(QStringLiteral("RC,R,"))});
    EXPECT_TRUE(serial->written.isEmpty());
    infrared->error = 10054;
    emit infrared->commEvent(CommEvent::InfraredSocketError);
    EXPECT_EQ(link.Status(), LinkStatus::Failed);
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).value<qint16>(), 10054);
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("Soket Error["));
}

TEST_F(LinkTransport, InfraredBlockIsStoredEvenWhenCancelled) {
    infrared->isAvailable = true;
    infrared->open = true;
    emit infrared->commEvent(CommEvent::InfraredConnect);
    uclPvifProbe::tick(link);
    infrared->receive(MakeFrame(QStringLiteral("RC,R,TQ-6200")));
    ASSERT_TRUE(link.Connected());
    start(LinkStatus::BlockPending, QStringLiteral("EP,R,0003"));
    link.setCancel(true);
    infrared->receive(QByteArray(512, 'x'));
    EXPECT_EQ(link.Status(), LinkStatus::Cancelled);
    EXPECT_EQ(infrared->storedAt.size(), 1);
}

TEST_F(LinkTransport, PropertiesKeepTheirRanges) {
    link.setTimeout(3);
    EXPECT_EQ(link.Timeout(), 3);
    EXPECT_THROW(link.setTimeout(3277), TqError);
    link.setFactCal(4, 1.5f);
    EXPECT_EQ(link.FactCal(4), 1.5f);
    EXPECT_THROW(link.FactCal(5), TqError);
    EXPECT_THROW(link.setFactCal(-1, 0), TqError);
    link.setInstrument(nullptr);
    EXPECT_EQ(link.Instrument(), &instrument);
}

} // namespace
} // namespace tq::test
