#pragma once

#include "core/instrument/clsInstrument.h"
#include "core/store_context.h"
#include "logs/trend/log_header.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace tq {

// What every log read from the detector keeps: the collection key, the Log_Head key, the
// error flag, the instrument, the log header with gas slots 0 and 1 and the store the log
// is kept in (its database, trend files and program folder), with the header and gas
// accessors by item code.
class HeadedLog {
public:
    QString Key() const { return m_key; }
    void setKey(const QString &key) { m_key = key; }
    qint64 SeqNo() const { return m_seqNo; }
    void setSeqNo(qint64 seqNo) { m_seqNo = seqNo; }
    bool Error() const { return m_error; }
    void setError(bool value) { m_error = value; }
    std::shared_ptr<clsInstrument> Instrument() const { return m_instrument; }
    void setInstrument(std::shared_ptr<clsInstrument> instrument) {
        m_instrument = std::move(instrument);
    }

    // A header item by LogHeaderItem code: Null for an unknown code and for the item this
    // kind of log does not have, whose lets do nothing. Conversion failures of a let throw
    // TqError.
    QVariant GasBaseInfo(qint32 type) const;
    void setGasBaseInfo(qint32 type, const QVariant &value);
    // An item of gas slot 0 by GasInfoItem code; Empty for any other slot (its let does
    // nothing), Null for an unknown code.
    QVariant GasListInfo(qint32 gasNo, qint32 type) const;
    void setGasListInfo(qint32 gasNo, qint32 type, const QVariant &value);

    const LogHeader &header() const { return m_header; }
    const GasInfo &gas(qint32 slot) const { return m_gas.at(slot); }
    // The store the log is decoded for, stored in and reloaded from; a clear keeps it.
    const StoreContext &context() const { return m_context; }
    void setContext(const StoreContext &context) { m_context = context; }

protected:
    // absentItem: the header item this kind of log does not have, if any.
    explicit HeadedLog(std::optional<LogHeaderItem> absentItem) : m_absentItem(absentItem) {}
    ~HeadedLog() = default;

    // The header and gas slot 0 back to a new log's. Key, SeqNo, Error, Instrument, the
    // store and gas slot 1 are kept.
    void clearHeader();
    // The trend file of the header's FolderID and Names in the store's data folder.
    QString trendFilePath() const;
    // Creates the month folders of the header's FolderID; throws TqError(File).
    void makeTrendFolders() const;

    QString m_key;
    qint64 m_seqNo = 0;
    StoreContext m_context;
    std::shared_ptr<clsInstrument> m_instrument;
    bool m_error = false;
    LogHeader m_header;
    GasSlots m_gas;

private:
    bool isAbsent(qint32 type) const { return m_absentItem && qint32(*m_absentItem) == type; }

    std::optional<LogHeaderItem> m_absentItem;
};

} // namespace tq
