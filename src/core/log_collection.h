#pragma once

#include "core/store_context.h"

#include <QString>

#include <utility>

namespace tq {

// The seven log families of the flash image, in the order the download imports them.
enum class LogFamily {
    IntervalTrend,
    Snapshot,
    AlarmTrend,
    AlarmEvent,
    TroubleEvent,
    History,
    PowerEvent,
};

// What every log family's collection offers to the code that hands it a flash image:
// the link control's ReadBinDump and the import pipeline.
class LogCollection {
public:
    virtual ~LogCollection() = default;
    virtual LogFamily family() const = 0;
    // Decodes the family's area of the image file into the collection's logs. True when
    // the area was read through (also when it holds no log), False on any failure; no
    // failure passes out.
    virtual bool ReadBinaryLog(const QString &imagePath) = 0;

    // Called as a long reading goes on; none by default.
    void setProgress(ProgressCallback progress) { m_progress = std::move(progress); }

protected:
    void reportProgress() const {
        if (m_progress)
            m_progress();
    }

private:
    ProgressCallback m_progress;
};

} // namespace tq
