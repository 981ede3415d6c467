#include "logs/events/gas_event_log.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "logs/events/text_line_fields.h"
#include "logs/trend/flash_image.h"

#include <set>
#include <stdexcept>
#include <tuple>

namespace tq {

namespace {

// The event header is the shared log header without a name, sampling flag or range codes.
const LogHeaderOptions kEventHeaderOptions{QString(), false, false, true, false};

constexpr qint32 kRecordSize = 2;
constexpr quint8 kGasNumberBase = 0x70;
constexpr qint16 kBodyGas = 15;

const QStringList &reloadColumns() {
    static const QStringList columns = {"Names",      "Dates",       "UserID",      "StationID",
                                        "SerialNo",   "Interval",    "FolderID",    "Gas1Name",
                                        "Gas1Full",   "Gas1Desit",   "Gas1Point",   "Gas1Max",
                                        "Gas1Min",    "Gas1Avr",     "Gas1MaxDate", "Gas1MinDate",
                                        "Gas1Enable", "Gas1Warning", "Gas1Alarm"};
    return columns;
}

bool isGasAbsent(const QString &name) {
    const QString blanks(name.size(), QChar(' '));
    return name == QString(name.size(), QChar('*')) || name == blanks;
}

} // namespace

GasEventLog::GasEventLog(const GasEventKind &kind) : m_kind(kind) {
    ClearDatas();
}

void GasEventLog::ClearDatas() {
    clearLog();
    const Date now = Date::now();
    // Clearing resets the status of every reachable entry, and the date of a trouble entry
    // or the gas of an alarm entry; the other field keeps what it held.
    const auto clear = [&](GasEventEntry &e) {
        e.Events = 0;
        if (m_kind.trouble)
            e.Dates = now;
        else
            e.GasNo = 0;
    };
    clear(m_cleared);
    for (qint32 i = 0; i < qMin(qint32(m_entries.size()), kReachableEntries); ++i)
        clear(m_entries[i]);
}

const GasEventEntry &GasEventLog::entry(qint32 index) const {
    if (index < 0 || index >= kEntryCount)
        throw std::out_of_range("event entry index");
    return entryAt(index);
}

const GasEventEntry &GasEventLog::entryAt(qint32 index) const {
    static const GasEventEntry neverWritten;
    if (index < qint32(m_entries.size()))
        return m_entries[index];
    return index < kReachableEntries ? m_cleared : neverWritten;
}

GasEventEntry &GasEventLog::writableEntry(qint32 index) {
    while (qint32(m_entries.size()) <= index)
        m_entries.push_back(entryAt(qint32(m_entries.size())));
    return m_entries[index];
}

Date GasEventLog::Dates(qint32 index) const {
    return reachable(index) ? entryAt(index).Dates : Date::now();
}
void GasEventLog::setDates(qint32 index, const Date &value) {
    if (reachable(index))
        writableEntry(index).Dates = value;
}
qint16 GasEventLog::Events(qint32 index) const {
    return reachable(index) ? entryAt(index).Events : 0;
}
void GasEventLog::setEvents(qint32 index, qint16 value) {
    if (reachable(index))
        writableEntry(index).Events = value;
}
qint16 GasEventLog::GasNo(qint32 index) const {
    return reachable(index) ? entryAt(index).GasNo : 0;
}
void GasEventLog::setGasNo(qint32 index, qint16 value) {
    if (reachable(index))
        writableEntry(index).GasNo = value;
}

bool GasEventLog::SetHeader(const QByteArray &vData, qint32 &st) {
    DecodeLogHeader(vData, st, m_header, m_gas, kEventHeaderOptions);
    return true;
}

bool GasEventLog::SetData(const QByteArray &vData, qint32 &st) {
    const qint32 index = nextEntryIndex(QStringLiteral("event log"));
    ByteAt(vData, st + kRecordSize - 1); // the whole record must be in the block
    GasEventEntry &e = writableEntry(index);
    e.GasNo = static_cast<qint16>(ByteAt(vData, st) - kGasNumberBase);
    e.Events = StatusNumberToCode(QString::number(ByteAt(vData, st + 1)));
    e.Dates = m_header.Dates;
    ++m_dataCount;
    st += kRecordSize;
    return true;
}

QString GasEventLog::gasHeading(qint16 gasNo) const {
    if (m_kind.trouble && gasNo == kBodyGas)
        return QStringLiteral("Body");
    if (gasNo < 0 || gasNo >= kLogGasSlots)
        return MakeGasTitle(QString(), QString(), 0, 0);
    const GasInfo &g = m_gas[gasNo];
    return MakeGasTitle(g.Name, g.Unit, g.Full, g.Point);
}

void GasEventLog::Update() {
    if (m_dataCount <= 0)
        return;
    Database db(m_context.DatabasePath);
    Transaction transaction(db);
    const EventHead head{m_kind.type,
                         m_kind.headName,
                         headerIdentity(),
                         m_kind.trouble ? std::nullopt : std::optional<qint32>(m_header.LogNo),
                         m_instrument ? m_instrument->RomNumber() : 0,
                         &m_header,
                         &m_gas[0]};
    const StoredHead stored = StoreEventHead(db, head);
    const qint32 count = qMin(m_dataCount, kEntryCount);

    // An entry is stored once per head, gas number, time and status. Entries of a trouble
    // log whose head this store made are all stored.
    const bool checkDuplicates = !(m_kind.trouble && stored.created);
    using EntryKey = std::tuple<qint64, qint16, qint16>;
    std::set<EntryKey> present;
    if (checkDuplicates) {
        QList<Date> times;
        for (qint32 i = 0; i < count; ++i)
            times.append(entryAt(i).Dates);
        ForEachDetailRowAt(db, m_kind.detailTable, QStringLiteral("GasNo, Alarm_Type"), stored.key,
                           times, [&](const Date &time, const DbRow &row) {
                               present.insert({time.totalSeconds(), qint16(row.integer("GasNo")),
                                               qint16(row.integer("Alarm_Type"))});
                           });
    }

    qint64 key = db.nextKey(m_kind.detailTable);
    QList<QVariantList> rows;
    for (qint32 i = 0; i < count; ++i) {
        const GasEventEntry &e = entryAt(i);
        if (checkDuplicates && !present.insert({e.Dates.totalSeconds(), e.GasNo, e.Events}).second)
            continue;
        rows.append({key++, stored.key, e.GasNo, gasHeading(e.GasNo), e.Events,
                     QVariant::fromValue(e.Dates)});
    }
    InsertRows(db, m_kind.detailTable,
               {"SeqNo", "RelNo", "GasNo", "GasName", "Alarm_Type", "Dates"}, rows);
    transaction.commit();
}

bool GasEventLog::ReLoad() {
    const qint64 seqNo = m_seqNo;
    ClearDatas();
    m_seqNo = seqNo;
    return reloadHead(reloadColumns());
}

bool GasEventLog::dateLine(const QString &vData, bool TestFlag) {
    const std::optional<Date> day = LineDay(vData, 4);
    const std::optional<qint64> time = LineTimeOfDay(vData, 10);
    if (!day || !time)
        m_error = true;
    if (TestFlag)
        return true;
    if (day)
        m_header.Dates = *day;
    if (day && time)
        m_header.Dates = m_header.Dates.addSeconds(*time);
    m_header.Names = m_kind.namePrefix + m_header.Dates.format(QStringLiteral("ddhhmmss"));
    m_header.FolderID = m_header.Dates.format(QStringLiteral("MM/yy"));
    return true;
}

bool GasEventLog::eventLine(const QString &vData, bool TestFlag) {
    const std::optional<int> gas = LineNumber(vData, 3, 1);
    if (!gas || *gas == 0)
        return false;
    if (!TestFlag) {
        GasEventEntry &first = writableEntry(0);
        first.GasNo = static_cast<qint16>(*gas - 1);
        first.Events = StatusNumberToCode(vData.mid(4, 2));
        m_dataCount = 1;
    }
    return true;
}

bool GasEventLog::gasLine(const QString &vData, bool TestFlag) {
    Q_UNUSED(TestFlag);
    constexpr qint32 kMinimumLength = 69;
    if (vData.size() < kMinimumLength)
        return false;
    // The fourth and fifth gas go into slots 3 and 4, which a log cannot hold: a line that
    // names either is refused, one that names neither has nothing to store.
    return isGasAbsent(vData.mid(4, 3)) && isGasAbsent(vData.mid(56, 4));
}

bool GasEventLog::serialLine(const QString &vData, bool TestFlag) {
    if (!TestFlag)
        m_header.SerialNo = BlankToDashes(vData.mid(4, 12), IdFieldKind::Serial);
    const std::optional<int> count = LineNumber(vData, 17, 4);
    if (!count)
        return false;
    if (!TestFlag)
        setBoundedDataCount(static_cast<qint16>(*count));
    return true;
}

} // namespace tq
