#include "logs/events/event_log_base.h"

#include "core/errors.h"
#include "core/id_helpers.h"
#include "logs/events/head_columns.h"

#include <QFileInfo>

namespace tq {

EventIdentity HeadedLogBase::headerIdentity() const {
    return {BlankToDashes(m_header.UserID, IdFieldKind::User),
            BlankToDashes(m_header.StationID, IdFieldKind::Station),
            BlankToDashes(m_header.SerialNo, IdFieldKind::Serial)};
}

bool HeadedLogBase::reloadHead(const QStringList &columns,
                               const std::function<void(Database &, const DbRow &)> &details) {
    if (!QFileInfo::exists(m_context.DatabasePath))
        return false;
    Database db(m_context.DatabasePath);
    const std::optional<DbRow> row = QueryHeadRow(db, m_seqNo);
    if (!row)
        return false;
    ReadHeadColumns(*row, columns, m_header, m_gas[0]);
    if (details)
        details(db, *row);
    return true;
}

void EventLogBase::clearLog() {
    m_seqNo = 0;
    m_dataCount = 0;
    clearHeader();
}

qint32 EventLogBase::nextEntryIndex(const QString &logName) const {
    if (m_dataCount < 0 || m_dataCount >= kEntryCount)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("The %1 holds %2 entries").arg(logName).arg(m_dataCount));
    return m_dataCount;
}

void EventLogBase::setBoundedDataCount(qint16 count) {
    m_dataCount = count >= kReachableEntries ? kReachableEntries : count;
}

EventIdentity EventLogBase::instrumentIdentity() const {
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource,
                      QStringLiteral("The power-event log has no instrument"));
    return {BlankToDashes(m_instrument->UserID(), IdFieldKind::User),
            BlankToDashes(m_instrument->StationID(), IdFieldKind::Station),
            BlankToDashes(m_instrument->SerialNo(), IdFieldKind::Serial)};
}

} // namespace tq
