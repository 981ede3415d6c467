#include "ui/display/summary_values.h"

#include "core/errors.h"
#include "core/gas_format.h"

namespace tq {

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
    return MakeGasTitle(row.text(QStringLiteral("Gas1Name")), row.text(QStringLiteral("Gas1Unit")),
                        fullScale(), decimals());
}

QString SummaryRow::number(const QString &column) const {
    return row.isNull(column) ? QString() : row.value(column).toString();
}

} // namespace tq
