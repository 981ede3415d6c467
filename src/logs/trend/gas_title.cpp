#include "logs/trend/gas_title.h"

namespace tq {

QString GasTitle(const QString &name, const QString &unit, float fullScale, qint16 decimals,
                 const QString &mark) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("----(---)");
    return name + QLatin1Char('(') + FormatNumber(fullScale, DecimalFormat(decimals), mark) + unit +
           QLatin1Char(')');
}

QString GetGasTitle(const clsInstrument &instrument, qint16 slot) {
    return GasTitle(instrument.GasName(slot), instrument.GasUnit(slot),
                    instrument.GasFullScale(slot), instrument.GasPoint(slot));
}

} // namespace tq
