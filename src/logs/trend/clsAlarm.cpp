#include "logs/trend/clsAlarm.h"

#include "core/gas_format.h"
#include "logs/trend/alarm_area.h"
#include "logs/trend/flash_image.h"

#include <algorithm>

namespace tq {

namespace {

constexpr float kNoValue = ReadingCode::NoValue;

bool inTable(qint32 index) {
    return index >= 0 && index < clsAlarm::kMaxDataCount;
}

} // namespace

clsAlarm::clsAlarm() : HeadedLog(LogHeaderItem::Last) {
    ClearDatas();
}

void clsAlarm::ClearDatas() {
    m_sampleCounters[0] = 0;
    m_trendFile.clear();
    m_trendFileCheck = {};
    m_error = false;
    m_duplicate = false;
    m_key.clear();
    m_seqNo = 0;
    m_dataCount = 0;
    clearHeader();
    for (qint32 i = 0; i < kMaxDataCount; ++i) {
        m_samples[i].number = 0;
        m_samples[i].value[0] = 0;
    }
}

Date clsAlarm::DateTimes(qint32 index) const {
    return inTable(index) ? m_samples[index].time : Date();
}

void clsAlarm::setDateTimes(qint32 index, const Date &time) {
    if (inTable(index))
        m_samples[index].time = time;
}

float clsAlarm::value(qint32 gasNo, qint32 index) const {
    return gasNo == 0 && inTable(index) ? m_samples[index].value[0] : 0.0f;
}

void clsAlarm::setValue(qint32 /*gasNo*/, qint32 index, float value) {
    // Only slot 0 carries samples, whatever slot the caller names.
    if (inTable(index))
        m_samples[index].value[0] = value;
}

void clsAlarm::setDataCount(qint16 count) {
    m_dataCount = std::min(count, kMaxDataCount);
}

bool clsAlarm::SetHeader(const QByteArray &vData, qint32 &st) {
    DecodeLogHeader(vData, st, m_header, m_gas, kAlarmHeaderOptions);
    makeTrendFolders();
    return true;
}

bool clsAlarm::SetData(const QByteArray &vData, qint32 &st, qint16 Apnt) {
    const bool hasValue = (ByteAt(vData, st + 1) & 1) != 0;
    st += 2;
    const qint32 record = ++m_sampleCounters[0];
    const Date time = m_header.Dates.addSeconds(qint64(Apnt) * m_header.Interval);
    float sample = kNoValue;
    if (hasValue) {
        const qint16 code = BytePairCode(ByteAt(vData, st), ByteAt(vData, st + 1));
        // A header without gas slot 0 gives no decimals to scale a count with: such a
        // count is no value rather than a number out of range.
        if (code != 0)
            sample = code;
        else if (m_gas[0].Point >= 0)
            sample = ReadCodedValue(vData, st, m_gas[0].Point);
    }
    m_trendFile.PutTrendPoint(record, time, sample);
    st += kAlarmSampleSize - 2;
    return true;
}

} // namespace tq
