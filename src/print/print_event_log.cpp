// The event logs and the sensor history, read from the database with the export's query.
#include "core/database.h"
#include "core/gas_format.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "print/export/record_export.h"
#include "print/frmPrint.h"
#include "print/print_surface.h"

#include <functional>
#include <vector>

namespace tq {

namespace {

// One printed event list: its headings after "No" and "Date/Time", the columns its rows
// centre, and the cells of a row after the number and the date.
struct EventLayout {
    qint32 dataType;
    QStringList headings;
    std::vector<int> centred;
    std::function<QStringList(const DbRow &)> cells;
};

// A stored date as the printout shows it; empty for Null.
QString generalDate(const std::optional<Date> &date) {
    return date ? date->generalDate() : QString();
}

const EventLayout *layoutOf(qint32 dataType) {
    static const auto gasEvent = [](const DbRow &row) {
        return QStringList{row.text(QStringLiteral("GasName")), EntryEventWord(row)};
    };
    static const std::vector<EventLayout> layouts = {
        {5, {QStringLiteral("Gas"), QStringLiteral("Event")}, {0}, gasEvent},
        {6, {QStringLiteral("Gas/Body"), QStringLiteral("Event")}, {0}, gasEvent},
        {7,
         {QStringLiteral("Power")},
         {0},
         [](const DbRow &row) { return QStringList{EntryPowerWord(row)}; }},
        {12,
         {QStringLiteral("Model"), QStringLiteral("SensorNO"), QStringLiteral("Gas")},
         {0, 4},
         [](const DbRow &row) {
             return QStringList{row.text(QStringLiteral("Gas1Model")),
                                row.text(QStringLiteral("Gas1SerialNO")),
                                EntryGasTitle(row, SystemDecimalMark())};
         }},
    };
    for (const EventLayout &layout : layouts) {
        if (layout.dataType == dataType)
            return &layout;
    }
    return nullptr;
}

} // namespace

void frmPrint::PrintEventLog(PrintSurface &target) {
    SetColumns(target, {0.02, 0.10, 0.40, 0.55, 0.70, 0.85, 1.00});
    SetAlign(3);
    target.SetForeColor(0);
    PrintEmptyRow(target);
    PrintEmptyRow(target);
    const EventLayout *layout = layoutOf(m_request.DataType);
    if (!layout)
        return;

    Database db(Globals().DatabasePath);
    const DbRow head = EventLogHead(db, m_request.SeqNo);
    for (std::size_t c = 0; c < 3; ++c)
        ColumnAlign[c] = 1;
    PrintRow(target, {LoadMessage(5604), QString(), LoadMessage(5605)});
    for (std::size_t c = 0; c < 3; ++c)
        ColumnAlign[c] = 0;
    Rule(target);
    PrintEmptyRow(target);
    const auto property = [&](int label, const QString &value) {
        PrintRow(target, {LoadMessage(label), QString(), value});
    };
    property(5608, head.text(QStringLiteral("SerialNo")));
    property(5609, head.text(QStringLiteral("StationID")));
    property(5610, head.text(QStringLiteral("UserID")));
    property(5668, generalDate(StoredDate(head, QStringLiteral("Dates"))));
    PrintEmptyRow(target);
    PrintEmptyRow(target);

    const QList<DbRow> rows = EventLogRows(db, m_request.DataType, m_request.SeqNo);
    if (rows.isEmpty())
        return;
    const QStringList heading =
        QStringList{LoadMessage(5620), LoadMessage(5621)} + layout->headings;
    const auto printHeading = [&] {
        SetAlign(1);
        PrintRow(target, heading);
        SetAlign(0);
        for (int c : layout->centred)
            ColumnAlign[std::size_t(c)] = 1;
        Rule(target);
    };
    printHeading();
    const qint64 count = rows.size();
    for (qint64 n = 1; n <= count; ++n) {
        const DbRow &row = rows[n - 1];
        PrintRow(target, EntryCells(n, [&] {
                     return QStringList{QString::number(n),
                                        generalDate(StoredDate(row, QStringLiteral("Dates")))} +
                            layout->cells(row);
                 }));
        if (BreakPage(target, n < count))
            printHeading();
    }
}

} // namespace tq
