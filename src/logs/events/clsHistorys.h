#pragma once

#include "logs/events/block_log_collection.h"
#include "logs/events/clsHistory.h"

namespace tq {

// The calibration, bump-test and sensor-change histories of a flash image, one member per
// written block of the history area; also filled from text record lines.
class clsHistorys : public BlockLogCollection<clsHistory> {
public:
    // The member that every text record line goes to.
    static inline const QString kLineMemberKey = QStringLiteral("01 L");

    clsHistorys() : BlockLogCollection(FlashAreas::Histories, BlockMark::Signature) {}

    LogFamily family() const override { return LogFamily::History; }

    // One calibration-history text record line whose readings belong to gas slot GasNo:
    // characters 3-8 the date (yy mm dd), 9-14 the time, 15-19 and 20-24 the readings
    // before and after, 25-34 the gas name. A line shorter than 21 characters is refused;
    // so is a GasNo other than 0 or 1, and with TestFlag that line is added to FailLine
    // after CR LF. Otherwise the line goes to the member "01 L" (made when missing): an
    // improper date or time sets its Error and, without TestFlag, writes a serial-log line;
    // without TestFlag a good date is added to its entries (False when the entry table is
    // full).
    bool SetDatas(qint32 GasNo, const QString &vData, bool TestFlag);

protected:
    // The header, the two bytes after it, then the records up to a 0xFF byte or the end
    // of the block; an EE EE pair between records is stepped over.
    void decodeBlock(clsHistory &member, const QByteArray &block) const override;
};

} // namespace tq
