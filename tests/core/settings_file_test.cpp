#include "core/errors.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using tq::Globals;
using tq::LoadSettings;
using tq::SaveSettings;

namespace {

// Each test starts from a fresh program with its folder in a temporary directory.
class SettingsFileTest : public tq::test::TempFolderTest {
protected:
    void SetUp() override { restart(); }

    void restart() {
        Globals() = tq::ProgramState{};
        tq::SetStartupValues(dir.path());
    }

    void writeSettings(const QString &text) {
        tq::test::writeFile(tq::SettingsFilePath(), text.toUtf8());
    }

    QString settingsText() { return QString::fromUtf8(tq::test::readFile(tq::SettingsFilePath())); }

    // The line of a key as the writer wrote it.
    QString keyLine(const QString &key) {
        for (const QString &line : settingsText().split("\r\n"))
            if (line.startsWith(key + "\t"))
                return line;
        return {};
    }
};

TEST_F(SettingsFileTest, WithoutAFileNothingChangesAndTheFirstWriteIsComplete) {
    LoadSettings();
    EXPECT_EQ(Globals().ExecuteCount, 0);
    EXPECT_EQ(Globals().CommTimeout, 3);
    SaveSettings();
    EXPECT_EQ(keyLine("Execute Count"), "Execute Count\t1");
    EXPECT_EQ(keyLine("Timeout"), "Timeout\t3");
    EXPECT_EQ(keyLine("Delay"), "Delay\t300"); // its variable starts at 0
    EXPECT_EQ(keyLine("Retry"), "Retry\t3");
    EXPECT_TRUE(settingsText().endsWith("\r\n"));
    EXPECT_FALSE(settingsText().contains(QRegularExpression("[^\r]\n")));
    const QStringList keys = {"Execute Count",   "Serial Log File", "IrCOMM Num",
                              "COMM Settings",   "Auto Load Mode",  "Font",
                              "Graph Color",     "Calib. Range",    "DefaultValue1",
                              "DefaultValue2",   "Gas Inst",        "ChgGas",
                              "CalUnitOnWait",   "CalSpanOnWait",   "CalSpanOffWait",
                              "Data Select",     "Size Values",     "Prt Width",
                              "Completely View", "Trend Search",    "Completely Read",
                              "TQ-6200"};
    for (const QString &key : keys)
        EXPECT_FALSE(keyLine(key).isEmpty()) << key.toStdString();
    EXPECT_EQ(settingsText().count("\r\nChgGas\t"), 8);
}

TEST_F(SettingsFileTest, ExecuteCountGrowsByOnePerWrite) {
    for (int run = 1; run <= 3; ++run) {
        SaveSettings();
        restart();
        LoadSettings();
        EXPECT_EQ(Globals().ExecuteCount, run);
    }
}

TEST_F(SettingsFileTest, WriteThenReadGivesTheSameValues) {
    tq::ProgramState &g = Globals();
    g.SerialLogOn = true;
    g.FactoryRecordSuffix = "_line 2";
    g.CommTimeout = 7;
    g.CommDelay = 12;
    g.CommRetry = 5;
    g.AutoLoadMode = true;
    g.AutoRemoveData = true;
    g.DisplayFont = {"Noto Sans CJK JP", 9.75f, true, false, true};
    g.GraphColor = {255, 65535, 16711680};
    g.GraphColors[0] = 12345;
    g.CalibRange[0] = 25;
    g.DefaultSettings.setCalLimit(180);
    g.DefaultSettings.setLcdBackLight(15);
    g.DefaultSettings.setAlarmMode(0);
    g.DefaultSettings.setIntervals(60);
    g.DefaultSettings.setDispCalLimit(1);
    g.DefaultSettings.setCalCheck(2);
    g.DefaultSettings.setLogOverWrite(0);
    g.DefaultSettings.setFlowValue(100);
    g.DefaultSettings.setAlarmO2(0);
    g.DefaultSettings.setAutoZero(1);
    g.DefaultSettings.setDemandZero(0);
    g.DefaultSettings.setGasName(0, "H2S gas");
    g.DefaultSettings.setGasEnabled(0, true);
    g.DefaultSettings.setGasPoint(0, 1);
    g.DefaultSettings.setGasUnit(0, "ppm");
    g.DefaultSettings.setWarning(0, 10.5f);
    g.DefaultSettings.setAlarm(0, 15.25f);
    g.DefaultSettings.setStel(0, -101);
    g.DefaultSettings.setTwa(0, 1.0f);
    g.DefaultSettings.setGasDesit(0, 0.1f);
    g.DefaultSettings.setGasFullScale(0, 30.0f);
    g.DefaultSettings.setAutoCalib(0, 25.0f);
    g.GasLocked[0] = true;
    g.FactAutoCal[0] = 24.5f;
    g.ChgGasTable[0][3] = {true,  "O2", true, "vol%", 25, 0.1f,  1,
                           19.5f, 18,   -101, -101,   0,  20.9f, 0};
    g.CalUnitOnWait = 11;
    g.CalSpanOnWait = 22;
    g.CalSpanOffWait = 33;
    g.MainWindow = {{1, 0, 1}, 2, 12000.5f, 9000};
    g.PrintWidths = {2.5f, 3};
    g.CompletelyView = false;
    g.TrendSearchBefore = -60;
    g.TrendSearchAfter = 90;
    g.CompletelyRead = true;
    g.ProgramPassword = "Secret pass";
    g.DataLocation = dir.filePath("data folder");
    const tq::ProgramState written = g;

    SaveSettings();
    restart();
    LoadSettings();
    const tq::ProgramState &r = Globals();
    EXPECT_TRUE(r.SerialLogOn);
    EXPECT_EQ(r.FactoryRecordSuffix, written.FactoryRecordSuffix);
    EXPECT_EQ(r.CommTimeout, 7);
    EXPECT_EQ(r.CommDelay, 12);
    EXPECT_EQ(r.CommRetry, 5);
    EXPECT_TRUE(r.AutoLoadMode && r.AutoRemoveData);
    EXPECT_EQ(r.DisplayFont.Name, written.DisplayFont.Name);
    EXPECT_EQ(r.DisplayFont.Size, 9.75f);
    EXPECT_TRUE(r.DisplayFont.Bold && !r.DisplayFont.Italic && r.DisplayFont.Underline);
    EXPECT_EQ(r.GraphColor.ScaleColor, 255);
    EXPECT_EQ(r.GraphColor.BackColor, 65535);
    EXPECT_EQ(r.GraphColor.CursorColor, 16711680);
    EXPECT_EQ(r.GraphColors[0], 12345); // the "Gas Inst" colour is the one that stays
    EXPECT_EQ(r.CalibRange[0], 25);
    const tq::clsInstrument &d = r.DefaultSettings;
    EXPECT_EQ(d.CalLimit(), 180);
    EXPECT_EQ(d.LcdBackLight(), 15);
    EXPECT_EQ(d.AlarmMode(), 0);
    EXPECT_EQ(d.Intervals(), 60);
    EXPECT_EQ(d.DispCalLimit(), 1);
    EXPECT_EQ(d.CalCheck(), 2);
    EXPECT_EQ(d.LogOverWrite(), 0);
    EXPECT_EQ(d.FlowValue(), 100);
    EXPECT_EQ(d.AlarmO2(), 0);
    EXPECT_EQ(d.AutoZero(), 1);
    EXPECT_EQ(d.DemandZero(), 0);
    EXPECT_EQ(d.GasName(0), "H2S gas");
    EXPECT_TRUE(d.GasEnabled(0));
    EXPECT_EQ(d.GasPoint(0), 1);
    EXPECT_EQ(d.GasUnit(0), "ppm");
    EXPECT_EQ(d.Warning(0), 10.5f);
    EXPECT_EQ(d.Alarm(0), 15.25f);
    EXPECT_EQ(d.Stel(0), -101);
    EXPECT_EQ(d.Twa(0), 1.0f);
    EXPECT_EQ(d.GasDesit(0), 0.1f);
    EXPECT_EQ(d.GasFullScale(0), 30.0f);
    EXPECT_EQ(d.AutoCalib(0), 25.0f);
    EXPECT_TRUE(r.GasLocked[0]);
    EXPECT_EQ(r.FactAutoCal[0], 24.5f);
    const tq::SelectableGas &o2 = r.ChgGasTable[0][3];
    EXPECT_TRUE(o2.Enabled && o2.Locked);
    EXPECT_EQ(o2.Name, "O2");
    EXPECT_EQ(o2.Unit, "vol%");
    EXPECT_EQ(o2.FullScale, 25);
    EXPECT_EQ(o2.Digit, 0.1f);
    EXPECT_EQ(o2.Points, 1);
    EXPECT_EQ(o2.Warning, 19.5f);
    EXPECT_EQ(o2.Alarm, 18);
    EXPECT_EQ(o2.STEL, -101);
    EXPECT_EQ(o2.AutoCal, 20.9f);
    EXPECT_EQ(r.ChgGasTable[0][0].Name, "CH4"); // built-in entries written and read back
    EXPECT_EQ(r.ChgGasTable[0][1].Name, "HC ");
    EXPECT_EQ(r.ChgGasTable[0][1].STEL, -101);
    EXPECT_EQ(r.CalUnitOnWait, 11);
    EXPECT_EQ(r.CalSpanOnWait, 22);
    EXPECT_EQ(r.CalSpanOffWait, 33);
    EXPECT_EQ(r.MainWindow.DataSelect, (std::array<int, 3>{1, 0, 1}));
    EXPECT_EQ(r.MainWindow.WindowState, 2);
    EXPECT_EQ(r.MainWindow.Width, 12000.5f);
    EXPECT_EQ(r.MainWindow.Height, 9000);
    EXPECT_EQ(r.PrintWidths, (std::array<float, 2>{2.5f, 3}));
    EXPECT_FALSE(r.CompletelyView);
    EXPECT_EQ(r.TrendSearchBefore, -60);
    EXPECT_EQ(r.TrendSearchAfter, 90);
    EXPECT_TRUE(r.CompletelyRead);
    EXPECT_EQ(r.ProgramPassword, "Secret pass");
    EXPECT_FALSE(settingsText().contains("Secret"));
    EXPECT_EQ(r.DataLocation, written.DataLocation);
}

// Texts with a quote or a semicolon survive a write and a read.
TEST_F(SettingsFileTest, QuotesAndSemicolonsInTextsSurvive) {
    const QStringList texts = {"it's", "a;b", "'", "''", "';'", "x ; 'y' ;"};
    for (const QString &text : texts) {
        restart();
        Globals().FactoryRecordSuffix = text;
        Globals().DataLocation = text;
        Globals().DisplayFont.Name = text;
        Globals().DefaultSettings.setGasName(0, text);
        Globals().ChgGasTable[0][2].Unit = text;
        SaveSettings();
        restart();
        LoadSettings();
        EXPECT_EQ(Globals().FactoryRecordSuffix, text) << text.toStdString();
        EXPECT_EQ(Globals().DataLocation, text) << text.toStdString();
        EXPECT_EQ(Globals().DisplayFont.Name, text) << text.toStdString();
        EXPECT_EQ(Globals().DefaultSettings.GasName(0), text) << text.toStdString();
        EXPECT_EQ(Globals().ChgGasTable[0][2].Unit, text) << text.toStdString();
    }
}

// Empty texts are written as the key and a TAB: the reader skips the line and the
// variable keeps its value; an empty font name is written as two quotes.
TEST_F(SettingsFileTest, EmptyTexts) {
    Globals().FactoryRecordSuffix.clear();
    Globals().DataLocation.clear();
    Globals().ProgramPassword.clear();
    Globals().DisplayFont.Name.clear();
    SaveSettings();
    EXPECT_EQ(keyLine("Factory Record Suffix"), "Factory Record Suffix\t");
    EXPECT_EQ(keyLine("DataLocation"), "DataLocation\t");
    EXPECT_EQ(keyLine("TQ-6200"), "TQ-6200\t");
    EXPECT_TRUE(keyLine("Font").startsWith("Font\t''\t"));
    restart();
    Globals().FactoryRecordSuffix = "kept";
    Globals().DisplayFont.Name = "Sans";
    LoadSettings();
    EXPECT_EQ(Globals().FactoryRecordSuffix, "kept");
    EXPECT_EQ(Globals().DataLocation, dir.path());
    EXPECT_EQ(Globals().ProgramPassword, tq::JapaneseActive() ? "Pelut" : "vog");
    EXPECT_EQ(Globals().DisplayFont.Name, "");
}

struct ReadCase {
    const char *name;
    QString file;
    std::function<void(const tq::ProgramState &)> check;
};

class SettingsReadTest : public SettingsFileTest, public ::testing::WithParamInterface<ReadCase> {};

void PrintTo(const ReadCase &c, std::ostream *os) {
    *os << c.name;
}

TEST_P(SettingsReadTest, Reads) {
    writeSettings(GetParam().file);
    LoadSettings();
    GetParam().check(Globals());
}

const tq::ProgramState &untouched() {
    static tq::ProgramState state;
    return state;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsReadTest,
    ::testing::Values(
        ReadCase{"KeysAndTruthWordsInAnyCase", "timeout\t9\r\nAUTO LOAD MODE\ttrue\tTrUe\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.CommTimeout, 9);
                     EXPECT_TRUE(g.AutoLoadMode && g.AutoRemoveData);
                 }},
        ReadCase{"KeyWithLeadingBlankIsNotAKey", " Timeout\t9\r\n",
                 [](const tq::ProgramState &g) { EXPECT_EQ(g.CommTimeout, 3); }},
        ReadCase{"NonNumbersGiveTheKeyDefaults",
                 "Delay\tx\r\nTimeout\tx\r\nRetry\tx\r\nCalUnitOnWait\tx\r\n"
                 "CalSpanOnWait\tx\r\nCalSpanOffWait\tx\r\nDefaultValue1\ta\tb\tc\td\te\tf\r\n"
                 "DefaultValue2\ta\tb\tc\td\te\r\nGraph Color\ta\tb\tc\td\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.CommDelay, 100);
                     EXPECT_EQ(g.CommTimeout, 3);
                     EXPECT_EQ(g.CommRetry, 3);
                     EXPECT_EQ(g.CalUnitOnWait, 120);
                     EXPECT_EQ(g.CalSpanOnWait, 120);
                     EXPECT_EQ(g.CalSpanOffWait, 30);
                     const auto &d = g.DefaultSettings;
                     EXPECT_EQ(std::vector<int>({d.CalLimit(), d.LcdBackLight(), d.AlarmMode(),
                                                 d.Intervals(), d.DispCalLimit(), d.CalCheck()}),
                               std::vector<int>({90, 30, 1, 5, 0, 0}));
                     EXPECT_EQ(std::vector<int>({d.LogOverWrite(), d.FlowValue(), d.AlarmO2(),
                                                 d.AutoZero(), d.DemandZero()}),
                               std::vector<int>({1, 128, 1, 0, 1}));
                     EXPECT_EQ(g.GraphColor.ScaleColor, 1);
                     EXPECT_EQ(g.GraphColor.BackColor, 15790320);
                     EXPECT_EQ(g.GraphColor.CursorColor, 16728128);
                     EXPECT_EQ(g.GraphColors[0], 0);
                 }},
        ReadCase{"WholeNumbersRoundHalfToEven",
                 "Calib. Range\t50.5\r\nRetry\t51.5\r\nDelay\t2.5\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.CalibRange[0], 50);
                     EXPECT_EQ(g.CommRetry, 52);
                     EXPECT_EQ(g.CommDelay, 2);
                 }},
        ReadCase{"TimeoutThatWouldOverflowIsClamped", "Timeout\t99999\r\nRetry\t4\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.CommTimeout, tq::kMaxCommTimeout);
                     EXPECT_EQ(g.CommRetry, 4);
                 }},
        ReadCase{
            "OutOfRangeNumberSkipsItsLineOnly",
            "Retry\t70000\r\nDelay\t40000\r\nLIMITDAYS\t40000\r\nDefaultValue1\t1\t2\t99999\r\n"
            "Trend Search\t-10\t20\r\n",
            [](const tq::ProgramState &g) {
                EXPECT_EQ(g.CommRetry, 3);
                EXPECT_EQ(g.CommDelay, 0);
                EXPECT_EQ(g.LimitDays, 0);
                EXPECT_EQ(g.DefaultSettings.CalLimit(), untouched().DefaultSettings.CalLimit());
                EXPECT_EQ(g.TrendSearchBefore, -10);
                EXPECT_EQ(g.TrendSearchAfter, 20);
            }},
        ReadCase{"UnknownGasLinesSkipTheirLineOnly",
                 "Gas Inst\t2\t'X'\tTRUE\r\nChgGas\t2\t1\t'Y'\r\nChgGas\t1\t10\t'Z'\r\n"
                 "ChgGas\t1\t0\t'Z'\r\nRetry\t6\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.DefaultSettings.GasName(0), "");
                     EXPECT_EQ(g.ChgGasTable[0][0].Name, "CH4");
                     EXPECT_EQ(g.CommRetry, 6);
                 }},
        ReadCase{"GasLinesWhoseNumbersAreNotNumbersAreSkipped",
                 "Gas Inst\tone\t'X'\r\nChgGas\t1\tx\t'Y'\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.DefaultSettings.GasName(0), "");
                     EXPECT_EQ(g.ChgGasTable[0][0].Name, "CH4");
                 }},
        ReadCase{"StelAndTwaOfMinusOneMeanNoValue",
                 "Gas Inst\t1\t'CO'\tTRUE\tFalse\t0\t'ppm'\t25\t50\t-1\t-1\r\n"
                 "ChgGas\t1\t9\t'N'\tTRUE\tFalse\t0\t'ppm'\t1\t2\t-1\t-1\t1\t10\t5\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.DefaultSettings.Stel(0), -101);
                     EXPECT_EQ(g.DefaultSettings.Twa(0), -101);
                     EXPECT_EQ(g.ChgGasTable[0][8].Name, "N"); // entry 9 is read
                     EXPECT_EQ(g.ChgGasTable[0][8].STEL, -101);
                     EXPECT_EQ(g.ChgGasTable[0][8].TWA, -101);
                     EXPECT_EQ(g.ChgGasTable[0][8].AutoCal, 5);
                 }},
        ReadCase{"ShortLineTakesNoValuesOfThePreviousLine",
                 "Font\t'Arial'\t11\tTrue\tTrue\tTrue\r\nAuto Load Mode\tTrue\r\n"
                 "Trend Search\t7\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_TRUE(g.AutoLoadMode);
                     EXPECT_FALSE(g.AutoRemoveData);
                     EXPECT_EQ(g.TrendSearchBefore, 7);
                     EXPECT_EQ(g.TrendSearchAfter, 45);
                 }},
        ReadCase{"CommentRules", "Retry\t4;remark\r\nDelay\t5\t; remark\r\n;Timeout\t9\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.CommRetry, 3); // the value is lost with its comment
                     EXPECT_EQ(g.CommDelay, 5);
                     EXPECT_EQ(g.CommTimeout, 3);
                 }},
        ReadCase{"KeyTwiceTakesTheLaterLine", "Retry\t4\r\nRetry\t8\r\n",
                 [](const tq::ProgramState &g) { EXPECT_EQ(g.CommRetry, 8); }},
        ReadCase{"LoneCarriageReturnsEndLines", "Retry\t4\rDelay\t6\rTimeout\t8",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.CommRetry, 4);
                     EXPECT_EQ(g.CommDelay, 6);
                     EXPECT_EQ(g.CommTimeout, 8);
                 }},
        ReadCase{"WrittenOnlyKeysAreNotRead", "IrCOMM Num\t4\r\nCOMM Settings\t'9600,n,8,1'\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.IrCommPort, 0);
                     EXPECT_EQ(g.CommSettings, "");
                 }},
        ReadCase{"SerialLogFileIsOnOrOff", "Serial Log File\ton\r\n",
                 [](const tq::ProgramState &g) { EXPECT_TRUE(g.SerialLogOn); }},
        ReadCase{"DataSelectAndSize",
                 "Data Select\tTrue\tFalse\ttrue\r\nSize Values\t2.5\tx\t100\r\n",
                 [](const tq::ProgramState &g) {
                     EXPECT_EQ(g.MainWindow.DataSelect, (std::array<int, 3>{1, 0, 1}));
                     EXPECT_EQ(g.MainWindow.WindowState, 2);
                     EXPECT_EQ(g.MainWindow.Width, 7680);
                     EXPECT_EQ(g.MainWindow.Height, 100);
                 }},
        ReadCase{"LimitDaysIsReadButNeverWritten", "LIMITDAYS\t14\r\n",
                 [](const tq::ProgramState &g) { EXPECT_EQ(g.LimitDays, 14); }}),
    [](const auto &info) { return std::string(info.param.name); });

