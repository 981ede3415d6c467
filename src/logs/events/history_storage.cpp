// Storing a calibration, bump-test or sensor-change history and reading it back.
#include "logs/events/clsHistory.h"
#include "logs/trend/log_head_row.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/events/event_store.h"

#include <utility>

namespace tq {

namespace {

using Columns = QList<std::pair<QString, QVariant>>;

QString placeholders(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(QLatin1Char(','));
}

// Inserts one row; the column names are this program's own, every value is bound.
void insertRow(Database &db, const QString &table, const Columns &columns) {
    QStringList names;
    QVariantList values;
    for (const auto &[name, value] : columns) {
        names.append(name);
        values.append(value);
    }
    db.execute(QStringLiteral("Insert Into %1 (%2) Values (%3)")
                   .arg(table, names.join(QLatin1Char(',')), placeholders(names.size())),
               values);
}

// The columns of a detail row of the kind that tell it apart from the head's other rows:
// the date, and for a sensor change also what changed (several may share a date).
Columns distinguishingColumns(HistoryKind kind, const Date &when, const HistoryEntry &cell) {
    Columns columns{{QStringLiteral("Dates"), DateParam(when)}};
    if (kind == HistoryKind::SensorChange)
        columns += Columns{{QStringLiteral("Gas1Change"), cell.Judge},
                           {QStringLiteral("Gas1Model"), cell.Model},
                           {QStringLiteral("Gas1SerialNO"), cell.SerialNo}};
    return columns;
}

// The columns a detail row holds beyond its keys, identity and dates.
Columns detailColumns(HistoryKind kind, const GasInfo &gas, const HistoryEntry &cell) {
    Columns columns{{QStringLiteral("Gas1Name"), gas.Name}};
    if (kind == HistoryKind::SensorChange)
        return columns + Columns{{QStringLiteral("Gas1Full"), gas.Full},
                                 {QStringLiteral("Gas1Desit"), gas.Desit},
                                 {QStringLiteral("Gas1Point"), gas.Point},
                                 {QStringLiteral("Gas1Unit"), gas.Unit},
                                 {QStringLiteral("Gas1Change"), cell.Judge},
                                 {QStringLiteral("Gas1Model"), cell.Model},
                                 {QStringLiteral("Gas1SerialNO"), cell.SerialNo}};
    columns += Columns{
        {QStringLiteral("Gas1Desit"), gas.Desit},    {QStringLiteral("Gas1Point"), gas.Point},
        {QStringLiteral("Gas1Unit"), gas.Unit},      {QStringLiteral("Gas1Enable"), gas.Enable},
        {QStringLiteral("Gas1Before"), cell.Before}, {QStringLiteral("Gas1After"), cell.After}};
    if (kind == HistoryKind::BumpTest)
        columns.append({QStringLiteral("Gas1Judge"), cell.Judge});
    return columns;
}

bool detailExists(Database &db, const QString &table, qint64 head, const Columns &columns) {
    QString sql = QStringLiteral("Select 1 From %1 Where RelNo=?").arg(table);
    QVariantList values{head};
    for (const auto &[name, value] : columns) {
        sql += QStringLiteral(" And %1=?").arg(name);
        values.append(value);
    }
    return db.scalar(sql + QStringLiteral(" Limit 1"), values).isValid();
}

// The Log_Head columns a history reloads.
const QStringList kHistoryHeadColumns = {"UserID",    "StationID",  "SerialNo", "FolderID",
                                         "Dates",     "Gas1Name",   "Gas1Full", "Gas1Desit",
                                         "Gas1Point", "Gas1Enable", "Gas1Unit"};

float singleOr(const DbRow &row, const QString &column) {
    return row.isNull(column) ? float(ReadingCode::NoValue) : static_cast<float>(row.real(column));
}
qint16 integerOr(const DbRow &row, const QString &column) {
    return row.isNull(column) ? ReadingCode::NoValue
                              : RoundToWhole<qint16>(double(row.integer(column)));
}

// The kind whose heads carry Types; any other value reads the sensor changes.
HistoryKind kindOfType(qint64 types) {
    for (const HistoryKind kind : {HistoryKind::Calibration, HistoryKind::BumpTest}) {
        if (qint64(HistoryStoreOf(kind).type) == types)
            return kind;
    }
    return HistoryKind::SensorChange;
}

} // namespace

void clsHistory::HistoryUpdate() {
    Database db(m_context.DatabasePath);
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource, QStringLiteral("The history has no instrument"));
    const HistoryStore &store = HistoryStoreOf(kind());
    const EventIdentity id = headerIdentity();

