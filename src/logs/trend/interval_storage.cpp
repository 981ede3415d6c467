#include "core/database.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/log_schema.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/log_head_row.h"
#include "logs/trend/trend_duplicates.h"

#include <memory>

namespace tq {

namespace {

LogType logTypeOf(const LogHeader &header) {
    return header.Sampling != 0 ? LogType::BarHoleTrend : LogType::IntervalTrend;
}

} // namespace

void clsInterval::Update() {
    WriteDatabase();
}

bool clsInterval::CheckDuplicate(Database &db) const {
    return IsTrendStored(db, m_header, logTypeOf(m_header));
}

void clsInterval::WriteDatabase() {
    // A sampling-mode log without one numeric statistic holds nothing worth keeping.
    if (m_header.Sampling == 1 && !m_header.StoredValueSeen)
        return;
    Database db(m_context.DatabasePath);
    Transaction transaction(db);
    if (CheckDuplicate(db) || m_error)
        return;
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource,
                      QStringLiteral("The log %1 has no instrument").arg(m_header.Names));

    // The samples become the trend file now; a log of a stored log's name gets a name of its
    // own instead of overwriting that log's file.
    const bool named = !m_header.Names.isEmpty();
    if (named) {
        m_header.Names = FreeTrendName(db, m_context.DataFolder, m_header.Names, m_header.FolderID);
        transaction.attach(
            std::make_shared<StagedTrendFile>(trendFilePath(), m_trendFile.records()));
    }
    m_header.Dcount = static_cast<qint32>((named ? m_trendFile.recordCount() : 0) + m_eventCount);

    const qint64 key = db.nextKey(QStringLiteral("Log_Head"));
    insertHead(db, key);
    const qint64 firstEvent = db.nextKey(QStringLiteral("Interval_Event"));
    for (qint32 j = 0; j < m_eventCount; ++j) {
        const TrendEvent &e = eventAt(j);
        db.execute(QStringLiteral("Insert Into Interval_Event(SeqNo,RelNo,Datetimes,BaseDate,"
                                  "Gas1Event) Values (?,?,?,?,?)"),
                   {firstEvent + j, key, DateParam(e.EventDateTimes), DateParam(e.BaseDate),
                    e.GasEvent[0]});
    }
    transaction.commit();
}

void clsInterval::insertHead(Database &db, qint64 key) {
    InsertLogHead(db, key, m_header, m_gas[0], logTypeOf(m_header), m_instrument->RomNumber());
}

} // namespace tq
