#include "ui/display/trend_tables.h"

#include "core/date.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/messages.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/gas_title.h"
#include "logs/trend/log_header.h"
#include "logs/trend/log_items.h"
#include "ui/display/event_codes.h"
#include "ui/display/view_summary.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tq {
namespace {

constexpr int kTableCols = 3;
constexpr int kValueCol = 2;
// The row of record 360, the alarm moment of an alarm trend.
constexpr int kAlarmRow = 361;
// Above this many rows of a log listed whole, coloured cells keep the column's alignment:
// the pass over every cell would cost too much.
constexpr int kAlignedRowsLimit = 5400;

// The value cell of a sample. While the detector reads in %LEL the value is checked
// against the full scale; after a change to ppm or vol% the stored slot-0 value is shown
// as it is, with slot 0's decimals, since the full scale is that of %LEL. A number gets
// the unit suffix of the unit in force. The decimal mark and the suffix are taken once, as
// tens of thousands of samples are formatted at a time.
class SampleText {
public:
    explicit SampleText(const GasInfo &gas) : m_gas(gas), m_mark(SystemDecimalMark()) {
        setUnit(ReadingCode::Lel);
    }

    void setUnit(qint16 unitCode) {
        m_unitCode = unitCode;
        // Without an alternative text the suffix does not depend on the reading.
        m_suffix = GetUnitSuffix(unitCode, m_gas.Ratio, 0, m_gas.Full, QString(), m_gas.Unit);
    }

    QString operator()(float value) const {
        QString text = FormatGasValue(value, m_gas.Point, m_mark);
        bool number = LastValueKind() == ValueKind::Number;
        if (m_unitCode == ReadingCode::Lel && (number || m_gas.Full == ReadingCode::NoValue)) {
            QString checked = CheckOverRange(text, m_gas.Full);
            number = number && checked == text;
            text = std::move(checked);
        }
        return number ? text + m_suffix : text;
    }

    const QString &mark() const { return m_mark; }

private:
    const GasInfo &m_gas;
    QString m_mark;
    qint16 m_unitCode = ReadingCode::Lel;
    QString m_suffix;
};

void beginTable(FlexGrid &table, int rows, const QString &gasTitle) {
    table.Clear();
    table.SetCols(kTableCols);
    table.SetRows(rows);
    SetGridRow(table, 0, 0, false, {LoadMessage(5620), LoadMessage(5621), gasTitle});
}

// Every column centred, the time left-aligned, the heading row centred.
void alignTable(FlexGrid &table) {
    table.SetColAlignment(-1, FlexAlign::CenterCenter);
    table.SetColAlignment(1, FlexAlign::LeftCenter);
    table.SetCellAlignment(0, 0, 0, kTableCols - 1, FlexAlign::CenterCenter);
}

bool isUnitChange(qint32 code) {
    return code == ReadingCode::Lel || code == ReadingCode::Ppm || code == ReadingCode::Vol;
}

} // namespace

void FillIntervalTable(FlexGrid &table, FlexGrid &summary, clsInterval &log,
                       const IntervalTableOptions &options) {
    const GasInfo &gas = log.gas(0);
    SampleText sampleText(gas);
    const qint64 samples = options.eventOnly ? 0 : log.DataCount();
    // Room for every item at once; the hidden unit changes come off at the end.
    beginTable(table, int(1 + samples + log.EventCount()), GetGasTitle(log, 0));

    qint32 rowCount = 0;
    qint32 listedSamples = 0;
    qint32 hidden = 0;
    Date endTime = Date::fromParts(2099, 1, 1);
    bool endedEarly = false;
    std::vector<int> colouredRows;
    const auto writeRow = [&](const Date &time, const QString &value) {
        const int r = rowCount + 1;
        SetGridRow(table, r, 0, false, {QString::number(r), time.generalDate(), value});
        ++rowCount;
        return r;
    };

    log.setGetOrder(0);
    for (qint32 item = log.getOrder(); item != 0; item = log.getOrder()) {
        if (item < 0) {
            const qint32 n = -item - 1;
            const Date time = log.EventDateTimes(n);
            if (time > endTime) {
                endedEarly = true;
                break;
            }
            const float value = log.GasEvent(0, n).toFloat();
            // A stored code beyond 16 bits is no event: its cell stays empty.
            const std::optional<qint16> fitting = FittingCode(value);
            const qint32 code = fitting.value_or(ReadingCode::NoValue);
            if (isUnitChange(code)) {
                sampleText.setUnit(qint16(code));
                if (!options.debugMode) {
                    ++hidden;
                    continue;
                }
            }
            const int r = writeRow(
                time, fitting ? FormatGasValue(value, gas.Point, sampleText.mark()) : QString());
            // The trend search opens the alarm trend near the event's own time.
            table.SetRowData(r, QVariant::fromValue(time));
            if (code < ReadingCode::NoValue) {
                const QColor colour = GetCodeColor(code, table.CellBackColor(r, kValueCol));
                if (colour.isValid()) {
                    table.SetCellBackColor(r, kValueCol, colour);
                    colouredRows.push_back(r);
                }
            }
            if (!fix001(code, listedSamples))
                endTime = time;
        } else {
            if (options.eventOnly)
                continue;
            const qint32 n = item - 1;
            const Date time = log.DateTimes(n);
            if (time > endTime) {
                endedEarly = true;
                break;
            }
            // Stored logs hold their values in slot 0 whatever the unit.
            writeRow(time, sampleText(log.GasValue(0, n).toFloat()));
            ++listedSamples;
        }
    }

    const LogHeader &h = log.header();
    if (endedEarly && h.Last != Date::emptyLogDate())
        SetGridRow(summary, kSummaryPeriodRow, 0, false,
                   {LoadMessage(5607), SamplingPeriodText(h.Dates, endTime)});
    SetGridRow(
        summary, kSummaryCountRow, 0, false,
        {LoadMessage(5611), QString::number(qint64(log.DataCount()) + log.EventCount() - hidden)});

    table.SetRows(int(1 + samples + log.EventCount() - hidden));
    alignTable(table);
    if (table.Rows() <= kAlignedRowsLimit || options.condensedView)
        for (const int r : colouredRows)
            table.SetCellAlignment(r, kValueCol, r, kValueCol, FlexAlign::LeftCenter);
}

void FillAlarmTable(FlexGrid &table, const clsAlarm &log) {
    const SampleText sampleText(log.gas(0));
    beginTable(table, log.DataCount() + 1, GetGasTitle(log, 0));
    for (qint32 i = 0; i < log.DataCount(); ++i)
        SetGridRow(
            table, i + 1, 0, false,
            {QString::number(i + 1), log.DateTimes(i).generalDate(), sampleText(log.value(0, i))});
    if (table.Rows() > kAlarmRow)
        for (int c = 1; c < kTableCols; ++c)
            table.SetCellBackColor(kAlarmRow, c, QColor(255, 0, 0));
    alignTable(table);
}

void ScrollAlarmRowToMiddle(FlexGrid &table) {
    table.SetTopRow(1);
    const double bottom = table.BottomRow();
    const int top = RoundToWhole<int>(kAlarmRow - bottom / 2 + 1);
    // A short table scrolls as far as it goes.
    table.SetTopRow(std::clamp(top, table.FixedRows(), std::max(table.Rows() - 1, 0)));
}

} // namespace tq
