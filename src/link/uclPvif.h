#pragma once

#include "core/date.h"
#include "core/link_settings.h"
#include "core/log_collection.h"
#include "link/link_port.h"
#include "link/protocol/reply_context.h"
#include "link/protocol/reply_parser.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QEventLoop;
class QFile;

namespace tq {

// State of the current exchange (the link control's Status).
namespace LinkStatus {
inline constexpr qint32 Reset = 0;
inline constexpr qint32 Idle = 2;
inline constexpr qint32 MultiFramePending = 3;
inline constexpr qint32 ReadPending = 4;
inline constexpr qint32 WritePending = 5;
inline constexpr qint32 Done = 6;
inline constexpr qint32 Failed = 7;
inline constexpr qint32 Cancelled = 8;
inline constexpr qint32 BlockPending = 9;
} // namespace LinkStatus

// The link control: every exchange with the detector goes through it, over the serial
// converter or the infrared port. A caller sets Status to the pending code of an exchange,
// sends one frame and waits, yielding to the event loop, until the receive events and the
// 100 ms tick end the exchange with Done, Failed or Cancelled. Events are Qt signals,
// emitted synchronously.
class uclPvif : public QObject {
    Q_OBJECT
public:
    // With the program's own serial and infrared ports.
    explicit uclPvif(QObject *parent = nullptr);
    // With the given ports (tests hand in fakes).
    uclPvif(std::unique_ptr<SerialLinkPort> serial, std::unique_ptr<InfraredLinkPort> infrared,
            QObject *parent = nullptr);
    ~uclPvif() override;

    // --- Public interface --------------------------------------------------------------
    void AddLog(const QString &vData);
    // Takes the owner's settings: the serial log's folder, Timeout, Retry and the data
    // clear's delay. Throws TqError(Overflow) for a time-out beyond 3276 s (nothing taken).
    void setLinkSettings(const LinkSettings &settings);
    // Data arrived from the detector since the last frame was sent (False again when the
    // re-sends of a timed-out exchange are used up).
    bool ReplyReceived() const { return m_replyReceived; }
    // Reply time-out in seconds (kept in 100 ms ticks); TqError(Overflow) beyond 3276.
    qint16 Timeout() const;
    void setTimeout(qint16 seconds);
    qint16 Retry() const { return m_retry; }
    void setRetry(qint16 retry) { m_retry = retry; }
    bool Cancel() const { return m_cancel; }
    void setCancel(bool cancel);
    bool BinaryRetry() const { return m_binaryRetry; }
    void setBinaryRetry(bool value) { m_binaryRetry = value; }
    bool BodyDataClear();
    bool PowerDataClear();
    bool DefaultInstrument();
    bool BodyPowerOff();
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    // Get: the port number of the port in use; set: the serial port's number.
    qint16 CommPort() const;
    void setCommPort(qint16 number);
    bool SerialComm() const { return m_serialComm; }
    void setSerialComm(bool serial) { m_serialComm = serial; }
    // Opens or closes the port in use; a failure leaves the port as it was.
    bool PortOpen() const;
    void setPortOpen(bool open);
    bool DTREnable() const;
    void setDTREnable(bool on);
    qint16 Handshaking() const;
    void setHandshaking(qint16 mode);
    // Five stored values; TqError(SubscriptOutOfRange) outside 0 to 4.
    float FactCal(qint16 index) const;
    void setFactCal(qint16 index, float value);
    // Hands the image file to `collection` (ReadBinaryLog) and keeps it as the last
    // collection of its family. False for no collection.
    bool ReadBinDump(LogCollection *collection, const QString &FilePath);
    bool GetBinDump(const QString &FilePath, qint16 sb, qint16 eb);
    bool GetFastBinDump(const QString &FilePath);
    bool GetBinDump2(qint16 sb, qint16 eb, qint16 recsize = 0);
    qint16 inRecord(qint32 address, qint16 recsize, bool stopAtEmpty = false);
    clsInstrument *Instrument() const { return m_context.Instrument; }
    // Ignores a null object.
    void setInstrument(clsInstrument *instrument);
    bool SetDateTime(const Date &vData);
    bool SpanStatus(qint16 Index) const;
    void setSystemBlock(bool) {}
    bool RTSEnable() const;
    void setRTSEnable(bool on);
    bool SetPump(bool Values);
    QString BinDumpPath() const { return m_binDumpPath; }
    void setBinDumpPath(const QString &path) { m_binDumpPath = path; }
    QString Settings() const;
    void setSettings(const QString &text);
    bool GetRomNo(clsInstrument *iObj);
    bool GetInstrument(clsInstrument *iObj);
    bool SetInstrument(clsInstrument *iObj);
    bool GetLatestHistory(clsInstrument *iObj);
    bool GetGasInfo(clsInstrument *iObj);
    bool GetAutoCalDensty(clsInstrument *iObj);
    bool DisConnect();
    bool Connected() const { return m_context.LinkState == LinkStateCode::Connected; }
    bool TimerEnabled() const { return m_timer.isActive(); }
    void setTimerEnabled(bool on);
    bool SpanCal(const QString &GasFlag);
    qint32 Status() const { return m_status; }
    void setStatus(qint32 status);
    // Sends one ready frame (MakeFrame) on the port in use.
    void DataSend(const QByteArray &Datas, bool InitFlag = false);
    bool RunDensty() const { return m_densityTimer.isActive(); }
    void setRunDensty(bool on);
    bool ZeroCal(const QString &GasFlag);
    bool ZeroStatus(qint16 Index) const;
    bool GetRomDump2(const QString &FileNames);

signals:
    void OnConnect();
    void Densty(float Value1, float Value2, float Value3, float Value4, float Value5);
    void ConnectRetry(qint16 RetryCount);
    void InstMessage(const QString &MessageString);
    void InterMessage(const QString &MessageString);
    void AlarmMessage(const QString &MessageString);
    void DumpMessage(const QString &MessageString);
    void Disconnected();
    void IrDAError(qint16 ErrorNumber);
    void StsTransmit();
    void StsIdle();

private:
    friend class uclPvifProbe; // tests drive the tick and look at the link state

