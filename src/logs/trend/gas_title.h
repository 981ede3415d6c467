#pragma once

#include "core/gas_format.h"
#include "core/instrument/clsInstrument.h"
#include "logs/trend/log_header.h"

#include <QString>
#include <QVariant>

namespace tq {

// The gas heading of a slot from its own fields: name(full scale unit), "----(---)" for a
// blank name. Unlike MakeGasTitle, a full scale of -1 is written as it is. `mark` is the
// decimal mark of the full scale.
QString GasTitle(const QString &name, const QString &unit, float fullScale, qint16 decimals,
                 const QString &mark = SystemDecimalMark());

// The gas heading of a slot of a detector's settings.
QString GetGasTitle(const clsInstrument &instrument, qint16 slot);

// The gas heading of a slot of any log object that answers GasListInfo (the log classes
// answer slot 0 only, so any other slot gives "----(---)").
template <typename Log>
requires requires(const Log &log) {
    log.GasListInfo(qint32(0), qint32(0));
}
QString GetGasTitle(const Log &log, qint16 slot, const QString &mark = SystemDecimalMark()) {
    const auto item = [&](GasInfoItem code) { return log.GasListInfo(slot, qint32(code)); };
    return GasTitle(item(GasInfoItem::Name).toString(), item(GasInfoItem::Unit).toString(),
                    item(GasInfoItem::Full).toFloat(),
                    static_cast<qint16>(item(GasInfoItem::Point).toInt()), mark);
}

// Any other object has no gas heading.
template <typename Other>
QString GetGasTitle(const Other &, qint16, const QString & = SystemDecimalMark()) {
    return QStringLiteral("----(---)");
}

} // namespace tq
