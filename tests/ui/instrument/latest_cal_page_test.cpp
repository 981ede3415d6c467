#include "ui/instrument/latest_cal_page.h"

#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "print/print_surface.h"
#include "print/printer_system.h"
#include "test_support.h"
#include "ui/instrument/page_colours.h"
#include "ui/main/window/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include <memory>

namespace tq {
namespace {

// Scripted boxes, and a printer choice that prints into a PDF file.
struct PdfDialogs : test::ScriptedDialogs, PrinterSystem {
    PdfDialogs() { SetPrinterSystem(this); }
    ~PdfDialogs() override { SetPrinterSystem(nullptr); }
    ChosenFile ChooseSaveFile(const FileChoice &choice) override {
        return {pdf, choice.filterIndex};
    }
    QStringList SystemPrinters() override { return {}; }
    QString DefaultPrinter() override { return {}; }
    int ChoosePrinter(const QStringList &names, int) override { return int(names.size()) - 1; }
    std::unique_ptr<PrintSurface> OpenPrinter(const QString &, const QString &) override {
        return nullptr;
    }
    QString pdf;
};

class LatestCalPageTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        Globals() = ProgramState();
        Globals().DatabasePath = path(QStringLiteral("TQ6200.mdb"));
        Globals().LimitDays = 7;
        Globals().ProgramPassword = QStringLiteral("vog");
        dialogs.pdf = path(QStringLiteral("list.pdf"));
        CreateLogDatabase(Globals().DatabasePath);
        auto *frame = new QGroupBox(&window);
        frame->resize(900, 500);
        page = new LatestCalPage(frame, LatestCalPage::WindowHooks{[] { return false; }, {}});
        page->layOut(PixelsToTwipsX(900), PixelsToTwipsY(500), LoadMessage(101));
        window.resize(900, 500);
        window.show();
    }
    void TearDown() override { Globals() = ProgramState(); }

    // An entry downloaded and calibrated the given days before the scripted now.
    void add(const QString &serial, const QString &user, double calibratedDaysAgo,
             double downloadDaysAgo, bool enabled = true) {
        Database(Globals().DatabasePath)
            .execute(QStringLiteral("INSERT INTO cLatestHist (SerialNo, UserID, StationID, "
                                    "WriteDates, CalLimit, Gas1Name, Gas1Point, Gas1Enable, "
                                    "Gas1CalDate, Gas1Before, Gas1After, Gas1AutoCal) VALUES "
                                    "(?, ?, 'ST', ?, 90, 'CO', 1, ?, ?, 48.5, 50, 50)"),
                     {serial, user,
                      DateParam(dialogs.now.addSeconds(-qint64(downloadDaysAgo * 86400))), enabled,
                      DateParam(dialogs.now.addSeconds(-qint64(calibratedDaysAgo * 86400)))});
    }
    FlexGrid &grid() { return *page->vfgHistory; }
    QStringList column(int col) {
        QStringList out;
        for (int row = 1; row < grid().Rows(); ++row)
            out.append(grid().TextMatrix(row, col));
        return out;
    }
    void select(int view) {
        page->optHistory[std::size_t(view)]->setChecked(true);
        QCoreApplication::processEvents();
    }
    int countRows() {
        return int(Database(Globals().DatabasePath)
                       .scalar(QStringLiteral("SELECT COUNT(*) FROM cLatestHist"))
                       .toLongLong());
    }

    PdfDialogs dialogs;
    QWidget window;
    LatestCalPage *page = nullptr;
};

