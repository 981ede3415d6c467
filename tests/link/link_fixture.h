#pragma once

#include "core/instrument/clsInstrument.h"
#include "fake_ports.h"
#include "link/protocol/frame.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"
#include "link_probe.h"
#include "test_support.h"

#include <QSignalSpy>

#include <memory>

namespace tq::test {

// A link control on fake ports, its timers stopped (tests tick it), its serial log in a
// temporary program folder.
class LinkFixture : public TempFolderTest {
protected:
    FakeSerialPort *serial = new FakeSerialPort;
    FakeInfraredPort *infrared = new FakeInfraredPort;
    uclPvif link{std::unique_ptr<SerialLinkPort>(serial),
                 std::unique_ptr<InfraredLinkPort>(infrared)};
    clsInstrument instrument;

    void SetUp() override {
        link.setTimerEnabled(false);
        link.setLinkSettings({dir.path(), 1, 2, 0});
        link.setInstrument(&instrument);
    }

    // Line up, one connect poll, the detector names itself.
    void connectDetector() {
        serial->open = true;
        serial->setLines(ModemLine::Cts);
        uclPvifProbe::tick(link);
        serial->receive(MakeFrame(QStringLiteral("RC,R,TQ-6200")));
        ASSERT_TRUE(link.Connected());
        serial->written.clear();
    }

    // Starts an exchange as the command procedures do, without waiting.
    QByteArray start(qint32 status, const QString &command) {
        link.setStatus(status);
        const QByteArray frame = MakeFrame(command);
        link.DataSend(frame, true);
        return frame;
    }

    QString serialLog() const { return QString::fromUtf8(readFile(SerialLogPath(dir.path()))); }
};

} // namespace tq::test
