#pragma once

#include <QDate>
#include <QMetaType>
#include <QString>
#include <QTime>

#include <optional>

namespace tq {

// The program's date value: a day count from 1899-12-30 00:00 held as a double, the
// whole part the day and the fraction the time of day (for a negative count the fraction
// still counts forward from midnight: -1.25 is 1899-12-29 06:00). It is plain calendar
// arithmetic without time zones; only now() looks at the local clock.
//
// The calendar runs from 0001-01-01 to 9999-12-31, the years of the database's text form. A day
// count outside it (NaN, infinite, or too large, as a damaged file can hold) is kept as it
// came, so isValid() tells it apart, but every field, text and sum reads it as the nearest
// end of the range (NaN as the day 0): no conversion of it overflows.
class Date {
public:
    static constexpr double kFirstDay = -693593.0; // 0001-01-01
    static constexpr double kEndDay = 2958466.0;   // 10000-01-01, the first day beyond

    constexpr Date() = default;
    constexpr explicit Date(double days) : m_days(days) {}

    // The "no date" value (1899-09-20 00:00) and the empty date of a log (1900-01-01).
    static constexpr Date noDate() { return Date(-101.0); }
    static constexpr Date emptyLogDate() { return Date(2.0); }

    // A calendar date and time; nullopt when the fields do not make one (month 13, Feb 30,
    // hour 24, ...). fromParts() of such fields gives noDate() instead.
    static std::optional<Date> tryFromParts(int year, int month, int day, int hour = 0,
                                            int minute = 0, int second = 0);
    static Date fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);
    static Date fromDateTime(const QDate &date, const QTime &time = QTime(0, 0));
    // The local clock, to the whole second.
    static Date now();

    constexpr double days() const { return m_days; }
    // The day count is a number within the calendar's range.
    bool isValid() const;

    // Calendar fields, the time rounded to the nearest second.
    QDate date() const;
    QTime time() const;
    int year() const { return date().year(); }
    int month() const { return date().month(); }
    int day() const { return date().day(); }
    int hour() const { return time().hour(); }
    int minute() const { return time().minute(); }
    int second() const { return time().second(); }
    // Seconds since 1899-12-30 00:00, rounded to the nearest second.
    qint64 totalSeconds() const;

    Date addSeconds(qint64 seconds) const;
    Date addDays(double days) const { return Date(m_days + days); }
    // The same moment with the time rounded to the nearest whole second.
    Date roundedToSecond() const;

    // "yyyy-MM-dd hh:mm:ss", the form of every date in the database.
    QString toSqlText() const;
    static std::optional<Date> fromSqlText(const QString &text);
    // Qt date-time pattern ("MM/dd hh:mm:ss", ...), applied to the rounded fields.
    QString format(const QString &pattern) const;
    // The system's general date form: short date with a four-digit year, a blank and the
    // time with seconds; the time is left out at midnight.
    QString generalDate() const;
    // The medium date form of titles and printouts, by the active language: "dd-MMM-yy"
    // with English month names in English (23-Jun-15), "yyyy/MM/dd" in Japanese.
    QString mediumDate() const;

    // Dates compare by the second they name.
    friend bool operator==(const Date &a, const Date &b) {
        return a.totalSeconds() == b.totalSeconds();
    }
    friend auto operator<=>(const Date &a, const Date &b) {
        return a.totalSeconds() <=> b.totalSeconds();
    }

private:
    double m_days = 0.0;
};

} // namespace tq

Q_DECLARE_METATYPE(tq::Date)
