#include "print/export/export_cells.h"

#include "core/gas_format.h"

#include <cstdio>

namespace tq {

namespace {

bool needsQuotes(const QString &cell, const QString &separator) {
    return (!separator.isEmpty() && cell.contains(separator)) || cell.contains(QLatin1Char('"')) ||
           cell.contains(QLatin1Char('\r')) || cell.contains(QLatin1Char('\n'));
}

} // namespace

QString JoinCells(const QStringList &cells, const QString &separator) {
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += separator;
        const QString &cell = cells[i];
        if (needsQuotes(cell, separator)) {
            QString inner = cell;
            inner.replace(QLatin1String("\""), QLatin1String("\"\""));
            line += QLatin1Char('"') + inner + QLatin1Char('"');
        } else {
            line += cell;
        }
    }
    return line;
}

// Built by hand: an export writes one date per line, and the fields need no locale.
QString ExportDate(const Date &date) {
    const QDate day = date.date();
    const QTime time = date.time();
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", day.year(), day.month(),
                  day.day(), time.hour(), time.minute(), time.second());
    return QString::fromLatin1(text);
}

QString ExportEventTime(float level, const Date &time) {
    if (level == ReadingCode::RawFeFe)
        return QStringLiteral("-----");
    if (time.days() == Date::emptyLogDate().days())
        return QStringLiteral("*****");
    return time.format(QStringLiteral("MM'/'dd hh':'mm':'ss"));
}

} // namespace tq
