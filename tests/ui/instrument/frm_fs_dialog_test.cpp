#include "ui/instrument/frmFsDialog.h"

#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "test_support.h"
#include "ui/instrument/page_colours.h"
#include "ui/instrument/set_page.h"
#include "ui/main/window/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QtTest/QTest>

#include <memory>

namespace tq {
namespace {

// Scripted boxes, and file choosers that answer with a set path.
struct FileDialogs : test::ScriptedDialogs {
    QString OpenFileName(const FileChoice &) override { return file; }
    ChosenFile ChooseSaveFile(const FileChoice &) override { return {file}; }
    QString file;
};

class FsDialogTest : public test::TempFolderTest {
protected:
    FsDialogTest() {
        for (qint16 n = 0; n < clsInstrument::kStationCount; ++n)
            instrument.setStationList(n, QStringLiteral("ST%1").arg(n));
        instrument.setAlarmMode(1);
        instrument.setCalCheck(2);
        instrument.setBumpTime(3);
        instrument.setCalLimit(180);
        instrument.setFlowLevel(70000);
        instrument.ClearChangeFlags();
        instrument.setChange_FlowLevel(false);
    }

    void open() {
        dialog = std::make_unique<frmFsDialog>();
        dialog->setInstrument(&instrument);
        dialog->show();
    }
    FlexGrid &stations() { return *dialog->vfgStation(); }

