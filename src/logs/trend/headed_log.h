#pragma once

#include "core/instrument/clsInstrument.h"
#include "logs/trend/log_header.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace tq {

// What every log read from the detector keeps: the collection key, the Log_Head key, the
// error flag, the instrument, the log header with gas slots 0 and 1 and the database the
// log is stored in, with the header and gas accessors by item code.
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
    QString databasePath() const { return m_databasePath; }

protected:
    // absentItem: the header item this kind of log does not have, if any.
    explicit HeadedLog(std::optional<LogHeaderItem> absentItem) : m_absentItem(absentItem) {}
    ~HeadedLog() = default;

    // The header and gas slot 0 back to a new log's; takes the program's current
    // DatabasePath. Key, SeqNo, Error, Instrument and gas slot 1 are kept.
    void clearHeader();

    QString m_key;
    qint64 m_seqNo = 0;
    QString m_databasePath;
    std::shared_ptr<clsInstrument> m_instrument;
    bool m_error = false;
    LogHeader m_header;
    GasSlots m_gas;

private:
    bool isAbsent(qint32 type) const { return m_absentItem && qint32(*m_absentItem) == type; }

    std::optional<LogHeaderItem> m_absentItem;
};

} // namespace tq