// A bad line skips only itself: the lines after it are read, and the next write keeps them.
TEST_F(SettingsFileTest, BadLineDoesNotLoseTheLinesAfterIt) {
    writeSettings("Gas Inst\t2\t'X'\r\nRetry\t70000\r\nTrend Search\t-5\t6\r\n"
                  "Completely Read\tTrue\r\nTQ-6200\t" +
                  tq::ScrambleText(tq::ScrambleText("pw")) + "\r\n");
    LoadSettings();
    SaveSettings();
    restart();
    LoadSettings();
    EXPECT_EQ(Globals().TrendSearchBefore, -5);
    EXPECT_EQ(Globals().TrendSearchAfter, 6);
    EXPECT_TRUE(Globals().CompletelyRead);
    EXPECT_EQ(Globals().ProgramPassword, "pw");
}

TEST_F(SettingsFileTest, AFileThatIsNotUtf8IsReadInTheDetectorCodePage) {
    tq::test::writeFile(tq::SettingsFilePath(), QByteArray("Factory Record Suffix\t'caf\xe9'\r\n"));
    LoadSettings();
    if (!tq::JapaneseActive())
        EXPECT_EQ(Globals().FactoryRecordSuffix, QString::fromUtf8("café"));
    else
        EXPECT_FALSE(Globals().FactoryRecordSuffix.isEmpty());
}

