#include "logs/events/clsPowerEvent.h"

#include "core/database.h"
#include "logs/events/text_line_fields.h"
#include "logs/trend/flash_image.h"

#include <QSet>
#include <stdexcept>

namespace tq {

namespace {

constexpr qint32 kRecordSize = 9;
constexpr quint8 kPowerOn = 1;

const QStringList &reloadColumns() {
    static const QStringList columns = {
        "Names",       "Dates",       "UserID",     "StationID",   "SerialNo",  "FolderID",
        "Interval",    "Sampling",    "Dcount",     "LunchBreak",  "LEL_lo",    "LEL_hi",
        "ppm_lo",      "ppm_hi",      "vol_lo",     "vol_hi",      "Gas1Name",  "Gas1Full",
        "Gas1Desit",   "Gas1Point",   "Gas1Unit",   "Gas1Max",     "Gas1Min",   "Gas1Avr",
        "Gas1MaxDate", "Gas1MinDate", "Gas1Enable", "Gas1Warning", "Gas1Alarm", "Gas1Stel",
        "Gas1Twa",     "Gas1Ratio"};
    return columns;
}

} // namespace

clsPowerEvent::clsPowerEvent() {
    ClearDatas();
}

void clsPowerEvent::ClearDatas() {
    clearLog();
    m_error = false;
    for (qint32 i = 0; i < qMin(qint32(m_entries.size()), kReachableEntries); ++i)
        m_entries[i] = PowerEventEntry{};
}

const PowerEventEntry &clsPowerEvent::entry(qint32 index) const {
    if (index < 0 || index >= kEntryCount)
        throw std::out_of_range("power-event entry index");
    return entryAt(index);
}

const PowerEventEntry &clsPowerEvent::entryAt(qint32 index) const {
    static const PowerEventEntry neverWritten;
    return index < qint32(m_entries.size()) ? m_entries[index] : neverWritten;
}

PowerEventEntry &clsPowerEvent::writableEntry(qint32 index) {
    if (qint32(m_entries.size()) <= index)
        m_entries.resize(index + 1);
    return m_entries[index];
}

qint32 clsPowerEvent::LogCnt(qint32 index) const {
    return reachable(index) ? entryAt(index).LogCnt : 0;
}
void clsPowerEvent::setLogCnt(qint32 index, qint32 value) {
    if (reachable(index))
        writableEntry(index).LogCnt = value;
}
bool clsPowerEvent::Flags(qint32 index) const {
    return reachable(index) && entryAt(index).Flags;
}
void clsPowerEvent::setFlags(qint32 index, bool value) {
    if (reachable(index))
        writableEntry(index).Flags = value;
}
Date clsPowerEvent::Dates(qint32 index) const {
    return reachable(index) ? entryAt(index).Dates : Date(0.0);
}
void clsPowerEvent::setDates(qint32 index, const Date &value) {
    if (reachable(index))
        writableEntry(index).Dates = value;
}

PowerEventEntry &clsPowerEvent::nextEntry() {
    return writableEntry(nextEntryIndex(QStringLiteral("power-event log")));
}

bool clsPowerEvent::SetData(const QByteArray &vData) {
    PowerEventEntry &e = nextEntry();
    ByteAt(vData, kRecordSize - 1); // the whole record must be in the block
    e.LogCnt = ReadBE16(vData, 0);
    e.Dates = BytesToDate(vData, 2);
    e.Flags = ByteAt(vData, 8) == kPowerOn;
    ++m_dataCount;
    return true;
}

bool clsPowerEvent::SetDataF0(const QString &vData, bool TestFlag) {
    if (TestFlag)
        return true;
    PowerEventEntry &e = nextEntry();
    const std::optional<Date> day = LineDay(vData, 4);
    const std::optional<qint64> time = LineTimeOfDay(vData, 10);
    const bool improper = !day || !time;
    e.Dates = improper ? Date(0.0) : day->addSeconds(*time);
    e.Flags = vData.mid(16, 4) == QStringLiteral("1111");
    ++m_dataCount;
    if (improper) {
        m_error = true;
        AppendPlainSerialLogLine(m_context.AppFolder,
                                 QStringLiteral("<<< improper date in SetDataF0() >>> ") + vData);
    }
    return true;
}

void clsPowerEvent::Update() {
    if (m_dataCount <= 0)
        return;
    const EventIdentity identity = instrumentIdentity();
    Database db(m_context.DatabasePath);
    Transaction transaction(db);
    const EventHead head{LogType::PowerEvents,
                         QStringLiteral("Power Events"),
                         identity,
                         std::nullopt,
                         m_instrument->RomNumber(),
                         nullptr,
                         &m_gas[0]};
    const qint64 relNo = StoreEventHead(db, head).key;

    const qint32 count = qMin(m_dataCount, kEntryCount);
    // A power event is stored once per head and time.
    QList<Date> times;
    for (qint32 i = 0; i < count; ++i)
        times.append(entryAt(i).Dates);
    QSet<qint64> present;
    ForEachDetailRowAt(
        db, QStringLiteral("Power_Event"), QStringLiteral("SeqNo"), relNo, times,
        [&](const Date &time, const DbRow &) { present.insert(time.totalSeconds()); });

    qint64 key = db.nextKey(QStringLiteral("Power_Event"));
    QList<QVariantList> rows;
    for (qint32 i = 0; i < count; ++i) {
        const PowerEventEntry &e = entryAt(i);
        if (present.contains(e.Dates.totalSeconds()))
            continue;
        present.insert(e.Dates.totalSeconds());
        rows.append({key++, relNo, e.LogCnt, QVariant::fromValue(e.Dates), e.Flags});
    }
    InsertRows(db, QStringLiteral("Power_Event"),
               {"SeqNo", "RelNo", "LogCnt", "Dates", "Power_Type"}, rows);
    transaction.commit();
}

bool clsPowerEvent::ReLoad() {
    const qint64 seqNo = m_seqNo;
    ClearDatas();
    m_seqNo = seqNo;
    return reloadHead(reloadColumns());
}

} // namespace tq
