#pragma once

#include "core/gas_format.h"

#include <QString>

#include <optional>

namespace tq {

// The field formats of detector replies. A field is one token of the reply data. The
// conversions throw TqError (TypeMismatch for a text of the wrong form, Overflow for a
// value that does not fit), which ends the parse of the reply.

// A decimal number, blanks around it, a sign and a fraction allowed.
std::optional<double> NumericField(const QString &field);
bool IsNumericField(const QString &field);

// One to eight hexadecimal digits of either case.
bool IsHexField(const QString &field);
// One or more hexadecimal digits of either case, however many.
bool IsHexDigits(const QString &text);

// "*****" (no value) or a decimal number.
bool IsLevelField(const QString &field);

// A numeric field rounded to a whole number (halves to even).
template <typename T> T DecimalField(const QString &field) {
    const std::optional<double> value = NumericField(field);
    if (!value)
        throw TqError(ErrorKind::TypeMismatch, QStringLiteral("\"%1\" is not a number").arg(field));
    return RoundToWhole<T>(*value);
}

// A hex field as a signed 16-bit value ("FFFF" is -1); more than 16 significant bits
// overflow.
qint16 HexField16(const QString &field);
// A hex field as a signed 32-bit value ("FFFFFFFF" is -1).
qint32 HexField32(const QString &field);

// Characters 1-8 as the bytes of an IEEE 754 single, most significant first: "3F800000"
// is 1.0, "C2CA0000" is -101.0. Fewer than eight hex digits cannot be converted.
float HexToSingle(const QString &text);

} // namespace tq
