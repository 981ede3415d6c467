#pragma once

#include "logs/events/text_line_fields.h"
#include "logs/trend/trend_collection.h"

#include <QList>
#include <QString>

#include <functional>

namespace tq {

// One record code of the text record lines: the shortest line the code needs and the
// decoder that takes it into the member.
template <typename Log> struct LineRecord {
    QString code;
    qint32 minimumLength;
    std::function<bool(Log &, const QString &, bool)> decode;
};

// Takes one text record line into collection: a line of more than 20 characters, cleaned
// of control characters, whose first two characters form a number, goes to the member
// keyed by them and " L" (made when missing); characters 3-4 pick the record. A code not
// in records is taken and ignored; a line shorter than its record needs is refused. With
// TestFlag a refused line is appended to FailLine after CR LF. Decoder errors pass on.
template <typename Log>
bool TakeTextLine(TrendCollection<Log> &collection, const QString &vData, bool TestFlag,
                  const QList<LineRecord<Log>> &records) {
    constexpr qint32 kShortestLine = 21;
    QString cleaned;
    bool taken = false;
    if (vData.size() >= kShortestLine) {
        cleaned = StripControlChars(vData);
        if (LineNumber(cleaned, 0)) {
            const QString key = cleaned.left(2) + QStringLiteral(" L");
            auto member = collection.Item(key);
            if (!member) {
                member = collection.Add(key, 0);
                member->setInstrument(collection.Instruments());
            }
            const QString code = cleaned.mid(2, 2);
            taken = true;
            for (const LineRecord<Log> &record : records) {
                if (record.code == code) {
                    taken = cleaned.size() >= record.minimumLength &&
                            record.decode(*member, cleaned, TestFlag);
                    break;
                }
            }
        }
    }
    if (TestFlag && !taken)
        collection.setFailLine(collection.FailLine() + QStringLiteral("\r\n") + cleaned);
    return taken;
}

} // namespace tq
