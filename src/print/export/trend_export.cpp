#include "print/export/trend_export.h"

#include "core/gas_format.h"
#include "core/messages.h"
#include "logs/events/clsSnapShot.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/gas_title.h"
#include "print/export/export_cells.h"
#include "print/export/export_lines.h"
#include "print/export/export_sink.h"
#include "print/export/export_text.h"
#include "print/export/log_checks.h"

#include <optional>

namespace tq {

using namespace exporting;

namespace {

QString headerText(const HeadedLog &log, LogHeaderItem code) {
    return log.GasBaseInfo(qint32(code)).toString();
}
Date headerDate(const HeadedLog &log, LogHeaderItem code) {
    return log.GasBaseInfo(qint32(code)).value<Date>();
}
QString headerNumber(const HeadedLog &log, LogHeaderItem code) {
    return QString::number(log.GasBaseInfo(qint32(code)).toLongLong());
}

// Title, property heading and name: the first three lines of every trend text.
void writeOpening(TextWriter &out, const char *kind, const HeadedLog &log) {
    out.line({QStringLiteral("TQ-6200 Data Sample (%1)").arg(QLatin1String(kind))});
    out.line({LoadMessage(5604), LoadMessage(5605)});
    out.property(5606, headerText(log, LogHeaderItem::Names));
}

void writeIdentifiers(TextWriter &out, const HeadedLog &log) {
    out.property(5608, headerText(log, LogHeaderItem::SerialNo));
    out.property(5609, headerText(log, LogHeaderItem::StationID));
    out.property(5610, headerText(log, LogHeaderItem::UserID));
}

QStringList tableHeading(const QString &gasTitle) {
    return {LoadMessage(5620), LoadMessage(5621), gasTitle};
}

bool isUnitChange(qint16 code) {
    return code == ReadingCode::Lel || code == ReadingCode::Ppm || code == ReadingCode::Vol;
}

void writeIntervalTable(TextWriter &out, const ExportRequest &request, clsInterval &log,
                        const GasCells &gas) {
    log.setGetOrder(0);
    qint64 row = 0;
    qint16 unitCode = ReadingCode::Lel;
    for (qint32 item = log.getOrder(); item != 0; item = log.getOrder()) {
        QStringList cells;
        if (item > 0) {
            const qint32 index = item - 1;
            cells << QString::number(++row) << ExportDate(log.DateTimes(index));
            gas.sample(cells, log.GasValue(0, index).toFloat(), unitCode, out.unitColumn());
        } else {
            const qint32 index = -item - 1;
            const qint16 code = IntervalEventCode(log, index);
            if (isUnitChange(code)) {
                unitCode = code;
                if (!request.debugMode)
                    continue;
            }
            cells << QString::number(++row) << ExportDate(log.EventDateTimes(index));
            if (out.unitColumn())
                cells << QString();
            cells << gas.value(code);
        }
        out.line(cells);
    }
}

} // namespace

void WriteIntervalText(const ExportRequest &request, ExportSink &sink) {
    std::optional<clsInterval> emptyLog;
    clsInterval &log = request.logs.interval ? *request.logs.interval : emptyLog.emplace();
    const bool barHole = request.logType == 9;
    TextWriter out(request, sink);
    const GasCells gas(log);
    const auto level = [&](GasInfoItem code) { return GasCells::item(log, code).toFloat(); };
    const bool present = level(GasInfoItem::Max) != ReadingCode::NoValue;

    writeOpening(out, barHole ? "Bar Hole" : "Interval Trend", log);
    const Date last = headerDate(log, LogHeaderItem::Last);
    QString period = ExportDate(headerDate(log, LogHeaderItem::Dates)) + LoadMessage(5676);
    if (last.days() != Date::emptyLogDate().days())
        period += ExportDate(last);
    out.property(5607, period);
    writeIdentifiers(out, log);
    if (barHole)
        out.line({kNoLevel, kNoLevel});
    else
        out.property(5611, QString::number(qint64(log.DataCount()) + log.EventCount()));
    out.property(5612, headerNumber(log, LogHeaderItem::Interval));

    out.line({LoadMessage(5750), LoadMessage(5613), LoadMessage(5614), LoadMessage(5663),
              LoadMessage(5615), LoadMessage(5664), LoadMessage(5642), LoadMessage(5643),
              LoadMessage(5644), LoadMessage(5645)});
    const QString gasTitle = GetGasTitle(log, 0, kMark);
    const auto eventTime = [&](GasInfoItem value, GasInfoItem time) {
        return present ? ExportEventTime(level(value), GasCells::item(log, time).value<Date>())
                       : kNoLevel;
    };
    out.line({gasTitle, gas.level(present, level(GasInfoItem::Avr), true),
              gas.level(present, level(GasInfoItem::Max), true),
              eventTime(GasInfoItem::Max, GasInfoItem::MaxDate),
              gas.level(present, level(GasInfoItem::Min), true),
              eventTime(GasInfoItem::Min, GasInfoItem::MinDate),
              gas.level(present, level(GasInfoItem::Warning), false),
              gas.level(present, level(GasInfoItem::Alarm), false), kNotExported, kNotExported});
    out.empty();
    if (barHole) {
        out.empty();
        return;
    }
    out.line(tableHeading(gasTitle));
    writeIntervalTable(out, request, log, gas);
}

void WriteAlarmText(const ExportRequest &request, ExportSink &sink) {
    const clsAlarm emptyLog;
    const clsAlarm &log = request.logs.alarm ? *request.logs.alarm : emptyLog;
    TextWriter out(request, sink);
    const GasCells gas(log);
    const bool present = GasCells::item(log, GasInfoItem::Enable).toBool();
    const auto level = [&](GasInfoItem code) {
        return gas.level(present, GasCells::item(log, code).toFloat(), false);
    };

    writeOpening(out, "Alarm Trend", log);
    out.property(5616, ExportDate(headerDate(log, LogHeaderItem::Dates)));
    writeIdentifiers(out, log);
    const qint16 count = log.DataCount();
    out.property(5611, QString::number(count));
    out.property(5612, headerNumber(log, LogHeaderItem::Interval));
    out.line({LoadMessage(5750), LoadMessage(5642), LoadMessage(5643), LoadMessage(5644),
              LoadMessage(5645)});
    const QString gasTitle = GetGasTitle(log, 0, kMark);
    out.line({gasTitle, level(GasInfoItem::Warning), level(GasInfoItem::Alarm), kNotExported,
              kNotExported});
    out.empty();
    out.line(tableHeading(gasTitle));
    for (qint32 i = 0; i < count; ++i) {
        QStringList cells{QString::number(i + 1), ExportDate(log.DateTimes(i))};
        gas.sample(cells, log.value(0, i), ReadingCode::Lel, out.unitColumn());
        out.line(cells);
    }
}

void WriteSnapshotText(const ExportRequest &request, ExportSink &sink) {
    const clsSnapShot emptyLog;
    const clsSnapShot &log = request.logs.snapshot ? *request.logs.snapshot : emptyLog;
    TextWriter out(request, sink);
    const GasCells gas(log);
    const QString date = ExportDate(headerDate(log, LogHeaderItem::Dates));

    writeOpening(out, "Snap Shot", log);
    out.property(5607, date);
    writeIdentifiers(out, log);
    out.empty();
    out.line(tableHeading(GetGasTitle(log, 0, kMark)));
    out.line({QStringLiteral("1"), date, CheckOverRange(gas.value(log.GasValue(0)), gas.full)});
    const qint16 flags = SnapshotAlarmFlags(log);
    out.line({QString(), QString(), gas.value(AlarmBitsToCode(flags))});
}

} // namespace tq
