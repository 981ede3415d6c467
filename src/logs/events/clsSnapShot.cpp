#include "logs/events/clsSnapShot.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/flash_image.h"
#include "logs/trend/log_items.h"

#include <algorithm>

namespace tq {

namespace {

// Snapshot headers: named "ss...", gas codes 50..55 name slots too, the serial number is
// taken as it is, and a range pair DD DD reads -121.
const LogHeaderOptions kSnapshotHeaderOptions{QStringLiteral("ss"), true, true, false, true};

constexpr qint32 kRecordSize = 17;

void checkIndex(qint32 index, const char *what) {
    if (index < 0 || index >= clsSnapShot::kReadings)
        throw TqError(
            ErrorKind::SubscriptOutOfRange,
            QStringLiteral("A snapshot has no %1 %2").arg(QLatin1String(what)).arg(index));
}

float singleValue(const QVariant &value) {
    return static_cast<float>(RequiredNumber(value, QStringLiteral("The value is no number")));
}

} // namespace

clsSnapShot::clsSnapShot() : HeadedLogBase(LogHeaderItem::Dcount) {
    ClearDatas();
}

void clsSnapShot::ClearDatas() {
    m_duplicate = false;
    m_error = false;
    m_key.clear();
    m_seqNo = 0;
    clearHeader();
}

float clsSnapShot::GasEvent(qint32 gasNo, qint32 reading) const {
    checkIndex(gasNo, "gas slot");
    checkIndex(reading, "reading");
    return m_readings[reading].Status[gasNo];
}

void clsSnapShot::setGasEvent(qint32 gasNo, qint32 reading, const QVariant &value) {
    checkIndex(gasNo, "gas slot");
    checkIndex(reading, "reading");
    m_readings[reading].Status[gasNo] = singleValue(value);
}

float clsSnapShot::GasValue(qint32 gasNo) const {
    checkIndex(gasNo, "gas slot");
    return m_readings[0].Value[gasNo];
}

void clsSnapShot::setGasValue(qint32 gasNo, const QVariant &value) {
    checkIndex(gasNo, "gas slot");
    m_readings[0].Value[gasNo] = singleValue(value);
}

bool clsSnapShot::SetHeader(const QByteArray &vData, qint32 &st) {
    DecodeLogHeader(vData, st, m_header, m_gas, kSnapshotHeaderOptions);
    m_header.Last = Date::now();
    return true;
}

bool clsSnapShot::SetData(const QByteArray &vData, qint32 &st, qint16 /*Tfno*/) {
    const quint16 raw = ReadBE16(vData, st);
    const quint8 status = ByteAt(vData, st + 2);
    const qint16 code = BytePairCode(quint8(raw >> 8), quint8(raw & 0xFF));
    const qint16 point = m_gas[0].Point;
    float value = 0;
    if (code != 0)
        value = code;
    else if (point < 0 && raw != 0)
        value = ReadingCode::NoValue; // no gas information: the number has no scale
    else
        value = ReadCodedValue(vData, st, std::max<qint16>(point, 0));
    m_readings[0].Value[0] = value;
    m_readings[0].Status[0] = status;
    st += kRecordSize;
    return true;
}

} // namespace tq
