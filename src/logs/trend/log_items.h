#pragma once

#include "logs/trend/log_header.h"

#include <QVariant>

namespace tq {

// The variant values of the header and gas accessors: Empty is an invalid QVariant, Null
// a valid variant holding nullptr. Dates travel as tq::Date.
QVariant NullVariant();
bool IsNullVariant(const QVariant &value);
bool IsEmptyVariant(const QVariant &value);
// The number a variant holds when it counts as numeric (a number, a Boolean as -1/0, or a
// text that reads as a number); nullopt otherwise (dates, Empty, Null, other texts).
std::optional<double> NumericValue(const QVariant &value);
// The same number where a let needs one: any other value throws TqError(TypeMismatch)
// with that message.
double RequiredNumber(const QVariant &value, const QString &message);

// A stored code (an event code, alarm status flags) as the 16-bit number it is read into,
// rounded to a whole number; nullopt when it is no number that fits there (NaN, 65,429).
std::optional<qint16> FittingCode(double value);

// GasBaseInfo: a header field by code. An unknown code reads Null and ignores a let.
// Lets of LogNo throw TqError(Overflow) outside 16 bits and TqError(TypeMismatch) for a
// value that is no number; the other numeric lets ignore a value that is not numeric and
// throw TqError(Overflow) when it does not fit; Dates takes only a date; Last is read-only.
QVariant GetHeaderItem(const LogHeader &header, qint32 code);
void SetHeaderItem(LogHeader &header, qint32 code, const QVariant &value);

// GasListInfo on one gas slot (callers answer Empty for a slot that does not answer).
// The numeric lets ignore a value that is not numeric; Ratio converts without that test
// (TqError(TypeMismatch)); Enable takes a Boolean, a number or the words True/False.
QVariant GetGasItem(const GasInfo &gas, qint32 code);
void SetGasItem(GasInfo &gas, qint32 code, const QVariant &value);

} // namespace tq
