#pragma once

#include "link/link_port.h"

#include <QSerialPort>

namespace tq {

// The serial converter's port on QSerialPort. The port number opens the device that
// SerialDevicePath gives for it. A device without modem lines (a pseudo-terminal) counts as
// a detector present once it is open; a hang-up or resource error counts as both modem
// lines off. Receive events are posted, so a handler that waits in a nested event loop
// still gets the data that follows.
class SerialPortControl : public SerialLinkPort {
    Q_OBJECT
public:
    explicit SerialPortControl(QObject *parent = nullptr);
    ~SerialPortControl() override;

    bool isOpen() const override;
    bool setOpen(bool open) override;
    void write(const QByteArray &bytes) override;
    QByteArray takeReceived() override;
    int modemLines() const override { return m_lines; }
    void pollLines() override;

protected:
    void applyOptions() override;

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void postEvent(int code);
    int readLines();

    QSerialPort m_port;
    bool m_hasModemLines = false;
    int m_lines = 0;
    bool m_receivePosted = false;
};

} // namespace tq
