#pragma once

#include "link/link_port.h"

#include <QByteArrayList>
#include <QMetaObject>

#include <functional>
#include <utility>

namespace tq::test {

// Ports without hardware: what the link writes is recorded and can be answered, and the
// test raises receive and line events itself.
template <typename Base> class FakePortBase : public Base {
public:
    QByteArrayList written;
    // Called for every write; an answer given through reply() arrives later, from the
    // event loop, as a real device's would.
    std::function<void(const QByteArray &)> onWrite;
    bool open = false;

    bool isOpen() const override { return open; }
    bool setOpen(bool value) override {
        open = value;
        return true;
    }
    void write(const QByteArray &bytes) override {
        written << bytes;
        if (onWrite)
            onWrite(bytes);
    }
    QByteArray takeReceived() override { return std::exchange(m_received, QByteArray()); }

    // A receive event carrying `bytes`, now.
    void receive(const QByteArray &bytes) {
        m_received = bytes;
        emit this->commEvent(CommEvent::Receive);
    }
    // A receive event carrying `bytes`, from the event loop.
    void reply(const QByteArray &bytes) {
        QMetaObject::invokeMethod(
            this, [this, bytes] { receive(bytes); }, Qt::QueuedConnection);
    }

private:
    QByteArray m_received;
};

class FakeSerialPort : public FakePortBase<SerialLinkPort> {
public:
    int lines = 0;
    int modemLines() const override { return lines; }
    void setLines(int value) {
        lines = value;
        emit commEvent(CommEvent::CtsChange);
    }
};

class FakeInfraredPort : public FakePortBase<InfraredLinkPort> {
public:
    bool isAvailable = false;
    int error = 0;
    int size = 0;
    QString path;
    QList<qint64> storedAt;

    bool available() const override { return isAvailable; }
    int lastError() const override { return error; }
    void poll() override {}
    int receiveSize() const override { return size; }
    void setReceiveSize(int bytes) override { size = bytes; }
    QString imagePath() const override { return path; }
    void setImagePath(const QString &value) override { path = value; }
    bool storeBlock(qint64 offset) override {
        storedAt << offset;
        return true;
    }
    bool createErasedImage(qint64) override { return true; }
};

} // namespace tq::test
