#include "link/serial_port_control.h"

#include "link/usb_port_finder.h"

#include <QFile>

#include <sys/stat.h>

namespace tq {

namespace {

constexpr int kBothLines = ModemLine::Cts | ModemLine::Dsr;
// A device that is there but cannot be opened yet (its permissions still being set up, or
// another program holding it) is tried again after half a second.
constexpr int kReopenRetryTicks = 5;
// Listing the serial ports costs more than one look at a device node: once a second.
constexpr int kRelistTicks = 10;

// The device number of the character device at `path` (a symbolic link followed); 0 when
// there is none.
quint64 deviceIdAt(const QString &path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 ||
        !S_ISCHR(info.st_mode))
        return 0;
    return info.st_rdev;
}

QSerialPort::Parity parityOf(const QString &letter) {
    const QChar c = letter.isEmpty() ? QChar('n') : letter.at(0).toLower();
    if (c == 'e')
        return QSerialPort::EvenParity;
    if (c == 'o')
        return QSerialPort::OddParity;
    if (c == 'm')
        return QSerialPort::MarkParity;
    if (c == 's')
        return QSerialPort::SpaceParity;
    return QSerialPort::NoParity;
}

QSerialPort::StopBits stopBitsOf(const QString &text) {
    if (text == QLatin1String("2"))
        return QSerialPort::TwoStop;
    if (text == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    return QSerialPort::OneStop;
}

// "baud,parity,data bits,stop bits"; a text that does not read so leaves the port as it is.
void applyLineSettings(QSerialPort &port, const QString &text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 4)
        return;
    bool baudOk = false;
    bool bitsOk = false;
    const int baud = parts[0].trimmed().toInt(&baudOk);
    const int bits = parts[2].trimmed().toInt(&bitsOk);
    if (!baudOk || !bitsOk || bits < 5 || bits > 8)
        return;
    port.setBaudRate(baud);
    port.setParity(parityOf(parts[1].trimmed()));
    port.setDataBits(static_cast<QSerialPort::DataBits>(bits));
    port.setStopBits(stopBitsOf(parts[3].trimmed()));
}

} // namespace

SerialPortControl::SerialPortControl(QObject *parent) : SerialLinkPort(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPortControl::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPortControl::onError);
}

SerialPortControl::~SerialPortControl() = default;

bool SerialPortControl::isOpen() const {
    return m_port.isOpen();
}

bool SerialPortControl::setOpen(bool open) {
    m_awaited = false;
    if (open == m_port.isOpen())
        return true;
    if (!open) {
        m_port.close();
        m_lines = 0;
        return true;
    }
    const QString path = SerialDevicePath(portNumber());
    if (openDevice(path))
        return true;
    // A device that is not there (a converter still unplugged) is opened by the ticks once
    // it is, as after a replug.
    if (deviceIdAt(path) == 0)
        awaitDevice();
    return false;
}

bool SerialPortControl::openDevice(const QString &path) {
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_path = path;
    m_deviceId = deviceIdAt(path);
    applyOptions();
    // A closed port shows no lines, so lines found on at opening are a change.
    const int lines = readLines();
    m_hasModemLines = lines >= 0;
    m_lines = m_hasModemLines ? lines : kBothLines;
    if (m_lines != 0)
        postEvent(CommEvent::CtsChange);
    return true;
}

// Handed to the device at once, so a command does not wait for the next event loop turn.
void SerialPortControl::write(const QByteArray &bytes) {
    if (!m_port.isOpen())
        return;
    m_port.write(bytes);
    m_port.flush();
}

QByteArray SerialPortControl::takeReceived() {
    return m_port.readAll();
}

void SerialPortControl::pollLines() {
    if (m_awaited) {
        reopenWhenBack();
        return;
    }
    if (!m_port.isOpen())
        return;
    // A device node removed or replaced (a converter unplugged and another one plugged in)
    // may say nothing on the open port.
    if (m_deviceId != 0 && deviceIdAt(m_path) != m_deviceId) {
        loseDevice();
        return;
    }
    if (!m_hasModemLines)
        return;
    const int lines = readLines();
    if (lines < 0) {
        // Lines that could be read at opening and no longer can: the device failed.
        loseDevice();
        return;
    }
    const int changed = lines ^ m_lines;
    m_lines = lines;
    if (changed & ModemLine::Cts)
        emit commEvent(CommEvent::CtsChange);
    if (changed & ModemLine::Dsr)
        emit commEvent(CommEvent::DsrChange);
}

void SerialPortControl::applyOptions() {
    if (!m_port.isOpen())
        return;
    applyLineSettings(m_port, settings());
    m_port.setFlowControl(handshaking() >= 2   ? QSerialPort::HardwareControl
                          : handshaking() == 1 ? QSerialPort::SoftwareControl
                                               : QSerialPort::NoFlowControl);
    // Under hardware flow control the driver owns RTS.
    if (handshaking() < 2)
        m_port.setRequestToSend(rts());
    m_port.setDataTerminalReady(dtr());
    m_port.clearError();
}

// The CTS and DSR bits, or -1 when the device has no modem lines.
int SerialPortControl::readLines() {
    const QSerialPort::PinoutSignals pins = m_port.pinoutSignals();
    if (m_port.error() != QSerialPort::NoError) {
        m_port.clearError();
        return -1;
    }
    return (pins.testFlag(QSerialPort::ClearToSendSignal) ? ModemLine::Cts : 0) |
           (pins.testFlag(QSerialPort::DataSetReadySignal) ? ModemLine::Dsr : 0);
}

void SerialPortControl::onReadyRead() {
    if (m_receivePosted)
        return;
    m_receivePosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_receivePosted = false;
            if (m_port.isOpen() && m_port.bytesAvailable() > 0)
                emit commEvent(CommEvent::Receive);
        },
        Qt::QueuedConnection);
}

// The device went away: closed and reported as a pulled cable. The ticks that follow look
// for it again.
void SerialPortControl::loseDevice() {
    if (m_awaited || !m_port.isOpen())
        return;
    m_port.close();
    m_lines = 0;
    awaitDevice();
    postEvent(CommEvent::CtsChange);
}

void SerialPortControl::awaitDevice() {
    m_awaited = true;
    m_ticksToNextTry = 0;
    m_ticksToRelist = kRelistTicks;
}

// The same device path once its node is there again; for the converter's port, also the
// converter plugged back under another name. Nothing is reported while it stays away.
void SerialPortControl::reopenWhenBack() {
    if (m_ticksToNextTry > 0) {
        --m_ticksToNextTry;
        return;
    }
    QString path = SerialDevicePath(portNumber());
    if (deviceIdAt(path) == 0) {
        if (portNumber() != kConverterPortNumber || --m_ticksToRelist > 0)
            return;
        m_ticksToRelist = kRelistTicks;
        path = FindConverterAgain();
        if (path.isEmpty())
            return;
    }
    if (openDevice(path))
        m_awaited = false;
    else
        m_ticksToNextTry = kReopenRetryTicks;
}

void SerialPortControl::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        // A hang-up reads as an I/O error: the cable was pulled or the converter unplugged.
        loseDevice();
        break;
    case QSerialPort::WriteError:
        postEvent(CommEvent::SendOverflow);
        break;
    default:
        break;
    }
}

void SerialPortControl::postEvent(int code) {
    QMetaObject::invokeMethod(
        this, [this, code] { emit commEvent(code); }, Qt::QueuedConnection);
}

} // namespace tq
