#include "core/id_helpers.h"

#include "core/errors.h"
#include "core/gas_format.h"

#include <QLocale>

namespace tq {

namespace {

bool isAsciiLetterOrDigit(int code) {
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') ||
           (code >= '0' && code <= '9');
}

constexpr int kBackspace = 8;

// The first separator character of a Qt date or time pattern, or the fallback.
QChar separatorOf(const QString &pattern, QChar fallback) {
    for (const QChar c : pattern) {
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    }
    return fallback;
}

} // namespace

QString BlankToDashes(const QString &text, IdFieldKind kind) {
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        return trimmed;
    switch (kind) {
    case IdFieldKind::User:
    case IdFieldKind::Station:
        return QString(16, QLatin1Char('-'));
    case IdFieldKind::Serial:
    case IdFieldKind::DummySerial:
        return QString(20, QLatin1Char('-'));
    default:
        return QStringLiteral("*");
    }
}

bool IsIdKeyChar(int keyCode) {
    return isAsciiLetterOrDigit(keyCode) || keyCode == ' ' || keyCode == '*' || keyCode == '-' ||
           keyCode == kBackspace;
}

bool IsStationKeyChar(int keyCode) {
    return isAsciiLetterOrDigit(keyCode) || keyCode == ' ' || keyCode == '-' || keyCode == '_' ||
           keyCode == '/' || keyCode == kBackspace;
}

bool IsValidIdText(const QString &text) {
    for (const QChar c : text) {
        const int code = c.unicode();
        if (!isAsciiLetterOrDigit(code) && code != ' ' && code != '-' && code != '_' && code != '/')
            return false;
    }
    return true;
}

bool IsAllDigits(const QString &text) {
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

qint64 LeadingNumber(const QString &text) {
    if (text.isEmpty())
        return 0;
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    const std::optional<double> number =
        blank < 0 ? std::nullopt : ParseNumber(text.left(blank + 1));
    if (!number)
        throw TqError(ErrorKind::TypeMismatch,
                      QStringLiteral("Key \"%1\" does not start with a number").arg(text));
    return RoundToWhole<qint64>(*number);
}

QString DropLastTwo(const QString &text) {
    return text.size() < 3 ? QString() : text.chopped(2);
}

QString AfterLastBlank(const QString &text) {
    QString rest = text;
    for (qsizetype blank = rest.indexOf(QLatin1Char(' ')); blank >= 0;
         blank = rest.indexOf(QLatin1Char(' ')))
        rest = rest.mid(blank + 1).trimmed();
    return rest;
}

QString FormatEventTime(float value, const Date &time) {
    if (value == ReadingCode::RawFeFe)
        return QStringLiteral("-----");
    if (time.days() == Date::emptyLogDate().days())
        return QStringLiteral("*****");
    const QLocale locale = QLocale::system();
    const QString date = QStringLiteral("'%1'").arg(
        separatorOf(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/')));
    const QString clock = QStringLiteral("'%1'").arg(
        separatorOf(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':')));
    return time.format(QStringLiteral("MM%1dd hh%2mm%2ss").arg(date, clock));
}

QString GetUserLocaleInfo(qint32 type) {
    switch (type) {
    case LocaleCalendarType:
        // Linux locales all use the Gregorian calendar, Windows' calendar type 1.
        return QStringLiteral("1");
    case LocaleShortDate:
        // Qt's date pattern letters (d, M, y and quoted text) read as Windows' do.
        return QLocale::system().dateFormat(QLocale::ShortFormat);
    default:
        return QString();
    }
}

quint16 MakeLangID(quint8 primary, quint8 sub) {
    return static_cast<quint16>((sub << 10) | primary);
}

quint32 MakeLCID(quint16 languageId) {
    constexpr quint32 kSortDefault = 0;
    return (kSortDefault << 16) | languageId;
}

} // namespace tq
