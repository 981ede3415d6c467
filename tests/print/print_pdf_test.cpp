// Printing into a PDF file: the file chooser, the overwrite question, the temporary file
// renamed at the end, and failures that leave no document and an old file intact.
#include "print_fixtures.h"
#include "print_test_support.h"

#include "core/messages.h"
#include "print/printer_system.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace tq {
namespace {

class PrintPdfTest : public test::PrintTest {
protected:
    void SetUp() override {
        PrintTest::SetUp();
        printers.choosePdf = true;
        list = test::MakePrintFixture(QStringLiteral("lastcal"), 150);
    }
    // Every file of the folder but the database.
    QStringList files() const {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("TQ6200.mdb"));
        return names;
    }
    std::unique_ptr<test::PrintFixture> list;
    frmPrint print;
};

TEST_F(PrintPdfTest, ThePdfFileIsWrittenWholeUnderItsNameAndProposedNextTime) {
    dialogs.pdf = path(QStringLiteral("list.pdf"));
    ASSERT_EQ(print.GoPrinter(list->request), PrintOutcome::Printed);
    EXPECT_TRUE(test::readFile(dialogs.pdf).startsWith("%PDF"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("list.pdf")}) << "no temporary file left";
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A"));
    // Readable as any new file, not only by its owner as its temporary file was.
    EXPECT_TRUE(QFile::permissions(dialogs.pdf) & QFile::ReadOther);

    // The next one proposes the last PDF and asks before replacing it.
    dialogs.answers = {BoxAnswer::Yes};
    ASSERT_EQ(print.GoPrinter(list->request), PrintOutcome::Printed);
    EXPECT_EQ(dialogs.proposed.size(), 2);
    EXPECT_EQ(dialogs.proposed.back(), dialogs.pdf);
    EXPECT_EQ(dialogs.ids(), QList<int>{5307});
    EXPECT_EQ(dialogs.shown[0].title, LoadMessage(5308));
}

TEST_F(PrintPdfTest, TheFirstProposalIsSamplePdfInTheProgramFolder) {
    Globals().AppFolder = dir.path() + QStringLiteral("/");
    dialogs.pdf.clear(); // cancelled
    EXPECT_EQ(print.GoPrinter(list->request), PrintOutcome::NoPrinter);
    ASSERT_EQ(dialogs.proposed.size(), 1);
    EXPECT_EQ(QDir::cleanPath(dialogs.proposed[0]), path(QStringLiteral("Sample.pdf")));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "a cancel ends the job silently";
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(PrintPdfTest, NoToTheOverwriteQuestionKeepsTheFile) {
    dialogs.pdf = path(QStringLiteral("old.pdf"));
    test::writeFile(dialogs.pdf, "OLD");
    dialogs.answers = {BoxAnswer::No};
    EXPECT_EQ(print.GoPrinter(list->request), PrintOutcome::NoPrinter);
    EXPECT_EQ(test::readFile(dialogs.pdf), QByteArray("OLD"));
    EXPECT_EQ(dialogs.ids(), QList<int>{5307});
    EXPECT_EQ(files(), QStringList{QStringLiteral("old.pdf")});
}

TEST_F(PrintPdfTest, AFailureLeavesNoDocumentAndTheOldFileIntact) {
    // A PDF below a regular file cannot be written.
    test::writeFile(path(QStringLiteral("plain")), "x");
    dialogs.pdf = path(QStringLiteral("plain/out.pdf"));
    EXPECT_EQ(print.GoPrinter(list->request), PrintOutcome::Failed);
    EXPECT_EQ(dialogs.ids(), QList<int>{30102});
    EXPECT_EQ(files(), QStringList{QStringLiteral("plain")});
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A"));

    // An event log without its head row fails while the pages print.
    dialogs.shown.clear();
    dialogs.pdf = path(QStringLiteral("events.pdf"));
    test::writeFile(dialogs.pdf, "OLD");
    dialogs.answers = {BoxAnswer::Yes};
    PrintRequest events;
    events.DataType = 5;
    events.SeqNo = 77;
    EXPECT_EQ(print.GoPrinter(events), PrintOutcome::Failed);
    EXPECT_EQ(dialogs.ids(), (QList<int>{5307, 30102}));
    EXPECT_EQ(test::readFile(dialogs.pdf), QByteArray("OLD"));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("events.pdf"), QStringLiteral("plain")}));
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A"));
}

// The pages as text: every kind prints its title, and a Japanese printout carries a CJK font.
TEST_F(PrintPdfTest, EveryKindPrintsReadablePages) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const QString &kind : test::PrintFixtureKinds()) {
        SCOPED_TRACE(kind.toStdString());
        const auto fixture = test::MakePrintFixture(kind, 120);
        dialogs.pdf = path(kind + QStringLiteral(".pdf"));
        ASSERT_EQ(print.GoPrinter(fixture->request), PrintOutcome::Printed);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {dialogs.pdf, QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished());
        const QString pages = QString::fromUtf8(text.readAllStandardOutput());
        EXPECT_TRUE(pages.contains(QStringLiteral("TQ-6200 Data Logger")));
        if (kind == QLatin1String("alarm")) {
            EXPECT_TRUE(pages.contains(QStringLiteral("\n720\n")) ||
                        pages.contains(QStringLiteral("720 ")))
                << "the last row";
        }
        if (test::japaneseLocale()) {
            QProcess fonts;
            fonts.start(QStringLiteral("pdffonts"), {dialogs.pdf});
            ASSERT_TRUE(fonts.waitForFinished());
            EXPECT_TRUE(fonts.readAllStandardOutput().contains("CJK"));
        }
    }
}

} // namespace
} // namespace tq
