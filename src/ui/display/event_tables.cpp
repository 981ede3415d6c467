#include "ui/display/event_tables.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "ui/display/summary_values.h"

#include <functional>
#include <optional>

namespace tq {
namespace {

struct EventLayout {
    int logType;
    const char *table;
    QStringList headings; // after "No" and "Date/Time"
    std::function<QStringList(const DbRow &record)> texts;
};

QStringList gasEventTexts(const DbRow &record) {
    return {record.text(QStringLiteral("GasName")), SummaryRow{record}.eventWord()};
}

const EventLayout *layoutOf(int logType) {
    static const EventLayout layouts[] = {
        {5, "Alarm_Event", {QStringLiteral("Gas"), QStringLiteral("Event")}, gasEventTexts},
        {6, "Trouble_Event", {QStringLiteral("Gas/Body"), QStringLiteral("Event")}, gasEventTexts},
        {7,
         "Power_Event",
         {QStringLiteral("Power")},
         [](const DbRow &r) { return QStringList{SummaryRow{r}.power()}; }},
        {12,
         "SensorChange",
         {QStringLiteral("Model"), QStringLiteral("SensorNO"), QStringLiteral("Gas")},
         [](const DbRow &r) {
             return QStringList{r.text(QStringLiteral("Gas1Model")),
                                r.text(QStringLiteral("Gas1SerialNO")), SummaryRow{r}.gasTitle()};
         }},
    };
    for (const EventLayout &layout : layouts)
        if (layout.logType == logType)
            return &layout;
    return nullptr;
}

std::optional<DbRow> headRow(Database &db, qint64 seqNo) {
    const QList<DbRow> heads =
        db.query(QStringLiteral("Select * From Log_head Where SeqNo = ?"), {seqNo});
    if (heads.isEmpty())
        return std::nullopt;
    return heads.front();
}

// Heading row, then the log's records newest first; the caller aligns the columns.
void fillRecords(FlexGrid &table, Database &db, const std::optional<DbRow> &head,
                 const EventLayout &layout) {
    table.Clear();
    table.SetCols(2 + int(layout.headings.size()));
    table.SetRows(1);
    table.SetMergeCells(FlexMerge::RestrictRows);
    SetGridRow(table, 0, 0, false,
               QStringList{LoadMessage(5620), LoadMessage(5621)} + layout.headings);
    // A head row that is gone lists nothing (no search under a key 0 that names no log).
    if (!head)
        return;
    const QList<DbRow> records =
        db.query(QStringLiteral("Select * From %1 Where RelNo = ? Order By Dates Desc, SeqNo Desc")
                     .arg(QLatin1String(layout.table)),
                 {head->integer(QStringLiteral("SeqNo"))});
    if (!records.isEmpty())
        table.SetRows(int(records.size()) + 1);
    for (int i = 0; i < int(records.size()); ++i)
        SetGridRow(table, i + 1, 0, false,
                   QStringList{QString::number(i + 1),
                               SummaryRow{records[i]}.date(QStringLiteral("Dates"))} +
                       layout.texts(records[i]));
}

void alignRecords(FlexGrid &table, std::initializer_list<int> centred) {
    table.SetColAlignment(-1, FlexAlign::LeftCenter);
    for (const int column : centred)
        table.SetColAlignment(column, FlexAlign::CenterCenter);
    table.SetCellAlignment(0, 0, 0, table.Cols() - 1, FlexAlign::CenterCenter);
}

} // namespace

void FillEventTable(FlexGrid &table, Database &db, qint64 seqNo, int logType) {
    const EventLayout *layout = layoutOf(logType);
    if (!layout || logType == 12)
        return;
    fillRecords(table, db, headRow(db, seqNo), *layout);
    alignRecords(table, {0});
}

void FillSensorChangeTable(FlexGrid &table, FlexGrid &summary, Database &db, qint64 seqNo) {
    const std::optional<DbRow> head = headRow(db, seqNo);
    fillRecords(table, db, head, *layoutOf(12));
    alignRecords(table, {0, 4});

    summary.Clear();
    summary.SetCols(2);
    summary.SetRows(head ? 4 : 1);
    summary.SetMergeCells(FlexMerge::RestrictRows);
    SetGridRow(summary, 0, 0, false, {LoadMessage(5604), LoadMessage(5605)});
    if (head) {
        const SummaryRow row{*head};
        SetGridRow(summary, 1, 0, false, {LoadMessage(5608), row.text(QStringLiteral("SerialNo"))});
        SetGridRow(summary, 2, 0, false, {LoadMessage(5610), row.text(QStringLiteral("UserID"))});
        SetGridRow(summary, 3, 0, false, {LoadMessage(5668), row.date(QStringLiteral("Dates"))});
    }
    summary.SetColAlignment(-1, FlexAlign::LeftCenter);
    summary.SetCellAlignment(0, 0, 0, 1, FlexAlign::CenterCenter);
}

} // namespace tq
