#pragma once

#include "core/date.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace tq {

// The settings model's data tables. Each X-macro list below is the one place that names a
// family of members and says how they behave; the enums and the named accessors are
// generated from it here, the behaviour columns are read in clsInstrument.cpp.

// Integer device options, one change flag each:
// X(member, change flag, when the setter raises the flag, value after ClearDatas
//   (nullopt: kept), set by SetChangeFlags)
// The recording interval raises its flag only on a real change, so picking the interval
// the detector already has does not cause a write.
#define TQ_INSTRUMENT_OPTIONS(X)                                                                   \
    X(Intervals, Change_Interval, OnChange, 0, true)                                               \
    X(AlarmMode, Change_AlarmMode, Always, 0, true)                                                \
    X(DispCalLimit, Change_DispCalLimit, Always, 0, true)                                          \
    X(CalLimit, Change_CalLimit, Always, 1, true)                                                  \
    X(CalCheck, Change_CalCheck, Always, 0, true)                                                  \
    X(Confermation, Change_Confermation, Always, 0, true)                                          \
    X(LogOverWrite, Change_LogOverWrite, Always, 0, true)                                          \
    X(LcdBackLight, Change_LcdBackLight, Always, 0, true)                                          \
    X(autoBackLight, Change_autoBackLight, Always, 1, true)                                        \
    X(AlarmOnOff, Change_AlarmOnOff, Always, 1, true)                                              \
    X(StelTwaOnOff, Change_StelTwaOnOff, Always, 1, true)                                          \
    X(BumpTime, Change_BumpTime, Always, 2, true)                                                  \
    X(BumpThreshold, Change_BumpThreshold, Always, 1, true)                                        \
    X(BumpFailCalTime, Change_BumpFailCalTime, Always, 0, true)                                    \
    X(BumpFailAfter, Change_BumpFailAfter, Always, 1, true)                                        \
    X(LcBhMode, Change_LcBhMode, Always, 0, true)                                                  \
    X(BhTime, Change_BhTime, Always, 0, true)                                                      \
    X(LcBuzzer, Change_LcBuzzer, Always, 0, true)                                                  \
    X(HcMode, Change_HCMode, Always, 0, true)                                                      \
    X(AlarmO2, Change_AlarmO2, Always, 1, true)                                                    \
    X(AutoZero, Change_AutoZero, Always, 0, true)                                                  \
    X(DemandZero, Change_DemandZero, Always, 0, true)                                              \
    X(UseUserPassword, Change_UseUserPassword, Always, 0, true)                                    \
    X(pressOffset, Change_pressOffset, Always, std::nullopt, false)

// Text settings, one change flag each (raised by every set, all set by SetChangeFlags):
// X(member, change flag, identifier kind (nullopt: stored as given), value after ClearDatas)
// Identifiers are stored and read through BlankToDashes, so they never read as blank.
#define TQ_INSTRUMENT_TEXTS(X)                                                                     \
    X(UserID, Change_UserID, IdFieldKind::User, "")                                                \
    X(StationID, Change_StationID, IdFieldKind::Station, "")                                       \
    X(SerialNo, Change_SerialNo, IdFieldKind::Serial, "")                                          \
    X(DummySerial, Change_DummySerial, IdFieldKind::DummySerial, "")                               \
    X(SpecNo, Change_SpecNo, std::nullopt, "")                                                     \
    X(SpecType, Change_SpecType, std::nullopt, "0")                                                \
    X(UserPassword2, Change_UserPassword2, std::nullopt, "9047")

// The change flags of a gas slot. Only slot 0 has them: any other slot reads False and
// ignores a set.
#define TQ_INSTRUMENT_GAS_FLAGS(X)                                                                 \
    X(GasEnable)                                                                                   \
    X(GasPoint)                                                                                    \
    X(Warn)                                                                                        \
    X(Alarm)                                                                                       \
    X(Stel)                                                                                        \
    X(Twa)                                                                                         \
    X(AutoCal)                                                                                     \
    X(Zero)                                                                                        \
    X(OverScale)                                                                                   \
    X(Ratio)

