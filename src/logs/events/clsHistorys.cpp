#include "logs/events/clsHistorys.h"

#include "core/gas_format.h"
#include "logs/events/text_line_fields.h"

namespace tq {

namespace {

constexpr qint32 kShortestLine = 21;
constexpr qint32 kDateAt = 2;
constexpr qint32 kTimeAt = 8;
constexpr qint32 kBeforeAt = 14;
constexpr qint32 kAfterAt = 19;
constexpr qint32 kReadingLength = 5;
constexpr qint32 kNameAt = 24;
constexpr qint32 kNameLength = 10;

} // namespace

void clsHistorys::decodeBlock(clsHistory &member, const QByteArray &block) const {
    qint32 st = 0;
    member.SetHeader(block, st);
    st += 2;
    while (st < block.size()) {
        const quint8 code = ByteAt(block, st);
        if (code == kErasedByte)
            break;
        if (code == kMarkByte && st + 1 < block.size() && ByteAt(block, st + 1) == kMarkByte) {
            st += 2;
            continue;
        }
        member.SetData(block, st);
    }
}

bool clsHistorys::SetDatas(qint32 GasNo, const QString &vData, bool TestFlag) {
    if (vData.size() < kShortestLine)
        return false;
    if (GasNo < 0 || GasNo >= kLogGasSlots) {
        if (TestFlag)
            setFailLine(FailLine() + QStringLiteral("\r\n") + vData);
        return false;
    }
    ItemPtr member = Item(kLineMemberKey);
    if (!member) {
        member = Add(kLineMemberKey, 0);
        member->setInstrument(Instruments());
    }

    const std::optional<Date> day = LineDay(vData, kDateAt);
    const std::optional<qint64> time = LineTimeOfDay(vData, kTimeAt);
    const bool improper = !day || !time;
    if (improper)
        member->setError(true);

    bool taken = true;
    if (!TestFlag && day) {
        const QString before = vData.mid(kBeforeAt, kReadingLength);
        const QString after = vData.mid(kAfterAt, kReadingLength);
        const qint16 decimals = CountDecimals(ParseNumber(before) ? before : after);
        taken = member->AddHistory(GasNo, time ? day->addSeconds(*time) : *day,
                                   ParseGasValue(before), ParseGasValue(after),
                                   vData.mid(kNameAt, kNameLength).trimmed(), decimals);
    }
    if (!TestFlag && improper)
        member->SetSerialLog(QStringLiteral("<<< improper date in clsHistory.SetDatas() >>> ") +
                             vData);
    return taken;
}

} // namespace tq
