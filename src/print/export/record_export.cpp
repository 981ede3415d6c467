#include "print/export/record_export.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/program_state.h"
#include "logs/events/clsHistory.h"
#include "logs/trend/gas_title.h"
#include "print/export/export_lines.h"

#include <functional>
#include <vector>

namespace tq {

using namespace exporting;

namespace {

QString exportDate(const std::optional<Date> &date) {
    return date ? ExportDate(*date) : QString();
}

// Title and the four header lines of every record list, then the empty line and the
// headings.
void writeHead(TextWriter &out, const char *kind, const QString &serialNo, const QString &stationId,
               const QString &userId, const QString &dates, const QStringList &headings) {
    out.line({QStringLiteral("TQ-6200 Data Sample (%1)").arg(QLatin1String(kind))});
    out.property(5608, serialNo);
    out.property(5609, stationId);
    out.property(5610, userId);
    out.property(5668, dates);
    out.empty();
    out.line(QStringList{LoadMessage(5620), LoadMessage(5621)} + headings);
}

QString judgement(float judge) {
    if (judge == 2)
        return QStringLiteral("PASS");
    if (judge == 1)
        return QStringLiteral("FAIL");
    return kNoLevel;
}

// One stored event list: its table, title, headings and the cells of a row after the
// number and the date.
struct EventKind {
    qint32 logType;
    const char *table;
    const char *title;
    QStringList headings;
    std::function<QStringList(const DbRow &)> cells;
};

const std::vector<EventKind> &eventKinds() {
    static const auto gasEvent = [](const DbRow &row) {
        return QStringList{row.text(QStringLiteral("GasName")), EntryEventWord(row)};
    };
    static const std::vector<EventKind> kinds = {
        {5,
         "Alarm_Event",
         "Alarm Events",
         {QStringLiteral("Gas"), QStringLiteral("Event")},
         gasEvent},
        {6,
         "Trouble_Event",
         "Trouble Events",
         {QStringLiteral("Gas/Body"), QStringLiteral("Event")},
         gasEvent},
        {7,
         "Power_Event",
         "Power Events",
         {QStringLiteral("Power")},
         [](const DbRow &row) { return QStringList{EntryPowerWord(row)}; }},
        {12,
         "SensorChange",
         "Sensor History",
         {QStringLiteral("SensorNO"), QStringLiteral("Model"), QStringLiteral("Gas")},
         [](const DbRow &row) {
             return QStringList{row.text(QStringLiteral("Gas1SerialNO")),
                                row.text(QStringLiteral("Gas1Model")), EntryGasTitle(row, kMark)};
         }},
    };
    return kinds;
}

const EventKind *eventKindOf(qint32 logType) {
    for (const EventKind &k : eventKinds()) {
        if (k.logType == logType)
            return &k;
    }
    return nullptr;
}

} // namespace

QString EntryEventWord(const DbRow &row) {
    return StatusCodeText(row.requiredInteger<qint16>(QStringLiteral("Alarm_Type")));
}

QString EntryPowerWord(const DbRow &row) {
    return row.requiredBoolean(QStringLiteral("Power_Type")) ? QStringLiteral("ON")
                                                             : QStringLiteral("OFF");
}

QString EntryGasTitle(const DbRow &row, const QString &mark) {
    const QString name = row.text(QStringLiteral("Gas1Name"));
    const QString unit = row.text(QStringLiteral("Gas1Unit"));
    // A gas without a name has a title without its scale: nothing else is read.
    if (name.trimmed().isEmpty())
        return MakeGasTitle(name, unit, 0, 0, mark);
    return MakeGasTitle(name, unit, row.requiredSingle(QStringLiteral("Gas1Full")),
                        row.requiredInteger<qint16>(QStringLiteral("Gas1Point")), mark);
}

std::optional<Date> StoredDate(const DbRow &row, const QString &column) {
    if (row.isNull(column))
        return std::nullopt;
    return row.date(column);
}

QStringList EntryCells(qint64 n, const std::function<QStringList()> &cells) {
    try {
        return cells();
    } catch (const TqError &error) {
        throw TqError(ErrorKind::TypeMismatch,
                      LoadMessage(30104, {QString::number(n), error.message()}));
    }
}

DbRow EventLogHead(Database &db, qint64 seqNo) {
    const QList<DbRow> heads = db.query(
        QStringLiteral(
            "Select SeqNo, SerialNo, StationID, UserID, Dates From Log_Head Where SeqNo=?"),
        {seqNo});
    // The header of a log that is not stored cannot be written: never a text of nothing.
    if (heads.isEmpty())
        throw TqError(ErrorKind::Database,
                      QStringLiteral("The log %1 is not in the database").arg(seqNo));
    return heads.first();
}

QList<DbRow> EventLogRows(Database &db, qint32 logType, qint64 relNo) {
    const EventKind *kind = eventKindOf(logType);
    if (!kind)
        return {};
    // Newest first; entries of one second keep the order they were stored in.
    return db.query(QStringLiteral("Select * From %1 Where RelNo=? Order By Dates Desc, SeqNo Asc")
                        .arg(QLatin1String(kind->table)),
                    {relNo});
}

void WriteHistoryText(const ExportRequest &request, ExportSink &sink) {
    const clsHistory emptyLog;
    const clsHistory &log = request.logs.history ? *request.logs.history : emptyLog;
    const bool bump = request.logType == 10;
    TextWriter out(request, sink);
    const GasCells gas(log);
    const auto header = [&](LogHeaderItem code) { return log.GasBaseInfo(qint32(code)); };

    writeHead(out, bump ? "Bump Test" : "Cal. History", header(LogHeaderItem::SerialNo).toString(),
              header(LogHeaderItem::StationID).toString(), header(LogHeaderItem::UserID).toString(),
              ExportDate(header(LogHeaderItem::Dates).value<Date>()),
              {QString(), GetGasTitle(log, 0, kMark)});
    // A reading with its unit in one cell, as on the first line of every entry.
    const auto reading = [&](QStringList cells, float value) {
        gas.sample(cells, value, ReadingCode::Lel, false);
        return cells;
    };
    const qint32 count = log.DataCount();
    for (qint32 i = 0; i < count; ++i) {
        const QString number = QString::number(i + 1);
        const QString date = ExportDate(log.Dates(i));
        if (bump) {
            out.line(reading({number, date, LoadMessage(5682)}, log.Before(0, i)));
            out.line(reading({QString(), QString(), LoadMessage(5681)}, log.After(0, i)));
            out.line({QString(), QString(), LoadMessage(5683), judgement(log.Judge(0, i))});
        } else {
            out.line(reading({number, date, LoadMessage(5633)}, log.Before(0, i)));
            out.line(reading({QString(), QString(), LoadMessage(5634)}, log.After(0, i)));
        }
    }
}

void WriteEventText(const ExportRequest &request, ExportSink &sink) {
    const EventKind *kind = eventKindOf(request.logType);
    if (!kind)
        return;
    Database db(Globals().DatabasePath);
    const DbRow head = EventLogHead(db, request.seqNo);
    TextWriter out(request, sink);
    writeHead(out, kind->title, head.text(QStringLiteral("SerialNo")),
              head.text(QStringLiteral("StationID")), head.text(QStringLiteral("UserID")),
              exportDate(StoredDate(head, QStringLiteral("Dates"))), kind->headings);
    const QList<DbRow> rows = EventLogRows(db, request.logType, request.seqNo);
    qint64 number = 0;
    for (const DbRow &row : rows) {
        ++number;
        out.line(EntryCells(number, [&] {
            return QStringList{QString::number(number),
                               exportDate(StoredDate(row, QStringLiteral("Dates")))} +
                   kind->cells(row);
        }));
    }
}

} // namespace tq