    // One line into the serial log of the settings' folder; false when it cannot be
    // written.
    bool SetSerialLog(const QString &text) const;

    // Transport.
    bool infraredInUse() const;
    LinkPort &portInUse() const;
    void onSerialEvent(int code);
    void onInfraredEvent(int code);
    void onSerialLineEvent(int code);
    void writeBlockBytes(const QByteArray &bytes);
    void runFrameLoop();
    void requestAgain();
    void tmrTimer_Timer();
    void pollForDetector();
    void countReplyTimeout();
    void tmrDenst_Timer();
    void failPending(const QString &logLine);

    // Waiting.
    void waitUntil(const std::function<bool()> &done);
    void waitTicks(qint32 ticks);
    void wake();
    // Sends `command` framed with Status `pending` and yields while Status keeps it; fails
    // at once when no detector is connected. Returns the Status it ended with.
    // With `untilCancel` the wait also ends when Cancel is set.
    qint32 exchange(qint32 pending, const QString &command,
                    const std::function<void()> &whileWaiting = {}, bool untilCancel = false);

    // Settings transfer.
    bool readExchange(const QString &command, void (uclPvif::*relay)(const QString &));
    bool readEntries(clsInstrument *iObj, int last, bool clearFirst);
    bool ReadCommand(const QString &command, clsInstrument *iObj);
    void SendAndWait(bool &ok, const QString &command, bool &written);

    // Flash image.
    bool readBlock(qint16 block);
    void readBlockRange(qint16 sb, qint16 eb, qint16 recsize, bool logEachBlock);
    bool rangeResult();
    void createImage(const QString &path);
    bool downloadImage(const QString &FilePath, bool fresh,
                       const std::function<bool()> &readBlocks);
    bool fastBlockPlan(Date &start);
    void WriteDumpList();

    // Detector commands.
    bool waitOrCancel(const std::function<bool()> &done);
    bool confirmLoop(const QString &confirm, qint32 pending, const std::function<bool()> &pause,
                     const std::function<bool()> &finished);
    bool clearSequence(const QString &write, const QString &confirm);

    std::unique_ptr<SerialLinkPort> m_serial;
    std::unique_ptr<InfraredLinkPort> m_infrared;
    QTimer m_timer;        // tmrTimer
    QTimer m_densityTimer; // tmrDenst
    std::vector<QEventLoop *> m_waits;

    // The fields the reply parser shares: the settings object, the last frame sent, the
    // link state, the calibration and confirm states and the dump-list page.
    ReplyContext m_context;
    ReplyParser m_parser{m_context};
    qint32 m_status = LinkStatus::Reset;
    QString m_serialLogFolder;
    qint16 m_commDelay = 0; // ticks between a data clear's write and its confirm
    bool m_replyReceived = false;
    bool m_serialComm = false;
    bool m_enabled = true;
    qint16 m_retry = 0;
    qint16 m_retryCounter = 0;
    qint16 m_timeoutTicks = 0;
    qint16 m_replyCountdown = 0;
    qint32 m_tickCount = 0;
    qint16 m_irPollCountdown = 5;
    QByteArray m_lastReplyFrame;
    QByteArray m_receiveBuffer;
    bool m_cancel = false;
    bool m_binaryRetry = false;
    bool m_operationOk = false;
    QString m_binDumpPath;
    // The image file while a block range is read: opened by the first bytes of the range,
    // closed at its end.
    std::unique_ptr<QFile> m_imageFile;
    qint32 m_blockAddress = 0;
    qint32 m_blockSize = 512;
    qint32 m_blockCount = 0;
    std::array<float, 5> m_factCal{};
    bool m_blockFailed = false; // a block of the running download was not read
    std::unique_ptr<QFile> m_dumpList;
    qint64 m_confirmLimitMs = 10 * 60 * 1000; // a confirm loop gives up after this
};

} // namespace tq
