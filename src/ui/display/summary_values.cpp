#include "ui/display/summary_values.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "print/export/record_export.h"

namespace tq {

namespace {

// The text `read` makes of a row's values; empty when one is not there or does not fit.
template <typename Read> QString orEmpty(Read read) {
    try {
        return read();
    } catch (const TqError &) {
        return {};
    }
}

} // namespace

QString SummaryRow::date(const QString &column) const {
    if (row.isNull(column))
        return {};
    try {
        return row.date(column).generalDate();
    } catch (const TqError &) {
        return {};
    }
}

QString SummaryRow::gas(const QString &column) const {
    if (row.isNull(column))
        return {};
    return FormatGasValue(float(row.real(column)), decimals());
}

qint16 SummaryRow::decimals() const {
    return qint16(row.integer(QStringLiteral("Gas1Point")));
}

bool SummaryRow::gasEnabled() const {
    return row.boolean(QStringLiteral("Gas1Enable"));
}

float SummaryRow::fullScale() const {
    return float(row.real(QStringLiteral("Gas1Full")));
}

QString SummaryRow::gasTitle() const {
    return orEmpty([&] { return EntryGasTitle(row, SystemDecimalMark()); });
}

QString SummaryRow::eventWord() const {
    return orEmpty([&] { return EntryEventWord(row); });
}

QString SummaryRow::power() const {
    return orEmpty([&] { return EntryPowerWord(row); });
}

QString SummaryRow::number(const QString &column) const {
    return row.isNull(column) ? QString() : row.value(column).toString();
}

} // namespace tq
