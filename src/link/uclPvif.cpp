#include "link/uclPvif.h"

#include "core/errors.h"
#include "core/instrument/clsInstrument.h"
#include "core/messages.h"
#include "link/irda_port_control.h"
#include "link/protocol/frame.h"
#include "link/serial_log.h"
#include "link/serial_port_control.h"

#include <QEventLoop>
#include <QFile>

#include <cmath>
#include <limits>

namespace tq {

namespace {

constexpr int kTickMs = 100;
constexpr int kDensityMs = 1000;

} // namespace

uclPvif::uclPvif(QObject *parent)
    : uclPvif(std::make_unique<SerialPortControl>(), std::make_unique<IrdaPortControl>(), parent) {}

uclPvif::uclPvif(std::unique_ptr<SerialLinkPort> serial, std::unique_ptr<InfraredLinkPort> infrared,
                 QObject *parent)
    : QObject(parent), m_serial(std::move(serial)), m_infrared(std::move(infrared)) {
    m_context.AddLog = [this](const QString &text) { AddLog(text); };
    m_context.SetSerialLog = [this](const QString &text) { SetSerialLog(text); };
    m_context.OnConnect = [this] { emit OnConnect(); };
    m_context.Densty = [this](std::array<float, 5> &values) {
        emit Densty(values[0], values[1], values[2], values[3], values[4]);
    };
    m_context.WriteDumpList = [this] { WriteDumpList(); };
    connect(m_serial.get(), &LinkPort::commEvent, this, &uclPvif::onSerialEvent);
    connect(m_infrared.get(), &LinkPort::commEvent, this, &uclPvif::onInfraredEvent);
    // The serial port as a host that stores none of its properties leaves it.
    m_serial->setHandshaking(0);
    m_serial->setRts(false);
    m_serial->setDtr(false);
    m_serial->setPortNumber(4);
    m_serial->setSettings(QStringLiteral("9600,n,8,1"));
    m_infrared->setOpen(false);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &uclPvif::tmrTimer_Timer);
    m_timer.start();
    m_densityTimer.setInterval(kDensityMs);
    connect(&m_densityTimer, &QTimer::timeout, this, &uclPvif::tmrDenst_Timer);
}

uclPvif::~uclPvif() = default;

void uclPvif::AddLog(const QString &vData) {
    SetSerialLog(vData);
}

bool uclPvif::SetSerialLog(const QString &text) const {
    return tq::SetSerialLog(m_serialLogFolder, text);
}

void uclPvif::setLinkSettings(const LinkSettings &settings) {
    setTimeout(settings.CommTimeout);
    m_retry = settings.CommRetry;
    m_commDelay = settings.CommDelay;
    m_serialLogFolder = settings.AppFolder;
}

qint16 uclPvif::Timeout() const {
    return static_cast<qint16>(std::lround(m_timeoutTicks / 10.0));
}

void uclPvif::setTimeout(qint16 seconds) {
    const int ticks = seconds * 10;
    if (ticks > std::numeric_limits<qint16>::max() || ticks < std::numeric_limits<qint16>::min())
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("Time-out %1 s is out of range").arg(seconds));
    m_timeoutTicks = static_cast<qint16>(ticks);
}

void uclPvif::setCancel(bool cancel) {
    m_cancel = cancel;
    wake();
}

qint16 uclPvif::CommPort() const {
    return portInUse().portNumber();
}

void uclPvif::setCommPort(qint16 number) {
    m_serial->setPortNumber(number);
}

bool uclPvif::PortOpen() const {
    return portInUse().isOpen();
}

void uclPvif::setPortOpen(bool open) {
    portInUse().setOpen(open);
}

bool uclPvif::DTREnable() const {
    return portInUse().dtr();
}

void uclPvif::setDTREnable(bool on) {
    portInUse().setDtr(on);
}

qint16 uclPvif::Handshaking() const {
    return portInUse().handshaking();
}

void uclPvif::setHandshaking(qint16 mode) {
    portInUse().setHandshaking(mode);
}

bool uclPvif::RTSEnable() const {
    return portInUse().rts();
}