TEST_F(LatestCalPageTest, ThreeViewsOfEntriesOfChosenAges) {
    // Newest download first: A (in time), B (overdue), C (in time, downloaded 100 days
    // ago), D (gas off), E (due in 4 days).
    add("A", "U", 10, 1);
    add("B", "U", 95, 2);
    add("C", "U", 10, 100);
    add("D", "U", 95, 101, false);
    add("E", "U", 86, 102);

    select(1);
    EXPECT_EQ(column(0), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(grid().TextMatrix(0, 4), QStringLiteral("CO"));
    EXPECT_EQ(grid().TextMatrix(4, 4), QStringLiteral("-----"));
    EXPECT_EQ(grid().CellBackColor(2, 4), PageColours::Red);
    EXPECT_EQ(grid().CellBackColor(5, 4), PageColours::Orange);
    EXPECT_EQ(grid().CellBackColor(3, 5), PageColours::StaleDownload);
    EXPECT_FALSE(grid().CellBackColor(1, 5).isValid());
    EXPECT_TRUE(page->cmdLastCal->isEnabled());

    select(0);
    EXPECT_EQ(column(0), (QStringList{"2", "5"}));
    EXPECT_EQ(grid().Rows(), 3);
    EXPECT_EQ(grid().Row(), 2) << "the last written row is current";

    select(2);
    EXPECT_EQ(grid().Cols(), 9);
    EXPECT_EQ(grid().TextMatrix(1, 8), LoadMessage(5638, {80}));
    EXPECT_EQ(grid().TextMatrix(2, 8), LoadMessage(5637));
    EXPECT_EQ(grid().CellBackColor(2, 8), PageColours::Red);
    EXPECT_EQ(grid().TextMatrix(4, 5), QStringLiteral("-----"));
    EXPECT_FALSE(page->cmdLastCal->isEnabled());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(LatestCalPageTest, AnEmptyTableIsToldOnEveryFill) {
    select(1);
    EXPECT_EQ(dialogs.ids(), QList<int>{5352});
    EXPECT_EQ(grid().Rows(), 1);
    EXPECT_EQ(grid().TextMatrix(0, 1), QString());
}

TEST_F(LatestCalPageTest, ADatabaseErrorIsToldAndChangesNothing) {
    add("A", "U", 10, 1);
    select(1);
    Globals().DatabasePath = path(QStringLiteral("gone.mdb"));
    page->ShowLatestCalList();
    EXPECT_EQ(dialogs.ids(), QList<int>{301});
    EXPECT_TRUE(dialogs.shown.last().text.contains(QStringLiteral("gone.mdb")));
    EXPECT_EQ(column(1), QStringList{"A"});
}

// Answers the password prompt once it is up.
void answerPassword(const QString &text) {
    QTimer::singleShot(0, [text] {
        QWidget *prompt = QApplication::activeModalWidget();
        ASSERT_NE(prompt, nullptr);
        prompt->findChild<QLineEdit *>(QStringLiteral("txtPass"))->setText(text);
        prompt->findChild<QPushButton *>(QStringLiteral("cmdPass_0"))->click();
    });
}

TEST_F(LatestCalPageTest, DeleteAfterThePasswordRemovesOnlyTheRowPicked) {
    add("O'NEIL", "U'1", 10, 1);
    add("O'NEIL", "U'2", 10, 2);
    Database(Globals().DatabasePath)
        .execute(QStringLiteral("UPDATE cLatestHist SET StationID = 'S2' WHERE UserID = 'U''2'"));
    add("O'NEIL", "U'1", 10, 3); // same serial and user, station ST: stays
    Database(Globals().DatabasePath)
        .execute(QStringLiteral("UPDATE cLatestHist SET StationID = 'S3' WHERE WriteDates = "
                                "(SELECT MIN(WriteDates) FROM cLatestHist)"));
    select(1);
    ASSERT_EQ(grid().Rows(), 4);

    // A right click on the heading offers nothing; on a row it makes the row current.
    const QPoint heading = grid().visualRect(grid().model()->index(0, 1)).center();
    QTest::mousePress(grid().viewport(), Qt::RightButton, {}, heading);
    EXPECT_FALSE(page->mnuHistDels()->isVisible());
    const QPoint first = grid().visualRect(grid().model()->index(1, 1)).center();
    QTest::mousePress(grid().viewport(), Qt::RightButton, {}, first);
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_TRUE(page->mnuHistDels()->isVisible());
    page->mnuHistDels()->hide();

    answerPassword(QStringLiteral("wrong"));
    QTimer::singleShot(50, [] {
        if (QWidget *prompt = QApplication::activeModalWidget())
            prompt->close();
    });
    page->mnuHistDel_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>{7101}) << "a wrong password is told, nothing asked";
    EXPECT_EQ(countRows(), 3);

    dialogs.shown.clear();
    answerPassword(QStringLiteral("VOG"));
    page->mnuHistDel_Click();
    EXPECT_EQ(dialogs.ids(), QList<int>{5357});
    EXPECT_TRUE(dialogs.shown.first().text.contains(QStringLiteral("O'NEIL")));
    EXPECT_EQ(countRows(), 2);
    EXPECT_EQ(column(2), (QStringList{"U'2", "U'1"})) << "the other station of U'1 stays";
}

TEST_F(LatestCalPageTest, PrintsTheListWithItsHeadingOnEveryPage) {
    for (int i = 0; i < 150; ++i)
        add(QStringLiteral("SN%1").arg(i), QStringLiteral("U"), 10, i + 1);
    select(1);
    page->cmdLastCal->click();
    const QByteArray pdf = test::readFile(dialogs.pdf);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    const int pages = int(pdf.count("/Type /Page\n")) + int(pdf.count("/Type /Page\r")) +
                      int(pdf.count("/Type /Page ")) + int(pdf.count("/Type /Page>"));
    EXPECT_GT(pages, 1);
}

} // namespace
} // namespace tq
