#include "logs/events/text_line_fields.h"

#include "core/errors.h"

#include <QDir>
#include <QFile>

namespace tq {

QString StripControlChars(const QString &text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 32 && c.unicode() <= 126)
            kept.append(c);
    }
    return kept;
}

std::optional<int> LineNumber(const QString &line, qint32 index, qint32 length) {
    const QString piece = line.mid(index, length).trimmed();
    bool ok = false;
    const int value = piece.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<Date> LineDay(const QString &line, qint32 index) {
    const auto year = LineNumber(line, index);
    const auto month = LineNumber(line, index + 2);
    const auto day = LineNumber(line, index + 4);
    if (!year || !month || !day || *year < 0 || *year > 99)
        return std::nullopt;
    return Date::tryFromParts(2000 + *year, *month, *day);
}

std::optional<qint64> LineTimeOfDay(const QString &line, qint32 index) {
    const auto hour = LineNumber(line, index);
    const auto minute = LineNumber(line, index + 2);
    const auto second = LineNumber(line, index + 4);
    if (!hour || !minute || !second || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59 ||
        *second < 0 || *second > 59)
        return std::nullopt;
    return qint64(*hour) * 3600 + *minute * 60 + *second;
}

void AppendPlainSerialLogLine(const QString &appFolder, const QString &line) {
    QFile file(QDir(appFolder).filePath(QStringLiteral("SerialLog.log")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
        file.write((line + QStringLiteral("\r\n")).toUtf8()) < 0)
        throw TqError(
            ErrorKind::File,
            QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
}

} // namespace tq
