#include "graph/graph_model.h"

#include "core/errors.h"
#include "core/gas_format.h"

#include <algorithm>
#include <cstring>

namespace tq {

namespace {

[[noreturn]] void outOfRange(const char *member, int index) {
    throw TqError(
        ErrorKind::SubscriptOutOfRange,
        QStringLiteral("%1: index %2 is out of range").arg(QLatin1String(member)).arg(index));
}

void checkRange(const char *member, int index, int highest) {
    if (index < 0 || index > highest)
        outOfRange(member, index);
}

} // namespace

bool IsMissingSample(float value) {
    return std::memcmp(&value, &kMissingSample, sizeof value) == 0;
}

GraphModel::GraphModel() {
    resetSeriesList();
}

void GraphModel::resetSeriesList() {
    m_series.assign(2, GraphSeries());
    m_events.assign(2, SeriesEvents());
    m_eventCounts.assign(2, 0);
}

void GraphModel::checkSlot(int slot) const {
    checkRange("slot", slot, SampleDataCount());
}

void GraphModel::checkNotNegative(int index) const {
    if (index < 0)
        outOfRange("number", index);
}

qint32 GraphModel::AddSample(const QString &names, qint32 colors, const QString &formats,
                             float fullScale) {
    std::size_t slot = 0;
    // The list counts as empty while slot 0 has no name.
    if (!m_series[0].Name.isEmpty()) {
        m_series.emplace_back();
        m_events.emplace_back();
        m_eventCounts.push_back(0);
        slot = m_series.size() - 2;
    }
    GraphSeries &s = m_series[slot];
    s.Name = names;
    s.Color = colors;
    s.Visible = true;
    s.FullScale = fullScale;
    if (!formats.isEmpty())
        s.FormatY = formats;
    m_events[slot].EventVisible = false;
    return qint32(slot);
}

void GraphModel::Clear() {
    resetSeriesList();
    m_sampleCount = 0;
    m_cursorIndex = 0;
    m_labelOffset = 0;
    // The last common flag is not part of a fill and stays.
    std::fill(m_common.Flags.begin(), m_common.Flags.end() - 1, QString());
}

QString GraphModel::ValueName(qint32 index) const {
    checkNotNegative(index);
    return isSeries(index) ? m_series[std::size_t(index)].Name : QString();
}

void GraphModel::setValueName(qint32 index, const QString &name) {
    checkNotNegative(index);
    if (isSeries(index))
        m_series[std::size_t(index)].Name = name;
}

qint32 GraphModel::ValueColor(qint32 index) const {
    checkNotNegative(index);
    return isSeries(index) ? m_series[std::size_t(index)].Color : 0;
}

void GraphModel::setValueColor(qint32 index, qint32 color) {
    checkNotNegative(index);
    if (isSeries(index))
        m_series[std::size_t(index)].Color = color;
}

QString GraphModel::FormatY(qint16 sampleNum) const {
    checkSlot(sampleNum);
    return m_series[std::size_t(sampleNum)].FormatY;
}

void GraphModel::setFormatY(qint16 sampleNum, const QString &format) {
    checkSlot(sampleNum);
    m_series[std::size_t(sampleNum)].FormatY = format;
}

float GraphModel::MinY(qint16 sampleNum) const {
    checkSlot(sampleNum);
    return m_series[std::size_t(sampleNum)].MinY;
}

void GraphModel::setMinY(qint16 sampleNum, float value) {
    checkNotNegative(sampleNum);
    if (isSeries(sampleNum))
        m_series[std::size_t(sampleNum)].MinY = value;
}

float GraphModel::MaxY(qint16 sampleNum) const {
    checkSlot(sampleNum);
    return m_series[std::size_t(sampleNum)].MaxY;
}

void GraphModel::setMaxY(qint16 sampleNum, float value) {
    checkNotNegative(sampleNum);
    if (isSeries(sampleNum))
        m_series[std::size_t(sampleNum)].MaxY = value;
}

float GraphModel::PosYStp(qint16 sampleNum) const {
    checkSlot(sampleNum);
    return m_series[std::size_t(sampleNum)].PosYStp;
}

bool GraphModel::SampleVisible(qint16 sampleNum) const {
    checkSlot(sampleNum);
    return m_series[std::size_t(sampleNum)].Visible;
}

void GraphModel::setSampleVisible(qint16 sampleNum, bool visible) {
    checkNotNegative(sampleNum);
    if (isSeries(sampleNum))
        m_series[std::size_t(sampleNum)].Visible = visible;
}

qint32 GraphModel::secondsFrom0(double date) const {
    // The reciprocal of one second as a date: 86400 up to rounding error.
    const double oneSecond = 1.0 / 86400.0;
    return RoundToWhole<qint32>((date - m_dates[0]) * (1.0 / oneSecond));
}

double GraphModel::valueX(qint16 index) const {
    checkRange("valueX", index, kGraphMaxSample);
    return m_dates[std::size_t(index)];
}

void GraphModel::setValueX(qint16 index, double date) {
    checkRange("valueX", index, kGraphMaxSample);
    m_dates[std::size_t(index)] = date;
    m_elapsed[std::size_t(index)] = index == 0 ? 0 : secondsFrom0(date);
    m_ascendingPrefix = std::min(m_ascendingPrefix, std::max(int(index), 1));
}

void GraphModel::setDataX(qint16 number, double date) {
    checkNotNegative(number);
    if (number >= kGraphMaxSample)
        return;
    setValueX(number, date);
    // Raised to the number, not one past it, as the hosts expect.
    if (m_sampleCount < number)
        m_sampleCount = number;
}

float GraphModel::valueY(qint16 index, qint16 number) const {
    checkSlot(index);
    checkRange("valueY", number, kGraphMaxSample);
    return m_series[std::size_t(index)].Values[std::size_t(number)];
}

void GraphModel::setValueY(qint16 index, qint16 number, float value) {
    checkNotNegative(index);
    if (!isSeries(index))
        return;
    checkRange("valueY", number, kGraphMaxSample);
    GraphSeries &s = m_series[std::size_t(index)];
    s.Values[std::size_t(number)] = value;
    if (s.LastIndex < number)
        s.LastIndex = number;
}

int GraphModel::usedSamples() const {
    return std::clamp(int(m_sampleCount), 0, kGraphSamples);
}

QString GraphModel::EventFlag(qint16 sampleNum, qint16 index) const {
    checkNotNegative(sampleNum);
    checkRange("EventFlag", index, kGraphMaxEvent);
    return isSeries(sampleNum) ? m_events[std::size_t(sampleNum)].Flags[std::size_t(index)]
                               : m_common.Flags[std::size_t(index)];
}

void GraphModel::setEventFlag(qint16 sampleNum, qint16 index, const QString &text) {
    checkNotNegative(sampleNum);
    checkNotNegative(index);
    if (index >= kGraphMaxEvent)
        return;
    QString &flag = isSeries(sampleNum) ? m_events[std::size_t(sampleNum)].Flags[std::size_t(index)]
                                        : m_common.Flags[std::size_t(index)];
    flag = text;
}

bool GraphModel::EventVisible(qint16 sampleNum) const {
    checkNotNegative(sampleNum);
    return isSeries(sampleNum) ? m_events[std::size_t(sampleNum)].EventVisible
                               : m_common.EventVisible;
}

void GraphModel::setEventVisible(qint16 sampleNum, bool visible) {
    checkNotNegative(sampleNum);
    (isSeries(sampleNum) ? m_events[std::size_t(sampleNum)].EventVisible : m_common.EventVisible) =
        visible;
}

double GraphModel::EventX(qint16 gasNo, qint16 number) const {
    checkSlot(gasNo);
    checkRange("EventX", number, kGraphMaxEvent);
    return m_events[std::size_t(gasNo)].Marks[std::size_t(number)].X;
}

void GraphModel::setEventX(qint16 gasNo, qint16 number, double date) {
    checkSlot(gasNo);
    checkNotNegative(number);
    if (number >= kGraphMaxEvent)
        return;
    EventMark &mark = m_events[std::size_t(gasNo)].Marks[std::size_t(number)];
    mark.X = date;
    // Without a date in sample 0 a mark has no place on the axis yet.
    if (std::nearbyint(m_dates[0]) == 0) {
        mark.ElapsedSec = 0;
        return;
    }
    mark.ElapsedSec = secondsFrom0(date);
    qint16 &count = m_eventCounts[std::size_t(gasNo)];
    if (count < number)
        count = number;
}

qint16 GraphModel::EventCount(qint16 gasNo) const {
    checkSlot(gasNo);
    return m_eventCounts[std::size_t(gasNo)];
}

void GraphModel::setEventCount(qint16 gasNo, qint16 count) {
    checkSlot(gasNo);
    m_eventCounts[std::size_t(gasNo)] = count;
}

int GraphModel::usedEvents(int slot) const {
    return std::clamp(int(m_eventCounts.at(std::size_t(slot))), 0, kGraphEvents);
}

bool GraphModel::ascendingThrough(int last) const {
    while (m_ascendingPrefix <= last && m_ascendingPrefix < kGraphSamples &&
           m_elapsed[std::size_t(m_ascendingPrefix)] >=
               m_elapsed[std::size_t(m_ascendingPrefix - 1)])
        ++m_ascendingPrefix;
    return m_ascendingPrefix > last;
}

std::pair<int, int> GraphModel::samplesWithin(int last, double from, double to) const {
    if (last < 0)
        return {0, 0};
    if (!ascendingThrough(last)) {
        // A clock that went back: the first and last sample within, found by a scan.
        int first = last + 1;
        int end = 0;
        for (int j = 0; j <= last; ++j) {
            const double x = m_elapsed[std::size_t(j)];
            if (from <= x && x < to) {
                first = std::min(first, j);
                end = j + 1;
            }
        }
        return first <= last ? std::pair{first, end} : std::pair{0, 0};
    }
    const auto begin = m_elapsed.begin();
    const auto stop = begin + last + 1;
    const auto lo =
        std::lower_bound(begin, stop, from, [](qint32 s, double v) { return double(s) < v; });
    const auto hi =
        std::lower_bound(lo, stop, to, [](qint32 s, double v) { return double(s) < v; });
    return {int(lo - begin), int(hi - begin)};
}

} // namespace tq
