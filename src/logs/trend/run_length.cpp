#include "logs/trend/run_length.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "logs/trend/powers_of_ten.h"

#include <cmath>
#include <limits>

namespace tq {

namespace {

constexpr int kGroupDigits = 4;

bool isByteChar(int code) {
    return code >= 32 && code <= 47;
}
bool isHalfByteChar(int code) {
    return code >= 48 && code <= 63;
}
bool isCountChar(int code) {
    return code >= 64 && code <= 127;
}

QChar halfByteDigit(int code) {
    return QChar(QLatin1Char("0123456789ABCDEF"[(code - 48) & 0xF]));
}

} // namespace

QString RunLengthByteCode(QChar ch) {
    switch (ch.unicode()) {
    case '!':
        return QStringLiteral("00");
    case '"':
        return QStringLiteral("FF");
    case '#':
        return QStringLiteral("D1");
    case '$':
        return QStringLiteral("01");
    case '%':
        return QStringLiteral("02");
    case '&':
        return QStringLiteral("03");
    case '\'':
        return QStringLiteral("FE");
    default:
        return {};
    }
}

QList<RunLengthGroup> RunLengthGroups(QStringView text) {
    QList<RunLengthGroup> groups;
    QString group;
    qint32 count = 1;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const int code = text[i].unicode();
        if (isByteChar(code)) {
            group += RunLengthByteCode(text[i]);
            i += 1;
        } else if (isHalfByteChar(code)) {
            group += halfByteDigit(code);
            if (i + 1 < size)
                group += halfByteDigit(text[i + 1].unicode());
            i += 2;
        } else if (isCountChar(code)) {
            if (i + 1 < size && isCountChar(text[i + 1].unicode())) {
                count = (code - 64) * 64 + (text[i + 1].unicode() - 64);
                i += 2;
            } else {
                count = code - 64;
                i += 1;
            }
            continue;
        } else {
            i += 1;
            continue;
        }
        if (group.size() == kGroupDigits) {
            if (count > 0)
                groups.append({group, count});
            group.clear();
            count = 1;
        }
    }
    return groups;
}

qint64 RunLengthSampleCount(const QList<RunLengthGroup> &groups) {
    qint64 samples = 0;
    for (const RunLengthGroup &group : groups)
        samples += group.count;
    return samples;
}

QList<RunLengthGroup> SampleGroupsWithin(QStringView text, qint64 counter, qint64 capacity) {
    QList<RunLengthGroup> groups = RunLengthGroups(text);
    const qint64 samples = RunLengthSampleCount(groups);
    if (counter + samples > capacity)
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("%1 samples after %2 exceed the %3 a log holds")
                          .arg(samples)
                          .arg(counter)
                          .arg(capacity));
    return groups;
}

bool SampleLineFits(QStringView text, qint64 capacity) {
    return RunLengthSampleCount(RunLengthGroups(text)) <= capacity;
}

QString DecodeRunLength(QStringView text) {
    QString output;
    for (const RunLengthGroup &group : RunLengthGroups(text))
        output += group.digits.repeated(group.count);
    return output;
}

float HexSampleValue(QStringView digits, bool slotHasGas, qint16 decimals) {
    if (digits.compare(QLatin1String("FEFE"), Qt::CaseInsensitive) == 0)
        return ReadingCode::RawFeFe;
    if (digits.compare(QLatin1String("FFFF"), Qt::CaseInsensitive) == 0)
        return ReadingCode::NoValue;
    if (!slotHasGas)
        return ReadingCode::NoValue;
    bool ok = false;
    const uint raw = digits.toUInt(&ok, 16);
    if (!ok || raw > 0xFFFF)
        throw TqError(ErrorKind::TypeMismatch,
                      QStringLiteral("\"%1\" is not a sample").arg(digits.toString()));
    const double value = static_cast<qint16>(static_cast<quint16>(raw)) * PowerOfTen(-decimals);
    if (!(std::fabs(value) <= std::numeric_limits<float>::max()))
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("Sample %1 is out of range").arg(digits.toString()));
    return static_cast<float>(value);
}

} // namespace tq