// Single values of a gas slot:
// X(member, slots, change flag (nullopt: none), value after ClearDatas (nullopt: kept))
// Slots: SlotZero members ignore any other slot (a get reads 0); the alarm levels have two
// slots and reject any other with SubscriptOutOfRange.
#define TQ_INSTRUMENT_GAS_VALUES(X)                                                                \
    X(GasDesit, SlotZero, std::nullopt, 0.0f)                                                      \
    X(GasFullScale, SlotZero, std::nullopt, std::nullopt) /* the no-gas field sets it */           \
    X(Warning, TwoSlots, GasFlag::Warn, -101.0f)                                                   \
    X(Alarm, TwoSlots, GasFlag::Alarm, -101.0f)                                                    \
    X(Stel, TwoSlots, GasFlag::Stel, -101.0f)                                                      \
    X(Twa, TwoSlots, GasFlag::Twa, -101.0f)                                                        \
    X(AutoCalib, SlotZero, GasFlag::AutoCal, -101.0f)                                              \
    X(CalibBefore, SlotZero, std::nullopt, -101.0f)                                                \
    X(CalibAfter, SlotZero, std::nullopt, -101.0f)                                                 \
    X(Ratio, SlotZero, GasFlag::Ratio, -101.0f)                                                    \
    X(LogMax, SlotZero, std::nullopt, std::nullopt)                                                \
    X(LogMin, SlotZero, std::nullopt, std::nullopt)                                                \
    X(LogAvr, SlotZero, std::nullopt, std::nullopt)

// Integer values of gas slot 0 (any other slot ignored, reads 0):
// X(member, change flag, value after ClearDatas)
#define TQ_INSTRUMENT_GAS_INTEGERS(X)                                                              \
    X(GasPoint, GasFlag::GasPoint, 0) /* the no-gas field then makes it -101 */                    \
    X(Zero, GasFlag::Zero, 0)                                                                      \
    X(OverScale, GasFlag::OverScale, 0)

// Members without a change flag or index rule: X(type, member, value after ClearDatas
// (nullopt: kept)).
#define TQ_INSTRUMENT_PLAIN(X)                                                                     \
    X(QString, Key, QString())                                                                     \
    X(QString, MessageString, QString())                                                           \
    X(bool, CommFlags, false)                                                                      \
    X(qint32, RomNumber, 0)                                                                        \
    X(QString, SUM, QString())                                                                     \
    X(Date, SysDate, Date())                                                                       \
    X(Date, SysDateOffset, Date())                                                                 \
    X(bool, ImportFlag, std::nullopt)                                                              \
    X(QString, FailLine, std::nullopt)                                                             \
    X(float, AdrealValue, std::nullopt)                                                            \
    X(qint16, FlowValue, std::nullopt)

#define TQ_INSTRUMENT_NAME(name, ...) name,
#define TQ_INSTRUMENT_COUNT(...) +1

// The in-memory record of one detector: identity, device options, station names, clock,
// gas slot with its levels and calibration, a few live readings and two link working
// fields. Every setting's setter raises its change flag; the reply parser clears a flag
// when it has read the setting and the settings upload sends only flagged settings.
// Indexed members take the index first and the value last. The object is a plain value:
// copies are independent (the settings dialog edits a working copy).
class clsInstrument {
public:
    enum class Option { TQ_INSTRUMENT_OPTIONS(TQ_INSTRUMENT_NAME) };
    enum class TextOption { TQ_INSTRUMENT_TEXTS(TQ_INSTRUMENT_NAME) };
    enum class GasFlag { TQ_INSTRUMENT_GAS_FLAGS(TQ_INSTRUMENT_NAME) };
    enum class GasValue { TQ_INSTRUMENT_GAS_VALUES(TQ_INSTRUMENT_NAME) };
    enum class GasInteger { TQ_INSTRUMENT_GAS_INTEGERS(TQ_INSTRUMENT_NAME) };

    static constexpr int kOptionCount = 0 TQ_INSTRUMENT_OPTIONS(TQ_INSTRUMENT_COUNT);
    static constexpr int kTextCount = 0 TQ_INSTRUMENT_TEXTS(TQ_INSTRUMENT_COUNT);
    static constexpr int kGasFlagCount = 0 TQ_INSTRUMENT_GAS_FLAGS(TQ_INSTRUMENT_COUNT);
    static constexpr int kGasValueCount = 0 TQ_INSTRUMENT_GAS_VALUES(TQ_INSTRUMENT_COUNT);
    static constexpr int kGasIntegerCount = 0 TQ_INSTRUMENT_GAS_INTEGERS(TQ_INSTRUMENT_COUNT);

