// Storing a calibration, bump-test or sensor-change history and reading it back.
#include "logs/events/clsHistory.h"
#include "logs/trend/log_head_row.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "logs/events/head_columns.h"

#include <QFileInfo>

#include <utility>

namespace tq {

namespace {

using Columns = QList<std::pair<QString, QVariant>>;

// Empty texts are stored as one blank in the head row, as the log tables have always
QVariant date(const Date &value) {
    return QVariant::fromValue(value);
}

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

struct Identity {
    QString user;
    QString station;
    QString serial;
};

// The columns of a detail row of the kind that tell it apart from the head's other rows:
// the date, and for a sensor change also what changed (several may share a date).
Columns distinguishingColumns(HistoryKind kind, const Date &when, const HistoryEntry &cell) {
    Columns columns{{QStringLiteral("Dates"), date(when)}};
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

qint64 clsHistory::FindLogHead(Database &db) const {
    const QVariant key =
        db.scalar(QStringLiteral("Select SeqNo From Log_Head Where UserID=? And StationID=? And "
                                 "SerialNo=? And Types=? Order By SeqNo Limit 1"),
                  {BlankToDashes(m_header.UserID, IdFieldKind::User),
                   BlankToDashes(m_header.StationID, IdFieldKind::Station),
                   BlankToDashes(m_header.SerialNo, IdFieldKind::Serial),
                   qint32(HistoryStoreOf(kind()).type)});
    return key.isValid() ? key.toLongLong() : -1;
}

void clsHistory::HistoryUpdate() {
    Database db(m_databasePath);
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource, QStringLiteral("The history has no instrument"));
    const HistoryStore &store = HistoryStoreOf(kind());
    const GasInfo &gas = m_gas[0];

    Transaction transaction(db);
    // The head is replaced under its key inside the transaction, so it is never missing.
    qint64 head = FindLogHead(db);
    if (head < 0)
        head = db.nextKey(QStringLiteral("Log_Head"));
    else
        db.execute(QStringLiteral("Delete From Log_Head Where SeqNo=?"), {head});
    insertRow(
        db, QStringLiteral("Log_Head"),
        {{QStringLiteral("SeqNo"), head},
         {QStringLiteral("Names"), store.names},
         {QStringLiteral("Dates"), date(Date::now())},
         {QStringLiteral("LogNo"), m_header.LogNo},
         {QStringLiteral("UserID"), BlankToDashes(m_header.UserID, IdFieldKind::User)},
         {QStringLiteral("StationID"), BlankToDashes(m_header.StationID, IdFieldKind::Station)},
         {QStringLiteral("SerialNo"), BlankToDashes(m_header.SerialNo, IdFieldKind::Serial)},
         {QStringLiteral("Types"), qint32(store.type)},
         {QStringLiteral("RomNum"), m_instrument->RomNumber()},
         {QStringLiteral("Interval"), m_header.Interval},
         {QStringLiteral("Sampling"), qint32(kind())},
         {QStringLiteral("FolderID"), QStringLiteral("-----")},
         {QStringLiteral("Dcount"), m_header.Dcount},
         {QStringLiteral("LunchBreak"), m_header.LunchBreak},
         {QStringLiteral("LEL_lo"), m_header.LEL_lo},
         {QStringLiteral("LEL_hi"), m_header.LEL_hi},
         {QStringLiteral("ppm_lo"), m_header.ppm_lo},
         {QStringLiteral("ppm_hi"), m_header.ppm_hi},
         {QStringLiteral("vol_lo"), m_header.vol_lo},
         {QStringLiteral("vol_hi"), m_header.vol_hi},
         {QStringLiteral("Gas1Name"), BlankWhenEmpty(gas.Name)},
         {QStringLiteral("Gas1Full"), gas.Full},
         {QStringLiteral("Gas1Desit"), gas.Desit},
         {QStringLiteral("Gas1Enable"), gas.Enable},
         {QStringLiteral("Gas1Point"), gas.Point},
         {QStringLiteral("Gas1Unit"), BlankWhenEmpty(gas.Unit)},
         {QStringLiteral("Gas1Max"), gas.Max},
         {QStringLiteral("Gas1Avr"), gas.Avr},
         {QStringLiteral("Gas1Min"), gas.Min},
         {QStringLiteral("Gas1MaxDate"), date(gas.MaxDate)},
         {QStringLiteral("Gas1MinDate"), date(gas.MinDate)},
         {QStringLiteral("Gas1Warning"), gas.Warning},
         {QStringLiteral("Gas1Alarm"), gas.Alarm},
         {QStringLiteral("Gas1Stel"), gas.Stel},
         {QStringLiteral("Gas1Twa"), gas.Twa},
         {QStringLiteral("Gas1Ratio"), gas.Ratio}});
    storeEntries(db, head);
    transaction.commit();
}

void clsHistory::storeEntries(Database &db, qint64 head) const {
    if (m_dcount < 1)
        return;
    const HistoryKind k = kind();
    const QString &table = HistoryStoreOf(k).table;
    const QString user = BlankToDashes(m_header.UserID, IdFieldKind::User);
    const QString station = BlankToDashes(m_header.StationID, IdFieldKind::Station);
    const QString serial = BlankToDashes(m_header.SerialNo, IdFieldKind::Serial);
    qint64 key = db.nextKey(table);
    for (qint32 m = 0; m < m_dcount; ++m) {
        const HistoryEntry &cell = m_cells[0][m];
        if (detailExists(db, table, head, distinguishingColumns(k, m_dates[m], cell)))
            continue;
        insertRow(db, table,
                  Columns{{QStringLiteral("SeqNo"), key++},
                          {QStringLiteral("RelNo"), head},
                          {QStringLiteral("UserID"), user},
                          {QStringLiteral("StationID"), station},
                          {QStringLiteral("SerialNo"), serial},
                          {QStringLiteral("WriteDates"), date(Date::now())},
                          {QStringLiteral("Dates"), date(m_dates[m])}} +
                      detailColumns(k, m_gas[0], cell));
    }
}

bool clsHistory::ReLoad() {
    const QString key = m_key;
    const qint64 seqNo = m_seqNo;
    const std::shared_ptr<clsInstrument> instrument = m_instrument;
    const bool error = m_error;
    ClearDatas();
    m_key = key;
    m_seqNo = seqNo;
    m_instrument = instrument;
    m_error = error;

    if (!QFileInfo::exists(m_databasePath))
        return false;
    Database db(m_databasePath);
    const std::optional<DbRow> head = QueryHeadRow(db, m_seqNo);
    if (!head)
        return false;
    ReadHeadColumns(*head, kHistoryHeadColumns, m_header, m_gas[0]);

    const qint64 types =
        head->isNull(QStringLiteral("Types")) ? 0 : head->integer(QStringLiteral("Types"));
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
        HistoryEntry &cell = m_cells[0][n];
        cell.SeqNo = row.integer(QStringLiteral("SeqNo"));
        cell.GasName = row.text(QStringLiteral("Gas1Name"));
        if (detailKind == HistoryKind::SensorChange) {
            cell.Model = row.text(QStringLiteral("Gas1Model"));
            cell.SerialNo = row.text(QStringLiteral("Gas1SerialNO"));
            cell.Judge = integerOr(row, QStringLiteral("Gas1Change"));
            continue;
        }
        cell.Before = singleOr(row, QStringLiteral("Gas1Before"));
        cell.After = singleOr(row, QStringLiteral("Gas1After"));
        if (detailKind == HistoryKind::BumpTest)
            cell.Judge = integerOr(row, QStringLiteral("Gas1Judge"));
    }
    return true;
}

} // namespace tq
