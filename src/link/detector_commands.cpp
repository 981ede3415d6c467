// The detector's one-shot commands: clock, pump, calibrations, clears, defaults, power off.
#include "core/messages.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"

#include <QDeadlineTimer>

namespace tq {

namespace {

constexpr qint32 kZeroConfirmTicks = 10;
constexpr qint32 kPowerOffTicks = 50;
constexpr qint64 kDefaultConfirmSeconds = 5;

QString now() {
    return Date::now().generalDate();
}

bool statusCharIsZero(const QString &text, qint16 index) {
    return index >= 0 && index <= 4 && index < text.size() && text.at(index) == '0';
}

} // namespace

bool uclPvif::SetDateTime(const Date &vData) {
    m_tickCount = 0;
    return exchange(LinkStatus::WritePending,
                    QStringLiteral("HC,W,") + vData.format(QStringLiteral("yyMMddHHmmss"))) ==
           LinkStatus::Done;
}

bool uclPvif::SetPump(bool Values) {
    return exchange(LinkStatus::WritePending, QStringLiteral("BP,W,") + (Values ? '1' : '0')) ==
           LinkStatus::Done;
}

// Yields until `done` holds; false when Cancel ended the wait first.
bool uclPvif::waitOrCancel(const std::function<bool()> &done) {
    waitUntil([&] { return m_cancel || done(); });
    return !m_cancel;
}

// Sends `confirm` after each `pause` until `finished` holds. Fails on a failed exchange, on
// Cancel, and when the detector is still busy after the confirm limit.
bool uclPvif::confirmLoop(const QString &confirm, qint32 pending,
                          const std::function<bool()> &pause,
                          const std::function<bool()> &finished) {
    const QDeadlineTimer limit(m_confirmLimitMs);
    for (;;) {
        if (!pause())
            return false;
        if (limit.hasExpired()) {
            SetSerialLog(QStringLiteral("<<< %1 no confirmation >>>").arg(confirm));
            return false;
        }
        if (exchange(pending, confirm) != LinkStatus::Done)
            return false;
        if (finished())
            return true;
    }
}

bool uclPvif::ZeroCal(const QString &GasFlag) {
    m_operationOk = true;
    m_cancel = false;
    if (exchange(LinkStatus::WritePending, QStringLiteral("SZ,W,") + GasFlag) != LinkStatus::Done) {
        SetSerialLog(LoadMessage(5516, {now()}));
        return false;
    }
    return confirmLoop(
        QStringLiteral("SZ,C,"), LinkStatus::WritePending,
        [this] {
            m_tickCount = 0;
            return waitOrCancel([this] { return m_tickCount >= kZeroConfirmTicks; });
        },
        [this] { return m_context.ZeroStatusText.size() == 5; });
}

bool uclPvif::ZeroStatus(qint16 Index) const {
    return m_context.ZeroStatusText.size() == 5 &&
           statusCharIsZero(m_context.ZeroStatusText, Index);
}

bool uclPvif::SpanCal(const QString &GasFlag) {
    m_operationOk = true;
    if (exchange(LinkStatus::WritePending, QStringLiteral("S1,W,") + GasFlag) == LinkStatus::Done)
        return true;
    SetSerialLog(LoadMessage(5516, {now()}));
    return false;
}

bool uclPvif::SpanStatus(qint16 Index) const {
    return statusCharIsZero(m_context.SpanStatusText, Index);
}

bool uclPvif::clearSequence(const QString &write, const QString &confirm) {
    m_operationOk = true;
    m_cancel = false;
    SetSerialLog(LoadMessage(5556));
    bool cleared = exchange(LinkStatus::WritePending, write) == LinkStatus::Done;
    if (cleared) {
        m_context.ConfirmAcknowledged = false;
        const qint32 delay = m_commDelay;
        cleared = confirmLoop(
            confirm, LinkStatus::WritePending,
            [this, delay] {
                m_tickCount = 0;
                return waitOrCancel([this, delay] { return m_tickCount >= delay; });
            },
            [this] { return m_context.ConfirmAcknowledged; });
    }
    SetSerialLog(LoadMessage(cleared ? 5557 : 5558));
    return cleared;
}

bool uclPvif::BodyDataClear() {
    return clearSequence(QStringLiteral("XC,W,"), QStringLiteral("XC,C,"));
}

bool uclPvif::PowerDataClear() {
    return clearSequence(QStringLiteral("XY,W,"), QStringLiteral("XY,C,"));
}

bool uclPvif::DefaultInstrument() {
    m_operationOk = true;
    m_cancel = false;
    bool done = exchange(LinkStatus::WritePending, QStringLiteral("UX,W,")) == LinkStatus::Done;
    if (done) {
        m_context.ConfirmAcknowledged = false;
        done = confirmLoop(
            QStringLiteral("UX,C,"), LinkStatus::ReadPending,
            [this] {
                const qint64 start = Date::now().totalSeconds();
                return waitOrCancel([start] {
                    return Date::now().totalSeconds() - start >= kDefaultConfirmSeconds;
                });
            },
            [this] { return m_context.ConfirmAcknowledged; });
    }
    SetSerialLog(done ? QStringLiteral("--- Default Setting Finished---.")
                      : QStringLiteral("--- Default Setting Failed---."));
    return done;
}

bool uclPvif::BodyPowerOff() {
    SetSerialLog(LoadMessage(5506));
    const bool accepted =
        exchange(LinkStatus::WritePending, QStringLiteral("RO,W,")) == LinkStatus::Done;
    m_serial->setOpen(false);
    m_infrared->setOpen(false);
    waitTicks(kPowerOffTicks);
    m_context.LinkState = LinkStateCode::NoLink;
    setStatus(LinkStatus::Reset);
    if (!m_serialComm)
        m_infrared->setOpen(true);
    SetSerialLog(LoadMessage(5507));
    return accepted;
}

} // namespace tq
