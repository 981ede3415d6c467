#include "ui/display/history_tables.h"

#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "logs/events/clsHistory.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_items.h"
#include "ui/display/event_codes.h"

#include <optional>

namespace tq {
namespace {

const QString kDashes = QStringLiteral("-----");

QString judgeText(float judge) {
    return judge == 2 ? QStringLiteral("PASS") : judge == 1 ? QStringLiteral("FAIL") : kDashes;
}

// A number in `column` gets a blank and the unit, once.
void addUnit(FlexGrid &table, int row, int column, const QString &unit) {
    const QString text = table.TextMatrix(row, column);
    if (ParseNumber(text))
        table.SetTextMatrix(row, column, text + QLatin1Char(' ') + unit);
}

} // namespace

void FillHistoryTable(FlexGrid &table, const clsHistory &log, bool bumpTest) {
    const int perEntry = bumpTest ? 3 : 2;
    const qint16 decimals = log.gas(0).Point;
    table.Clear();
    table.SetCols(4);
    table.SetRows(perEntry * log.DataCount() + 1);
    SetGridRow(table, 0, 0, false,
               {LoadMessage(5620), LoadMessage(5621), QString(), GetGasTitle(log, 0)});
    for (qint32 i = 0; i < log.DataCount(); ++i) {
        const int first = perEntry * i + 1;
        const QString before = FormatGasValue(log.Before(0, i), decimals);
        const QString after = FormatGasValue(log.After(0, i), decimals);
        SetGridRow(table, first, 0, false,
                   {QString::number(i + 1), log.Dates(i).generalDate(),
                    LoadMessage(bumpTest ? 5682 : 5633), before});
        SetGridRow(table, first + 1, 0, false,
                   {QString(), QString(), LoadMessage(bumpTest ? 5681 : 5634), after});
        if (bumpTest)
            SetGridRow(table, first + 2, 0, false,
                       {QString(), QString(), LoadMessage(5683), judgeText(log.Judge(0, i))});
    }
    // Shading tells the entries apart; the No column stays plain.
    const QColor shade(240, 240, 240);
    for (int r = 1; r < table.Rows(); ++r) {
        const bool shaded = bumpTest ? r % 3 != 0 : r % 2 == 1;
        for (int c = 1; c < table.Cols(); ++c)
            table.SetCellBackColor(r, c, shaded ? shade : QColor());
    }
    table.SetColAlignment(-1, FlexAlign::CenterCenter);
    table.SetColAlignment(1, FlexAlign::LeftCenter);
    table.SetColAlignment(2, FlexAlign::LeftCenter);
    table.SetCellAlignment(0, 0, 0, table.Cols() - 1, FlexAlign::CenterCenter);
    for (int r = 1; r < table.Rows(); ++r) {
        const QString text = table.TextMatrix(r, 3).trimmed();
        if (!ParseNumber(text) && text != kDashes)
            table.SetCellAlignment(r, 3, r, 3, FlexAlign::LeftCenter);
        addUnit(table, r, 3, log.gas(0).Unit);
    }
}

void FillSnapShotTable(FlexGrid &table, const clsSnapShot &log) {
    const GasInfo &gas = log.gas(0);
    // Flags beyond 16 bits are no alarm status: the cell stays empty.
    const std::optional<qint16> flags = FittingCode(log.GasEvent(0, 0));
    const qint16 code = flags ? AlarmBitsToCode(*flags) : qint16(ReadingCode::NoValue);
    table.Clear();
    table.SetCols(3);
    table.SetRows(3);
    SetGridRow(table, 0, 0, false, {LoadMessage(5620), LoadMessage(5621), GetGasTitle(log, 0)});
    SetGridRow(table, 1, 0, false,
               {QStringLiteral("1"), log.header().Dates.generalDate(),
                CheckOverRange(FormatGasValue(log.GasValue(0), gas.Point), gas.Full)});
    SetGridRow(table, 2, 0, false,
               {QString(), QString(), flags ? FormatGasValue(code, gas.Point) : QString()});
    addUnit(table, 1, 2, gas.Unit);
    table.SetCellBackColor(2, 2, GetCodeColor(code, QColor()));
    table.SetColAlignment(-1, FlexAlign::CenterCenter);
    table.SetColAlignment(1, FlexAlign::LeftCenter);
    table.SetCellAlignment(0, 0, 0, table.Cols() - 1, FlexAlign::CenterCenter);
}

} // namespace tq
