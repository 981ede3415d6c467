// The transport of the link control: receive events, the frame loop, the 100 ms tick.
#include "core/messages.h"
#include "link/protocol/frame.h"
#include "link/serial_log.h"
#include "link/uclPvif.h"

#include <QFile>

namespace tq {

namespace {

// Writes whose repetition could do harm (a second clear, a second calibration start).
bool neverResent(const QByteArray &frame) {
    for (const char *code : {"UX,W", "XC,W", "SZ,W", "S1,W"}) {
        if (frame.contains(code))
            return true;
    }
    return false;
}

QString now() {
    return Date::now().generalDate();
}

} // namespace

// --- Serial port ----------------------------------------------------------------------

void uclPvif::onSerialEvent(int code) {
    if (code == CommEvent::CtsChange || code == CommEvent::DsrChange) {
        onSerialLineEvent(code);
        return;
    }
    if (!m_serial->isOpen())
        return;
    if (code != CommEvent::Receive) {
        const struct {
            int code;
            int message;
        } lineErrors[] = {
            {CommEvent::Break, 5542},         {CommEvent::Frame, 5543},
            {CommEvent::Overrun, 5544},       {CommEvent::ReceiveOverflow, 5545},
            {CommEvent::Parity, 5546},        {CommEvent::SendOverflow, 5547},
            {CommEvent::DeviceControl, 5548},
        };
        for (const auto &error : lineErrors) {
            if (error.code != code)
                continue;
            if (code == CommEvent::SendOverflow && m_context.LinkState == LinkStateCode::Polling)
                return;
            SetSerialLog(LoadMessage(error.message, {now()}));
            // Any line error but a break fails the exchange; none reports it done.
            if (code != CommEvent::Break)
                setStatus(LinkStatus::Failed);
        }
        return;
    }
    emit StsTransmit();
    m_replyReceived = true;
    const QByteArray bytes = m_serial->takeReceived();
    if (m_status != LinkStatus::BlockPending)
        m_receiveBuffer += bytes;
    if (m_cancel) {
        setStatus(LinkStatus::Cancelled);
        m_receiveBuffer.clear();
        return;
    }
    if (m_status == LinkStatus::BlockPending)
        writeBlockBytes(bytes);
    runFrameLoop();
}

// A line change. Both lines off is a pulled cable: the link is down and the exchange, if
// any, has failed (never "done").
void uclPvif::onSerialLineEvent(int) {
    m_retryCounter = 0;
    if ((m_serial->modemLines() & (ModemLine::Cts | ModemLine::Dsr)) == 0) {
        m_context.LinkState = LinkStateCode::NoLink;
        setStatus(LinkStatus::Failed);
        emit Disconnected();
        return;
    }
    if (!m_serial->isOpen())
        return;
    m_context.LinkState = LinkStateCode::Polling;
}

// The bytes of a flash block go to their place in the image file, never past the block's
// end; an image that cannot be written fails the block.
void uclPvif::writeBlockBytes(const QByteArray &bytes) {
    const qint64 room = qMax<qint64>(0, m_blockSize - m_blockCount);
    const QByteArray part = bytes.left(room);
    if (!m_imageFile || m_imageFile->fileName() != m_binDumpPath) {
        // Unbuffered: what is written is in the file at once for inRecord to read.
        m_imageFile = std::make_unique<QFile>(m_binDumpPath);
        if (!m_imageFile->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            m_imageFile.reset();
    }
    if (!m_imageFile || !m_imageFile->seek(m_blockAddress) ||
        m_imageFile->write(part) != part.size()) {
        m_imageFile.reset();
        failPending(QStringLiteral("<<< Image file write error: %1 >>>").arg(m_binDumpPath));
        return;
    }
    m_blockAddress += part.size();
    m_blockCount += part.size();
    if (m_blockCount >= m_blockSize)
        setStatus(LinkStatus::Done);
}

void uclPvif::failPending(const QString &logLine) {
    SetSerialLog(logLine);
    FlushSerialLog();
    setStatus(LinkStatus::Failed);
}

// --- Infrared port --------------------------------------------------------------------

void uclPvif::onInfraredEvent(int code) {
    if (code == CommEvent::Receive) {
        emit StsTransmit();
        m_replyReceived = true;
        if (m_status == LinkStatus::BlockPending) {
            if (!m_infrared->storeBlock(m_blockAddress + m_blockCount)) {
                failPending(QStringLiteral("<<< Image file write error: %1 >>>")
                                .arg(m_infrared->imagePath()));
            } else {
                m_blockCount += m_blockSize;
                if (m_blockCount == m_blockSize)
                    setStatus(LinkStatus::Done);
            }
        } else {
            m_receiveBuffer += m_infrared->takeReceived();
        }
        if (m_cancel) {
            setStatus(LinkStatus::Cancelled);
            m_receiveBuffer.clear();
        } else {
            runFrameLoop();
        }
        emit StsIdle();
        return;
    }
    if (code == CommEvent::InfraredConnect) {
        if (m_context.LinkState != LinkStateCode::NoLink)
            return;
        SetSerialLog(LoadMessage(5550, {now()}));
        m_retryCounter = 0;
        m_receiveBuffer.clear();
        m_tickCount = 0;
        m_context.LinkState = LinkStateCode::Polling;
        return;
    }
    setStatus(LinkStatus::Failed);
    const int error = m_infrared->lastError();
    if (code == CommEvent::InfraredSocketError) {
        SetSerialLog(QStringLiteral("Soket Error[%1](%2)").arg(now()).arg(error));
        emit IrDAError(static_cast<qint16>(error));
        // The detector went away with the port: the link is down until it is back.
        if (!m_infrared->isOpen()) {
            m_context.LinkState = LinkStateCode::NoLink;
            emit Disconnected();
        }
    } else {
        SetSerialLog(QStringLiteral("IrDA Error[%1][%2] (%3)").arg(now()).arg(code).arg(error));
    }
}

// --- Frame loop -----------------------------------------------------------------------

void uclPvif::runFrameLoop() {
    while (m_receiveBuffer.contains(Ctrl::ETB) || m_receiveBuffer.contains(Ctrl::EOT) ||
           m_receiveBuffer.contains(Ctrl::CR)) {
        const qsizetype etb = m_receiveBuffer.indexOf(Ctrl::ETB);
        const qsizetype eot = m_receiveBuffer.indexOf(Ctrl::EOT);
        if (etb < 0 && eot < 0) {
            // A CR before any terminator: the reply is incomplete, ask again at once.
            if (m_retryCounter < m_retry) {
                ++m_retryCounter;
                if (m_retryCounter > 1)
                    emit ConnectRetry(m_retryCounter);
                DataSend(m_context.LastSentFrame, false);
            } else {
                // Retries used up: give up on this reply and drop its text.
                m_receiveBuffer.clear();
                setStatus(LinkStatus::Failed);
            }
            return;
        }
        const qsizetype end = (etb < 0 || (eot >= 0 && eot < etb)) ? eot : etb;
        const bool more = end == etb;
        m_lastReplyFrame = m_receiveBuffer.left(end + 1);
        m_receiveBuffer.remove(0, end + 1);
        SetSerialLog(LoadMessage(5549, {ShowControlChars(m_lastReplyFrame)}));
        const bool accepted = m_parser.ParseReply(m_lastReplyFrame);
        if (accepted && more)
            DataSend(MakeAckFrame(m_context.LastSentFrame), true);
        else if (accepted)
            setStatus(LinkStatus::Done);
        else
            requestAgain();
    }
}

// A rejected reply: re-send the command or send a negative acknowledge, until the retries
// are used up.
void uclPvif::requestAgain() {
    if (m_retryCounter >= m_retry) {
        setStatus(LinkStatus::Failed);
        return;
    }
    ++m_retryCounter;
    if (m_status == LinkStatus::ReadPending || m_status == LinkStatus::WritePending) {
        if (!neverResent(m_context.LastSentFrame))
            DataSend(m_context.LastSentFrame, false);
    } else {
        DataSend(MakeNakFrame(m_context.LastSentFrame), false);
    }
}

// --- Timer tick -----------------------------------------------------------------------

void uclPvif::tmrTimer_Timer() {
    ++m_tickCount;
    if (!infraredInUse())
        m_serial->pollLines();
    if (m_context.LinkState == LinkStateCode::Polling)
        pollForDetector();
    else if (m_context.LinkState == LinkStateCode::Connected)
        countReplyTimeout();
    if (m_irPollCountdown > 0) {
        --m_irPollCountdown;
    } else {
        m_infrared->poll();
        m_irPollCountdown = 5;
    }
    wake();
}

void uclPvif::pollForDetector() {
    if (m_status == LinkStatus::ReadPending) {
        // An unanswered poll is dropped after a second; the next tick polls again.
        if (m_tickCount > 10) {
            setStatus(LinkStatus::Reset);
            m_tickCount = 0;
        }
        return;
    }
    SetSerialLog(LoadMessage(5512));
    if (m_retryCounter < m_retry) {
        ++m_retryCounter;
        if (m_retryCounter > 1 && m_retryCounter % 5 == 0)
            emit ConnectRetry(static_cast<qint16>(m_retryCounter / 5));
        setStatus(LinkStatus::ReadPending);
        DataSend(MakeFrame(QStringLiteral("RC,R,")), false);
    } else {
        setStatus(LinkStatus::Reset);
        m_context.LinkState = LinkStateCode::NoLink;
        emit AlarmMessage(LoadMessage(5405));
    }
    m_tickCount = 0;
}

void uclPvif::countReplyTimeout() {
    if (m_replyCountdown > 0) {
        --m_replyCountdown;
        return;
    }
    if (m_retryCounter >= m_retry) {
        if (m_status == LinkStatus::Cancelled) {
            setStatus(LinkStatus::Idle);
        } else if (m_status != LinkStatus::Idle && m_status != LinkStatus::Done) {
            setStatus(LinkStatus::Failed);
            m_replyReceived = false;
        }
        return;
    }
    ++m_retryCounter;
    switch (m_status) {
    case LinkStatus::MultiFramePending:
        if (m_context.LastSentFrame.endsWith(Ctrl::EOT))
            DataSend(m_context.LastSentFrame, false);
        else
            DataSend(MakeNakFrame(m_context.LastSentFrame, AckWidth::Five), false);
        break;
    case LinkStatus::ReadPending:
    case LinkStatus::WritePending:
        if (!neverResent(m_context.LastSentFrame))
            DataSend(m_context.LastSentFrame, false);
        break;
    case LinkStatus::BlockPending:
        SetSerialLog(QStringLiteral("= timeout ="));
        FlushSerialLog();
        m_binaryRetry = true;
        setCancel(true);
        break;
    default:
        break;
    }
}

} // namespace tq
