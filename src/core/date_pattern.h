#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace tq {

// A Qt date or time pattern taken apart once, so that writing a date is a few appends
// instead of a parse of the pattern per call: record tables write tens of thousands of
// dates. It gives what QLocale::toString gives for the same pattern. Patterns with a letter
// it does not know are not compiled (compile() is nullopt); callers then use QLocale.
class DatePattern {
public:
    static std::optional<DatePattern> compile(const QString &pattern, const QLocale &locale);

    // Appends the date and time in the pattern to `out`.
    void append(QString &out, const QDate &date, const QTime &time) const;

private:
    enum class Kind {
        Literal,
        Day,
        DayName,
        Month,
        MonthName,
        Year,
        Hour,
        Hour24,
        Minute,
        Second,
        AmPm
    };
    struct Field {
        Kind kind = Kind::Literal;
        int count = 0; // letters in the field: dd is 2
        QString text;  // Literal: the text; AmPm: "AP", "ap", "A" or "a"
    };

    QLocale m_locale;
    std::vector<Field> m_fields;
    bool m_twelveHour = false; // an AM/PM field makes h count 1 to 12
};

} // namespace tq
