#include "graph/interval_event_marks.h"

#include "core/gas_format.h"
#include "graph/uclVtmGraph.h"
#include "logs/trend/clsInterval.h"

namespace tq {

void MarkIntervalEvents(uclVtmGraph &graph, const clsInterval &log, qint16 decimals) {
    constexpr qint32 slot = 0;
    constexpr qint16 series = 0;
    qint16 m = 0;
    for (qint32 e = 0; e < log.EventCount(); ++e) {
        const float code = log.GasEvent(slot, e).toFloat();
        if (code >= ReadingCode::NoValue || code == ReadingCode::Lel || code == ReadingCode::Vol)
            continue;
        graph.setEventX(series, m, log.EventDateTimes(e).days());
        graph.setEventFlag(series, m, FormatGasValue(code, decimals));
        ++m;
    }
    graph.setEventCount(series, m);
}

} // namespace tq
