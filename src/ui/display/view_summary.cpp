#include "ui/display/view_summary.h"

#include "core/date.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "logs/trend/gas_title.h"
#include "ui/display/data_view_logs.h"

namespace tq {
namespace {

const QString kDashes = QStringLiteral("-----");
const QString kStars = QStringLiteral("*****");
const QColor kGasHeading(224, 224, 224);
constexpr int kGasRow = 8;

// Clears the grid to `rows` rows of a property and a value under the "Property"/"Value"
// heading. Alignments and merges of a former layout are dropped, so every layout starts
// from the grid's defaults.
void beginSummary(FlexGrid &grid, int rows) {
    grid.Clear();
    grid.SetCols(2);
    grid.SetRows(rows);
    grid.SetMergeCells(FlexMerge::RestrictRows);
    grid.SetColAlignment(-1, FlexAlign::General);
    for (int r = 0; r < rows; ++r)
        grid.SetMergeRow(r, false);
    SetGridRow(grid, 0, 0, false, {LoadMessage(5604), LoadMessage(5605)});
}

void row(FlexGrid &grid, int r, int heading, const QString &value) {
    SetGridRow(grid, r, 0, false, {LoadMessage(heading), value});
}

// Serial number, station and user from row `first` on.
void identityRows(FlexGrid &grid, int first, const LogHeader &h) {
    row(grid, first, 5608, h.SerialNo);
    row(grid, first + 1, 5609, h.StationID);
    row(grid, first + 2, 5610, h.UserID);
}

// The name, the date row and the identity that the trend and snapshot layouts begin with.
void namedRows(FlexGrid &grid, const LogHeader &h, int dateHeading, const QString &dates) {
    row(grid, 1, 5606, h.Names);
    row(grid, 2, dateHeading, dates);
    identityRows(grid, 3, h);
}

// The value texts of rows 9 to the last that read as a number get a blank and the unit.
void addUnits(FlexGrid &grid, const QString &unit) {
    for (int r = kGasRow + 1; r < grid.Rows(); ++r) {
        const QString text = grid.TextMatrix(r, 1);
        if (ParseNumber(text))
            grid.SetTextMatrix(r, 1, text + QLatin1Char(' ') + unit);
    }
}

// The texts of a gas value: measured (range-checked) or a level, "-----" when the gas does
// not count as present.
struct GasTexts {
    const GasInfo &gas;

