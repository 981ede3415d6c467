// Storing a snapshot in the log database and reading it back.
#include "logs/events/clsSnapShot.h"
#include "logs/trend/log_head_row.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/log_schema.h"

namespace tq {

namespace {

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
    const EventIdentity id = headerIdentity();
    return db
        .scalar(
            QStringLiteral("Select SeqNo From Log_Head Where Dates=? And UserID=? And "
                           "SerialNo=? And StationID=? And Types=?"),
            {DateParam(m_header.Dates), id.user, id.serial, id.station, qint32(LogType::Snapshot)})
        .isValid();
}

void clsSnapShot::Update() {
    WriteDatabase();
}

void clsSnapShot::WriteDatabase() {
    Database db(m_context.DatabasePath);
    if (m_error || LogHeadExists(db))
        return;
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource,
                      QStringLiteral("The snapshot %1 has no instrument").arg(m_header.Names));

    const EventIdentity id = headerIdentity();
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
               {db.nextKey(QStringLiteral("SnapShot")), head, id.user, id.station, id.serial,
                DateParam(Date::now()), DateParam(m_header.Dates), BlankWhenEmpty(gas.Name),
                gas.Full, gas.Desit, gas.Point, BlankWhenEmpty(gas.Unit), gas.Enable,
                reading.Value[0], RoundToWhole<qint32>(reading.Status[0])});
    transaction.commit();
}

bool clsSnapShot::ReLoad() {
    clearHeader();
    m_readings[0].Value[0] = ReadingCode::NoValue;
    m_readings[0].Status[0] = ReadingCode::NoValue;
    return reloadHead(kSnapshotHeadColumns,
                      [this](Database &db, const DbRow &) { readReading(db); });
}

void clsSnapShot::readReading(Database &db) {
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
}

} // namespace tq
