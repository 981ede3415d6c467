// The calibration history, the bump test and the Last Calibration list.
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "logs/events/clsHistory.h"
#include "logs/trend/gas_title.h"
#include "print/frmPrint.h"
#include "print/print_items.h"
#include "print/print_surface.h"

namespace tq {

namespace {

const QString kNoGas = QStringLiteral("----(---)");
// Columns of the Last Calibration list that reach the paper.
constexpr int kListColumns = 6;

QString judgement(float judge) {
    if (judge == 2)
        return QStringLiteral("PASS");
    if (judge == 1)
        return QStringLiteral("FAIL");
    return kNoValue;
}

} // namespace

void frmPrint::PrintCalHistory(PrintSurface &target) {
    clsHistory history;
    history.setSeqNo(m_request.SeqNo);
    history.setContext(ProgramStoreContext());
    history.ReLoad();
    const bool bump = m_request.DataType != 3;
    const QString gasTitle = GetGasTitle(history, 0);
    const bool noGas = gasTitle == kNoGas;
    const qint16 decimals = qint16(GasItem(history, GasInfoItem::Point).toInt());
    const QString unit = GasItem(history, GasInfoItem::Unit).toString();
    // A reading with its decimals and, after a number, its unit; no range test.
    const auto valueText = [&](float value) {
        if (noGas)
            return kNoValue;
        const QString text = FormatGasValue(value, decimals);
        return ParseNumber(text) ? text + QLatin1Char(' ') + unit : text;
    };

    SetColumns(target, {0.02, 0.10, 0.28, 0.50, 1.0});
    SetAlign(0);
    target.SetForeColor(0);
    target.CurrentY = target.ScaleHeight() / 20;
    PrintRow(target, {LoadMessage(5604), QString(), LoadMessage(5605)});
    Rule(target);
    PrintEmptyRow(target);
    const auto property = [&](int label, const QString &value) {
        PrintRow(target, {LoadMessage(label), QString(), value});
    };
    property(5608, HeadText(history, LogHeaderItem::SerialNo));
    property(5609, HeadText(history, LogHeaderItem::StationID));
    property(5610, HeadText(history, LogHeaderItem::UserID));
    property(5668, HeadDate(history, LogHeaderItem::Dates).generalDate());
    PrintEmptyRow(target);
    PrintEmptyRow(target);

    const auto printHeading = [&] {
        SetAlign(1);
        PrintRow(target, {LoadMessage(5620), LoadMessage(5621), QString(), gasTitle});
        ColumnAlign[1] = 0;
        ColumnAlign[2] = 0;
        Rule(target);
    };
    printHeading();
    PrintEmptyRow(target);
    const QString first = LoadMessage(bump ? 5682 : 5633);
    const QString second = LoadMessage(bump ? 5681 : 5634);
    const qint32 count = history.DataCount();
    for (qint32 i = 0; i < count; ++i) {
        PrintRow(target, {QString::number(i + 1), history.Dates(i).generalDate(), first,
                          valueText(history.Before(0, i))});
        PrintRow(target, {QString(), QString(), second, valueText(history.After(0, i))});
        if (bump)
            PrintRow(target, {QString(), QString(), LoadMessage(5683),
                              noGas ? kNoValue : judgement(history.Judge(0, i))});
        if (BreakPage(target, i < count - 1))
            printHeading();
    }
    Rule(target, 4);
}

void frmPrint::PrintLastCal(PrintSurface &target) {
    const FlexGrid &grid = RequiredLog(m_request.frmObj);
    const auto rowAlign = [&] {
        SetAlign(0);
        ColumnAlign[0] = 1;
    };
    SetColumns(target, {0.02, 0.10, 0.28, 0.46, 0.64, 0.82, 1.0});
    rowAlign();
    target.SetForeColor(0);
    target.CurrentY = target.ScaleHeight() / 20;
    Rule(target);
    PrintEmptyRow(target);
    SetAlign(1);
    PrintRow(target, GridRowTexts(grid, 0, kListColumns));
    rowAlign();
    const int rows = grid.Rows();
    for (int r = 1; r < rows; ++r) {
        PrintRow(target, GridRowTexts(grid, r, kListColumns));
        if (BreakPage(target, r < rows - 1)) {
            SetAlign(1);
            PrintRow(target, GridRowTexts(grid, 0, kListColumns));
            Rule(target);
            rowAlign();
        }
    }
    Rule(target, 4);
}

} // namespace tq