    QString level(bool present, float value) const {
        return present ? FormatGasValue(value, gas.Point) : kDashes;
    }
    QString measured(bool present, float value) const {
        return present ? CheckOverRange(FormatGasValue(value, gas.Point), gas.Full) : kDashes;
    }
};

void formatTrendSummary(FlexGrid &grid, bool intervalLayout) {
    const int last = grid.Rows() - 1;
    grid.SetCellBackColor(kGasRow, 1, kGasHeading);
    grid.SetCellAlignment(0, 0, 0, 1, FlexAlign::CenterCenter);
    grid.SetCellAlignment(1, 0, kGasRow - 1, 1, FlexAlign::LeftCenter);
    grid.SetCellAlignment(kGasRow, 1, last, 1, FlexAlign::CenterCenter);
    if (intervalLayout) {
        grid.SetCellAlignment(11, 0, 11, 1, FlexAlign::LeftCenter);
        grid.SetCellAlignment(13, 0, 13, 1, FlexAlign::LeftCenter);
    }
    // Equal neighbours merge in the identity rows only (a bar-hole trend's two dash cells).
    for (int r = 0; r <= last; ++r)
        grid.SetMergeRow(r, r < kGasRow);
}

void intervalSummary(FlexGrid &grid, const clsInterval &log, bool barHole) {
    beginSummary(grid, 18);
    const LogHeader &h = log.header();
    const GasInfo &gas = log.gas(0);
    const GasTexts texts{gas};
    namedRows(grid, h, 5607, SamplingPeriodText(h.Dates, h.Last));
    if (barHole)
        SetGridRow(grid, 6, 0, false, {kDashes, kDashes});
    else
        row(grid, 6, 5611, QString::number(qint64(log.DataCount()) + log.EventCount()));
    row(grid, 7, 5612, QString::number(h.Interval));
    row(grid, kGasRow, 5750, GetGasTitle(log, 0));
    // Avg and Max count as present when a maximum was recorded, the levels when the gas is on.
    const bool measured = gas.Max != ReadingCode::NoValue;
    row(grid, 9, 5613, texts.measured(measured, gas.Avr));
    row(grid, 10, 5614, texts.measured(measured, gas.Max));
    row(grid, 11, 5663, measured ? FormatEventTime(gas.Max, gas.MaxDate) : kDashes);
    row(grid, 12, 5615, kStars);
    row(grid, 13, 5664, kStars);
    row(grid, 14, 5642, texts.level(gas.Enable, gas.Warning));
    row(grid, 15, 5643, texts.level(gas.Enable, gas.Alarm));
    row(grid, 16, 5644, texts.level(gas.Enable, gas.Stel));
    row(grid, 17, 5645, texts.level(gas.Enable, gas.Twa));
    addUnits(grid, gas.Unit);
    formatTrendSummary(grid, true);
}

} // namespace

void FillAlarmSummary(FlexGrid &grid, const clsAlarm &log, AlarmSummaryLevels levels) {
    beginSummary(grid, 13);
    const LogHeader &h = log.header();
    const GasInfo &gas = log.gas(0);
    const GasTexts texts{gas};
    namedRows(grid, h, 5616, h.Dates.generalDate());
    row(grid, 6, 5611, QString::number(log.DataCount()));
    row(grid, 7, 5612, QString::number(h.Interval));
    row(grid, kGasRow, 5750, GetGasTitle(log, 0));
    row(grid, 9, 5642, texts.level(gas.Enable, gas.Warning));
    row(grid, 10, 5643, texts.level(gas.Enable, gas.Alarm));
    const bool stelTwa = levels == AlarmSummaryLevels::StelTwaAlways || gas.Enable;
    row(grid, 11, 5644, texts.level(stelTwa, gas.Stel));
    row(grid, 12, 5645, texts.level(stelTwa, gas.Twa));
    addUnits(grid, gas.Unit);
    formatTrendSummary(grid, false);
}

namespace {

// Histories, bump tests and event logs (5 rows, the download time last) and snapshots
// (6 rows, named).
void shortSummary(FlexGrid &grid, const HeadedLog &log, bool snapshot) {
    const LogHeader &h = log.header();
    beginSummary(grid, snapshot ? 6 : 5);
    if (snapshot) {
        namedRows(grid, h, 5607, h.Dates.generalDate());
    } else {
        identityRows(grid, 1, h);
        row(grid, 4, 5668, h.Dates.generalDate());
    }
    grid.SetCellAlignment(0, 0, 0, 1, FlexAlign::CenterCenter);
    grid.SetCellAlignment(1, 0, 3, 1, FlexAlign::LeftCenter);
}

const HeadedLog *shortLayoutLog(qint32 logType, const DataViewLogs &logs) {
    switch (logType) {
    case 3:
    case 10:
        return &logs.ViewHistory;
    case 5:
        return &logs.ViewAlarmEvent;
    case 6:
        return &logs.ViewTroubleEvent;
    case 7:
        return &logs.ViewPowerEvent;
    default:
        return nullptr;
    }
}

} // namespace

bool FillViewSummary(FlexGrid &summary, qint32 logType, const DataViewLogs &logs) {
    switch (logType) {
    case 1:
    case 9:
        intervalSummary(summary, logs.ViewInterval, logType == 9);
        return true;
    case 2:
        FillAlarmSummary(summary, logs.ViewAlarm, AlarmSummaryLevels::StelTwaAlways);
        return true;
    case 11:
        shortSummary(summary, logs.ViewSnapShot, true);
        return true;
    case 12:
        return true;
    default:
        break;
    }
    if (const HeadedLog *log = shortLayoutLog(logType, logs)) {
        shortSummary(summary, *log, false);
        return true;
    }
    summary.Clear();
    summary.SetCols(1);
    summary.SetRows(1);
    return false;
}

} // namespace tq