    Transaction transaction(db);
    // The head is replaced under its key inside the transaction, so it is never missing.
    const std::optional<qint64> found = FindEventHead(db, id, store.type);
    const qint64 head = found ? *found : db.nextKey(QStringLiteral("Log_Head"));
    if (found)
        db.execute(QStringLiteral("Delete From Log_Head Where SeqNo=?"), {head});
    InsertLogHead(db, head,
                  EventHeadItems(store.names, Date::now(), id, m_header.LogNo, qint32(kind())),
                  m_header, m_gas[0], store.type, m_instrument->RomNumber());
    storeEntries(db, head, id);
    transaction.commit();
}

void clsHistory::storeEntries(Database &db, qint64 head, const EventIdentity &id) const {
    if (m_dcount < 1)
        return;
    const HistoryKind k = kind();
    const QString &table = HistoryStoreOf(k).table;
    qint64 key = db.nextKey(table);
    for (qint32 m = 0; m < m_dcount; ++m) {
        const HistoryEntry &cell = entry(0, m);
        if (detailExists(db, table, head, distinguishingColumns(k, m_dates[m], cell)))
            continue;
        insertRow(db, table,
                  Columns{{QStringLiteral("SeqNo"), key++},
                          {QStringLiteral("RelNo"), head},
                          {QStringLiteral("UserID"), id.user},
                          {QStringLiteral("StationID"), id.station},
                          {QStringLiteral("SerialNo"), id.serial},
                          {QStringLiteral("WriteDates"), DateParam(Date::now())},
                          {QStringLiteral("Dates"), DateParam(m_dates[m])}} +
                      detailColumns(k, m_gas[0], cell));
    }
}

bool clsHistory::ReLoad() {
    clearEntries();
    return reloadHead(kHistoryHeadColumns,
                      [this](Database &db, const DbRow &head) { readEntries(db, head); });
}

void clsHistory::readEntries(Database &db, const DbRow &head) {
    const qint64 types =
        head.isNull(QStringLiteral("Types")) ? 0 : head.integer(QStringLiteral("Types"));
    const HistoryKind detailKind = kindOfType(types);
    // Newest first; the table keeps the newest rows when there are more.
    const QList<DbRow> rows = db.query(
        QStringLiteral("Select * From %1 Where RelNo=? Order By Dates Desc, SeqNo Desc Limit %2")
            .arg(HistoryStoreOf(detailKind).table)
            .arg(kEntries),
        {m_seqNo});
    m_dataCount = qint32(rows.size());
    for (qint32 n = 0; n < m_dataCount; ++n) {
        const DbRow &row = rows[n];
        m_dates[n] =
            row.isNull(QStringLiteral("Dates")) ? Date::now() : row.date(QStringLiteral("Dates"));
        HistoryEntry &target = cell(0, n);
        target.SeqNo = row.integer(QStringLiteral("SeqNo"));
        target.GasName = row.text(QStringLiteral("Gas1Name"));
        if (detailKind == HistoryKind::SensorChange) {
            target.Model = row.text(QStringLiteral("Gas1Model"));
            target.SerialNo = row.text(QStringLiteral("Gas1SerialNO"));
            target.Judge = integerOr(row, QStringLiteral("Gas1Change"));
            continue;
        }
        target.Before = singleOr(row, QStringLiteral("Gas1Before"));
        target.After = singleOr(row, QStringLiteral("Gas1After"));
        if (detailKind == HistoryKind::BumpTest)
            target.Judge = integerOr(row, QStringLiteral("Gas1Judge"));
    }
}

} // namespace tq
