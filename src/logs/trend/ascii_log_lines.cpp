#include "logs/trend/ascii_log_lines.h"

#include "core/gas_format.h"
#include "core/id_helpers.h"

#include <QFile>

namespace tq {

namespace {

// The number a two-digit date or time field holds; nullopt for anything but digits.
std::optional<int> twoDigits(const QString &line, qsizetype from) {
    const QString text = LineField(line, from, from + 1).trimmed();
    if (text.isEmpty() || !IsAllDigits(text))
        return std::nullopt;
    return text.toInt();
}

// The number that the platform's error of the same kind has always carried in the log.
int errorNumber(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Overflow:
        return 6;
    case ErrorKind::SubscriptOutOfRange:
        return 9;
    case ErrorKind::TypeMismatch:
        return 13;
    case ErrorKind::MissingResource:
        return 326;
    case ErrorKind::File:
        return 75;
    case ErrorKind::Database:
        return 3146;
    }
    return 0;
}

} // namespace

QString KeepPrintable(const QString &text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() >= 32 && ch.unicode() <= 127)
            kept += ch;
    }
    return kept;
}

QString LineField(const QString &line, qsizetype from, qsizetype to) {
    return line.mid(from - 1, to - from + 1);
}

bool IsNumericText(const QString &text) {
    return ParseNumber(text).has_value();
}

FramedLine FrameRecordLine(const QString &cleaned, const QString &previousKey,
                           const QString &previousType) {
    if (cleaned.startsWith(QLatin1Char('/'))) {
        const QString line = cleaned.mid(1);
        return {LineField(line, 1, 2), LineField(line, 3, 4), line, false};
    }
    return {previousKey, previousType, cleaned, true};
}

LogStartFields ParseLogStart(const QString &line) {
    LogStartFields fields;
    const std::optional<int> year = twoDigits(line, 5);
    const std::optional<int> month = twoDigits(line, 7);
    const std::optional<int> day = twoDigits(line, 9);
    if (year && month && day)
        fields.date = Date::tryFromParts(2000 + *year, *month, *day);
    const std::optional<int> hour = twoDigits(line, 11);
    const std::optional<int> minute = twoDigits(line, 13);
    const std::optional<int> second = twoDigits(line, 15);
    if (hour && minute && second && QTime::isValid(*hour, *minute, *second))
        fields.time = QTime(*hour, *minute, *second);
    if (const std::optional<double> interval = ParseNumber(LineField(line, 17, 20))) {
        try {
            fields.interval = RoundToWhole<qint32>(*interval);
        } catch (const TqError &) {
            // An interval beyond 32 bits fails its check like any other impossible value.
        }
    }
    return fields;
}

bool CheckTwoSlotRecord(const QString &line, bool testFlag) {
    if (line.size() < 69)
        return false;
    const auto passes = [&](qsizetype mark, qsizetype markSize, qsizetype values) {
        const QString placeholder = LineField(line, mark, mark + markSize - 1);
        return placeholder == QString(markSize, QLatin1Char('*')) ||
               placeholder == QString(markSize, QLatin1Char(' ')) ||
               (IsNumericText(LineField(line, values, values + 4)) &&
                IsNumericText(LineField(line, values + 5, values + 9)));
    };
    const bool first = passes(5, 3, 47);
    const bool second = passes(57, 4, 61);
    return testFlag ? first && second : first || second;
}

void InputSampleBound::take(qint64 samples) {
    if (samples > m_capacity - m_taken)
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("%1 samples after %2 exceed the %3 an image holds")
                          .arg(samples)
                          .arg(m_taken)
                          .arg(m_capacity));
    m_taken += samples;
}

void WriteSerialLog(const QString &appFolder, const QString &text) {
    QString folder = appFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QFile log(folder + QStringLiteral("SerialLog.log"));
    if (log.open(QIODevice::Append))
        log.write((text + QStringLiteral("\r\n")).toUtf8());
}

QString ErrorCatchLine(const QString &routine, const TqError &error) {
    return QStringLiteral("<<< error catch in %1() >>> %2:%3")
        .arg(routine)
        .arg(errorNumber(error.kind()))
        .arg(error.message());
}

} // namespace tq
