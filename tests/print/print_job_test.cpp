// The print job: page title, row printer, rules, dispatch, the printer choice and failures.
#include "print_test_support.h"

#include "core/errors.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "print/frmSetPrinter.h"
#include "print/printer_system.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

namespace tq {
namespace {

using test::H;
using test::kRow;
using test::PrintCall;
using test::W;

class PrintJobTest : public test::PrintTest {
protected:
    // Prints a title for a request on a fresh recording printer.
    test::Recording title(const PrintRequest &request) {
        test::Recording record;
        test::RecordingSurface surface(record);
        frmPrint print;
        print.setRequest(request);
        print.PrintTitle(surface);
        after = {surface.CurrentX, surface.CurrentY, surface.FontSize(), surface.FontBold()};
        return record;
    }
    struct After {
        double x, y, size;
        bool bold;
    } after{};
};

TEST_F(PrintJobTest, TitlesNameEveryKindWithTheDateAtTheRight) {
    clsAlarm sampled;
    sampled.setGasBaseInfo(qint32(LogHeaderItem::Sampling), 2);
    const struct {
        qint32 kind;
        const clsAlarm *alarm;
        const char *text;
    } cases[] = {
        {1, nullptr, "  (Interval Trend)"},
        {2, nullptr, "  (Alarm Trend)"},
        {2, &sampled, "  (Interval Trend)"},
        {3, nullptr, "  (Calibration History)"},
        {4, nullptr, "  (Last Calibration)"},
        {5, nullptr, "  (Alarm Event)"},
        {6, nullptr, "  (Trouble Event)"},
        {7, nullptr, "  (Power Event)"},
        {9, nullptr, "  (Bar Hole)"},
        {10, nullptr, "  (Bump Test)"},
        {11, nullptr, "  (Snap Shot)"},
        {12, nullptr, "  (Sensor History)"},
        {0, nullptr, ""},
        {8, nullptr, ""},
    };
    const QString now = dialogs.now.generalDate();
    for (const auto &c : cases) {
        PrintRequest request;
        request.DataType = c.kind;
        request.AlarmData = c.alarm;
        const test::Recording record = title(request);
        SCOPED_TRACE(c.kind);
        ASSERT_EQ(record.calls.size(), 2);
        const PrintCall &head = record.calls[0];
        EXPECT_EQ(head.text, QStringLiteral("TQ-6200 Data Logger") + QLatin1String(c.text));
        EXPECT_DOUBLE_EQ(head.x, 0.02 * W + 10);
        EXPECT_DOUBLE_EQ(head.y, 0.02 * H + 10);
        EXPECT_EQ(head.size, 12);
        EXPECT_TRUE(head.bold);
        EXPECT_EQ(head.color, 0u);
        const PrintCall &date = record.calls[1];
        EXPECT_EQ(date.text, now);
        EXPECT_EQ(date.size, 9);
        EXPECT_DOUBLE_EQ(date.x, W - now.size() * 90 - 300);
        EXPECT_DOUBLE_EQ(date.y, head.y) << "the date's top at the title's top";
        EXPECT_EQ(after.x, 0);
        EXPECT_DOUBLE_EQ(after.y, head.y + 180) << "one 9-point line below the title's top";
        EXPECT_EQ(after.size, 9);
        EXPECT_FALSE(after.bold);
    }
}

TEST_F(PrintJobTest, RowCellsArePlacedByTheirAlignmentCode) {
    // Column 0 from 1000 to 3000 twips; 90 twips a character.
    const struct {
        qint16 code;
        QString text;
        double x;
    } cases[] = {
        {0, QStringLiteral("12.5"), 1000},
        {1, QStringLiteral("12.5"), 1000 + (2000 - 360) / 2.0},
        {2, QStringLiteral("12.5"), 1000 + 2000 - 360 - 400},
        {3, QStringLiteral(" 12.5 "), 1000 + 2000 - 540 - 400}, // a number: as 2
        {3, QStringLiteral("ppm"), 1000 + (2000 - 270) / 2.0},  // a word: as 1
        {4, QStringLiteral("---"), 1000 + (2000 - 270) / 2.0},  // dashes: as 1
        {4, QStringLiteral("-----"), 1000 + (2000 - 450) / 2.0},
        {4, QStringLiteral("7"), 1000 + (2000 - 90) / 2.0}, // a number: as 1
        {4, QStringLiteral("ON"), 1000},                    // a word: as 0
    };
    for (const auto &c : cases) {
        test::Recording record;
        test::RecordingSurface surface(record);
        frmPrint print;
        print.ColumnX[0] = 1000;
        print.ColumnX[1] = 3000;
        print.ColumnAlign[0] = c.code;
        surface.CurrentY = 500;
        print.PrintRow(surface, {c.text});
        SCOPED_TRACE(c.text.toStdString() + " code " + std::to_string(c.code));
        ASSERT_EQ(record.calls.size(), 1);
        EXPECT_DOUBLE_EQ(record.calls[0].x, c.x);
        EXPECT_DOUBLE_EQ(record.calls[0].y, 500);
        EXPECT_DOUBLE_EQ(surface.CurrentY, 500 + kRow) << "1.1 times the height of W";
    }
}

// A long left-aligned text is narrowed to its column where the next cell has a text, and
// runs on into an empty one.
TEST_F(PrintJobTest, LongTextsAreNarrowedOnlyWhereTheyWouldMeetTheNextCell) {
    const QString longText = QStringLiteral("2024/01/05 10:00:00 long"); // 24 x 90 twips
    // A text keeps a blank (90 twips) clear of the next one; one too wide to be centred
    // starts at its column's edge.
    const struct {
        qint16 code;
        QString next;
        double scale;
        double x;
    } cases[] = {
        {0, QStringLiteral("x"), 1910.0 / 2160, 1000},
        {0, QString(), 1, 1000},
        {1, QStringLiteral("x"), 1910.0 / 2160, 1000},
        {1, QString(), 1, 1000}, // over an empty neighbour: whole, from the edge
    };
    {
        test::Recording record;
        test::RecordingSurface surface(record);
        frmPrint print;
        print.ColumnX[0] = W - 1000;
        print.ColumnAlign[0] = 0;
        print.PrintRow(surface, {longText});
        EXPECT_DOUBLE_EQ(record.calls[0].scaleX, 1000.0 / 2160) << "never off the page";
    }
    for (const auto &c : cases) {
        test::Recording record;
        test::RecordingSurface surface(record);
        frmPrint print;
        print.ColumnX[0] = 1000;
        print.ColumnX[1] = 3000;
        print.ColumnX[2] = 5000;
        print.ColumnAlign.fill(0);
        print.ColumnAlign[0] = c.code;
        print.PrintRow(surface, {longText, c.next});
        ASSERT_FALSE(record.calls.isEmpty());
        EXPECT_DOUBLE_EQ(record.calls[0].scaleX, c.scale) << c.code << c.next.toStdString();
        EXPECT_DOUBLE_EQ(record.calls[0].x, c.x) << c.code << c.next.toStdString();
    }
}

TEST_F(PrintJobTest, RowsBeyondElevenCellsOrAlignedInTheLastColumnFail) {
    test::Recording record;
    test::RecordingSurface surface(record);
    frmPrint print;
    print.ColumnAlign.fill(0);
    QStringList eleven;
    for (int i = 0; i < 11; ++i)
        eleven.append(QString::number(i));
    EXPECT_NO_THROW(print.PrintRow(surface, eleven));
    EXPECT_THROW(print.PrintRow(surface, eleven + QStringList{QStringLiteral("x")}), TqError);
    print.ColumnAlign[10] = 1;
    EXPECT_THROW(print.PrintRow(surface, eleven), TqError);
}

// What each request prints below the title: the summary block, the table, the graph, the
// histories, the Last Calibration list or the event log.
TEST_F(PrintJobTest, TheRequestsKindChoosesThePages) {
    clsInterval interval;
    clsAlarm alarm;
    clsSnapShot snapshot;
    FlexGrid grid;
    grid.SetRows(3);
    grid.SetCols(6);
    grid.SetTextMatrix(0, 0, QStringLiteral("No."));
    addHead(3, 7, Date::fromParts(2024, 1, 5));
    addHead(5, 8, Date::fromParts(2024, 1, 5));
    const QString property = LoadMessage(5604);
    const QString number = LoadMessage(5620);
    const struct {
        qint32 kind;
        bool graph;
        qint64 seqNo;
        bool block, table, drawn;
    } cases[] = {
        {1, false, 0, true, true, false},   {2, false, 0, true, true, false},
        {11, false, 0, true, true, false},  {9, false, 0, true, false, false},
        {1, true, 0, true, false, true},    {2, true, 0, true, false, true},
        {3, false, 7, true, true, false},   {10, false, 7, true, true, false},
        {4, false, 0, false, false, false}, {5, false, 8, true, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + (c.graph ? " graph" : " table"));
        PrintRequest request;
        request.DataType = c.kind;
        request.PrintType = c.graph;
        request.SeqNo = c.seqNo;
        request.IntervalData = &interval;
        request.AlarmData = &alarm;
        request.SnapData = &snapshot;
        request.frmObj = &grid;
        frmPrint print;
        ASSERT_EQ(print.GoPrinter(request), PrintOutcome::Printed) << dialogs.ids().size();
        const test::Recording &record = printers.record;
        EXPECT_TRUE(record.ended);
        const PrintCall block = record.find(property);
        EXPECT_EQ(!block.text.isEmpty(), c.block);
        if (c.block && c.kind != 5) {
            EXPECT_DOUBLE_EQ(block.y, H / 20) << "the block starts at a twentieth of the height";
        }
        EXPECT_EQ(record.texts().contains(number), c.table);
        EXPECT_EQ(record.of(PrintCall::Graph).size(), c.drawn ? 1 : 0);
        EXPECT_EQ(record.texts().contains(QStringLiteral("No.")), c.kind == 4);
    }
}

TEST_F(PrintJobTest, EachJobStartsFromItsOwnRequest) {
    clsAlarm alarm;
    alarm.setDataCount(10);
    FlexGrid grid;
    grid.SetRows(2);
    grid.SetCols(6);
    grid.SetTextMatrix(1, 1, QStringLiteral("SN-LIST"));
    frmPrint print;
    PrintRequest graph;
    graph.DataType = 2;
    graph.PrintType = true;
    graph.AlarmData = &alarm;
    ASSERT_EQ(print.GoPrinter(graph), PrintOutcome::Printed);
    EXPECT_EQ(printers.record.of(PrintCall::Graph).size(), 1);

    PrintRequest list;
    list.DataType = frmPrint::kLastCalibration;
    list.frmObj = &grid;
    ASSERT_EQ(print.GoPrinter(list), PrintOutcome::Printed);
    EXPECT_TRUE(printers.record.of(PrintCall::Graph).isEmpty()) << "no graph kept from before";
    EXPECT_TRUE(printers.record.texts().contains(QStringLiteral("SN-LIST")));
    EXPECT_EQ(printers.record.texts().first(),
              QStringLiteral("TQ-6200 Data Logger  (Last Calibration)"));
}

TEST_F(PrintJobTest, TheChoiceOffersTheSystemsPrintersThenThePdfFileWithTheCurrentOneSelected) {
    FlexGrid grid;
    PrintRequest list;
    list.DataType = frmPrint::kLastCalibration;
    list.frmObj = &grid;
    frmPrint print;
    const QString pdf = LoadMessage(30103);

    printers.printers = {QStringLiteral("Laser A"), QStringLiteral("Laser B"),
                         QStringLiteral("Laser A")};
    SetPrinterSystem(&printers); // the current printer starts afresh: Laser A
    printers.answer = 1;
    ASSERT_EQ(print.GoPrinter(list), PrintOutcome::Printed);
    EXPECT_EQ(printers.offered, (QStringList{QStringLiteral("Laser A"), QStringLiteral("Laser B"),
                                             QStringLiteral("Laser A"), pdf}));
    EXPECT_EQ(printers.preselected, 2) << "the last entry of the current printer's name";
    EXPECT_EQ(printers.opened, QStringLiteral("Laser B"));
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A")) << "the previous printer is back";

    printers.answer = -1; // Cancel or the window closed
    printers.opened.clear();
    EXPECT_EQ(print.GoPrinter(list), PrintOutcome::NoPrinter);
    EXPECT_TRUE(printers.opened.isEmpty());
    EXPECT_EQ(printers.preselected, 2);
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A"));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "nothing is said";

    // A current printer the list does not hold: nothing preselected, and the printer
    // printed on stays current.
    printers.defaultPrinter = QStringLiteral("Gone");
    SetPrinterSystem(&printers);
    printers.answer = 1;
    ASSERT_EQ(print.GoPrinter(list), PrintOutcome::Printed);
    EXPECT_EQ(printers.preselected, -1);
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser B"));

    // No printer in the system: only the PDF file, and it is current.
    printers.printers.clear();
    printers.defaultPrinter.clear();
    SetPrinterSystem(&printers);
    printers.answer = -1;
    EXPECT_EQ(print.GoPrinter(list), PrintOutcome::NoPrinter);
    EXPECT_EQ(printers.offered, QStringList{pdf});
    EXPECT_EQ(printers.preselected, 0);
    EXPECT_EQ(CurrentPrinter(), pdf);
}

TEST_F(PrintJobTest, ThePrinterChoiceWindowAnswersItsSelectionOrNone) {
    const QStringList names{QStringLiteral("Laser A"), QStringLiteral("Laser B"),
                            QStringLiteral("PDF file")};
    const auto run = [](frmSetPrinter &window, const char *button) {
        QTimer::singleShot(0, &window, [&window, button] {
            if (QString::fromLatin1(button) == QLatin1String("close"))
                window.close();
            else
                window.findChild<QPushButton *>(QLatin1String(button))->click();
        });
        window.exec();
        return window.SelNo();
    };
    {
        frmSetPrinter window(names, 2);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Printer List"));
        EXPECT_EQ(window.findChild<QComboBox *>(QStringLiteral("cmbPrinter"))->currentIndex(), 2);
        EXPECT_EQ(run(window, "cmdOK"), 2);
    }
    {
        frmSetPrinter window(names, 1);
        window.findChild<QComboBox *>(QStringLiteral("cmbPrinter"))->setCurrentIndex(0);
        EXPECT_EQ(run(window, "cmdOK"), 0);
    }
    {
        frmSetPrinter window(names, 1);
        EXPECT_EQ(run(window, "cmdCancel"), -1);
    }
    {
        frmSetPrinter window(names, 1);
        EXPECT_EQ(run(window, "close"), -1);
    }
    {
        frmSetPrinter window(names, -1);
        EXPECT_EQ(window.findChild<QComboBox *>(QStringLiteral("cmbPrinter"))->currentIndex(), -1);
        EXPECT_EQ(run(window, "cmdOK"), -1) << "no entry selected";
    }
    {
        frmSetPrinter window({}, 0);
        EXPECT_EQ(run(window, "cmdOK"), -1) << "an empty list";
    }
}

TEST_F(PrintJobTest, WithTheMessageLogTheProductionChoiceAnswersNoPrinter) {
    qputenv("TQ6200_MESSAGE_LOG", path(QStringLiteral("boxes.log")).toUtf8());
    QtPrinterSystem production;
    EXPECT_EQ(production.ChoosePrinter({QStringLiteral("PDF file")}, 0), -1);
    qunsetenv("TQ6200_MESSAGE_LOG");
}

// A failure after the choice abandons the document, says 30102 and restores the printer.
TEST_F(PrintJobTest, AFailedPrintIsAbandonedToldAndThePrinterRestored) {
    FlexGrid grid;
    grid.SetRows(5);
    grid.SetCols(6);
    PrintRequest list;
    list.DataType = frmPrint::kLastCalibration;
    list.frmObj = &grid;
    frmPrint print;
    printers.answer = 1;
    printers.record.failKind = PrintCall::Line;
    printers.record.failAt = 2;
    EXPECT_EQ(print.GoPrinter(list), PrintOutcome::Failed);
    EXPECT_TRUE(printers.record.aborted);
    EXPECT_FALSE(printers.record.ended);
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A"));
    ASSERT_EQ(dialogs.ids(), QList<int>{30102});
    EXPECT_EQ(dialogs.shown[0].text, LoadMessage(30102, {QStringLiteral("the printer went away")}));

    // An event log whose head row is gone.
    dialogs.shown.clear();
    printers.record.failAt = 0;
    PrintRequest events;
    events.DataType = 5;
    events.SeqNo = 99;
    EXPECT_EQ(print.GoPrinter(events), PrintOutcome::Failed);
    EXPECT_TRUE(printers.record.aborted);
    EXPECT_EQ(dialogs.ids(), QList<int>{30102});
    EXPECT_EQ(CurrentPrinter(), QStringLiteral("Laser A"));

    // A graph whose fill fails: before any printer is asked for.
    dialogs.shown.clear();
    printers.opened.clear();
    printers.offered.clear();
    PrintRequest graph;
    graph.DataType = 1;
    graph.PrintType = true;
    EXPECT_EQ(print.GoPrinter(graph), PrintOutcome::Failed);
    EXPECT_TRUE(printers.offered.isEmpty());
    EXPECT_TRUE(printers.opened.isEmpty());
    EXPECT_EQ(dialogs.ids(), QList<int>{30102});
}

} // namespace
} // namespace tq