    static constexpr qint16 kGasSlotCount = 2;
    static constexpr qint16 kStationCount = 256;
    static constexpr qint16 kAnalogCount = 9;
    static constexpr qint16 kLimitCount = 2;

    clsInstrument();

    // --- Generic access by table entry -------------------------------------------------
    qint16 option(Option which) const;
    void setOption(Option which, qint16 value);
    bool changeFlag(Option which) const;
    void setChangeFlag(Option which, bool raised);

    QString text(TextOption which) const;
    void setText(TextOption which, const QString &value);
    bool changeFlag(TextOption which) const;
    void setChangeFlag(TextOption which, bool raised);

    float gasValue(GasValue which, qint16 slot) const;
    void setGasValue(GasValue which, qint16 slot, float value);
    qint16 gasInteger(GasInteger which, qint16 slot) const;
    void setGasInteger(GasInteger which, qint16 slot, qint16 value);
    bool gasChangeFlag(GasFlag which, qint16 slot) const;
    void setGasChangeFlag(GasFlag which, qint16 slot, bool raised);

    // --- Named accessors ----------------------------------------------------------------
    // clang-format off
#define TQ_INSTRUMENT_OPTION_ACCESSORS(name, flag, ...)                                            \
    qint16 name() const { return option(Option::name); }                                           \
    void set##name(qint16 value) { setOption(Option::name, value); }                               \
    bool flag() const { return changeFlag(Option::name); }                                         \
    void set##flag(bool raised) { setChangeFlag(Option::name, raised); }
    TQ_INSTRUMENT_OPTIONS(TQ_INSTRUMENT_OPTION_ACCESSORS)
#undef TQ_INSTRUMENT_OPTION_ACCESSORS

#define TQ_INSTRUMENT_TEXT_ACCESSORS(name, flag, ...)                                              \
    QString name() const { return text(TextOption::name); }                                        \
    void set##name(const QString &value) { setText(TextOption::name, value); }                     \
    bool flag() const { return changeFlag(TextOption::name); }                                     \
    void set##flag(bool raised) { setChangeFlag(TextOption::name, raised); }
    TQ_INSTRUMENT_TEXTS(TQ_INSTRUMENT_TEXT_ACCESSORS)
#undef TQ_INSTRUMENT_TEXT_ACCESSORS

#define TQ_INSTRUMENT_GAS_FLAG_ACCESSORS(name)                                                     \
    bool Change_##name(qint16 slot) const { return gasChangeFlag(GasFlag::name, slot); }           \
    void setChange_##name(qint16 slot, bool raised) { setGasChangeFlag(GasFlag::name, slot, raised); }
    TQ_INSTRUMENT_GAS_FLAGS(TQ_INSTRUMENT_GAS_FLAG_ACCESSORS)
#undef TQ_INSTRUMENT_GAS_FLAG_ACCESSORS

#define TQ_INSTRUMENT_GAS_VALUE_ACCESSORS(name, ...)                                               \
    float name(qint16 slot) const { return gasValue(GasValue::name, slot); }                       \
    void set##name(qint16 slot, float value) { setGasValue(GasValue::name, slot, value); }
    TQ_INSTRUMENT_GAS_VALUES(TQ_INSTRUMENT_GAS_VALUE_ACCESSORS)
#undef TQ_INSTRUMENT_GAS_VALUE_ACCESSORS

#define TQ_INSTRUMENT_GAS_INTEGER_ACCESSORS(name, ...)                                             \
    qint16 name(qint16 slot) const { return gasInteger(GasInteger::name, slot); }                  \
    void set##name(qint16 slot, qint16 value) { setGasInteger(GasInteger::name, slot, value); }
    TQ_INSTRUMENT_GAS_INTEGERS(TQ_INSTRUMENT_GAS_INTEGER_ACCESSORS)
#undef TQ_INSTRUMENT_GAS_INTEGER_ACCESSORS

#define TQ_INSTRUMENT_PLAIN_ACCESSORS(type, name, ...)                                             \
    type name() const { return m_##name; }                                                         \
    void set##name(const type &value) { m_##name = value; }
    TQ_INSTRUMENT_PLAIN(TQ_INSTRUMENT_PLAIN_ACCESSORS)
#undef TQ_INSTRUMENT_PLAIN_ACCESSORS
    // clang-format on

    // The minimum flow level: a Long, whose flag SetChangeFlags and ClearDatas leave alone.
    qint32 FlowLevel() const {
        return m_flowLevel;
    }
    void setFlowLevel(qint32 value);
    bool Change_FlowLevel() const {
        return m_changeFlowLevel;
    }
    void setChange_FlowLevel(bool raised) {
        m_changeFlowLevel = raised;
    }

    // Station names 0 to 255, stored as given (no trimming); any other index reads the
    // empty text or False and ignores a set.
    QString StationList(qint16 index) const;
    void setStationList(qint16 index, const QString &value);
    bool Change_StationList(qint16 index) const;
    void setChange_StationList(qint16 index, bool raised);

    // Gas slot 0 only; any other slot reads the empty text, False or the date value 0 and
    // ignores a set.
    QString GasName(qint16 slot) const;
    void setGasName(qint16 slot, const QString &value);
    QString GasUnit(qint16 slot) const;
    void setGasUnit(qint16 slot, const QString &value);
    bool GasEnabled(qint16 slot) const;
    void setGasEnabled(qint16 slot, bool value); // raises Change_GasEnable(slot)
    Date CalibDate(qint16 slot) const;
    void setCalibDate(qint16 slot, const Date &value);
    Date LogMaxDate(qint16 slot) const;
    void setLogMaxDate(qint16 slot, const Date &value);
    Date LogMinDate(qint16 slot) const;
    void setLogMinDate(qint16 slot, const Date &value);

    // Live readings; an index out of range throws TqError(SubscriptOutOfRange).
    qint16 AnalogValue(qint16 index) const; // 0 to 8
    void setAnalogValue(qint16 index, qint16 value);
    float LimitValue(qint16 index) const; // 0 to 1
    void setLimitValue(qint16 index, float value);

    // --- Operations ---------------------------------------------------------------------
    // Stores `raised` into every change flag but those of FlowLevel and pressOffset.
    void SetChangeFlags(bool raised);
    void ClearChangeFlags() {
        SetChangeFlags(false);
    }
    // Back to the defaults of a fresh object, every change flag but those of FlowLevel and
    // pressOffset cleared. Nothing a previously read detector reported for its identity,
    // firmware or options survives into the next one.
    void ClearDatas();

    // --- The log database ---------------------------------------------------------------
    // Fills the identity, Intervals and the stored-log fields of gas slot 0 from the
    // Log_Head row SeqNo of the database at databasePath, without raising change flags.
    // Nothing changes without a database file or a row; then false. Failures throw TqError.
    bool LoadDatabase(const QString &databasePath, qint64 SeqNo);
    // Replaces this detector's row in cLatestHist (one per station, user and serial number)
    // by its latest calibration, in one transaction. Nothing happens without a database
    // file. Always False; failures throw TqError.
    bool HistoryUpdate(const QString &databasePath);

private:
    struct GasSlotZero {
        QString name;
        QString unit;
        bool enabled = false;
        Date calibDate;
        Date logMaxDate;
        Date logMinDate;
        std::array<qint16, kGasIntegerCount> integers{};
    };

    std::array<qint16, kOptionCount> m_options{};
    std::array<bool, kOptionCount> m_optionFlags{};
    std::array<QString, kTextCount> m_texts;
    std::array<bool, kTextCount> m_textFlags{};

#define TQ_INSTRUMENT_PLAIN_MEMBER(type, name, ...) type m_##name{};
    TQ_INSTRUMENT_PLAIN(TQ_INSTRUMENT_PLAIN_MEMBER)
#undef TQ_INSTRUMENT_PLAIN_MEMBER

    qint32 m_flowLevel = 0;
    bool m_changeFlowLevel = false;

    std::array<QString, kStationCount> m_stationList;
    std::array<bool, kStationCount> m_stationFlags{};

    // Only the alarm levels reach slot 1; the other members keep slot 0 alone.
    std::array<std::array<float, kGasValueCount>, kGasSlotCount> m_gasValues{};
    GasSlotZero m_gas;
    std::array<bool, kGasFlagCount> m_gasFlags{};

    std::array<qint16, kAnalogCount> m_analogValues{};
    std::array<float, kLimitCount> m_limitValues{};
};

#undef TQ_INSTRUMENT_NAME
#undef TQ_INSTRUMENT_COUNT

} // namespace tq
