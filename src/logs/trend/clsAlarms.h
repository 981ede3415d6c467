#pragma once

#include "core/log_collection.h"
#include "logs/trend/ascii_log_lines.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/trend_collection.h"

#include <QString>

namespace tq {

class FlashImage;

// The alarm trends of one flash image (or of received text lines), keyed by the image
// offset of their header sector (or the log key of the lines) followed by " L". Clear
// removes every item.
class clsAlarms : public LogCollection, public TrendCollection<clsAlarm> {
public:
    using LogPtr = ItemPtr;

    LogFamily family() const override { return LogFamily::AlarmTrend; }

    // Decodes every alarm trend of the ring into an item of its own. True when the ring
    // was read through, also when it is erased (no item then); False when the file cannot
    // be read, when the ring holds data but cannot be read (no erased sector), or when a
    // log cannot be decoded (a damaged header, a block number beyond the area): the
    // reading ends there, the logs decoded before stay, and the failing one has its Error
    // set so that it is not stored.
    bool ReadBinaryLog(const QString &imagePath) override;
    bool ReadBinaryLog(const FlashImage &image);

    // Decodes one received text line into the log it belongs to; True when the line was
    // accepted. With TestFlag the line is only checked and a rejected one is appended to
    // FailLine after CR LF. Outside it, a sample line that would take the samples of all the
    // lines together past what the alarm area of an image holds is refused as SetDataB0
    // refuses a failure (serial-log line, Error set). Failures that the decoders do not
    // catch throw TqError.
    bool SetDatas(const QString &vData, bool TestFlag);

private:
    void readLog(const FlashImage &image, qint32 sector);
    ItemPtr itemFor(const QString &key);

    QString m_previousKey;
    QString m_previousType;
    InputSampleBound m_inputSamples{kAlarmAreaSamples};
};

} // namespace tq