// A write that fails keeps the old file whole and leaves no temporary file behind.
TEST_F(SettingsFileTest, FailedWriteKeepsTheOldFile) {
    SaveSettings();
    const QByteArray before = tq::test::readFile(tq::SettingsFilePath());
    ASSERT_GT(before.size(), 200);

    Globals().CommRetry = 9;
    {
        tq::test::FileSizeLimit limit(100);
        EXPECT_THROW(SaveSettings(), tq::TqError);
    }
    EXPECT_EQ(tq::test::readFile(tq::SettingsFilePath()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"TQ6200.ini"});
}

TEST_F(SettingsFileTest, WriteIntoAMissingFolderFails) {
    Globals().AppFolder = dir.filePath("missing");
    EXPECT_THROW(SaveSettings(), tq::TqError);
}

TEST(Scrambling, KnownVectors) {
    EXPECT_EQ(tq::ScrambleText("abc"), "GLILKL");
    EXPECT_EQ(tq::ScrambleText("GLILKL"), "MJSJQJUJUJGK");
    EXPECT_EQ(tq::ScrambleText(tq::ScrambleText("vog")), "RJTJNJFKIKGK");
    EXPECT_EQ(tq::UnscrambleText(tq::UnscrambleText("MJSJQJUJUJGK")), "abc");
    EXPECT_EQ(tq::UnscrambleText(tq::UnscrambleText("RJTJNJFKIKGK")), "vog");
    EXPECT_EQ(tq::UnscrambleText("GLILKLZ"), "abc"); // a last unpaired character is ignored
    EXPECT_EQ(tq::ScrambleText(""), "");
}

TEST(Scrambling, EveryByteComesBackAndNeverNeedsQuotes) {
    QString all;
    for (int c = 0; c < 256; ++c)
        all += QChar(char16_t(c));
    const QString stored = tq::ScrambleText(tq::ScrambleText(all));
    EXPECT_EQ(stored.size(), all.size() * 4);
    for (QChar c : stored)
        EXPECT_GE(c.unicode(), 70);
    EXPECT_EQ(tq::UnscrambleText(tq::UnscrambleText(stored)), all);
}

} // namespace
