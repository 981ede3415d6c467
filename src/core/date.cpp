#include "core/date.h"

#include "core/date_pattern.h"
#include "core/messages.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tq {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

qint64 epochJulianDay() {
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

// The day count as the calendar reads it: within its range, NaN as 0.
double calendarDays(double days) {
    if (std::isnan(days))
        return 0.0;
    return std::clamp(days, Date::kFirstDay, Date::kEndDay);
}

// Splits a day count into a whole day number and the seconds of the day (0..86399).
void split(double rawDays, qint64 &day, qint64 &seconds) {
    const double days = calendarDays(rawDays);
    const double whole = std::trunc(days);
    day = static_cast<qint64>(whole);
    seconds = std::llround(std::fabs(days - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        day += 1;
    }
}

double join(qint64 day, qint64 seconds) {
    const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

} // namespace

std::optional<Date> Date::tryFromParts(int year, int month, int day, int hour, int minute,
                                       int second) {
    const QDate d(year, month, day);
    if (!d.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59)
        return std::nullopt;
    return fromDateTime(d, QTime(hour, minute, second));
}

Date Date::fromParts(int year, int month, int day, int hour, int minute, int second) {
    return tryFromParts(year, month, day, hour, minute, second).value_or(noDate());
}

Date Date::fromDateTime(const QDate &date, const QTime &time) {
    const qint64 day = date.toJulianDay() - epochJulianDay();
    const qint64 seconds = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
    return Date(join(day, seconds));
}

Date Date::now() {
    const QDateTime now = QDateTime::currentDateTime();
    return fromDateTime(now.date(), now.time());
}

QDate Date::date() const {
    qint64 day, seconds;
    split(m_days, day, seconds);
    return QDate::fromJulianDay(day + epochJulianDay());
}

QTime Date::time() const {
    qint64 day, seconds;
    split(m_days, day, seconds);
    return QTime(0, 0).addSecs(static_cast<int>(seconds));
}

qint64 Date::totalSeconds() const {
    qint64 day, seconds;
    split(m_days, day, seconds);
    return day * kSecondsPerDay + seconds;
}

bool Date::isValid() const {
    return std::isfinite(m_days) && m_days >= kFirstDay && m_days < kEndDay;
}

Date Date::addSeconds(qint64 delta) const {
    // A sum beyond the calendar stops at its end.
    constexpr qint64 first = qint64(kFirstDay) * kSecondsPerDay;
    constexpr qint64 end = qint64(kEndDay) * kSecondsPerDay;
    qint64 total = 0;
    if (__builtin_add_overflow(totalSeconds(), delta, &total))
        total = delta > 0 ? end : first;
    total = std::clamp(total, first, end);
    const qint64 day =
        total >= 0 ? total / kSecondsPerDay : -((-total + kSecondsPerDay - 1) / kSecondsPerDay);
    return Date(join(day, total - day * kSecondsPerDay));
}

Date Date::roundedToSecond() const {
    return addSeconds(0);
}

QString Date::toSqlText() const {
    return format(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

std::optional<Date> Date::fromSqlText(const QString &text) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2}))?)?)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return tryFromParts(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                        m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
}

QString Date::format(const QString &pattern) const {
    // A date carries no time zone: in UTC every date and time has a form, also one that
    // the computer's zone skips when its clocks go forward.
    return QDateTime(date(), time(), Qt::UTC).toString(pattern);
}

namespace {

// The system's general date patterns, worked out and compiled once: a record table writes
// tens of thousands of dates.
struct GeneralDateFormats {
    QLocale locale = QLocale::system();
    QString date;
    QString time;
    std::optional<DatePattern> compiledDate;
    std::optional<DatePattern> compiledTime;

    GeneralDateFormats() {
        date = locale.dateFormat(QLocale::ShortFormat);
        if (!date.contains(QLatin1String("yyyy")))
            date.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
        // The short time form with the seconds added after the minutes, as the desktop
        // shows times; the long form would bring words ("8時46分58秒") and a time zone.
        time = locale.timeFormat(QLocale::ShortFormat);
        time.remove(QRegularExpression(QStringLiteral(R"(\s*\bt+\b\s*)")));
        if (!time.contains(QLatin1Char('s')))
            time.replace(QRegularExpression(QStringLiteral("(m+)")), QStringLiteral("\\1:ss"));
        time = time.trimmed();
        compiledDate = DatePattern::compile(date, locale);
        compiledTime = DatePattern::compile(time, locale);
    }
};

} // namespace

QString Date::generalDate() const {
    static const GeneralDateFormats formats;
    const QDate d = date();
    const QTime t = time();
    QString text;
    text.reserve(24);
    if (formats.compiledDate)
        formats.compiledDate->append(text, d, t);
    else
        text = formats.locale.toString(d, formats.date);
    if (t == QTime(0, 0))
        return text;
    text += QLatin1Char(' ');
    if (formats.compiledTime)
        formats.compiledTime->append(text, d, t);
    else
        text += formats.locale.toString(t, formats.time);
    return text;
}

QString Date::mediumDate() const {
    if (JapaneseActive())
        return format(QStringLiteral("yyyy/MM/dd"));
    // English month names whatever the system's locale, as the English texts around them.
    return QLocale(QLocale::English, QLocale::UnitedStates)
        .toString(date(), QStringLiteral("dd-MMM-yy"));
}

} // namespace tq
