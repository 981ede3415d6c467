#pragma once

#include "core/gas_format.h"
#include "core/messages.h"
#include "logs/trend/headed_log.h"
#include "print/export/export_cells.h"
#include "print/export/export_sink.h"
#include "print/export/export_text.h"

#include <QStringList>

// What the export texts of every log type share: the line writer and the cells of a gas.
namespace tq::exporting {

inline const QString kNoLevel = QStringLiteral("-----");
inline const QString kNotExported = QStringLiteral("*****");
inline const QString &kMark = kExportDecimalMark;

inline bool isNumber(const QString &text) {
    return ParseNumber(text).has_value();
}

// The lines of one text: cells joined by the separator, each line handed to the sink.
class TextWriter {
public:
    TextWriter(const ExportRequest &request, ExportSink &sink)
        : m_separator(request.separator), m_sink(sink), m_unitColumn(request.filterIndex > 3) {}

    void line(const QStringList &cells) { m_sink.writeLine(JoinCells(cells, m_separator)); }
    void property(int label, const QString &value) { line({LoadMessage(label), value}); }
    void empty() { m_sink.writeLine(QString()); }
    bool unitColumn() const { return m_unitColumn; }

private:
    QString m_separator;
    ExportSink &m_sink;
    bool m_unitColumn;
};

// What the cells need of gas slot 0 of a log.
struct GasCells {
    qint16 decimals = 0;
    float full = 0;
    float ratio = 0;
    QString unit;

    explicit GasCells(const HeadedLog &log)
        : decimals(static_cast<qint16>(item(log, GasInfoItem::Point).toInt())),
          full(item(log, GasInfoItem::Full).toFloat()),
          ratio(item(log, GasInfoItem::Ratio).toFloat()),
          unit(item(log, GasInfoItem::Unit).toString()) {}

    static QVariant item(const HeadedLog &log, GasInfoItem code) {
        return log.GasListInfo(0, qint32(code));
    }
    QString value(float level) const { return FormatGasValue(level, decimals, kMark); }
    // A level of the levels row; the averages and extremes are also checked against the
    // full scale. A number gets a blank and the unit.
    QString level(bool present, float level, bool rangeChecked) const {
        if (!present)
            return kNoLevel;
        QString text = value(level);
        if (rangeChecked)
            text = CheckOverRange(text, full);
        return isNumber(text) ? text + QLatin1Char(' ') + unit : text;
    }
    // A sample: the reading, then its unit in the same cell or, in the unit-column layout,
    // in a cell of its own (empty for a reading that is no number).
    void sample(QStringList &cells, float reading, qint16 unitCode, bool unitColumn) const {
        const QString text = CheckOverRange(value(reading), full);
        const QString suffix = isNumber(text)
                                   ? GetUnitSuffix(unitCode, ratio, reading, full, QString(), unit)
                                   : QString();
        if (unitColumn) {
            cells << text << suffix;
        } else {
            cells << text + suffix;
        }
    }
};

} // namespace tq::exporting
