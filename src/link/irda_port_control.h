#pragma once

#include "link/link_port.h"

#include <QSerialPort>

namespace tq {

// The infrared port. Linux has no infrared stack: this port talks to the byte-stream device
// that the environment variable TQ6200_IRDA_PORT names (an IrCOMM tty or a simulator's
// pseudo-terminal) and is available only when that device exists. It reports a detector in
// range (InfraredConnect) on the first poll after opening, collects `receiveSize` bytes per
// receive event and stores whole blocks into the image file. A hang-up is a socket error;
// the device is then opened again by the first poll that finds it back.
class IrdaPortControl : public InfraredLinkPort {
    Q_OBJECT
public:
    explicit IrdaPortControl(QObject *parent = nullptr);
    ~IrdaPortControl() override;

    bool isOpen() const override;
    bool setOpen(bool open) override;
    void write(const QByteArray &bytes) override;
    QByteArray takeReceived() override;

    bool available() const override;
    int lastError() const override { return m_lastError; }
    void poll() override;
    int receiveSize() const override { return m_receiveSize; }
    void setReceiveSize(int bytes) override;
    QString imagePath() const override { return m_imagePath; }
    void setImagePath(const QString &path) override { m_imagePath = path; }
    bool storeBlock(qint64 offset) override;
    bool createErasedImage(qint64 bytes) override;

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void deliver();
    void postDelivery();

    QSerialPort m_port;
    QByteArray m_pending;  // arrived, not yet delivered
    QByteArray m_received; // the bytes of the current receive event
    int m_receiveSize = 0;
    int m_lastError = 0;
    bool m_inRange = false;
    bool m_awaited = false; // went away while open: opened again once back
    bool m_deliveryPosted = false;
    QString m_imagePath;
};

} // namespace tq
