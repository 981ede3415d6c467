// The summary block of a trend or snapshot at the top of the first page.
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
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

const QString kNoMinimum = QStringLiteral("*****");

// A level of gas slot 0 as printed: "-----" for a disabled gas, else the value with its
// decimals (or the word of a reading code), "OVER" outside 0 to the full scale, and the
// unit after a number.
QString levelText(const HeadedLog &log, GasInfoItem item) {
    if (!GasItem(log, GasInfoItem::Enable).toBool())
        return kNoValue;
    QString text = CheckOverRange(FormatGasValue(GasItem(log, item).toFloat(),
                                                 qint16(GasItem(log, GasInfoItem::Point).toInt())),
                                  GasItem(log, GasInfoItem::Full).toFloat());
    if (ParseNumber(text))
        text += QLatin1Char(' ') + GasItem(log, GasInfoItem::Unit).toString();
    return text;
}

} // namespace

void frmPrint::PrintLogHeader(PrintSurface &target) {
    const qint32 kind = m_request.DataType;
    const bool interval = kind == 1 || kind == 9;
    const bool snapshot = kind == 11;
    const HeadedLog &log =
        interval   ? static_cast<const HeadedLog &>(RequiredLog(m_request.IntervalData))
        : snapshot ? static_cast<const HeadedLog &>(RequiredLog(m_request.SnapData))
                   : static_cast<const HeadedLog &>(RequiredLog(m_request.AlarmData));
    SetColumns(target, {0.02, 0.25, 0.40, 0.55, 1.0});
    SetAlign(0);
    target.SetForeColor(0);
    target.CurrentY = target.ScaleHeight() / 20;
    PrintRow(target, {LoadMessage(5604), LoadMessage(5605)});
    Rule(target);
    PrintEmptyRow(target);

    const auto row = [&](int label, const QString &value) {
        PrintRow(target, {LoadMessage(label), value});
    };
    row(5606, HeadText(log, LogHeaderItem::Names));
    if (interval) {
        row(5607, SamplingPeriodText(HeadDate(log, LogHeaderItem::Dates),
                                     HeadDate(log, LogHeaderItem::Last)));
    } else {
        const bool sampling = !snapshot && log.header().SampledAsInterval();
        row(snapshot || sampling ? 5607 : 5616, HeadDate(log, LogHeaderItem::Dates).generalDate());
    }
    row(5608, HeadText(log, LogHeaderItem::SerialNo));
    row(5609, HeadText(log, LogHeaderItem::StationID));
    row(5610, HeadText(log, LogHeaderItem::UserID));
    if (kind == 1) {
        const clsInterval &trend = *m_request.IntervalData;
        row(5611, QString::number(qint64(trend.DataCount()) + trend.EventCount()));
    } else if (kind == 9) {
        PrintRow(target, {kNoValue, kNoValue});
    } else if (!snapshot) {
        row(5611, QString::number(m_request.AlarmData->DataCount()));
    }
    if (!snapshot)
        row(5612, HeadText(log, LogHeaderItem::Interval));
    Rule(target);
    if (snapshot) {
        Rule(target, 4);
        return;
    }

    SetAlign(1);
    ColumnAlign[0] = 0;
    PrintEmptyRow(target);
    row(5750, GetGasTitle(log, 0));
    if (interval) {
        row(5613, levelText(log, GasInfoItem::Avr));
        row(5614, levelText(log, GasInfoItem::Max));
        row(5663, GasItem(log, GasInfoItem::Enable).toBool()
                      ? FormatEventTime(GasItem(log, GasInfoItem::Max).toFloat(),
                                        GasItem(log, GasInfoItem::MaxDate).value<Date>())
                      : kNoValue);
        row(5615, kNoMinimum);
        row(5664, kNoMinimum);
    }
    row(5642, levelText(log, GasInfoItem::Warning));
    row(5643, levelText(log, GasInfoItem::Alarm));
    row(5644, levelText(log, GasInfoItem::Stel));
    row(5645, levelText(log, GasInfoItem::Twa));
    Rule(target, 4);
}

} // namespace tq
