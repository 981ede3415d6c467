#include "ui/display/node_kind.h"

#include "core/id_helpers.h"

#include <algorithm>

namespace tq {

const std::array<LogTypeKind, 10> &LogTypeKinds() {
    static const std::array<LogTypeKind, 10> kinds{{
        {u'I', u'G', LogType::IntervalTrend, 5624, "Interval0"},
        {u'J', u'a', LogType::BarHoleTrend, 5677, "Barhole"},
        {u'N', u'b', LogType::BumpTest, 5678, "BumpTest"},
        {u'O', u'c', LogType::Snapshot, 5679, "SnapShot"},
        {u'A', u'K', LogType::AlarmTrend, 5625, "Alarm0"},
        {u'D', u'H', LogType::CalibrationHistory, 5673, "History"},
        {u'E', u'V', LogType::AlarmEvents, 5627, "AEvent"},
        {u'B', u'W', LogType::TroubleEvents, 5628, "TEvent"},
        {u'R', u'P', LogType::PowerEvents, 5629, "PEvent"},
        {u'X', u'Q', LogType::SensorChange, 5630, "Change"},
    }};
    return kinds;
}

namespace {

template <typename Pick> std::optional<LogTypeKind> findKind(const QString &letter, Pick pick) {
    if (letter.size() != 1)
        return std::nullopt;
    const auto &kinds = LogTypeKinds();
    const auto found = std::find_if(kinds.begin(), kinds.end(), [&](const LogTypeKind &kind) {
        return pick(kind) == letter.front();
    });
    if (found == kinds.end())
        return std::nullopt;
    return *found;
}

} // namespace

std::optional<LogTypeKind> KindOfFolder(const QString &letter) {
    return findKind(letter, [](const LogTypeKind &kind) { return kind.folder; });
}

std::optional<LogTypeKind> KindOfLeaf(const QString &letter) {
    return findKind(letter, [](const LogTypeKind &kind) { return kind.leaf; });
}

bool IsGroupingLetter(const QString &letter) {
    static const QString letters = QStringLiteral("#STUM");
    return letter.size() == 1 && letters.contains(letter.front());
}

std::optional<qint64> StoredLogSeqNo(const QString &key) {
    if (!KindOfLeaf(AfterLastBlank(key)))
        return std::nullopt;
    bool numeric = false;
    const qint64 seqNo = DropLastTwo(key).trimmed().toLongLong(&numeric);
    return numeric ? std::optional<qint64>(seqNo) : std::nullopt;
}

} // namespace tq
