#include "logs/events/event_log_base.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/id_helpers.h"
#include "core/program_state.h"
#include "logs/events/head_columns.h"
#include "logs/trend/log_items.h"

#include <QFileInfo>

namespace tq {

namespace {
constexpr qint32 kLastItem = static_cast<qint32>(LogHeaderItem::Last);
} // namespace

QVariant HeadedLogBase::GasBaseInfo(qint32 type) const {
    return type == kLastItem ? NullVariant() : GetHeaderItem(m_header, type);
}

void HeadedLogBase::setGasBaseInfo(qint32 type, const QVariant &value) {
    if (type != kLastItem)
        SetHeaderItem(m_header, type, value);
}

QVariant HeadedLogBase::GasListInfo(qint32 gasNo, qint32 type) const {
    return gasNo == 0 ? GetGasItem(m_gas[0], type) : QVariant();
}

void HeadedLogBase::setGasListInfo(qint32 gasNo, qint32 type, const QVariant &value) {
    if (gasNo == 0)
        SetGasItem(m_gas[0], type, value);
}

void EventLogBase::clearHeader() {
    m_seqNo = 0;
    m_dataCount = 0;
    m_header.clear();
    m_gas[0].clear();
    m_databasePath = Globals().DatabasePath;
}

bool EventLogBase::reloadHead(const QStringList &columns) {
    if (!QFileInfo::exists(m_databasePath))
        return false;
    Database db(m_databasePath);
    const std::optional<DbRow> row = QueryHeadRow(db, m_seqNo);
    if (!row)
        return false;
    ReadHeadColumns(*row, columns, m_header, m_gas[0]);
    return true;
}

void EventLogBase::setBoundedDataCount(qint16 count) {
    m_dataCount = count >= kReachableEntries ? kReachableEntries : count;
}

EventIdentity HeadedLogBase::headerIdentity() const {
    return {BlankToDashes(m_header.UserID, IdFieldKind::User),
            BlankToDashes(m_header.StationID, IdFieldKind::Station),
            BlankToDashes(m_header.SerialNo, IdFieldKind::Serial)};
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
