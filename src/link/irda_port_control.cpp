#include "link/irda_port_control.h"

#include <QFile>

#include <sys/stat.h>

#include <utility>

namespace tq {

namespace {

constexpr int kConnectionReset = 10054; // the socket error of a link that went away

QString infraredDevice() {
    return qEnvironmentVariable("TQ6200_IRDA_PORT");
}

} // namespace

IrdaPortControl::IrdaPortControl(QObject *parent) : InfraredLinkPort(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &IrdaPortControl::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &IrdaPortControl::onError);
}

IrdaPortControl::~IrdaPortControl() = default;

bool IrdaPortControl::available() const {
    const QString device = infraredDevice();
    struct stat info {};
    return !device.isEmpty() && ::stat(QFile::encodeName(device).constData(), &info) == 0 &&
           (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode));
}

bool IrdaPortControl::isOpen() const {
    return m_port.isOpen();
}

bool IrdaPortControl::setOpen(bool open) {
    m_awaited = false;
    if (open == m_port.isOpen())
        return true;
    m_inRange = false;
    m_pending.clear();
    if (!open) {
        m_port.close();
        return true;
    }
    if (!available())
        return false;
    m_port.setPortName(infraredDevice());
    return m_port.open(QIODevice::ReadWrite);
}

// What is still waiting from an earlier reply belongs to no command from now on.
void IrdaPortControl::write(const QByteArray &bytes) {
    m_pending.clear();
    if (!m_port.isOpen())
        return;
    m_port.write(bytes);
    m_port.flush();
}

QByteArray IrdaPortControl::takeReceived() {
    return std::exchange(m_received, QByteArray());
}

void IrdaPortControl::poll() {
    // A device that went away is opened again once it is back; the poll then reports it.
    if (m_awaited && available())
        m_awaited = !setOpen(true);
    if (m_port.isOpen() && !m_inRange) {
        m_inRange = true;
        emit commEvent(CommEvent::InfraredConnect);
    }
}

void IrdaPortControl::setReceiveSize(int bytes) {
    m_receiveSize = bytes;
    postDelivery();
}

bool IrdaPortControl::storeBlock(qint64 offset) {
    QFile file(m_imagePath);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) &&
           file.write(m_received) == m_received.size();
}

bool IrdaPortControl::createErasedImage(qint64 bytes) {
    QFile file(m_imagePath);
    const QByteArray erased(bytes, char(0xFF));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(erased) == erased.size();
}

void IrdaPortControl::onReadyRead() {
    m_pending += m_port.readAll();
    postDelivery();
}

void IrdaPortControl::postDelivery() {
    if (m_deliveryPosted || m_pending.isEmpty())
        return;
    m_deliveryPosted = true;
    QMetaObject::invokeMethod(this, &IrdaPortControl::deliver, Qt::QueuedConnection);
}

// One event per whole block while a receive size is set, else one for all that arrived.
void IrdaPortControl::deliver() {
    m_deliveryPosted = false;
    while (m_port.isOpen() && !m_pending.isEmpty() &&
           (m_receiveSize == 0 || m_pending.size() >= m_receiveSize)) {
        const qsizetype size = m_receiveSize == 0 ? m_pending.size() : m_receiveSize;
        m_received = m_pending.left(size);
        m_pending.remove(0, size);
        emit commEvent(CommEvent::Receive);
    }
}

void IrdaPortControl::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    m_lastError = kConnectionReset;
    // A hang-up reads as an I/O error: the detector's side is gone.
    if (error != QSerialPort::WriteError && m_port.isOpen()) {
        m_port.close();
        m_inRange = false;
        m_awaited = true;
    }
    QMetaObject::invokeMethod(
        this, [this] { emit commEvent(CommEvent::InfraredSocketError); }, Qt::QueuedConnection);
}

} // namespace tq
