#pragma once

#include "link/link_port.h"

#include <QSerialPort>

namespace tq {

// The serial converter's port on QSerialPort. The port number opens the device that
// SerialDevicePath gives for it. A device without modem lines (a pseudo-terminal) counts as
// a detector present once it is open. A device that goes away (hang-up, resource error, its
// device node removed or replaced) is closed and counts as both modem lines off; the link's
// tick then looks for it, and once it is back it is opened again, which reports its lines
// on. A port asked to open while its device is not there waits for it the same way. Receive events
// are posted, so a handler that waits in a nested event loop still gets the data that follows.
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
    // Looks at the modem lines and whether the device is still there; a lost device is
    // looked for and opened again once it is back.
    void pollLines() override;

protected:
    void applyOptions() override;

private:
    bool openDevice(const QString &path);
    void loseDevice();
    void awaitDevice();
    void reopenWhenBack();
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void postEvent(int code);
    int readLines();

    QSerialPort m_port;
    QString m_path;           // the device opened
    quint64 m_deviceId = 0;   // its device number, to tell a replaced node
    bool m_awaited = false;   // to be open, its device not there: looked for every tick
    int m_ticksToNextTry = 0; // after a failed reopen
    int m_ticksToRelist = 0;  // until the converters are listed again
    bool m_hasModemLines = false;
    int m_lines = 0;
    bool m_receivePosted = false;
};

} // namespace tq
