#include "link/serial_port_control.h"

#include "link/usb_port_finder.h"

namespace tq {

namespace {

constexpr int kBothLines = ModemLine::Cts | ModemLine::Dsr;

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
    if (open == m_port.isOpen())
        return true;
    if (!open) {
        m_port.close();
        m_lines = 0;
        return true;
    }
    m_port.setPortName(SerialDevicePath(portNumber()));
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
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
    if (!m_port.isOpen() || !m_hasModemLines)
        return;
    const int lines = readLines();
    if (lines < 0)
        return;
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

void SerialPortControl::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        // The device went away (a hang-up reads as an I/O error): the cable was pulled.
        m_port.close();
        m_lines = 0;
        postEvent(CommEvent::CtsChange);
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
