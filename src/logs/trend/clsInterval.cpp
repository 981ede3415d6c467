#include "logs/trend/clsInterval.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/log_items.h"

namespace tq {

namespace {

constexpr float kNoValue = ReadingCode::NoValue;

[[noreturn]] void throwSubscript(const char *what, qint32 index) {
    throw TqError(ErrorKind::SubscriptOutOfRange,
                  QStringLiteral("%1 %2 is out of range").arg(QLatin1String(what)).arg(index));
}

void checkSlot(qint32 slot, qint32 slotCount) {
    if (slot < 0 || slot >= slotCount)
        throwSubscript("Gas slot", slot);
}

const Date kSearchFloor = Date::fromParts(1998, 1, 1);
const Date kSearchCeiling = Date::fromParts(2199, 1, 1);

// The first entry from strDim to count - 1 whose time lies after dates; of several with the
// earliest such time, the last. -1 when there is none.
template <typename Entries, typename TimeOf>
qint32 searchAfter(const Entries &entries, qint32 count, const Date &dates, qint32 strDim,
                   TimeOf timeOf) {
    qint32 found = -1;
    for (qint32 i = std::max(strDim, 0); i < count; ++i) {
        const Date t = timeOf(entries[i]);
        if (t > dates && (found < 0 || t <= timeOf(entries[found])))
            found = i;
    }
    return found;
}

} // namespace

clsInterval::clsInterval() : HeadedLog(std::nullopt) {
    m_gas[1].clear();
    ClearDatas();
}

void clsInterval::ClearDatas() {
    m_key.clear();
    m_seqNo = 0;
    m_dataCount = 0;
    m_eventCount = 0;
    m_duplicate = false;
    m_error = false;
    m_sampleCounters.fill(0);
    clearHeader();
    m_trendFile.clear();
    m_trendFileCheck = {};
}

TrendSample &clsInterval::sampleEntry(qint32 index) {
    if (index < 0 || index >= kSampleEntries)
        throwSubscript("Sample entry", index);
    if (index >= qint32(m_samples.size()))
        m_samples.resize(index + 1);
    return m_samples[index];
}

TrendEvent &clsInterval::eventEntry(qint32 index) {
    if (index < 0 || index >= kEventEntries)
        throwSubscript("Event entry", index);
    if (index >= qint32(m_events.size()))
        m_events.resize(index + 1);
    return m_events[index];
}

const TrendSample &clsInterval::sampleAt(qint32 index) const {
    static const TrendSample fresh{};
    return index >= 0 && index < qint32(m_samples.size()) ? m_samples[index] : fresh;
}

const TrendEvent &clsInterval::eventAt(qint32 index) const {
    static const TrendEvent fresh{};
    return index >= 0 && index < qint32(m_events.size()) ? m_events[index] : fresh;
}

void clsInterval::setDataCount(qint32 count) {
    if (count >= 0 && count < kSampleEntries - 1)
        m_dataCount = count;
}

Date clsInterval::DateTimes(qint32 index) const {
    return validSample(index) ? sampleAt(index).DateTimes : Date();
}

void clsInterval::setDateTimes(qint32 index, const Date &time) {
    if (validSample(index))
        sampleEntry(index).DateTimes = time;
}

QVariant clsInterval::GasValue(qint32 gasNo, qint32 index) const {
    if (!validSample(index))
        return {};
    checkSlot(gasNo, kSampleSlots);
    return sampleAt(index).GasValue[gasNo];
}

void clsInterval::setGasValue(qint32 gasNo, qint32 index, const QVariant &value) {
    if (!validSample(index))
        return;
    checkSlot(gasNo, kSampleSlots);
    const double number = RequiredNumber(value, QStringLiteral("A gas value must be a number"));
    sampleEntry(index).GasValue[gasNo] = static_cast<float>(number);
}

Date clsInterval::StartTime(qint32 index) const {
    return validSample(index) ? sampleAt(index).StartTime : Date();
}

void clsInterval::setStartTime(qint32 index, const Date &time) {
    if (validSample(index))
        sampleEntry(index).StartTime = time;
}

Date clsInterval::EventDateTimes(qint32 index) const {
    return validEvent(index) ? eventAt(index).EventDateTimes : Date();
}

void clsInterval::setEventDateTimes(qint32 index, const Date &time) {
    if (validEvent(index))
        eventEntry(index).EventDateTimes = time;
}

QVariant clsInterval::GasEvent(qint32 gasNo, qint32 index) const {
    if (!validEvent(index))
        return {};
    checkSlot(gasNo, kEventSlots);
    return eventAt(index).GasEvent[gasNo];
}

void clsInterval::setGasEvent(qint32 gasNo, qint32 index, const QVariant &value) {
    if (!validEvent(index))
        return;
    checkSlot(gasNo, kEventSlots);
    const double number = RequiredNumber(value, QStringLiteral("An event code must be a number"));
    eventEntry(index).GasEvent[gasNo] = static_cast<float>(number);
}

qint16 clsInterval::AddEvents(qint32 gasNo, const Date &dates, qint32 eventNo,
                              const Date &baseDate) {
    checkSlot(gasNo, kEventSlots);
    qint32 target = -1;
    for (qint32 j = 0; j < m_eventCount && j < qint32(m_events.size()); ++j) {
        if (m_events[j].EventDateTimes == dates && m_events[j].GasEvent[gasNo] == kNoValue)
            target = j;
    }
    if (target < 0) {
        target = m_eventCount;
        // A new entry starts without codes: none is left over from an earlier log.
        eventEntry(target).GasEvent.fill(kNoValue);
        ++m_eventCount;
    }
    TrendEvent &e = eventEntry(target);
    e.EventDateTimes = dates;
    e.GasEvent[gasNo] = static_cast<float>(eventNo);
    e.BaseDate = baseDate;
    return static_cast<qint16>(target);
}

qint16 clsInterval::AddValue(qint32 gasNo, const Date &dates, float values) {
    checkSlot(gasNo, kSampleSlots);
    qint32 target = -1;
    for (qint32 j = 0; j < m_dataCount && j < qint32(m_samples.size()); ++j) {
        if (m_samples[j].DateTimes == dates)
            target = j;
    }
    if (target < 0) {
        target = m_dataCount;
        sampleEntry(target).GasValue.fill(kNoValue);
        ++m_dataCount;
    }
    TrendSample &s = sampleEntry(target);
    s.DateTimes = dates;
    s.GasValue[gasNo] = values;
    return static_cast<qint16>(target);
}

bool clsInterval::priorityEvent(qint32 newEvent, qint32 curEvent) {
    if (curEvent > -103 || curEvent < -107 || newEvent > -102 || newEvent < -107)
        return true;
    switch (curEvent) {
    case -103:
        return newEvent == -102;
    case -104:
        return newEvent <= -104;
    case -106:
        return newEvent == -105;
    case -107:
        return newEvent == -106 || newEvent == -105;
    default: // -105
        return false;
    }
}

qint32 clsInterval::getOrder() {
    const bool samplesLeft = m_sampleCursor < m_dataCount;
    const bool eventsLeft = m_eventCursor < m_eventCount;
    if (samplesLeft && eventsLeft) {
        if (EventDateTimes(m_eventCursor) < DateTimes(m_sampleCursor))
            return -(++m_eventCursor);
        return ++m_sampleCursor;
    }
    if (samplesLeft)
        return ++m_sampleCursor;
    if (eventsLeft)
        return -(++m_eventCursor);
    return 0;
}

qint32 clsInterval::SerchDatas(const Date &dates, qint32 strDim) const {
    return searchAfter(m_samples, std::min<qint32>(m_dataCount, m_samples.size()), dates, strDim,
                       [](const TrendSample &s) { return s.DateTimes; });
}

qint32 clsInterval::SerchEvent(const Date &dates, qint32 strDim) const {
    return searchAfter(m_events, std::min<qint32>(m_eventCount, m_events.size()), dates, strDim,
                       [](const TrendEvent &e) { return e.EventDateTimes; });
}

qint32 clsInterval::SerchValue(const Date &dates) const {
    if (!(dates > kSearchFloor) || !(dates < kSearchCeiling))
        return 0;
    qint32 a = SerchDatas(dates, 0);
    qint32 e = SerchEvent(dates, 0);
    if (a >= 0 && !(m_samples[a].DateTimes > kSearchFloor))
        a = -1;
    if (e >= 0 && !(m_events[e].EventDateTimes > kSearchFloor))
        e = -1;
    if (a >= 0 && e >= 0)
        return m_samples[a].DateTimes >= m_events[e].EventDateTimes ? -(e + 1) : a + 1;
    if (a >= 0)
        return a + 1;
    if (e >= 0)
        return -(e + 1);
    return 0;
}

} // namespace tq
