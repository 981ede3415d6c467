// Settings transfer against a scripted detector on a fake port.
#include "link_fixture.h"

#include <gmock/gmock.h>

namespace tq::test {
namespace {

using ::testing::HasSubstr;

QString commandOf(const QByteArray &frame) {
    return QString::fromLatin1(frame.mid(5, frame.indexOf(Ctrl::ETX) - 5));
}

// A detector that echoes every write as it was sent (what a detector that keeps the value
// does) unless `echo` says otherwise, acknowledges the commit and answers reads from `reads`.
class SettingsTransfer : public LinkFixture {
protected:
    QStringList commands;
    std::function<QString(const QString &)> echo = [](const QString &command) { return command; };
    QMap<QString, QString> reads;

    void SetUp() override {
        LinkFixture::SetUp();
        connectDetector();
        serial->onWrite = [this](const QByteArray &frame) {
            const QString command = commandOf(frame);
            commands << command;
            if (command == QLatin1String("DW,W,"))
                serial->reply(MakeFrame(QStringLiteral("DW,W,\x06")));
            else if (command.mid(3, 1) == QLatin1String("W"))
                serial->reply(MakeFrame(echo(command)));
            else if (reads.contains(command))
                serial->reply(MakeFrame(reads.value(command)));
        };
        instrument.ClearChangeFlags();
    }
};

struct UploadCase {
    const char *name;
    std::function<void(clsInstrument &)> change;
    QStringList sent;
};

class Upload : public SettingsTransfer, public ::testing::WithParamInterface<UploadCase> {};

TEST_P(Upload, SendsTheFlaggedSettingsThenCommits) {
    GetParam().change(instrument);
    EXPECT_TRUE(link.SetInstrument(&instrument));
    EXPECT_EQ(commands, GetParam().sent + QStringList{"DW,W,"});
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("---Instrument Upload Finished---"));
    // Flags of what was written are cleared: a second upload sends nothing.
    commands.clear();
    EXPECT_FALSE(link.SetInstrument(&instrument));
    EXPECT_TRUE(commands.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Upload,
    ::testing::Values(
        UploadCase{"OneStation",
                   [](clsInstrument &i) { i.setStationList(10, QStringLiteral("PUMP")); },
                   {"XS,W,000A,PUMP            "}},
        UploadCase{"HexAndNegativeDecimal",
                   [](clsInstrument &i) {
                       i.setLcdBackLight(255);
                       i.setAlarmMode(-1);
                   },
                   {"AP,W,-1", "XT,W,00FF"}},
        UploadCase{
            "ConfirmationInHex", [](clsInstrument &i) { i.setConfermation(16); }, {"XB,W,0010"}},
        UploadCase{"BumpSettingsTogether",
                   [](clsInstrument &i) { i.setBumpThreshold(3); },
                   {"BU,W,2,3,0,1"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsTransfer, LongUserIdIsSentCutToSixteen) {
    instrument.setUserID(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    link.SetInstrument(&instrument);
    EXPECT_EQ(commands.value(0), QStringLiteral("XZ,W,ABCDEFGHIJKLMNOP"));
}

TEST_F(SettingsTransfer, NothingFlaggedSendsNothing) {
    EXPECT_FALSE(link.SetInstrument(&instrument));
    EXPECT_TRUE(commands.isEmpty());
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("---Instrument Upload Finished---"));
}

TEST_F(SettingsTransfer, FailedWriteStopsTheUpload) {
    echo = [](const QString &command) {
        return command.startsWith(QLatin1String("AP,W,")) ? QStringLiteral("AP,W,7") : command;
    };
    instrument.setAlarmMode(1);
    instrument.setLcdBackLight(3);
    EXPECT_FALSE(link.SetInstrument(&instrument));
    EXPECT_EQ(commands, QStringList(3, QStringLiteral("AP,W,1"))); // Retry 2
    EXPECT_TRUE(instrument.Change_AlarmMode());
    EXPECT_TRUE(instrument.Change_LcdBackLight());
    EXPECT_THAT(serialLog().toStdString(), HasSubstr("---Instrument Upload Failed---"));
}

TEST_F(SettingsTransfer, LevelWhoseEchoDiffersIsTriedThreeTimes) {
    echo = [](const QString &command) {
        return command.startsWith(QLatin1String("A1,W,")) ? QStringLiteral("A1,W, 10.5") : command;
    };
    instrument.setWarning(0, 10.0f);
    instrument.setAlarm(0, 50.0f);
    EXPECT_TRUE(link.SetInstrument(&instrument));
    EXPECT_EQ(commands.count(QStringLiteral("A1,W,   10")), 3);
    EXPECT_EQ(commands.count(QStringLiteral("A2,W,   50")), 1);
    EXPECT_TRUE(instrument.Change_Warn(0));
    EXPECT_FALSE(instrument.Change_Alarm(0));
}

TEST_F(SettingsTransfer, ReadStopsAtTheFirstUnansweredCommand) {
    reads = {{"VP,R,", "VP,R,321"},
             {"XZ,R,", "XZ,R,ME"},
             {"XS,R,****", "XS,R,****,HALL"},
             {"IN,R,", "IN,R,SN1"},
             {"HC,R,", "HC,R,240305140709"}};
    link.setTimerEnabled(true);
    uclPvifProbe::fastTicks(link);
    EXPECT_FALSE(link.GetInstrument(&instrument));
    EXPECT_EQ(commands.last(), QStringLiteral("BS,R,"));
    EXPECT_EQ(commands.count(QStringLiteral("BS,R,")), 3);
    EXPECT_EQ(instrument.RomNumber(), 321);
    EXPECT_EQ(instrument.StationID(), QStringLiteral("HALL"));
    EXPECT_EQ(instrument.SysDate(), Date::fromParts(2024, 3, 5, 14, 7, 9));
    EXPECT_EQ(instrument.SpecNo(), QString());
}

TEST_F(SettingsTransfer, IdentityReadSendsFourCommands) {
    reads = {{"VP,R,", "VP,R,321"},
             {"XZ,R,", "XZ,R,ME"},
             {"XS,R,****", "XS,R,****,HALL"},
             {"IN,R,", "IN,R,SN1"}};
    EXPECT_TRUE(link.GetRomNo(&instrument));
    EXPECT_EQ(commands, (QStringList{"VP,R,", "XZ,R,", "XS,R,****", "IN,R,"}));
}

TEST_F(SettingsTransfer, FailedGasReadLeavesNoGas) {
    reads = {{"GJ,R,", "GJ,R,TOO SHORT"}};
    instrument.setGasEnabled(0, true);
    EXPECT_FALSE(link.GetGasInfo(&instrument));
    EXPECT_FALSE(instrument.GasEnabled(0));
    EXPECT_EQ(link.Status(), LinkStatus::Idle);
}

TEST_F(SettingsTransfer, NoSettingsObjectSendsNothing) {
    EXPECT_FALSE(link.GetInstrument(nullptr));
    EXPECT_FALSE(link.SetInstrument(nullptr));
    EXPECT_FALSE(link.GetLatestHistory(nullptr));
    EXPECT_TRUE(commands.isEmpty());
}

} // namespace
} // namespace tq::test
