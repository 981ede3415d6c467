#include "core/date_pattern.h"

namespace tq {
namespace {

void appendNumber(QString &out, int value, int width) {
    if (width == 2 && value < 10)
        out.append(QLatin1Char('0'));
    out.append(QString::number(value));
}

} // namespace

std::optional<DatePattern> DatePattern::compile(const QString &pattern, const QLocale &locale) {
    DatePattern compiled;
    compiled.m_locale = locale;
    const auto literal = [&](const QString &text) {
        if (!compiled.m_fields.empty() && compiled.m_fields.back().kind == Kind::Literal)
            compiled.m_fields.back().text += text;
        else
            compiled.m_fields.push_back({Kind::Literal, 0, text});
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            // 'text' is literal; '' inside or outside quotes is one quote.
            qsizetype end = i + 1;
            QString text;
            while (end < pattern.size()) {
                if (pattern.at(end) == QLatin1Char('\'')) {
                    if (end + 1 < pattern.size() && pattern.at(end + 1) == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        end += 2;
                        continue;
                    }
                    break;
                }
                text += pattern.at(end++);
            }
            literal(i + 1 == end && end < pattern.size() ? QStringLiteral("'") : text);
            i = end + 1;
            continue;
        }
        if (!(c.isLetter() && c.unicode() < 128)) {
            literal(QString(c));
            ++i;
            continue;
        }
        if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
            const bool two =
                i + 1 < pattern.size() && pattern.at(i + 1).toLower() == QLatin1Char('p');
            const QString text = pattern.mid(i, two ? 2 : 1);
            if (text != QLatin1String("AP") && text != QLatin1String("ap") && text.size() == 2)
                return std::nullopt; // the locale's own case: rare, left to QLocale
            compiled.m_fields.push_back({Kind::AmPm, int(text.size()), text});
            compiled.m_twelveHour = true;
            i += text.size();
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        const int n = int(run);
        Field field{Kind::Literal, n, {}};
        switch (c.unicode()) {
        case 'd':
            if (n > 4)
                return std::nullopt;
            field.kind = n <= 2 ? Kind::Day : Kind::DayName;
            break;
        case 'M':
            if (n > 4)
                return std::nullopt;
            field.kind = n <= 2 ? Kind::Month : Kind::MonthName;
            break;
        case 'y':
            if (n != 2 && n != 4)
                return std::nullopt;
            field.kind = Kind::Year;
            break;
        case 'h':
        case 'H':
        case 'm':
        case 's':
            if (n > 2)
                return std::nullopt;
            field.kind = c == QLatin1Char('h')   ? Kind::Hour
                         : c == QLatin1Char('H') ? Kind::Hour24
                         : c == QLatin1Char('m') ? Kind::Minute
                                                 : Kind::Second;
            break;
        default:
            return std::nullopt;
        }
        compiled.m_fields.push_back(field);
        i += run;
    }
    return compiled;
}

void DatePattern::append(QString &out, const QDate &date, const QTime &time) const {
    for (const Field &f : m_fields) {
        switch (f.kind) {
        case Kind::Literal:
            out.append(f.text);
            break;
        case Kind::Day:
            appendNumber(out, date.day(), f.count);
            break;
        case Kind::DayName:
            out.append(m_locale.dayName(date.dayOfWeek(),
                                        f.count == 3 ? QLocale::ShortFormat : QLocale::LongFormat));
            break;
        case Kind::Month:
            appendNumber(out, date.month(), f.count);
            break;
        case Kind::MonthName:
            out.append(m_locale.monthName(date.month(), f.count == 3 ? QLocale::ShortFormat
                                                                     : QLocale::LongFormat));
            break;
        case Kind::Year:
            if (f.count == 2)
                appendNumber(out, ((date.year() % 100) + 100) % 100, 2);
            else
                out.append(QString::number(date.year()).rightJustified(4, QLatin1Char('0')));
            break;
        case Kind::Hour: {
            int hour = time.hour();
            if (m_twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            appendNumber(out, hour, f.count);
            break;
        }
        case Kind::Hour24:
            appendNumber(out, time.hour(), f.count);
            break;
        case Kind::Minute:
            appendNumber(out, time.minute(), f.count);
            break;
        case Kind::Second:
            appendNumber(out, time.second(), f.count);
            break;
        case Kind::AmPm: {
            const QString text = time.hour() < 12 ? m_locale.amText() : m_locale.pmText();
            out.append(f.text.at(0).isUpper() ? text.toUpper() : text.toLower());
            break;
        }
        }
    }
}

} // namespace tq