void uclPvif::setRTSEnable(bool on) {
    portInUse().setRts(on);
}

QString uclPvif::Settings() const {
    return portInUse().settings();
}

void uclPvif::setSettings(const QString &text) {
    portInUse().setSettings(text);
}

float uclPvif::FactCal(qint16 index) const {
    if (index < 0 || index >= qint16(m_factCal.size()))
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("FactCal index %1 is out of range").arg(index));
    return m_factCal[index];
}

void uclPvif::setFactCal(qint16 index, float value) {
    if (index < 0 || index >= qint16(m_factCal.size()))
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("FactCal index %1 is out of range").arg(index));
    m_factCal[index] = value;
}

void uclPvif::setInstrument(clsInstrument *instrument) {
    if (instrument)
        m_context.Instrument = instrument;
}

bool uclPvif::DisConnect() {
    m_tickCount = 0;
    setStatus(LinkStatus::Idle);
    return false;
}

void uclPvif::setTimerEnabled(bool on) {
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void uclPvif::setStatus(qint32 status) {
    m_status = status;
    wake();
}

bool uclPvif::infraredInUse() const {
    return !m_serialComm && m_infrared->available();
}

LinkPort &uclPvif::portInUse() const {
    if (infraredInUse())
        return *m_infrared;
    return *m_serial;
}

void uclPvif::DataSend(const QByteArray &Datas, bool InitFlag) {
    m_receiveBuffer.clear();
    if (infraredInUse()) {
        const int receiveSize = m_infrared->receiveSize();
        m_infrared->setReceiveSize(0);
        m_infrared->write(Datas);
        m_infrared->setReceiveSize(receiveSize);
    } else {
        m_serial->write(Datas);
    }
    emit StsTransmit();
    m_replyReceived = false;
    m_context.LastSentFrame = Datas;
    m_replyCountdown = m_timeoutTicks;
    if (InitFlag)
        m_retryCounter = 0;
    SetSerialLog(LoadMessage(5552, {ShowControlChars(Datas)}));
}

// --- Waiting ----------------------------------------------------------------------------

void uclPvif::waitUntil(const std::function<bool()> &done) {
    while (!done()) {
        QEventLoop loop;
        m_waits.push_back(&loop);
        loop.exec();
        m_waits.pop_back();
    }
}

void uclPvif::waitTicks(qint32 ticks) {
    m_tickCount = 0;
    waitUntil([this, ticks] { return m_tickCount >= ticks; });
}

// Every waiting loop looks at its condition again.
void uclPvif::wake() {
    for (QEventLoop *loop : m_waits)
        loop->quit();
}

qint32 uclPvif::exchange(qint32 pending, const QString &command,
                         const std::function<void()> &whileWaiting, bool untilCancel) {
    if (!Connected()) {
        SetSerialLog(QStringLiteral("<<< Not connected: %1 >>>").arg(command));
        setStatus(LinkStatus::Failed);
        return m_status;
    }
    setStatus(pending);
    DataSend(MakeFrame(command), true);
    waitUntil([&] {
        if (whileWaiting)
            whileWaiting();
        return m_status != pending || (untilCancel && m_cancel);
    });
    return m_status;
}

// --- Reading poll -----------------------------------------------------------------------

void uclPvif::setRunDensty(bool on) {
    if (on == m_densityTimer.isActive())
        return;
    if (on) {
        m_densityTimer.start();
        m_tickCount = 0;
        return;
    }
    waitUntil([this] { return m_status != LinkStatus::ReadPending; });
    m_densityTimer.stop();
}

void uclPvif::tmrDenst_Timer() {
    if (m_status == LinkStatus::Idle || m_status == LinkStatus::Done) {
        setStatus(LinkStatus::ReadPending);
        m_retryCounter = 0;
        DataSend(MakeFrame(QStringLiteral("DN,R,")), true);
    } else if (m_status == LinkStatus::ReadPending) {
        SetSerialLog(DatedLogLine(5560, Date::now()));
        setStatus(LinkStatus::Idle);
    }
}

} // namespace tq
