#pragma once

#include "core/id_helpers.h"
#include "logs/events/block_log_collection.h"
#include "logs/events/text_line_dispatch.h"

namespace tq {

// The alarm-event or trouble-event logs of a flash image, one member per written block
// (EE EE) of the family's area, or built from text record lines.
template <typename Log, LogFamily Family>
class GasEventCollection : public BlockLogCollection<Log> {
public:
    LogFamily family() const override { return Family; }

    // One text record line (TakeTextLine); the codes are the letter followed by "D" (date),
    // "0".."n" (event), "C" (fourth and fifth gas), "B" (serial number and count) and "A"
    // (user and station identifiers).
    bool SetDatas(const QString &vData, bool TestFlag) {
        return TakeTextLine(*this, vData, TestFlag, m_records);
    }

protected:
    GasEventCollection(FlashArea area, QChar letter, int lastEventDigit, qint32 eventLength)
        : BlockLogCollection<Log>(area, BlockMark::Signature) {
        const QString l(letter);
        m_records.append({l + 'D', 24, &Log::dateLine});
        for (int digit = 0; digit <= lastEventDigit; ++digit)
            m_records.append({l + QString::number(digit), eventLength, &Log::eventLine});
        m_records.append({l + 'C', 24, &Log::gasLine});
        m_records.append({l + 'B', 16, &Log::serialLine});
        m_records.append(
            {l + 'A', 24, [](Log &log, const QString &line, bool testFlag) {
                 if (!testFlag) {
                     log.setGasBaseInfo(qint32(LogHeaderItem::UserID),
                                        BlankToDashes(line.mid(4, 10), IdFieldKind::User));
                     log.setGasBaseInfo(qint32(LogHeaderItem::StationID),
                                        BlankToDashes(line.mid(14, 10), IdFieldKind::Station));
                 }
                 return true;
             }});
    }

    // The header, the two bytes after it, then 2-byte records until 0xFF or the block end.
    void decodeBlock(Log &member, const QByteArray &block) const override {
        qint32 st = 0;
        member.SetHeader(block, st);
        ForEachBlockRecord(block, st + 2, 2, [&](qint32 position) {
            member.SetData(block, position);
            return position;
        });
    }

private:
    QList<LineRecord<Log>> m_records;
};

} // namespace tq
