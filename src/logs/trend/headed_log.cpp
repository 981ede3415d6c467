#include "logs/trend/headed_log.h"

#include "logs/trend/log_items.h"
#include "logs/trend/trend_file.h"

namespace tq {

QVariant HeadedLog::GasBaseInfo(qint32 type) const {
    return isAbsent(type) ? NullVariant() : GetHeaderItem(m_header, type);
}

void HeadedLog::setGasBaseInfo(qint32 type, const QVariant &value) {
    if (!isAbsent(type))
        SetHeaderItem(m_header, type, value);
}

QVariant HeadedLog::GasListInfo(qint32 gasNo, qint32 type) const {
    return gasNo == 0 ? GetGasItem(m_gas[0], type) : QVariant();
}

void HeadedLog::setGasListInfo(qint32 gasNo, qint32 type, const QVariant &value) {
    if (gasNo == 0)
        SetGasItem(m_gas[0], type, value);
}

void HeadedLog::clearHeader() {
    m_header.clear();
    m_gas[0].clear();
}

QString HeadedLog::trendFilePath() const {
    return TrendFilePath(m_context.DataFolder, m_header.FolderID, m_header.Names);
}

void HeadedLog::makeTrendFolders() const {
    MakeTrendFolders(m_context.DataFolder, m_header.FolderID);
}

} // namespace tq
