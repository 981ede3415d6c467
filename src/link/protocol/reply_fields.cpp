#include "link/protocol/reply_fields.h"

#include <algorithm>
#include <bit>

namespace tq {

namespace {

bool isHexDigit(QChar c) {
    return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

quint32 hexValue(const QString &field) {
    if (!IsHexField(field))
        throw TqError(ErrorKind::TypeMismatch, QStringLiteral("\"%1\" is not hex").arg(field));
    return field.toUInt(nullptr, 16);
}

} // namespace

std::optional<double> NumericField(const QString &field) {
    return ParseNumber(field);
}

bool IsNumericField(const QString &field) {
    return NumericField(field).has_value();
}

bool IsHexField(const QString &field) {
    return field.size() <= 8 && IsHexDigits(field);
}

bool IsHexDigits(const QString &text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isHexDigit);
}

bool IsLevelField(const QString &field) {
    return field == QLatin1String("*****") || IsNumericField(field);
}

qint16 HexField16(const QString &field) {
    const quint32 value = hexValue(field);
    if (value > 0xFFFF)
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("\"%1\" does not fit 16 bits").arg(field));
    return static_cast<qint16>(static_cast<quint16>(value));
}

qint32 HexField32(const QString &field) {
    return static_cast<qint32>(hexValue(field));
}

float HexToSingle(const QString &text) {
    const QString digits = text.left(8);
    if (digits.size() < 8 || !IsHexField(digits))
        throw TqError(ErrorKind::TypeMismatch,
                      QStringLiteral("\"%1\" is not eight hex digits").arg(text));
    return std::bit_cast<float>(digits.toUInt(nullptr, 16));
}

} // namespace tq
