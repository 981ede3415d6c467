// The record table of a trend or snapshot, copied text for text from the calling page's
// table, below the summary block.
#include "core/errors.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/gas_title.h"
#include "print/frmPrint.h"
#include "print/print_items.h"
#include "print/print_surface.h"

namespace tq {

namespace {

// The table's row recorded at the alarm (360 samples lie before it).
constexpr qint64 kAlarmRow = 361;

} // namespace

void frmPrint::PrintDataTable(PrintSurface &target) {
    const qint32 kind = m_request.DataType;
    const bool interval = kind == 1;
    const FlexGrid &grid = RequiredLog(m_request.frmObj);
    const QString gasTitle = interval     ? GetGasTitle(RequiredLog(m_request.IntervalData), 0)
                             : kind == 11 ? GetGasTitle(RequiredLog(m_request.SnapData), 0)
                                          : GetGasTitle(RequiredLog(m_request.AlarmData), 0);
    const QStringList heading{LoadMessage(5620), LoadMessage(5621), gasTitle};

    SetColumns(target, {0.02, 0.10, 0.28, 0.50, 1.0});
    SetAlign(1);
    target.SetForeColor(0);
    PrintEmptyRow(target);
    PrintEmptyRow(target);
    const auto printHeading = [&] {
        if (interval)
            SetAlign(1);
        else
            ColumnAlign[1] = 1;
        PrintRow(target, heading);
        Rule(target);
        if (!interval)
            ColumnAlign[1] = 0;
    };
    printHeading();

    if (kind == 11) {
        PrintRow(target, GridRowTexts(grid, 1, 3));
        PrintRow(target, GridRowTexts(grid, 2, 3));
        return;
    }
    const qint64 rows = qint64(grid.Rows()) - 1;
    const int cols = grid.Cols();
    if (interval && cols > kColumns)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("The record table has more columns than a printed row"));
    for (qint64 r = 1; r <= rows; ++r) {
        if (interval) {
            // Cells of a colour of their own (the events) print from the column's edge.
            for (int c = 0; c < cols; ++c)
                ColumnAlign[std::size_t(c)] = grid.CellBackColor(int(r), c).isValid() ? 0 : 1;
        }
        PrintRow(target, GridRowTexts(grid, int(r), 3));
        if (!interval && r == kAlarmRow) {
            target.SetDrawWidth(1);
            target.Line(0, target.CurrentY, target.ScaleWidth(), target.CurrentY);
        }
        if (BreakPage(target, r < rows))
            printHeading();
    }
}

} // namespace tq
