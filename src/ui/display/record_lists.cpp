#include "ui/display/record_lists.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "ui/display/summary_values.h"

#include <array>
#include <functional>

namespace tq {

namespace {

const QString kDashes = QStringLiteral("-----");
const QString kNoGas = QStringLiteral("----(---)");

// What the record texts of a calibration history or bump test need of the head.
struct HeadGas {
    QString title;
    qint16 decimals = 0;
};

// A reading and its unit; `withUnit` says whether this value keeps it. A left-out unit
// leaves the blank ("----- ").
QString reading(const DbRow &record, const QString &column, const HeadGas &gas,
                const std::function<bool(float)> &withUnit) {
    const float value = float(record.real(column));
    return FormatGasValue(value, gas.decimals) + QLatin1Char(' ') +
           (withUnit(value) ? record.text(QStringLiteral("Gas1Unit")) : QString());
}

bool calibrationUnit(float value) {
    return value > -101;
}
bool bumpUnit(float value) {
    return value != -101;
}

QStringList calibrationTexts(const DbRow &record, const HeadGas &gas, bool bump) {
    const QString date = SummaryRow{record}.date(QStringLiteral("Dates"));
    if (gas.title == kNoGas)
        return {date, gas.title, kDashes, kDashes};
    const auto unit = bump ? bumpUnit : calibrationUnit;
    QStringList texts{date, gas.title, reading(record, QStringLiteral("Gas1Before"), gas, unit),
                      reading(record, QStringLiteral("Gas1After"), gas, unit)};
    if (bump)
        texts << (float(record.real(QStringLiteral("Gas1Before"))) == -101 ? kDashes
                  : record.integer(QStringLiteral("Gas1Judge")) == 2       ? QStringLiteral("PASS")
                                                                     : QStringLiteral("FAIL"));
    return texts;
}

// One log family's list.
struct Layout {
    const char *letter;
    const char *table;
    QStringList headings;
    int shown;    // records shown beyond 10
    bool headGas; // the record texts use the head's gas title
    // Alignment: all columns, then the exceptions.
    FlexAlign all;
    std::vector<std::pair<int, FlexAlign>> columns;
    std::function<QStringList(const DbRow &record, const HeadGas &gas)> texts;
    std::function<QStringList(qint64 n)> closing;
};

QStringList totalInOneCell(qint64 n) {
    return {QStringLiteral("..."), QStringLiteral("Total %1 Datas").arg(n)};
}
QStringList totalInTwoCells(qint64 n) {
    return {QStringLiteral("..."), QStringLiteral("Total"), QStringLiteral("%1 Datas").arg(n)};
}
QStringList totalInThreeCells(qint64 n) {
    return {QStringLiteral("..."), QStringLiteral("Total"), QString::number(n),
            QStringLiteral("Datas")};
}

QStringList eventTexts(const DbRow &record, const HeadGas &) {
    return {SummaryRow{record}.date(QStringLiteral("Dates")),
            record.text(QStringLiteral("GasName")), SummaryRow{record}.eventWord()};
}

const std::array<Layout, 6> &layouts() {
    using A = FlexAlign;
    static const std::array<Layout, 6> all{{
        {"Q",
         "SensorChange",
         {"DateTime", "Model", "SensorNO", "Gas"},
         8,
         false,
         A::LeftCenter,
         {{3, A::CenterCenter}},
         [](const DbRow &r, const HeadGas &) {
             return QStringList{SummaryRow{r}.date(QStringLiteral("Dates")),
                                r.text(QStringLiteral("Gas1Model")),
                                r.text(QStringLiteral("Gas1SerialNO")), SummaryRow{r}.gasTitle()};
         },
         totalInOneCell},
        {"P",
         "Power_Event",
         {"DateTime", "Power"},
         8,
         false,
         A::CenterCenter,
         {{0, A::LeftCenter}, {1, A::LeftCenter}},
         [](const DbRow &r, const HeadGas &) {
             return QStringList{SummaryRow{r}.date(QStringLiteral("Dates")), SummaryRow{r}.power()};
         },
         totalInOneCell},
        {"W",
         "Trouble_Event",
         {"DateTime", "Gas/Body", "Event"},
         8,
         false,
         A::LeftCenter,
         {},
         eventTexts,
         totalInTwoCells},
        {"V",
         "Alarm_Event",
         {"DateTime", "Gas", "Event"},
         8,
         false,
         A::LeftCenter,
         {},
         eventTexts,
         totalInTwoCells},
        {"H",
         "cHistory",
         {"DateTime", "Gas", "Before", "After"},
         10,
         true,
         A::CenterCenter,
         {{0, A::LeftCenter}, {1, A::LeftCenter}},
         [](const DbRow &r, const HeadGas &gas) { return calibrationTexts(r, gas, false); },
         totalInThreeCells},
        {"b",
         "Bump",
         {"DateTime", "Gas", "Test Result", "Concentration", "Judge"},
         10,
         true,
         A::CenterCenter,
         {{0, A::LeftCenter}, {1, A::LeftCenter}},
         [](const DbRow &r, const HeadGas &gas) { return calibrationTexts(r, gas, true); },
         totalInThreeCells},
    }};
    return all;
}

const Layout *layoutOf(const QString &letter) {
    for (const Layout &layout : layouts())
        if (letter == QLatin1String(layout.letter))
            return &layout;
    return nullptr;
}

} // namespace

bool IsRecordListLetter(const QString &letter) {
    return layoutOf(letter) != nullptr;
}

void FillRecordList(FlexGrid &grid, Database &db, const QVariant &seqNo, const QString &letter) {
    const Layout *layout = layoutOf(letter);
    if (!layout)
        return;
    grid.SetCols(int(layout->headings.size()));
    grid.SetRows(2);
    grid.SetMergeCells(FlexMerge::RestrictRows);
    SetGridRow(grid, 0, 0, false, layout->headings);

    qint64 headSeqNo = 0;
    HeadGas gas;
    const QList<DbRow> heads =
        db.query(QStringLiteral("Select * From Log_head Where SeqNo = ?"), {seqNo});
    if (!heads.isEmpty()) {
        headSeqNo = heads.front().integer(QStringLiteral("SeqNo"));
        if (layout->headGas) {
            gas.title = SummaryRow{heads.front()}.gasTitle();
            gas.decimals = SummaryRow{heads.front()}.decimals();
        }
    }
    // Only the newest records are read, however many the log holds.
    const QString table = QLatin1String(layout->table);
    const qint64 n =
        db.scalar(QStringLiteral("Select Count(*) From %1 Where RelNo = ?").arg(table), {headSeqNo})
            .toLongLong();
    if (n >= 1) {
        const qint64 shown = n <= 10 ? n : layout->shown;
        const QList<DbRow> records = db.query(
            QStringLiteral("Select * From %1 Where RelNo = ? Order By Dates Desc, SeqNo Desc "
                           "Limit ?")
                .arg(table),
            {headSeqNo, shown});
        const int closingRow = layout->shown == 8 ? 10 : 13;
        grid.SetRows(n <= 10 ? int(n) + 1 : closingRow + 1);
        for (int i = 0; i < int(records.size()); ++i)
            SetGridRow(grid, i + 1, 0, false, layout->texts(records[i], gas));
        if (n > 10)
            SetGridRow(grid, closingRow, 0, false, layout->closing(n));
    }
    grid.SetColAlignment(-1, layout->all);
    for (const auto &[column, align] : layout->columns)
        grid.SetColAlignment(column, align);
    grid.SetCellAlignment(0, 0, 0, grid.Cols() - 1, FlexAlign::CenterCenter);
    for (int r = 0; r < grid.Rows(); ++r)
        grid.SetMergeRow(r, false);
}

} // namespace tq
