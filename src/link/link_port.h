#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace tq {

// Codes of a port's communication event.
namespace CommEvent {
inline constexpr int Receive = 2;
inline constexpr int CtsChange = 3;
inline constexpr int DsrChange = 4;
inline constexpr int Break = 1001;
inline constexpr int Frame = 1004;
inline constexpr int Overrun = 1006;
inline constexpr int ReceiveOverflow = 1008;
inline constexpr int Parity = 1009;
inline constexpr int SendOverflow = 1010;
inline constexpr int DeviceControl = 1011;
inline constexpr int InfraredConnect = 1020;
inline constexpr int InfraredSocketError = 1021;
} // namespace CommEvent

// Bits of the serial port's modem line state.
namespace ModemLine {
inline constexpr int Cts = 0x10;
inline constexpr int Dsr = 0x20;
} // namespace ModemLine

// One of the two ports that the link control talks through. A port reports everything
// through commEvent(code); on a Receive event the link takes the bytes with takeReceived().
// The line options are stored by every port; a port applies those it has.
class LinkPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool isOpen() const = 0;
    // Opens or closes the port at once; false when that could not be done.
    virtual bool setOpen(bool open) = 0;
    // Sends the bytes in order.
    virtual void write(const QByteArray &bytes) = 0;
    // The bytes of the current receive event (those that arrived since the last one).
    virtual QByteArray takeReceived() = 0;

    qint16 portNumber() const { return m_portNumber; }
    void setPortNumber(qint16 number);
    bool dtr() const { return m_dtr; }
    void setDtr(bool on);
    bool rts() const { return m_rts; }
    void setRts(bool on);
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both (taken as RTS/CTS).
    qint16 handshaking() const { return m_handshaking; }
    void setHandshaking(qint16 mode);
    // Line settings text "baud,parity,data bits,stop bits", for example "921600,n,8,1".
    QString settings() const { return m_settings; }
    void setSettings(const QString &text);

signals:
    void commEvent(int code);

protected:
    // Called after any line option changed, so an open port can take it over.
    virtual void applyOptions() {}

private:
    qint16 m_portNumber = 0;
    bool m_dtr = false;
    bool m_rts = false;
    qint16 m_handshaking = 0;
    QString m_settings;
};

// The serial converter's port: modem lines report whether a detector is attached.
class SerialLinkPort : public LinkPort {
    Q_OBJECT
public:
    using LinkPort::LinkPort;
    // CTS (0x10) and DSR (0x20) as they stand.
    virtual int modemLines() const = 0;
    // Looks at the modem lines; a change is reported as a CtsChange or DsrChange event.
    virtual void pollLines() {}
};

// The infrared port: reports a detector coming into range, collects flash blocks whole and
// stores them into the image file itself.
class InfraredLinkPort : public LinkPort {
    Q_OBJECT
public:
    using LinkPort::LinkPort;
    virtual bool available() const = 0;
    // Error number of the last infrared error.
    virtual int lastError() const = 0;
    // Called every sixth link tick; reports a detector in range with InfraredConnect.
    virtual void poll() = 0;
    // Bytes per receive event: 0 delivers whatever arrived, 512 one whole block each.
    virtual int receiveSize() const = 0;
    virtual void setReceiveSize(int bytes) = 0;
    virtual QString imagePath() const = 0;
    virtual void setImagePath(const QString &path) = 0;
    // Writes the block of the last receive event at `offset` of the image file; false
    // when the file could not be written.
    virtual bool storeBlock(qint64 offset) = 0;
    // Makes the image file `bytes` long, every byte 0xFF; false on failure.
    virtual bool createErasedImage(qint64 bytes) = 0;
};

} // namespace tq
