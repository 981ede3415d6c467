#include "core/instrument/clsInstrument.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "core/instrument/gas_info_field.h"

#include <QFileInfo>

#include <algorithm>

namespace tq {

namespace {

using Option = clsInstrument::Option;
using TextOption = clsInstrument::TextOption;
using GasFlag = clsInstrument::GasFlag;
using GasValue = clsInstrument::GasValue;
using GasInteger = clsInstrument::GasInteger;

enum class FlagRule { Always, OnChange };
using enum FlagRule;

enum class SlotRule { SlotZero, TwoSlots };
using enum SlotRule;

struct OptionSpec {
    FlagRule flagRule;
    std::optional<qint16> clearValue;
    bool coveredBySetChangeFlags;
};

struct TextSpec {
    std::optional<IdFieldKind> idKind;
    const char *clearValue;
};

struct GasValueSpec {
    SlotRule slotRule;
    std::optional<GasFlag> flag;
    std::optional<float> clearValue;
};

struct GasIntegerSpec {
    GasFlag flag;
    qint16 clearValue;
};

#define TQ_OPTION_SPEC(name, flag, rule, clearValue, covered) {rule, clearValue, covered},
constexpr OptionSpec kOptions[] = {TQ_INSTRUMENT_OPTIONS(TQ_OPTION_SPEC)};
#undef TQ_OPTION_SPEC

#define TQ_TEXT_SPEC(name, flag, kind, clearValue) {kind, clearValue},
constexpr TextSpec kTexts[] = {TQ_INSTRUMENT_TEXTS(TQ_TEXT_SPEC)};
#undef TQ_TEXT_SPEC

#define TQ_GAS_VALUE_SPEC(name, slotRule, flag, clearValue) {slotRule, flag, clearValue},
constexpr GasValueSpec kGasValues[] = {TQ_INSTRUMENT_GAS_VALUES(TQ_GAS_VALUE_SPEC)};
#undef TQ_GAS_VALUE_SPEC

#define TQ_GAS_INTEGER_SPEC(name, flag, clearValue) {flag, clearValue},
constexpr GasIntegerSpec kGasIntegers[] = {TQ_INSTRUMENT_GAS_INTEGERS(TQ_GAS_INTEGER_SPEC)};
#undef TQ_GAS_INTEGER_SPEC

template <typename E> constexpr int at(E which) {
    return static_cast<int>(which);
}

QString normalised(TextOption which, const QString &value) {
    const std::optional<IdFieldKind> kind = kTexts[at(which)].idKind;
    return kind ? BlankToDashes(value, *kind) : value;
}

bool inRange(qint16 index, qint16 count) {
    return index >= 0 && index < count;
}

void checkSubscript(qint16 index, qint16 count) {
    if (!inRange(index, count)) {
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Subscript out of range: %1").arg(index));
    }
}

// Whether `slot` addresses a gas value; a slot the value does not have is an error for the
// two-slot alarm levels and silently ignored for the rest.
bool gasSlotUsable(GasValue which, qint16 slot) {
    if (kGasValues[at(which)].slotRule == TwoSlots) {
        checkSubscript(slot, clsInstrument::kGasSlotCount);
        return true;
    }
    return slot == 0;
}

} // namespace

clsInstrument::clsInstrument() {
    ClearDatas();
}

qint16 clsInstrument::option(Option which) const {
    return m_options[at(which)];
}

void clsInstrument::setOption(Option which, qint16 value) {
    qint16 &stored = m_options[at(which)];
    if (kOptions[at(which)].flagRule == OnChange && stored == value) {
        return;
    }
    stored = value;
    m_optionFlags[at(which)] = true;
}

bool clsInstrument::changeFlag(Option which) const {
    return m_optionFlags[at(which)];
}

void clsInstrument::setChangeFlag(Option which, bool raised) {
    m_optionFlags[at(which)] = raised;
}

QString clsInstrument::text(TextOption which) const {
    return normalised(which, m_texts[at(which)]);
}

void clsInstrument::setText(TextOption which, const QString &value) {
    m_texts[at(which)] = normalised(which, value);
    m_textFlags[at(which)] = true;
}

bool clsInstrument::changeFlag(TextOption which) const {
    return m_textFlags[at(which)];
}

void clsInstrument::setChangeFlag(TextOption which, bool raised) {
    m_textFlags[at(which)] = raised;
}

float clsInstrument::gasValue(GasValue which, qint16 slot) const {
    return gasSlotUsable(which, slot) ? m_gasValues[slot][at(which)] : 0.0f;
}

void clsInstrument::setGasValue(GasValue which, qint16 slot, float value) {
    if (!gasSlotUsable(which, slot)) {
        return;
    }
    m_gasValues[slot][at(which)] = value;
    if (const std::optional<GasFlag> flag = kGasValues[at(which)].flag) {
        setGasChangeFlag(*flag, slot, true);
    }
}

qint16 clsInstrument::gasInteger(GasInteger which, qint16 slot) const {
    return slot == 0 ? m_gas.integers[at(which)] : 0;
}

void clsInstrument::setGasInteger(GasInteger which, qint16 slot, qint16 value) {
    if (slot != 0) {
        return;
    }
    m_gas.integers[at(which)] = value;
    setGasChangeFlag(kGasIntegers[at(which)].flag, slot, true);
}

bool clsInstrument::gasChangeFlag(GasFlag which, qint16 slot) const {
    return slot == 0 && m_gasFlags[at(which)];
}

void clsInstrument::setGasChangeFlag(GasFlag which, qint16 slot, bool raised) {
    if (slot == 0) {
        m_gasFlags[at(which)] = raised;
    }
}

void clsInstrument::setFlowLevel(qint32 value) {
    m_flowLevel = value;
    m_changeFlowLevel = true;
}

QString clsInstrument::StationList(qint16 index) const {
    return inRange(index, kStationCount) ? m_stationList[index] : QString();
}

void clsInstrument::setStationList(qint16 index, const QString &value) {
    if (inRange(index, kStationCount)) {
        m_stationList[index] = value;
        m_stationFlags[index] = true;
    }
}

bool clsInstrument::Change_StationList(qint16 index) const {
    return inRange(index, kStationCount) && m_stationFlags[index];
}

void clsInstrument::setChange_StationList(qint16 index, bool raised) {
    if (inRange(index, kStationCount)) {
        m_stationFlags[index] = raised;
    }
}

QString clsInstrument::GasName(qint16 slot) const {
    return slot == 0 ? m_gas.name : QString();
}

void clsInstrument::setGasName(qint16 slot, const QString &value) {
    if (slot == 0) {
        m_gas.name = value;
    }
}

QString clsInstrument::GasUnit(qint16 slot) const {
    return slot == 0 ? m_gas.unit : QString();
}

void clsInstrument::setGasUnit(qint16 slot, const QString &value) {
    if (slot == 0) {
        m_gas.unit = value;
    }
}

bool clsInstrument::GasEnabled(qint16 slot) const {
    return slot == 0 && m_gas.enabled;
}

void clsInstrument::setGasEnabled(qint16 slot, bool value) {
    if (slot == 0) {
        m_gas.enabled = value;
        setChange_GasEnable(slot, true);
    }
}

Date clsInstrument::CalibDate(qint16 slot) const {
    return slot == 0 ? m_gas.calibDate : Date();
}

void clsInstrument::setCalibDate(qint16 slot, const Date &value) {
    if (slot == 0) {
        m_gas.calibDate = value;
    }
}

Date clsInstrument::LogMaxDate(qint16 slot) const {
    return slot == 0 ? m_gas.logMaxDate : Date();
}

void clsInstrument::setLogMaxDate(qint16 slot, const Date &value) {
    if (slot == 0) {
        m_gas.logMaxDate = value;
    }
}

Date clsInstrument::LogMinDate(qint16 slot) const {
    return slot == 0 ? m_gas.logMinDate : Date();
}

void clsInstrument::setLogMinDate(qint16 slot, const Date &value) {
    if (slot == 0) {
        m_gas.logMinDate = value;
    }
}

qint16 clsInstrument::AnalogValue(qint16 index) const {
    checkSubscript(index, kAnalogCount);
    return m_analogValues[index];
}

void clsInstrument::setAnalogValue(qint16 index, qint16 value) {
    checkSubscript(index, kAnalogCount);
    m_analogValues[index] = value;
}

float clsInstrument::LimitValue(qint16 index) const {
    checkSubscript(index, kLimitCount);
    return m_limitValues[index];
}

void clsInstrument::setLimitValue(qint16 index, float value) {
    checkSubscript(index, kLimitCount);
    m_limitValues[index] = value;
}

void clsInstrument::SetChangeFlags(bool raised) {
    for (int i = 0; i < kOptionCount; ++i) {
        if (kOptions[i].coveredBySetChangeFlags) {
            m_optionFlags[i] = raised;
        }
    }
    m_textFlags.fill(raised);
    m_stationFlags.fill(raised);
    m_gasFlags.fill(raised);
}

void clsInstrument::ClearDatas() {
    // Members are written directly: only the no-gas step below goes through setters, and
    // the flags it raises are cleared at the end.
#define TQ_CLEAR_PLAIN(type, name, clearValue)                                                     \
    if (const std::optional<type> value = clearValue) {                                            \
        m_##name = *value;                                                                         \
    }
    TQ_INSTRUMENT_PLAIN(TQ_CLEAR_PLAIN)
#undef TQ_CLEAR_PLAIN

    for (int i = 0; i < kTextCount; ++i) {
        m_texts[i] = normalised(TextOption(i), QString::fromLatin1(kTexts[i].clearValue));
    }
    for (int i = 0; i < kOptionCount; ++i) {
        if (kOptions[i].clearValue) {
            m_options[i] = *kOptions[i].clearValue;
        }
    }

    m_stationList.fill(BlankToDashes(QString(), IdFieldKind::Station));
    // The current station is station 0 again.
    m_texts[at(TextOption::StationID)] = normalised(TextOption::StationID, m_stationList[0]);

    m_gas.name.clear();
    m_gas.enabled = false;
    m_gas.calibDate = Date::noDate();
    for (int i = 0; i < kGasValueCount; ++i) {
        if (kGasValues[i].clearValue) {
            m_gasValues[0][i] = *kGasValues[i].clearValue;
        }
    }
    for (int i = 0; i < kGasIntegerCount; ++i) {
        m_gas.integers[i] = kGasIntegers[i].clearValue;
    }
    SetGasInfo(QString(kNoGasInfoField), *this, 0);

    ClearChangeFlags();
}

bool clsInstrument::LoadDatabase(const QString &databasePath, qint64 SeqNo) {
    if (!QFileInfo::exists(databasePath))
        return false;
    Database db(databasePath);
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select * From Log_Head Where SeqNo=?"), {SeqNo});
    if (rows.isEmpty())
        return false;
    const DbRow &row = rows.first();
    const auto text = [&](const char *name) {
        return row.isNull(name) ? QStringLiteral(" ") : row.text(name);
    };
    const auto single = [&](const char *name, float null) {
        return row.isNull(name) ? null : static_cast<float>(row.real(name));
    };
    const auto date = [&](const char *name) {
        return row.isNull(name) ? Date::noDate() : row.date(name);
    };
    const auto integer = [&](const char *name) {
        return row.isNull(name) ? qint16(0) : RoundToWhole<qint16>(double(row.integer(name)));
    };

    // The row is read into the members without raising a change flag.
    const auto optionFlags = m_optionFlags;
    const auto textFlags = m_textFlags;
    const auto gasFlags = m_gasFlags;
    setUserID(text("UserID"));
    setStationID(text("StationID"));
    setSerialNo(text("SerialNo"));
    setIntervals(integer("Interval"));
    setGasName(0, BlankToDashes(text("Gas1Name"), IdFieldKind::Folder));
    setGasDesit(0, single("Gas1Desit", 0));
    setGasPoint(0, integer("Gas1Point"));
    setGasUnit(0, text("Gas1Unit"));
    setGasFullScale(0, single("Gas1Full", 0));
    setGasEnabled(0, row.isNull("Gas1Enable") || row.boolean("Gas1Enable"));
    setLogMax(0, single("Gas1Max", -101));
    setLogMin(0, single("Gas1Min", -101));
    setLogAvr(0, single("Gas1Avr", -101));
    setLogMaxDate(0, date("Gas1MaxDate"));
    setLogMinDate(0, date("Gas1MinDate"));
    // The levels the detector held when it recorded the log: a fresh record has none of its
    // own, so showing it without them would show levels that are not so.
    setWarning(0, single("Gas1Warning", -101));
    setAlarm(0, single("Gas1Alarm", -101));
    setStel(0, single("Gas1STEL", -101));
    setTwa(0, single("Gas1TWA", -101));
    m_optionFlags = optionFlags;
    m_textFlags = textFlags;
    m_gasFlags = gasFlags;
    return true;
}

bool clsInstrument::HistoryUpdate(const QString &databasePath) {
    if (!QFileInfo::exists(databasePath))
        return false;
    const QString station = BlankToDashes(StationID(), IdFieldKind::Station);
    const QString user = BlankToDashes(UserID(), IdFieldKind::User);
    const QString serial = BlankToDashes(SerialNo(), IdFieldKind::Serial);
    Database db(databasePath);
    // The old row goes and the new one comes in one step, so a failure keeps the old row.
    Transaction transaction(db);
    db.execute(
        QStringLiteral("Delete From cLatestHist Where StationID=? And UserID=? And SerialNo=?"),
        {station, user, serial});
    db.execute(QStringLiteral("Insert Into cLatestHist (SeqNo,UserID,SerialNo,StationID,WriteDates,"
                              "CalLimit,Gas1Name,Gas1Desit,Gas1Point,Gas1Unit,Gas1Enable,"
                              "Gas1AutoCal,Gas1CalDate,Gas1Before,Gas1After) "
                              "Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
               {db.nextKey(QStringLiteral("cLatestHist")), user, serial, station,
                QVariant::fromValue(Date::now()), CalLimit(), GasName(0), GasDesit(0), GasPoint(0),
                GasUnit(0), GasEnabled(0), AutoCalib(0), QVariant::fromValue(CalibDate(0)),
                CalibBefore(0), CalibAfter(0)});
    transaction.commit();
    return false;
}

} // namespace tq
