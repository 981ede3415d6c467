#include "logs/events/clsHistory.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/events/text_line_fields.h"
#include "logs/trend/flash_image.h"

namespace tq {

namespace {

// History blocks carry the plain header of the event blocks: no name, Sampling left to
// the records (it holds the history kind), the serial-number fix-up, plain range values.
const LogHeaderOptions kHistoryHeaderOptions{QString(), false, false, true, false};

constexpr float kNoValue = ReadingCode::NoValue;

// Record codes and lengths by kind.
constexpr quint8 kSensorChangeCode = 0x80;
constexpr quint8 kBumpTestCode = 0x70;
constexpr quint8 kCalibrationCode = 0x60;
constexpr qint32 kSensorChangeLength = 21;
constexpr qint32 kBumpTestLength = 6;
constexpr qint32 kCalibrationLength = 5;
constexpr qint32 kTextLength = 10;

[[noreturn]] void throwIndex(const QString &what) {
    throw TqError(ErrorKind::SubscriptOutOfRange, what);
}

void checkEntryIndex(qint32 index) {
    if (index < 0 || index >= clsHistory::kEntries)
        throwIndex(QStringLiteral("A history has no entry %1").arg(index));
}

} // namespace

const HistoryStore &HistoryStoreOf(HistoryKind kind) {
    static const std::array<HistoryStore, 3> stores = {{
        {LogType::CalibrationHistory, QStringLiteral("Calibration Histories"),
         QStringLiteral("cHistory")},
        {LogType::BumpTest, QStringLiteral("Bump Test"), QStringLiteral("Bump")},
        {LogType::SensorChange, QStringLiteral("Sensor Change"), QStringLiteral("SensorChange")},
    }};
    return stores[qsizetype(kind)];
}

clsHistory::clsHistory() : HeadedLogBase(LogHeaderItem::Last) {
    ClearDatas();
}

void clsHistory::ClearDatas() {
    m_instrument.reset();
    m_error = false;
    clearEntries();
}

void clsHistory::clearEntries() {
    clearHeader();
    m_cells[0] = {};
    m_cells[0].blank.Before = m_cells[0].blank.After = kNoValue;
    m_dates[0] = Date(0.0);
    m_dcount = 0;
    m_dataCount = 0;
}

HistoryKind clsHistory::kind() const {
    switch (m_header.Sampling) {
    case qint16(HistoryKind::Calibration):
        return HistoryKind::Calibration;
    case qint16(HistoryKind::BumpTest):
        return HistoryKind::BumpTest;
    default:
        return HistoryKind::SensorChange;
    }
}

void clsHistory::checkCell(qint32 gasNo, qint32 index) const {
    if (gasNo < 0 || gasNo >= kLogGasSlots)
        throwIndex(QStringLiteral("A history has no gas slot %1").arg(gasNo));
    checkEntryIndex(index);
}

HistoryEntry &clsHistory::cell(qint32 gasNo, qint32 index) {
    checkCell(gasNo, index);
    CellColumn &column = m_cells[gasNo];
    if (qsizetype(column.written.size()) <= index)
        column.written.resize(index + 1, column.blank);
    return column.written[index];
}

const HistoryEntry &clsHistory::entry(qint32 gasNo, qint32 index) const {
    checkCell(gasNo, index);
    const CellColumn &column = m_cells[gasNo];
    return qsizetype(column.written.size()) > index ? column.written[index] : column.blank;
}

Date clsHistory::Dates(qint32 index) const {
    checkEntryIndex(index);
    return m_dates[index];
}
void clsHistory::setDates(qint32 index, const Date &date) {
    checkEntryIndex(index);
    m_dates[index] = date;
}
float clsHistory::Before(qint32 gasNo, qint32 index) const {
    return entry(gasNo, index).Before;
}
void clsHistory::setBefore(qint32 gasNo, qint32 index, float value) {
    cell(gasNo, index).Before = value;
}
float clsHistory::After(qint32 gasNo, qint32 index) const {
    return entry(gasNo, index).After;
}
void clsHistory::setAfter(qint32 gasNo, qint32 index, float value) {
    cell(gasNo, index).After = value;
}
float clsHistory::Judge(qint32 gasNo, qint32 index) const {
    return entry(gasNo, index).Judge;
}
void clsHistory::setJudge(qint32 gasNo, qint32 index, float value) {
    HistoryEntry &target = cell(gasNo, index);
    target.Judge = RoundToWhole<qint16>(value);
}
QString clsHistory::GasName(qint32 gasNo, qint32 index) const {
    return entry(gasNo, index).GasName;
}
void clsHistory::setGasName(qint32 gasNo, qint32 index, const QString &name) {
    cell(gasNo, index).GasName = name;
}

bool clsHistory::SetHeader(const QByteArray &vData, qint32 &st) {
    DecodeLogHeader(vData, st, m_header, m_gas, kHistoryHeaderOptions);
    return true;
}

bool clsHistory::SetData(const QByteArray &vData, qint32 &st) {
    const quint8 code = ByteAt(vData, st);
    HistoryKind recordKind = HistoryKind::Calibration;
    qint32 slot = code - kCalibrationCode;
    qint32 length = kCalibrationLength;
    if (code >= kSensorChangeCode) {
        recordKind = HistoryKind::SensorChange;
        slot = code - kSensorChangeCode;
        length = kSensorChangeLength;
    } else if (code >= kBumpTestCode) {
        recordKind = HistoryKind::BumpTest;
        slot = code - kBumpTestCode;
        length = kBumpTestLength;
    }
    m_header.Sampling = qint16(recordKind);
    ByteAt(vData, st + length - 1); // the whole record must lie in the block

    if (recordKind == HistoryKind::SensorChange)
        decodeSensorChange(vData, st, slot);
    else
        decodeReadings(vData, st, slot, recordKind);
    st += length;
    return true;
}

void clsHistory::decodeSensorChange(const QByteArray &vData, qint32 st, qint32 slot) {
    // Every sensor change is an entry of its own, also at the date of the one before.
    const qint32 n = m_dcount;
    checkEntryIndex(n);
    m_dates[n] = m_header.Dates;
    HistoryEntry &target = cell(0, n);
    target.Judge = qint16(slot);
    target.Model = BytesToText(vData, st + 1, kTextLength);
    target.SerialNo = BytesToText(vData, st + 1 + kTextLength, kTextLength);
    m_dcount = n + 1;
}

void clsHistory::decodeReadings(const QByteArray &vData, qint32 st, qint32 slot,
                                HistoryKind recordKind) {
    if (slot < 0 || slot >= kLogGasSlots)
        throwIndex(QStringLiteral("A history record names gas slot %1").arg(slot));
    const GasInfo &gas = m_gas[slot];
    if (gas.Point == ReadingCode::NoValue)
        return; // no gas information for the slot
    // The records of one block share its date and fill one entry, a cell per slot.
    qint32 n = m_dcount;
    if (m_dcount > 0 && m_dates[m_dcount - 1] == m_header.Dates)
        n = m_dcount - 1;
    checkEntryIndex(n);
    m_dates[n] = m_header.Dates;
    HistoryEntry &target = cell(slot, n);
    target.Before = ReadCodedValue(vData, st + 1, gas.Point);
    target.After = ReadCodedValue(vData, st + 3, gas.Point);
    target.GasName = gas.Name;
    target.Judge = recordKind == HistoryKind::BumpTest ? qint16(ByteAt(vData, st + 5) + 1) : 0;
    m_dcount = n + 1;
}

bool clsHistory::AddHistory(qint32 gasNo, const Date &dates, float before, float after,
                            const QString &no, qint32 /*po*/) {
    if (gasNo < 0 || gasNo >= kLogGasSlots)
        return false;
    qint32 n = m_dcount - 1;
    while (n >= 0 && m_dates[n] != dates)
        --n;
    if (n < 0) {
        if (m_dcount >= kLineEntries)
            return false;
        n = m_dcount++;
        m_dates[n] = dates;
    }
    HistoryEntry &target = cell(gasNo, n);
    target.Before = before;
    target.After = after;
    target.GasName = no;
    return true;
}

void clsHistory::SetSerialLog(const QString &text) const {
    AppendPlainSerialLogLine(m_context.AppFolder, text);
}

} // namespace tq
