#include "graph/plotted_values.h"

#include "core/date.h"
#include "core/gas_format.h"
#include "graph/graph_model.h"

namespace tq {

float PlottedValue(float value, qint16 decimals) {
    if (!(value > ReadingCode::NoValue))
        return kMissingSample;
    bool ok = false;
    const float shown = FormatGasValue(value, decimals, QStringLiteral(".")).toFloat(&ok);
    return ok ? shown : kMissingSample;
}

QString GraphTitleTime(const Date &time) {
    return time.mediumDate() + time.format(QStringLiteral(" hh:mm:ss"));
}

} // namespace tq
