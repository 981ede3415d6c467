#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "download_fixture.h"
#include "ui/instrument/frmFsDialog.h"
#include "ui/instrument/page_colours.h"
#include "ui/instrument/rules/alarm_checks.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QtTest/QTest>

namespace tq::test {
namespace {

class SetPageTest : public DownloadWindowTest {
protected:
    SetPage &page() { return window->setPage(); }
    FlexGrid &grid() { return *window->controls().vfgOption; }
    QStringList gasRow() {
        QStringList out;
        for (int col = 0; col < grid().Cols(); ++col)
            out << grid().TextMatrix(2, col);
        return out;
    }
    // Connected and the settings read, every flag then cleared.
    void readDetector(const Setup &setup = {}) {
        connect(setup);
        press(1);
        window->LinkInstrument().ClearChangeFlags();
        dialogs.shown.clear();
    }
    QStringList sentSince(int count) { return sim->commands().mid(count); }
    // Opens the editor on a cell of the gas row and types into it; Return when `enter`.
    void typeInto(int col, const QString &text, bool enter = true) {
        // A closed editor goes first, so that this edit finds its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!grid().Editing()) {
            grid().SetRow(2);
            grid().SetCol(col);
            grid().EditCell();
        }
        auto *editor = grid().findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        if (enter)
            QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    // The level the simulated detector holds for a read command ("A1,R").
    QString held(const char *code) const {
        return sim->state()[QStringLiteral("settings")][QLatin1String(code)]
            .toArray()
            .at(0)
            .toString();
    }
};

TEST_F(SetPageTest, TheBlankLayoutChangesNoSetting) {
    load();
    clsInstrument &link = window->LinkInstrument();
    link.setIntervals(120);
    link.ClearChangeFlags();
    window->cmdInst_Click(4);
    EXPECT_EQ(gasRow().mid(1), QStringList(5, QStringLiteral("-----")));
    EXPECT_EQ(grid().TextMatrix(0, 1), LoadMessage(5672));
    EXPECT_EQ(window->controls().cmbInterval->currentText(), QStringLiteral("300"));
    EXPECT_EQ(link.Intervals(), 120) << "filling stores nothing";
    EXPECT_FALSE(link.Change_Interval());
    EXPECT_FALSE(link.Change_StationID());
    EXPECT_FALSE(window->controls().cmdOption[0]->isEnabled());
    EXPECT_TRUE(window->controls().txtOption[0]->text().isEmpty());
}

TEST_F(SetPageTest, TheDetectorLayoutGreysAndMarks) {
    readDetector();
    clsInstrument &link = window->LinkInstrument();
    link.setStelTwaOnOff(0);
    link.setWarning(0, link.GasFullScale(0));
    link.setAlarm(0, 0);
    link.setIntervals(120);
    link.ClearChangeFlags();
    window->cmdInst_Click(4);
    EXPECT_EQ(grid().TextMatrix(0, 5), LoadMessage(5647));
    EXPECT_EQ(grid().CellBackColor(2, kStelColumn), grid().BackColorFixed());
    EXPECT_EQ(grid().CellBackColor(2, kTwaColumn), grid().BackColorFixed());
    EXPECT_EQ(grid().CellBackColor(2, kWarningColumn), PageColours::Red);
    EXPECT_EQ(grid().CellBackColor(2, kAlarmColumn), PageColours::Red);
    EXPECT_EQ(window->controls().cmbInterval->currentText(), QStringLiteral("120"));
    EXPECT_EQ(link.Intervals(), 120);
    EXPECT_FALSE(link.Change_Interval());
    EXPECT_TRUE(window->controls().cmdOption[0]->isEnabled());
    EXPECT_TRUE(window->controls().cmdOption[2]->isHidden());

    bool cancel = false;
    page().vfgOption_BeforeEdit(2, kStelColumn, cancel);
    EXPECT_TRUE(cancel) << "a greyed cell opens no editor";
    cancel = false;
    page().vfgOption_BeforeEdit(1, kWarningColumn, cancel);
    EXPECT_TRUE(cancel) << "nor does a heading";
    cancel = false;
    page().vfgOption_BeforeEdit(2, kWarningColumn, cancel);
    EXPECT_FALSE(cancel);
}

TEST_F(SetPageTest, IdentifierBoxesStoreTheirWholeFilteredText) {
    readDetector();
    window->cmdInst_Click(4);
    QLineEdit *user = window->controls().txtOption[2];
    user->clear();
    QTest::keyClicks(user, QStringLiteral("ab.c*-d"));
    EXPECT_EQ(user->text(), QStringLiteral("ABC*-D"));
    EXPECT_EQ(window->LinkInstrument().UserID(), QStringLiteral("ABC*-D"));
    EXPECT_TRUE(window->LinkInstrument().Change_UserID());

    // A paste takes the same path: filtered, upper case, cut at the limit.
    QLineEdit *serial = window->controls().txtOption[0];
    serial->clear();
    serial->insert(QStringLiteral("abcdefghij.klmnopqrstuvwxyz"));
    page().txtOption_Change(0);
    EXPECT_EQ(serial->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(window->LinkInstrument().SerialNo(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
}

TEST_F(SetPageTest, UpdateSendsTheFlaggedSettingsThenCommits) {
    readDetector();
    window->cmdInst_Click(4);
    window->LinkInstrument().ClearChangeFlags();
    QLineEdit *user = window->controls().txtOption[2];
    user->clear();
    QTest::keyClicks(user, QStringLiteral("u9"));
    const int before = int(sim->commands().size());
    window->controls().cmdOption[0]->click();
    const QStringList sent = sentSince(before);
    ASSERT_EQ(sent.size(), 2) << sent.join(' ').toStdString();
    EXPECT_TRUE(sent[0].startsWith(QStringLiteral("XZ,W,U9")));
    EXPECT_EQ(sent[1], QStringLiteral("DW,W,"));
    EXPECT_EQ(dialogs.ids(), (QList<int>{5309, 5311}));
    EXPECT_TRUE(screenHas(5428, kLogGreen));
    EXPECT_TRUE(screenHas(5429, kLogGreen));
    EXPECT_FALSE(window->LinkInstrument().Change_UserID());

    // Nothing flagged: nothing sent, no failure and no result box.
    dialogs.shown.clear();
    window->controls().cmdOption[0]->click();
    EXPECT_EQ(dialogs.ids(), QList<int>{5309});
    EXPECT_FALSE(screenHasText(30301));
}

TEST_F(SetPageTest, DateTimeSetSendsTheClockAndZeroesTheOffsetWhenTaken) {
    readDetector();
    window->cmdInst_Click(4);
    window->LinkInstrument().setSysDateOffset(Date(2.0));
    const int before = int(sim->commands().size());
    window->controls().cmdOption[1]->click();
    const QStringList sent = sentSince(before);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent[0].startsWith(QStringLiteral("HC,W,")));
    EXPECT_EQ(sent[0].mid(5), dialogs.now.format(QStringLiteral("yyMMddhhmmss")));
    EXPECT_EQ(window->LinkInstrument().SysDateOffset(), Date());
    EXPECT_EQ(dialogs.ids(), (QList<int>{5309, 5311}));

    // "No" changes nothing.
    window->LinkInstrument().setSysDateOffset(Date(2.0));
    dialogs.answers = {BoxAnswer::No};
    const int after = int(sim->commands().size());
    window->controls().cmdOption[1]->click();
    EXPECT_EQ(int(sim->commands().size()), after);
    EXPECT_EQ(window->LinkInstrument().SysDateOffset(), Date(2.0));
}

TEST_F(SetPageTest, ChecksRefuseAnUpdateInTheirOrder) {
    readDetector();
    clsInstrument &link = window->LinkInstrument();
    link.setWarning(0, 60);
    link.setAlarm(0, 50);
    link.setGasEnabled(0, false);
    const int before = int(sim->commands().size());
    window->controls().cmdOption[0]->click();
    EXPECT_EQ(dialogs.ids(), QList<int>{5361});
    link.setWarning(0, 10);
    window->controls().cmdOption[0]->click();
    EXPECT_EQ(dialogs.ids().last(), 5365);
    EXPECT_EQ(int(sim->commands().size()), before);
}

// A write that fails (the detector is gone): the failure in red and in a box, no result
// box, every setting still flagged for the next Update.
TEST_F(SetPageTest, AFailedWriteIsToldAndKeepsItsFlags) {
    readDetector();
    window->cmdInst_Click(4);
    clsInstrument &link = window->LinkInstrument();
    link.setUserID(QStringLiteral("U9"));
    link.setSerialNo(QStringLiteral("SN9"));
    sim.reset();
    page().cmdOption_Click(0);
    EXPECT_TRUE(screenHas(30301, kLogRed));
    EXPECT_FALSE(screenHasText(5429));
    EXPECT_EQ(dialogs.ids(), (QList<int>{5309, 30301}));
    EXPECT_EQ(dialogs.shown.last().title, LoadMessage(5312));
    EXPECT_EQ(dialogs.shown.last().icon, BoxIcon::Critical);
    EXPECT_TRUE(link.Change_UserID());
    EXPECT_TRUE(link.Change_SerialNo());

    // The same for the clock: the offset stays, as the detector did not take the time.
    link.setSysDateOffset(Date(2.0));
    dialogs.shown.clear();
    page().cmdOption_Click(1);
    EXPECT_EQ(dialogs.ids(), (QList<int>{5309, 30301}));
    EXPECT_EQ(link.SysDateOffset(), Date(2.0));
}

// An edit through the grid: a refused text keeps the editor open, an accepted one is
// stored, flagged and shown with the gas's decimals.
TEST_F(SetPageTest, GridEditsStoreOnlyAcceptedValues) {
    readDetector();
    clsInstrument &link = window->LinkInstrument();
    link.setStelTwaOnOff(1);
    link.setGasDesit(0, 1);
    link.setWarning(0, 10);
    link.setAlarm(0, 50);
    link.setGasFullScale(0, 100);
    window->cmdInst_Click(4);
    link.ClearChangeFlags();
    int validations = 0;
    QObject::connect(&grid(), &FlexGrid::ValidateEdit, window.get(),
                     [&validations](int, int, bool &) { ++validations; });
    auto commit = [this](const QString &text) {
        if (!grid().Editing()) {
            grid().SetRow(2);
            grid().SetCol(kWarningColumn);
            grid().EditCell();
        }
        auto *editor = grid().findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        // A closed editor goes, so that the next edit finds its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    commit(QStringLiteral("60"));
    EXPECT_EQ(validations, 1);
    EXPECT_FALSE(grid().Editing()) << "above the alarm: refused, told, and not kept";
    EXPECT_EQ(dialogs.ids(), QList<int>{30320});
    EXPECT_EQ(grid().TextMatrix(2, kWarningColumn), FormatGasValue(10, link.GasPoint(0)));
    EXPECT_FLOAT_EQ(link.Warning(0), 10);
    EXPECT_FALSE(link.Change_Warn(0));
    commit(QStringLiteral("25"));
    EXPECT_FALSE(grid().Editing());
    EXPECT_FLOAT_EQ(link.Warning(0), 25);
    EXPECT_TRUE(link.Change_Warn(0));
    EXPECT_EQ(grid().TextMatrix(2, kWarningColumn), FormatGasValue(25, link.GasPoint(0)));
}

// Each refused text says why in a box titled as the Update check of its kind, and the
// cell closes on the value held; nothing is stored or flagged.
TEST_F(SetPageTest, RefusedValuesAreToldAndNeverKept) {
    readDetector();
    clsInstrument &link = window->LinkInstrument();
    link.setStelTwaOnOff(1);
    window->cmdInst_Click(4);
    link.ClearChangeFlags();
    struct Case {
        int column;
        const char *typed;
        int message;
        int title;
        QString text; // the box's text
    };
    const QString levels = LoadMessage(5362);
    const auto range = [](int col, const char *low, const char *high) {
        return LoadMessage(30320, {LoadMessage(5649 + col), low, high});
    };
    const std::vector<Case> cases = {
        {kAlarmColumn, "150", 30320, 5362, range(kAlarmColumn, "10.0", "100.0")},
        {kWarningColumn, "60", 30320, 5362, range(kWarningColumn, "0.0", "50.0")},
        {kAlarmColumn, "", 30321, 5362, LoadMessage(30321, {LoadMessage(5651)})},
        {kTwaColumn, "x1", 30322, 5362, LoadMessage(30322, {LoadMessage(5653), "x1"})},
        {kAutoCalColumn, "5", 30320, 5381, range(kAutoCalColumn, "10.0", "100.0")},
    };
    const clsInstrument before = link;
    for (const Case &c : cases) {
        const QString shown = grid().TextMatrix(2, c.column);
        dialogs.shown.clear();
        typeInto(c.column, QString::fromLatin1(c.typed));
        EXPECT_FALSE(grid().Editing()) << c.typed;
        EXPECT_EQ(grid().TextMatrix(2, c.column), shown) << c.typed;
        ASSERT_EQ(dialogs.ids(), QList<int>{c.message}) << c.typed;
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(dialogs.shown[0].title, LoadMessage(c.title));
        EXPECT_EQ(dialogs.shown[0].icon, BoxIcon::Critical);
    }
    EXPECT_FALSE(AnyChangeFlag(link));
    EXPECT_FLOAT_EQ(link.Alarm(0), before.Alarm(0));
    EXPECT_FLOAT_EQ(link.AutoCalib(0), before.AutoCalib(0));
}

// Warning 60 over an Alarm just lowered to 45, and an Alarm of 150 still in its editor when
// Update is pressed: neither reaches the detector, neither is claimed, and after Update the
// cells show what the detector holds.
TEST_F(SetPageTest, UpdateSendsOnlyAcceptedValuesAndShowsWhatTheDetectorHolds) {
    readDetector();
    window->cmdInst_Click(4);
    window->LinkInstrument().ClearChangeFlags();
    typeInto(kAlarmColumn, QStringLiteral("45"));
    typeInto(kWarningColumn, QStringLiteral("60"));
    EXPECT_EQ(dialogs.ids(), QList<int>{30320});

    // A refused value in an open editor stops both commands before their question.
    for (QPushButton *command :
         {window->controls().cmdOption[0], window->controls().cmdOption[1]}) {
        const int before = int(sim->commands().size());
        dialogs.shown.clear();
        typeInto(kAlarmColumn, QStringLiteral("150"), false);
        ASSERT_TRUE(grid().Editing());
        command->click();
        EXPECT_EQ(dialogs.ids(), QList<int>{30320});
        EXPECT_FALSE(grid().Editing());
        EXPECT_EQ(int(sim->commands().size()), before);
    }
    EXPECT_EQ(grid().TextMatrix(2, kAlarmColumn), QStringLiteral("45.0"));

    // An acceptable value in an open editor goes out with the rest.
    dialogs.shown.clear();
    typeInto(kWarningColumn, QStringLiteral("20"), false);
    const int before = int(sim->commands().size());
    window->controls().cmdOption[0]->click();
    const QStringList sent = sentSince(before);
    EXPECT_EQ(sent, (QStringList{QStringLiteral("A1,W, 20.0"), QStringLiteral("A2,W, 45.0"),
                                 QStringLiteral("DW,W,")}));
    EXPECT_EQ(dialogs.ids(), (QList<int>{5309, 5311}));
    EXPECT_EQ(held("A1,R"), QStringLiteral(" 20.0"));
    EXPECT_EQ(held("A2,R"), QStringLiteral(" 45.0"));
    EXPECT_EQ(gasRow().mid(kWarningColumn, 2),
              (QStringList{QStringLiteral("20.0"), QStringLiteral("45.0")}));
}

// A detector interval the list lacks and a station ID its list does not hold are shown as
// held, and nothing is flagged for it.
TEST_F(SetPageTest, AnIntervalOrStationOutsideTheListsIsShownAsHeld) {
    QFile file(Simulator::settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonObject settings = QJsonDocument::fromJson(file.readAll()).object();
    settings[QStringLiteral("XP,R")] = QJsonArray{QStringLiteral("0078")};
    settings[QStringLiteral("XS,R,****")] =
        QJsonArray{QStringLiteral("****"), QStringLiteral("NOT LISTED      ")};
    const QString path = dir.filePath(QStringLiteral("sim_settings.json"));
    writeFile(path, QJsonDocument(settings).toJson());
    readDetector({{QStringLiteral("--settings"), path}});
    window->cmdInst_Click(4);
    EXPECT_EQ(window->controls().cmbInterval->currentText(), QStringLiteral("120"));
    QComboBox *station = window->controls().cmbStation;
    EXPECT_EQ(station->currentIndex(), -1);
    EXPECT_EQ(station->placeholderText(), QStringLiteral("NOT LISTED"));
    EXPECT_FALSE(window->LinkInstrument().Change_Interval());
    EXPECT_FALSE(window->LinkInstrument().Change_StationID());

    // A listed interval chosen afterwards leaves no stale entry at the next fill.
    window->controls().cmbInterval->setCurrentIndex(0);
    page().cmbInterval_Click(0);
    page().ShowSettings();
    EXPECT_EQ(window->controls().cmbInterval->count(), 7);
    EXPECT_EQ(window->controls().cmbInterval->currentText(), QStringLiteral("10"));
}

TEST_F(SetPageTest, TheSuffixIsKeptAsTyped) {
    load();
    window->downloadPage().txtSuffix->setText(QStringLiteral(" _A "));
    window->downloadPage().txtSuffix_Validate();
    EXPECT_EQ(Globals().FactoryRecordSuffix, QStringLiteral(" _A "));
}

TEST_F(SetPageTest, FontAndColourKeptAcrossASettingsWriteAndRead) {
    load();
    struct Chooser : ScriptedDialogs {
        QFont ChooseFont(const QFont &) override {
            QFont f(QStringLiteral("DejaVu Sans"), 10);
            f.setBold(true);
            return f;
        }
        QColor ChooseColor(const QColor &) override { return QColor(10, 20, 30); }
    };
    window.reset();
    {
        Chooser chooser;
        window = makeWindow();
        ASSERT_EQ(window->Form_Load(), frmMain::LoadResult::Loaded);
        window->setPage().cmdOptionDisp_Click(0);
        window->setPage().cmdOptionDisp_Click(1);
        QPushButton *font = window->controls().cmdOptionDisp[0];
        EXPECT_EQ(font->text(), QStringLiteral("DejaVu Sans(10)"));
        EXPECT_TRUE(font->font().bold());
        EXPECT_EQ(window->controls().cmdOptionDisp[1]->palette().color(QPalette::Button),
                  QColor(10, 20, 30));
        window->SaveDisplaySettings();
        window.reset();
    }
    Globals() = ProgramState();
    window = makeWindow();
    ASSERT_EQ(window->Form_Load(), frmMain::LoadResult::Loaded);
    EXPECT_EQ(window->controls().cmdOptionDisp[0]->text(), QStringLiteral("DejaVu Sans(10)"));
    EXPECT_EQ(window->controls().cmdOptionDisp[1]->palette().color(QPalette::Button),
              QColor(10, 20, 30));
}

TEST_F(SetPageTest, DetailSettingsEditsTheWindowsInstrumentThenRefillsThePage) {
    load();
    clsInstrument &link = window->LinkInstrument();
    window->cmdInst_Click(4);
    link.ClearChangeFlags();
    for (const bool ok : {false, true}) {
        bool found = false;
        QTimer::singleShot(0, window.get(), [&found, ok] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<frmFsDialog *>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                found = true;
                dialog->vfgStation()->SetTextMatrix(0, 1, QStringLiteral("EAST"));
                ok ? dialog->cmdOK_Click() : dialog->cmdCancel_Click();
            }
        });
        window->controls().cmdOptionDisp[5]->click();
        ASSERT_TRUE(found);
        EXPECT_EQ(link.StationList(0),
                  ok ? QStringLiteral("EAST") : QStringLiteral("----------------"));
        EXPECT_EQ(link.Change_StationList(0), ok);
        EXPECT_EQ(window->controls().cmbStation->itemText(0), link.StationList(0));
    }
}

} // namespace
} // namespace tq::test
