// Printing into a PDF file: the file chooser, the overwrite question, the temporary file
// renamed at the end, and failures that leave no document and an old file intact.
#include "print_fixtures.h"
#include "print_test_support.h"

#include "core/messages.h"
#include "core/program_state.h"
#include "logs/trend/clsInterval.h"
#include "print/printer_system.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <functional>

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

// What the printout would have to invent ends it: the old PDF stays, no temporary file is
// left, and the box names what was met. A loaded trend that cannot be printed whole fails
// before the printer choice, a stored value that is not there while the pages print.
TEST_F(PrintPdfTest, WhatIsNotThereEndsThePrintout) {
    struct Case {
        const char *name;
        std::function<std::unique_ptr<test::PrintFixture>()> fault;
        QList<int> boxes;
        QString told;
    };
    const auto stored = [](const char *kind, const char *sql) {
        return [=] {
            auto f = test::MakePrintFixture(QLatin1String(kind), 30);
            Database(Globals().DatabasePath).execute(QLatin1String(sql));
            return f;
        };
    };
    const std::vector<Case> cases = {
        {"Null Power_Type",
         stored("power-events", "Update Power_Event Set Power_Type=Null Where SeqNo=3"),
         {5307, 30102},
         QStringLiteral("Power_Type")},
        {"Null Alarm_Type",
         stored("alarm-events", "Update Alarm_Event Set Alarm_Type=Null Where SeqNo=5"),
         {5307, 30102},
         QStringLiteral("Alarm_Type")},
        {"Null Gas1Point",
         stored("sensor", "Update SensorChange Set Gas1Point=Null"),
         {5307, 30102},
         QStringLiteral("Gas1Point")},
        {"a trend file that is gone",
         [&] {
             auto f = test::MakePrintFixture(QStringLiteral("interval"), 30);
             addHead(1, 7, Date::fromParts(2024, 5, 1));
             f->interval->ClearDatas();
             f->interval->setSeqNo(7);
             f->interval->setContext(ProgramStoreContext());
             f->interval->ReLoad(
                 Globals().CondensedView); // its file Data/00/00/LOG.Dat is not there
             return f;
         },
         {30102},
         QStringLiteral("LOG.Dat")},
        {"an event code beyond 16 bits",
         [] {
             auto f = test::MakePrintFixture(QStringLiteral("interval"), 30);
             f->interval->setEventCount(1);
             f->interval->setEventDateTimes(0, Date::fromParts(2024, 5, 1));
             f->interval->setGasEvent(0, 0, 65429);
             return f;
         },
         {30102},
         QStringLiteral("65429")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto fixture = c.fault();
        dialogs.shown.clear();
        dialogs.answers = {BoxAnswer::Yes};
        dialogs.pdf = path(QStringLiteral("old.pdf"));
        test::writeFile(dialogs.pdf, "OLD");
        EXPECT_EQ(print.GoPrinter(fixture->request), PrintOutcome::Failed);
        EXPECT_EQ(dialogs.ids(), c.boxes);
        EXPECT_TRUE(dialogs.shown.back().text.contains(c.told))
            << dialogs.shown.back().text.toStdString();
        EXPECT_EQ(test::readFile(dialogs.pdf), QByteArray("OLD"));
        EXPECT_EQ(files(), QStringList{QStringLiteral("old.pdf")});
    }
}

// A folder cannot be the PDF: 30102 at once, without asking whether to replace it. A full
// disk is named in the system's words, and leaves the old file and no temporary one.
TEST_F(PrintPdfTest, AFolderOrAFullDiskFailsWithItsReason) {
    dialogs.pdf = path(QStringLiteral("folder.pdf"));
    ASSERT_TRUE(QDir().mkdir(dialogs.pdf));
    EXPECT_EQ(print.GoPrinter(list->request), PrintOutcome::Failed);
    EXPECT_EQ(dialogs.ids(), QList<int>{30102});
    EXPECT_TRUE(dialogs.shown[0].text.contains(QString::fromLocal8Bit(std::strerror(EISDIR))));

    dialogs.shown.clear();
    dialogs.answers = {BoxAnswer::Yes};
    dialogs.pdf = path(QStringLiteral("old.pdf"));
    test::writeFile(dialogs.pdf, "OLD");
    {
        const test::FileSizeLimit full(20000);
        EXPECT_EQ(print.GoPrinter(list->request), PrintOutcome::Failed);
    }
    EXPECT_EQ(dialogs.ids(), (QList<int>{5307, 30102}));
    EXPECT_TRUE(dialogs.shown[1].text.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << dialogs.shown[1].text.toStdString();
    EXPECT_EQ(test::readFile(dialogs.pdf), QByteArray("OLD"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("old.pdf")});
}

// The pages as text: every kind prints its title, and a Japanese printout of the program's
// own texts carries a CJK font.
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
        // The Last Calibration list prints its grid's texts, here all Latin.
        if (test::japaneseLocale() && kind != QLatin1String("lastcal")) {
            QProcess fonts;
            fonts.start(QStringLiteral("pdffonts"), {dialogs.pdf});
            ASSERT_TRUE(fonts.waitForFinished());
            EXPECT_TRUE(fonts.readAllStandardOutput().contains("CJK"));
        }
    }
}

} // namespace
} // namespace tq
