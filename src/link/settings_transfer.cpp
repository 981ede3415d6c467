// Moving the detector's settings between the detector and a settings object.
#include "core/gas_format.h"
#include "core/instrument/clsInstrument.h"
#include "core/instrument/gas_info_field.h"
#include "core/messages.h"
#include "link/hex_text.h"
#include "link/protocol/frame.h"
#include "link/read_list.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"

#include <algorithm>
#include <vector>

namespace tq {

namespace {

using Option = clsInstrument::Option;
using GasFlag = clsInstrument::GasFlag;

QString padded(const QString &text, int width) {
    return text.leftJustified(width, ' ', true);
}

QString decimal(qint16 value) {
    return QString::number(value);
}

QString level(const clsInstrument &iObj, float value) {
    return FormatValue5(value, iObj.GasPoint(0));
}

QString gasRecord(const clsInstrument &iObj) {
    if (!iObj.GasEnabled(0))
        return QString(kNoGasInfoField);
    return MakeGasInfoField(iObj.GasName(0), level(iObj, iObj.GasFullScale(0)),
                            level(iObj, iObj.GasDesit(0)), iObj.GasUnit(0));
}

// One write of the upload: sent when `due` holds, `clear` run after it succeeded.
struct UploadStep {
    std::function<bool(const clsInstrument &)> due;
    std::function<QString(const clsInstrument &)> command;
    std::function<void(clsInstrument &)> clear;
};

enum class Form { Decimal, Hex4, Digit };

UploadStep optionStep(const char *code, Option option, Form form) {
    return {[option](const clsInstrument &i) { return i.changeFlag(option); },
            [code, option, form](const clsInstrument &i) {
                const qint16 value = i.option(option);
                const QString text = form == Form::Hex4    ? Hex4(value)
                                     : form == Form::Digit ? QString(value != 0 ? "1" : "0")
                                                           : decimal(value);
                return QLatin1String(code) + text;
            },
            [option](clsInstrument &i) { i.setChangeFlag(option, false); }};
}

UploadStep gasLevelStep(const char *code, float (clsInstrument::*value)(qint16) const,
                        GasFlag flag) {
    return {[flag](const clsInstrument &i) { return i.gasChangeFlag(flag, 0); },
            [code, value](const clsInstrument &i) {
                return QLatin1String(code) + level(i, (i.*value)(0));
            },
            [flag](clsInstrument &i) { i.setGasChangeFlag(flag, 0, false); }};
}

constexpr Option kBumpOptions[] = {Option::BumpTime, Option::BumpThreshold, Option::BumpFailCalTime,
                                   Option::BumpFailAfter};

// The writes before the level passes, in their order.
std::vector<UploadStep> stepsBeforeLevels() {
    return {
        {[](const clsInstrument &i) { return i.Change_UserID(); },
         [](const clsInstrument &i) { return "XZ,W," + padded(i.UserID(), 16); },
         [](clsInstrument &i) { i.setChange_UserID(false); }},
        {[](const clsInstrument &i) { return i.Change_StationID(); },
         [](const clsInstrument &i) { return "XS,W,****," + padded(i.StationID(), 16); },
         [](clsInstrument &i) { i.setChange_StationID(false); }},
        {[](const clsInstrument &i) { return i.Change_SerialNo(); },
         [](const clsInstrument &i) { return "IN,W," + padded(i.SerialNo(), 20); },
         [](clsInstrument &i) { i.setChange_SerialNo(false); }},
        {[](const clsInstrument &i) {
             for (qint16 slot = 0; slot <= 3; ++slot) {
                 if (i.Change_GasEnable(slot))
                     return true;
             }
             return false;
         },
         [](const clsInstrument &i) { return "GJ,W," + gasRecord(i); },
         [](clsInstrument &i) {
             for (qint16 slot = 0; slot <= 4; ++slot)
                 i.setChange_GasEnable(slot, false);
         }},
        optionStep("AP,W,", Option::AlarmMode, Form::Decimal),
        optionStep("SD,W,", Option::DispCalLimit, Form::Digit),
        optionStep("SM,W,", Option::CalCheck, Form::Decimal),
        // Written in hex, the base in which the detector reports it.
        optionStep("XB,W,", Option::Confermation, Form::Hex4),
        optionStep("XW,W,", Option::LogOverWrite, Form::Decimal),
        optionStep("XT,W,", Option::LcdBackLight, Form::Hex4),
        optionStep("UQ,W,", Option::autoBackLight, Form::Decimal),
        optionStep("AM,W,", Option::StelTwaOnOff, Form::Decimal),
        {[](const clsInstrument &i) {
             return std::ranges::any_of(kBumpOptions, [&](Option o) { return i.changeFlag(o); });
         },
         [](const clsInstrument &i) {
             QStringList values;
             for (Option o : kBumpOptions)
                 values << decimal(i.option(o));
             return "BU,W," + values.join(',');
         },
         [](clsInstrument &i) {
             for (Option o : kBumpOptions)
                 i.setChangeFlag(o, false);
         }},
        optionStep("AF,W,", Option::AlarmOnOff, Form::Decimal),
        optionStep("AT,W,", Option::AlarmO2, Form::Decimal),
    };
}

// The writes after the level passes, before the station names.
std::vector<UploadStep> stepsAfterLevels() {
    return {
        gasLevelStep("AS,W,", &clsInstrument::Stel, GasFlag::Stel),
        gasLevelStep("AW,W,", &clsInstrument::Twa, GasFlag::Twa),
        optionStep("SC,W,", Option::CalLimit, Form::Hex4),
        optionStep("XP,W,", Option::Intervals, Form::Hex4),
        optionStep("SJ,W,", Option::AutoZero, Form::Decimal),
        optionStep("SG,W,", Option::DemandZero, Form::Decimal),
    };
}

constexpr int kLevelPasses = 3;

} // namespace

// --- Reads -----------------------------------------------------------------------------

bool uclPvif::readExchange(const QString &command, void (uclPvif::*relay)(const QString &)) {
    const auto relayMessage = [this, relay] {
        clsInstrument *instrument = m_context.Instrument;
        if (instrument && !instrument->MessageString().isEmpty()) {
            (this->*relay)(instrument->MessageString());
            instrument->setMessageString(QString());
        }
    };
    return exchange(LinkStatus::ReadPending, command, relayMessage) == LinkStatus::Done;
}

bool uclPvif::readEntries(clsInstrument *iObj, int last, bool clearFirst) {
    if (!iObj)
        return false;
    m_cancel = false;
    m_operationOk = true;
    m_context.Instrument = iObj;
    if (clearFirst)
        iObj->ClearDatas();
    iObj->setFailLine(QString());
    for (int index = 0; index <= last; ++index) {
        const QString &command = ReadList()[index];
        if (!command.isEmpty() && !readExchange(command, &uclPvif::InstMessage))
            return false;
    }
    return true;
}

bool uclPvif::GetInstrument(clsInstrument *iObj) {
    return readEntries(iObj, kLastReadEntry, true);
}

bool uclPvif::GetRomNo(clsInstrument *iObj) {
    return readEntries(iObj, kLastIdentityEntry, false);
}

bool uclPvif::GetLatestHistory(clsInstrument *iObj) {
    setInstrument(iObj);
    if (!iObj)
        return false;
    m_operationOk = true;
    if (readExchange(QStringLiteral("SO,R,"), &uclPvif::InterMessage) && m_operationOk)
        return true;
    setStatus(LinkStatus::Idle);
    return false;
}

bool uclPvif::ReadCommand(const QString &command, clsInstrument *iObj) {
    clsInstrument *const previous = m_context.Instrument;
    m_operationOk = true;
    m_cancel = false;
    m_context.Instrument = iObj;
    iObj->setFailLine(QString());
    const bool read = readExchange(command, &uclPvif::InstMessage);
    m_context.Instrument = previous;
    return read && m_operationOk;
}

bool uclPvif::GetGasInfo(clsInstrument *iObj) {
    if (!iObj)
        return false;
    const bool read = ReadCommand(QStringLiteral("GJ,R,"), iObj);
    if (!read) {
        setStatus(LinkStatus::Idle);
        SetGasInfo(QString(kNoGasInfoField), *iObj, 0);
    }
    return read;
}

bool uclPvif::GetAutoCalDensty(clsInstrument *iObj) {
    if (!iObj)
        return false;
    const bool read = ReadCommand(QStringLiteral("SA,R,"), iObj);
    if (!read) {
        setStatus(LinkStatus::Idle);
        iObj->setAutoCalib(0, -101.0f);
    }
    return read;
}

// --- Upload ----------------------------------------------------------------------------

void uclPvif::SendAndWait(bool &ok, const QString &command, bool &written) {
    if (!ok)
        return;
    if (exchange(LinkStatus::WritePending, command) == LinkStatus::Done)
        written = true;
    else
        ok = false;
}

bool uclPvif::SetInstrument(clsInstrument *iObj) {
    if (!iObj) {
        SetSerialLog(DatedLogLine(5538, Date::now()));
        return false;
    }
    m_cancel = false;
    m_operationOk = true;
    bool ok = true;
    bool written = false;
    m_context.Instrument = iObj;
    const Date start = Date::now();
    SetSerialLog(DatedLogLine(5536, start));

    const auto run = [&](const UploadStep &step) {
        if (!ok || !step.due(*iObj))
            return;
        SendAndWait(ok, step.command(*iObj), written);
        if (ok)
            step.clear(*iObj);
    };
    for (const UploadStep &step : stepsBeforeLevels())
        run(step);

    // A level counts as written only when the detector echoed exactly what was sent; one
    // that differs is tried again in the next pass.
    const UploadStep levels[] = {
        gasLevelStep("A1,W,", &clsInstrument::Warning, GasFlag::Warn),
        gasLevelStep("A2,W,", &clsInstrument::Alarm, GasFlag::Alarm),
        gasLevelStep("SA,W,", &clsInstrument::AutoCalib, GasFlag::AutoCal),
    };
    for (int pass = 0; pass < kLevelPasses; ++pass) {
        for (const UploadStep &step : levels) {
            if (!ok || !step.due(*iObj))
                continue;
            const QString command = step.command(*iObj);
            SendAndWait(ok, command, written);
            if (ok && m_lastReplyFrame == MakeFrame(command))
                step.clear(*iObj);
        }
    }

    for (const UploadStep &step : stepsAfterLevels())
        run(step);
    for (qint16 n = 0; n < clsInstrument::kStationCount; ++n) {
        run({[n](const clsInstrument &i) { return i.Change_StationList(n); },
             [n](const clsInstrument &i) {
                 return "XS,W," + Hex4(n) + ',' + padded(i.StationList(n), 16);
             },
             [n](clsInstrument &i) { i.setChange_StationList(n, false); }});
    }

    if (written)
        SendAndWait(ok, QStringLiteral("DW,W,"), written);
    if (ok)
        SetSerialLog(TimedLogLine(5537, start, Date::now()));
    else
        SetSerialLog(DatedLogLine(5538, Date::now()));
    return written && ok;
}

} // namespace tq
