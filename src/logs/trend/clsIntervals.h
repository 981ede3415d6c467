#pragma once

#include "core/log_collection.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/trend_collection.h"

namespace tq {

class FlashImage;

// The interval trends of one flash image, each keyed by the image offset of its header
// followed by " L". Clear passes over items whose Key is empty.
class clsIntervals : public LogCollection, public TrendCollection<clsInterval> {
public:
    clsIntervals() : TrendCollection<clsInterval>(true) {}

    LogFamily family() const override { return LogFamily::IntervalTrend; }
    // Loads the image file and reads its interval-trend ring. True when the ring was walked
    // to its end, also when it holds no log; False when the file cannot be read or a header
    // or trailer is damaged. The logs decoded before the failure stay; the one whose
    // decoding failed has its Error set, so it is not stored. The progress callback is
    // called at every page step.
    bool ReadBinaryLog(const QString &imagePath) override;
    bool ReadBinaryLog(const FlashImage &image);
};

} // namespace tq
