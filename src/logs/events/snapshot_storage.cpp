// Storing a snapshot in the log database and reading it back.
#include "logs/events/clsSnapShot.h"
#include "logs/trend/log_head_row.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "core/log_schema.h"
#include "logs/events/head_columns.h"

#include <QFileInfo>

namespace tq {

namespace {

QVariant date(const Date &value) {
    return QVariant::fromValue(value);
}

// A snapshot reloads every Log_Head column it stores but Dcount.
const QStringList kSnapshotHeadColumns = {
    "Names",       "Dates",       "Last",       "UserID",      "StationID", "SerialNo",
    "FolderID",    "Interval",    "Sampling",   "LunchBreak",  "LEL_lo",    "LEL_hi",
    "ppm_lo",      "ppm_hi",      "vol_lo",     "vol_hi",      "Gas1Name",  "Gas1Full",
    "Gas1Desit",   "Gas1Point",   "Gas1Unit",   "Gas1Max",     "Gas1Min",   "Gas1Avr",
    "Gas1MaxDate", "Gas1MinDate", "Gas1Enable", "Gas1Warning", "Gas1Alarm", "Gas1Stel",
    "Gas1Twa",     "Gas1Ratio"};

} // namespace

bool clsSnapShot::LogHeadExists(Database &db) const {
    return db
        .scalar(QStringLiteral("Select SeqNo From Log_Head Where Dates=? And UserID=? And "
                               "SerialNo=? And StationID=? And Types=?"),
                {date(m_header.Dates), BlankToDashes(m_header.UserID, IdFieldKind::User),
                 BlankToDashes(m_header.SerialNo, IdFieldKind::Serial),
                 BlankToDashes(m_header.StationID, IdFieldKind::Station),
                 qint32(LogType::Snapshot)})
        .isValid();
}

void clsSnapShot::Update() {
    WriteDatabase();
}

void clsSnapShot::WriteDatabase() {
    Database db(m_databasePath);
    if (m_error || LogHeadExists(db))
        return;
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource,
                      QStringLiteral("The snapshot %1 has no instrument").arg(m_header.Names));

    const QString user = BlankToDashes(m_header.UserID, IdFieldKind::User);
    const QString station = BlankToDashes(m_header.StationID, IdFieldKind::Station);
    const QString serial = BlankToDashes(m_header.SerialNo, IdFieldKind::Serial);
    const GasInfo &gas = m_gas[0];

    Transaction transaction(db);
    const qint64 head = db.nextKey(QStringLiteral("Log_Head"));
    LogHeader headRow = m_header;
    headRow.Dcount = 1; // one reading per snapshot
    InsertLogHead(db, head, headRow, gas, LogType::Snapshot, m_instrument->RomNumber());

    const SnapReading &reading = m_readings[0];
    db.execute(QStringLiteral("Insert Into SnapShot (SeqNo,RelNo,UserID,StationID,SerialNo,"
                              "WriteDates,Dates,Gas1Name,Gas1Full,Gas1Desit,Gas1Point,Gas1Unit,"
                              "Gas1Enable,Gas1val,Gas1sts) Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
               {db.nextKey(QStringLiteral("SnapShot")), head, user, station, serial,
                date(Date::now()), date(m_header.Dates), BlankWhenEmpty(gas.Name), gas.Full,
                gas.Desit, gas.Point, BlankWhenEmpty(gas.Unit), gas.Enable, reading.Value[0],
                RoundToWhole<qint32>(reading.Status[0])});
    transaction.commit();
}

bool clsSnapShot::ReLoad() {
    const qint64 seqNo = m_seqNo;
    const QString key = m_key;
    const bool error = m_error;
    const bool duplicate = m_duplicate;
    ClearDatas();
    m_seqNo = seqNo;
    m_key = key;
    m_error = error;
    m_duplicate = duplicate;
    m_readings[0].Value[0] = ReadingCode::NoValue;
    m_readings[0].Status[0] = ReadingCode::NoValue;

    if (!QFileInfo::exists(m_databasePath))
        return false;
    Database db(m_databasePath);
    const std::optional<DbRow> head = QueryHeadRow(db, m_seqNo);
    if (!head)
        return false;
    ReadHeadColumns(*head, kSnapshotHeadColumns, m_header, m_gas[0]);

    const QList<DbRow> rows =
        db.query(QStringLiteral(
                     "Select Gas1val, Gas1sts From SnapShot Where RelNo=? Order By SeqNo Limit 1"),
                 {m_seqNo});
    if (!rows.isEmpty()) {
        const DbRow &row = rows.first();
        if (!row.isNull(QStringLiteral("Gas1val")))
            m_readings[0].Value[0] = static_cast<float>(row.real(QStringLiteral("Gas1val")));
        if (!row.isNull(QStringLiteral("Gas1sts")))
            m_readings[0].Status[0] = static_cast<float>(row.integer(QStringLiteral("Gas1sts")));
    }
    return true;
}

} // namespace tq