    // Opens the editor on a station's name and types into it, without closing it.
    QLineEdit *typeName(int row, const QString &text) {
        stations().SetRow(row);
        stations().SetCol(1);
        stations().EditCell();
        auto *editor = stations().findChild<QLineEdit *>();
        if (editor) {
            editor->selectAll();
            QTest::keyClicks(editor, text);
        }
        return editor;
    }
    void commit(QLineEdit *editor) {
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        // The closed editor goes, so that the next edit finds its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    FileDialogs dialogs;
    clsInstrument instrument;
    std::unique_ptr<frmFsDialog> dialog;
};

TEST_F(FsDialogTest, ShowsTheStationListAndKeepsTheSettingsTableHidden) {
    open();
    EXPECT_EQ(dialog->windowTitle(), LoadMessage(8025));
    EXPECT_TRUE(stations().isVisible());
    EXPECT_FALSE(dialog->vfgDatas()->isVisible());
    EXPECT_EQ(stations().Rows(), 256);
    EXPECT_EQ(stations().TextMatrix(0, 0), QStringLiteral("1"));
    EXPECT_EQ(stations().TextMatrix(255, 1), QStringLiteral("ST255"));
    const FlexGrid &datas = *dialog->vfgDatas();
    EXPECT_EQ(datas.Rows(), 22);
    EXPECT_EQ(datas.TextMatrix(1, 1), LoadMessage(8006)); // Latch
    EXPECT_EQ(datas.TextMatrix(5, 1), LoadMessage(8014)); // None
    EXPECT_EQ(datas.TextMatrix(12, 1), QStringLiteral("90"));
    EXPECT_EQ(datas.TextMatrix(3, 1), QStringLiteral("180"));
    EXPECT_EQ(datas.TextMatrix(21, 1), QStringLiteral("70000"));
    EXPECT_EQ(datas.CellBackColor(21, 1), datas.BackColorFixed());
    for (int row = 1; row <= 21; ++row)
        EXPECT_TRUE(dialog->GetRowCode(row).has_value()) << row;
}

TEST_F(FsDialogTest, OkSendsBackOnlyWhatChangedAndCancelNothing) {
    struct Case {
        const char *what;
        bool edit;
        bool ok;
    };
    for (const Case c : {Case{"OK, nothing edited", false, true}, Case{"Cancel", true, false},
                         Case{"OK after a name edit", true, true}}) {
        clsInstrument before = instrument;
        open();
        if (c.edit)
            commit(typeName(4, QStringLiteral("Gate-5")));
        if (c.ok)
            dialog->cmdOK_Click();
        else
            dialog->cmdCancel_Click();
        EXPECT_FALSE(dialog->isVisible()) << c.what;
        const bool changed = c.edit && c.ok;
        EXPECT_EQ(instrument.StationList(4), changed ? QStringLiteral("Gate-5") : "ST4") << c.what;
        EXPECT_EQ(instrument.Change_StationList(4), changed) << c.what;
        instrument.setChange_StationList(4, false);
        EXPECT_FALSE(AnyChangeFlag(instrument)) << c.what << ": nothing else is flagged";
        instrument = before;
    }
}

TEST_F(FsDialogTest, AListValueOutsideItsEntriesIsKeptUnflagged) {
    instrument.setAlarmOnOff(2);
    instrument.setCalCheck(7);
    instrument.setBumpTime(9);
    instrument.ClearChangeFlags();
    open();
    EXPECT_EQ(dialog->vfgDatas()->TextMatrix(10, 1), QString());
    EXPECT_FALSE(dialog->GetRowCode(10).has_value());
    dialog->cmdOK_Click();
    EXPECT_EQ(instrument.AlarmOnOff(), 2);
    EXPECT_EQ(instrument.CalCheck(), 7);
    EXPECT_EQ(instrument.BumpTime(), 9);
    EXPECT_FALSE(AnyChangeFlag(instrument));
}

// The settings table is read back by its shown entry, so a value put into a cell comes
// back as that entry's position (or the number), flagged; nothing else is.
TEST_F(FsDialogTest, TheSettingsTableIsReadBackByItsEntries) {
    struct Case {
        int row;
        QString text;
        qint32 (*member)(const clsInstrument &);
        qint32 stored;
    };
    const Case cases[] = {
        {10, QStringLiteral(" off "),
         [](const clsInstrument &i) -> qint32 { return i.AlarmOnOff(); }, 0},
        {1, LoadMessage(8005), [](const clsInstrument &i) -> qint32 { return i.AlarmMode(); }, 0},
        {6, QStringLiteral("VOL"), [](const clsInstrument &i) -> qint32 { return i.HcMode(); }, 2},
        {13, QStringLiteral("30"),
         [](const clsInstrument &i) -> qint32 { return i.BumpThreshold(); }, 2},
        {3, QStringLiteral("30"), [](const clsInstrument &i) -> qint32 { return i.CalLimit(); },
         30},
        {21, QStringLiteral("12345"),
         [](const clsInstrument &i) -> qint32 { return i.FlowLevel(); }, 12345},
    };
    for (const Case &c : cases) {
        const clsInstrument before = instrument;
        open();
        dialog->vfgDatas()->SetTextMatrix(c.row, 1, c.text);
        dialog->cmdOK_Click();
        EXPECT_EQ(c.member(instrument), c.stored) << c.row;
        EXPECT_TRUE(AnyChangeFlag(instrument)) << c.row;
        instrument = before;
    }
}

TEST_F(FsDialogTest, StationNamesStopAtSixteenCharactersTypedOrPasted) {
    open();
    const QString seventeen = QStringLiteral("ABCDEFGHIJKLMNOPQ");
    QLineEdit *editor = typeName(0, seventeen + QStringLiteral("*."));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(stations().EditText(), seventeen.left(16));
    commit(editor);
    EXPECT_EQ(stations().TextMatrix(0, 1), seventeen.left(16));

    editor = typeName(1, QString());
    QApplication::clipboard()->setText(seventeen);
    editor->paste();
    EXPECT_EQ(stations().EditText(), seventeen.left(16));
    commit(editor);
    EXPECT_EQ(stations().TextMatrix(1, 1), seventeen.left(16));
    EXPECT_EQ(stations().CellBackColor(1, 1), PageColours::White);

    // A pasted refused character marks the name on its whole text, and OK is refused.
    editor = typeName(2, QString());
    QApplication::clipboard()->setText(QStringLiteral("ab.c"));
    editor->paste();
    commit(editor);
    EXPECT_EQ(stations().CellBackColor(2, 1), PageColours::Red);
    dialog->cmdOK_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>{8056});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(AnyChangeFlag(instrument));
}

// A name read from the detector is padded to 16 characters: typing over a selected part
// replaces it, so the limit counts the characters that stay.
TEST_F(FsDialogTest, TypingOverASelectionOfAFullNameReplacesIt) {
    instrument.setStationList(0, QStringLiteral("BOILER ROOM     "));
    instrument.ClearChangeFlags();
    open();
    stations().SetRow(0);
    stations().SetCol(1);
    stations().EditCell();
    auto *editor = stations().findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(stations().EditText().size(), 16);
    editor->setSelection(7, 4); // "ROOM"
    EXPECT_EQ(stations().EditSelLength(), 4);
    QTest::keyClicks(editor, QStringLiteral("HALL"));
    EXPECT_EQ(stations().EditText(), QStringLiteral("BOILER HALL     "));
    // With nothing selected a full name takes no further character.
    QTest::keyClicks(editor, QStringLiteral("X"));
    EXPECT_EQ(stations().EditText(), QStringLiteral("BOILER HALL     "));
    commit(editor);
    EXPECT_EQ(stations().TextMatrix(0, 1), QStringLiteral("BOILER HALL     "));
}

TEST_F(FsDialogTest, TheLeftSpaceIndicatorCountsLeadingBlanks) {
    open();
    struct Case {
        QString typed;
        QString shown;
    };
    for (const Case &c : {Case{QStringLiteral("  A"), QStringLiteral("(Left space 2)")},
                          Case{QStringLiteral("   "), QStringLiteral("(Left space 3)")}}) {
        typeName(3, c.typed);
        EXPECT_EQ(dialog->lblSpaceCount()->text(), c.shown);
    }
}

TEST_F(FsDialogTest, AnImportFillsTheLinesReadAndABadFileChangesNothing) {
    dialogs.file = path(QStringLiteral("import.csv"));
    test::writeFile(dialogs.file, "7,NORTH GATE\r\n8,NORTH,GATE\r\n9,ABCDEFGHIJKLMNOPQ\r\n");
    open();
    dialog->cmdStationImport_Click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(stations().TextMatrix(0, 1), QStringLiteral("NORTH GATE"));
    EXPECT_EQ(stations().CellBackColor(0, 1), PageColours::White);
    EXPECT_EQ(stations().CellBackColor(1, 1), PageColours::Red);
    EXPECT_EQ(stations().CellBackColor(2, 1), PageColours::Red);
    EXPECT_EQ(stations().TextMatrix(3, 1), QStringLiteral("ST3"));
    EXPECT_TRUE(dialog->WorkInstrument().Change_StationList(2));
    EXPECT_FALSE(dialog->WorkInstrument().Change_StationList(3));

    struct Case {
        const char *what;
        QByteArray text; // empty: no file
        int message;
    };
    const QByteArray sixtyFields = "1,A" + QByteArray(",x").repeated(58) + "\r\n";
    for (const Case &c : {Case{"60 fields", "1,NEW\r\n" + sixtyFields, 30304},
                          Case{"binary",
                               "1,NEW\r\n\x7F"
                               "ELF\x02\x01\r\n",
                               30304},
                          Case{"missing", {}, 30303}}) {
        open();
        dialogs.shown.clear();
        dialogs.file = path(QStringLiteral("bad.csv"));
        QFile::remove(dialogs.file);
        if (!c.text.isEmpty())
            test::writeFile(dialogs.file, c.text);
        dialog->cmdStationImport_Click();
        EXPECT_EQ(dialogs.ids(), QList<int>{c.message}) << c.what;
        EXPECT_EQ(stations().TextMatrix(0, 1), QStringLiteral("ST0")) << c.what;
        dialog->cmdOK_Click();
        EXPECT_FALSE(AnyChangeFlag(instrument)) << c.what;
    }
}

TEST_F(FsDialogTest, ExportWritesTheListAndAFailureKeepsTheOldFile) {
    dialogs.file = path(QStringLiteral("Station.csv"));
    open();
    dialog->cmdStationExport_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>{0}); // "Export Complete"
    EXPECT_TRUE(test::readFile(dialogs.file).startsWith("1,ST0\r\n2,ST1\r\n"));

