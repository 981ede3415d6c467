#include "link/dump_list.h"

namespace tq {

namespace {

constexpr int kBytesPerLine = 16;

} // namespace

QString HexDumpLine(const QString &hexDigits) {
    QString hex;
    QString ascii;
    for (int i = 0; i < kBytesPerLine; ++i) {
        const int value = hexDigits.mid(i * 2, 2).toInt(nullptr, 16);
        hex += QStringLiteral("%1 ").arg(value, 2, 16, QLatin1Char('0')).toUpper();
        if (i == 7)
            hex += ' ';
        ascii += (value >= 32 && value <= 126) ? QChar(value) : QChar('.');
    }
    return hex + QStringLiteral("  ") + ascii;
}

QString DumpListLine(qint32 address, const QString &hexDigits) {
    return QStringLiteral("%1 ").arg(address, 6, 16, QLatin1Char('0')).toUpper() +
           HexDumpLine(hexDigits);
}

QString DumpPageHeading() {
    return QStringLiteral(
        "Adrs   +0 +1 +2 +3 +4 +5 +6 +7  +8 +9 +A +B +C +D +E +F   List Of ASCII   ");
}

QString DumpPageRule() {
    return QString(74, '-');
}

QString DumpListHeader(const QString &when) {
    return QStringLiteral(";\tTQ-6200 Data Logger Program\r\n") +
           QStringLiteral(";\tFlush ROM Dump (EF) List ") + when + QStringLiteral("\r\n\r\n\r\n");
}

QString ElapsedText(qint64 seconds) {
    seconds = qMax<qint64>(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ElapsedText(const Date &start, const Date &now) {
    return ElapsedText(now.totalSeconds() - start.totalSeconds());
}

} // namespace tq
