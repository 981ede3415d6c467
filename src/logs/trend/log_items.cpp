#include "logs/trend/log_items.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"

#include <cmath>
#include <limits>

namespace tq {

namespace {

using H = LogHeaderItem;
using G = GasInfoItem;

std::optional<Date> dateValue(const QVariant &value) {
    if (value.metaType() == QMetaType::fromType<Date>())
        return value.value<Date>();
    return std::nullopt;
}

// A numeric let: stores convert(number) when the value is numeric, ignores it otherwise.
template <typename T, typename Convert>
void setWhenNumeric(T &field, const QVariant &value, Convert convert) {
    if (const std::optional<double> number = NumericValue(value))
        field = convert(*number);
}

qint16 toInteger16(double number) {
    return RoundToWhole<qint16>(RoundToWhole<qint32>(number));
}

float toSingle(double number) {
    if (std::isfinite(number) && std::abs(number) > std::numeric_limits<float>::max())
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("Number %1 does not fit a Single").arg(number));
    return static_cast<float>(number);
}

// Works on a const or a mutable record alike.
template <typename Header> auto rangeField(Header &h, qint32 code) -> decltype(&h.LEL_lo) {
    switch (H(code)) {
    case H::LEL_lo:
        return &h.LEL_lo;
    case H::LEL_hi:
        return &h.LEL_hi;
    case H::ppm_lo:
        return &h.ppm_lo;
    case H::ppm_hi:
        return &h.ppm_hi;
    case H::vol_lo:
        return &h.vol_lo;
    case H::vol_hi:
        return &h.vol_hi;
    default:
        return nullptr;
    }
}

template <typename Gas> auto singleField(Gas &g, qint32 code) -> decltype(&g.Full) {
    switch (G(code)) {
    case G::Full:
        return &g.Full;
    case G::Desit:
        return &g.Desit;
    case G::Max:
        return &g.Max;
    case G::Min:
        return &g.Min;
    case G::Avr:
        return &g.Avr;
    case G::Warning:
        return &g.Warning;
    case G::Alarm:
        return &g.Alarm;
    case G::Stel:
        return &g.Stel;
    case G::Twa:
        return &g.Twa;
    default:
        return nullptr;
    }
}

bool booleanValue(const QVariant &value) {
    if (value.metaType() == QMetaType::fromType<QString>()) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const std::optional<double> number = NumericValue(value))
        return *number != 0;
    throw TqError(ErrorKind::TypeMismatch, QStringLiteral("The value is not a truth value"));
}

} // namespace

QVariant NullVariant() {
    return QVariant::fromValue(nullptr);
}

bool IsNullVariant(const QVariant &value) {
    return value.metaType() == QMetaType::fromType<std::nullptr_t>();
}

bool IsEmptyVariant(const QVariant &value) {
    return !value.isValid();
}

std::optional<double> NumericValue(const QVariant &value) {
    if (!value.isValid() || IsNullVariant(value) || dateValue(value))
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0;
    case QMetaType::QString:
        return ParseNumber(value.toString());
    default:
        break;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

double RequiredNumber(const QVariant &value, const QString &message) {
    const std::optional<double> number = NumericValue(value);
    if (!number)
        throw TqError(ErrorKind::TypeMismatch, message);
    return *number;
}

std::optional<qint16> FittingCode(double value) {
    const double whole = std::nearbyint(value);
    if (!(whole >= std::numeric_limits<qint16>::min() &&
          whole <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return static_cast<qint16>(whole);
}

QVariant GetHeaderItem(const LogHeader &h, qint32 code) {
    switch (H(code)) {
    case H::Names:
        return h.Names;
    case H::LogNo:
        return h.LogNo;
    case H::Dates:
        return QVariant::fromValue(h.Dates);
    case H::Last:
        return QVariant::fromValue(h.Last);
    case H::UserID:
        return BlankToDashes(h.UserID, IdFieldKind::User);
    case H::StationID:
        return BlankToDashes(h.StationID, IdFieldKind::Station);
    case H::SerialNo:
        return BlankToDashes(h.SerialNo, IdFieldKind::Serial);
    case H::FolderID:
        return h.FolderID;
    case H::Interval:
        return h.Interval;
    case H::Sampling:
        return h.Sampling;
    case H::Dcount:
        return h.Dcount;
    case H::LunchBreak:
        return h.LunchBreak;
    default:
        if (const qint32 *range = rangeField(h, code))
            return *range;
        return NullVariant();
    }
}

void SetHeaderItem(LogHeader &h, qint32 code, const QVariant &value) {
    switch (H(code)) {
    case H::Names:
        h.Names = value.toString();
        return;
    case H::LogNo:
        h.LogNo = RoundToWhole<qint16>(
            RequiredNumber(value, QStringLiteral("The log number is no number")));
        return;
    case H::Dates:
        if (const std::optional<Date> date = dateValue(value))
            h.Dates = *date;
        return;
    case H::UserID:
        h.UserID = BlankToDashes(value.toString(), IdFieldKind::User);
        return;
    case H::StationID:
        h.StationID = BlankToDashes(value.toString(), IdFieldKind::Station);
        return;
    case H::SerialNo:
        h.SerialNo = BlankToDashes(value.toString(), IdFieldKind::Serial);
        return;
    case H::FolderID:
        h.FolderID = value.toString();
        return;
    case H::Interval:
        setWhenNumeric(h.Interval, value, RoundToWhole<qint32>);
        return;
    case H::Dcount:
        setWhenNumeric(h.Dcount, value, RoundToWhole<qint32>);
        return;
    case H::Sampling:
        setWhenNumeric(h.Sampling, value, toInteger16);
        return;
    case H::LunchBreak:
        setWhenNumeric(h.LunchBreak, value, toInteger16);
        return;
    default:
        if (qint32 *range = rangeField(h, code))
            setWhenNumeric(*range, value,
                           [](double n) { return RoundToWhole<qint32>(toSingle(n)); });
        return; // Last and unknown codes cannot be written
    }
}

QVariant GetGasItem(const GasInfo &g, qint32 code) {
    switch (G(code)) {
    case G::Name:
        return g.Name;
    case G::Point:
        return g.Point;
    case G::Unit:
        return g.Unit;
    case G::MaxDate:
        return QVariant::fromValue(g.MaxDate);
    case G::MinDate:
        return QVariant::fromValue(g.MinDate);
    case G::Enable:
        return g.Enable;
    case G::Ratio:
        return g.Ratio;
    default:
        if (const float *single = singleField(g, code))
            return *single;
        return NullVariant();
    }
}

void SetGasItem(GasInfo &g, qint32 code, const QVariant &value) {
    switch (G(code)) {
    case G::Name:
        g.Name = value.toString();
        return;
    case G::Point:
        setWhenNumeric(g.Point, value, toInteger16);
        return;
    case G::Unit:
        g.Unit = value.toString();
        return;
    case G::MaxDate:
    case G::MinDate:
        if (const std::optional<Date> date = dateValue(value))
            (G(code) == G::MaxDate ? g.MaxDate : g.MinDate) = *date;
        return;
    case G::Enable:
        g.Enable = booleanValue(value);
        return;
    case G::Ratio:
        g.Ratio = toSingle(RequiredNumber(value, QStringLiteral("The ratio is no number")));
        return;
    default:
        if (float *single = singleField(g, code))
            setWhenNumeric(*single, value, toSingle);
        return;
    }
}

} // namespace tq