    test::writeFile(dialogs.file, "1,OLD\r\n");
    dialogs.shown.clear();
    {
        test::FileSizeLimit full(8);
        dialog->cmdStationExport_Click();
    }
    EXPECT_EQ(dialogs.ids(), (QList<int>{5307, 30302}));
    EXPECT_EQ(test::readFile(dialogs.file), QByteArray("1,OLD\r\n"));
}

// An existing file is replaced only after the overwrite question is answered Yes; a
// folder is no file to replace and fails without the question.
TEST_F(FsDialogTest, ExportAsksBeforeReplacingAFile) {
    dialogs.file = path(QStringLiteral("Station.csv"));
    test::writeFile(dialogs.file, "1,OLD\r\n");
    open();
    dialogs.answers = {BoxAnswer::No};
    dialog->cmdStationExport_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>{5307});
    EXPECT_EQ(test::readFile(dialogs.file), QByteArray("1,OLD\r\n"));

    dialogs.shown.clear();
    dialogs.answers = {BoxAnswer::Yes};
    dialog->cmdStationExport_Click();
    EXPECT_EQ(dialogs.ids(), (QList<int>{5307, 0}));
    EXPECT_TRUE(test::readFile(dialogs.file).startsWith("1,ST0\r\n"));

    dialogs.shown.clear();
    dialogs.file = path(QStringLiteral("folder"));
    QDir().mkpath(dialogs.file);
    dialog->cmdStationExport_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>{30302});
}

} // namespace
} // namespace tq
