#include "core/database.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "logs/trend/clsInterval.h"
#include "logs/trend/raw_export.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace tq {

namespace {

constexpr float kNoValue = ReadingCode::NoValue;

// Column reads with the value a Null column gives.
struct RowReader {
    const DbRow &row;

    QString text(const char *name, const QString &null) const {
        return row.isNull(name) ? null : row.text(name);
    }
    qint64 integer(const char *name, qint64 null) const {
        return row.isNull(name) ? null : row.integer(name);
    }
    float single(const char *name) const {
        return row.isNull(name) ? kNoValue : static_cast<float>(row.real(name));
    }
    Date date(const char *name, const Date &null) const {
        return row.isNull(name) ? null : row.date(name);
    }
};

} // namespace

void clsInterval::ReLoad(bool &condensedView) {
    qint32 eventsRead = 0;
    if (QFileInfo::exists(m_context.DatabasePath)) {
        Database db(m_context.DatabasePath);
        readHeadRow(db);
        // More records than the table holds are only shown condensed.
        if (m_header.Dcount > kSampleEntries - 1)
            condensedView = true;
        // A blank name (stored for an empty one) names no trend file.
        if (m_header.Names.trimmed().isEmpty())
            m_dataCount = m_valueCount = 0;
        else
            readSamples(condensedView);
        eventsRead = readEvents(db);
    }
    if (m_context.ExportRawData)
        writeRawExport(eventsRead);
}

void clsInterval::readHeadRow(Database &db) {
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select * From Log_Head Where SeqNo=?"), {m_seqNo});
    if (rows.isEmpty())
        return;
    const RowReader r{rows.first()};
    const QString blank = QStringLiteral(" ");
    LogHeader &h = m_header;
    h.Names = r.text("Names", QStringLiteral("Name None"));
    h.Dates = r.date("Dates", Date::now());
    h.Last = r.date("Last", Date::emptyLogDate());
    h.UserID = BlankToDashes(r.text("UserID", blank), IdFieldKind::User);
    h.StationID = BlankToDashes(r.text("StationID", blank), IdFieldKind::Station);
    h.SerialNo = BlankToDashes(r.text("SerialNo", blank), IdFieldKind::Serial);
    h.Interval = static_cast<qint32>(r.integer("Interval", 0));
    h.Sampling = static_cast<qint16>(r.integer("Sampling", 0));
    h.Dcount = static_cast<qint32>(r.integer("Dcount", 0));
    h.FolderID = r.text("FolderID", QStringLiteral("00/00"));
    h.LunchBreak = static_cast<qint16>(r.integer("LunchBreak", 0));
    h.LEL_lo = static_cast<qint32>(r.integer("LEL_lo", ReadingCode::NoValue));
    h.LEL_hi = static_cast<qint32>(r.integer("LEL_hi", ReadingCode::NoValue));
    h.ppm_lo = static_cast<qint32>(r.integer("ppm_lo", ReadingCode::NoValue));
    h.ppm_hi = static_cast<qint32>(r.integer("ppm_hi", ReadingCode::NoValue));
    h.vol_lo = static_cast<qint32>(r.integer("vol_lo", ReadingCode::NoValue));
    h.vol_hi = static_cast<qint32>(r.integer("vol_hi", ReadingCode::NoValue));

    GasInfo &g = m_gas[0];
    g.Name = r.text("Gas1Name", QString());
    g.Full = r.single("Gas1Full");
    g.Desit = r.single("Gas1Desit");
    g.Point = static_cast<qint16>(r.integer("Gas1Point", ReadingCode::NoValue));
    g.Unit = r.text("Gas1Unit", QString());
    g.Avr = r.single("Gas1Avr");
    g.Max = r.single("Gas1Max");
    g.Min = r.single("Gas1Min");
    g.MaxDate = r.date("Gas1MaxDate", Date::noDate());
    g.MinDate = r.date("Gas1MinDate", Date::noDate());
    g.Enable = rows.first().isNull("Gas1Enable") || rows.first().boolean("Gas1Enable");
    g.Warning = r.single("Gas1Warning");
    g.Alarm = r.single("Gas1Alarm");
    g.Stel = r.single("Gas1Stel");
    g.Twa = r.single("Gas1Twa");
    g.Ratio = r.single("Gas1Ratio");
}

void clsInterval::readSamples(bool condensed) {
    TrendFileReader file(trendFilePath());
    qint32 kept = 0;
    const auto keep = [&](const TrendPoint &p) {
        TrendSample &s = sampleEntry(kept);
        s.number = kept;
        s.DateTimes = p.time;
        s.GasValue[0] = p.value;
        ++kept;
    };
    // The condensed view keeps the first and the last record, every change, and the last
    // record of each unchanged run before a change. Records are read one ahead, to know the
    // last one, and only until the table is full: the first entries that fit stay.
    std::optional<TrendPoint> previous;
    bool previousMarked = true;
    std::optional<TrendPoint> current = file.next();
    while (current && kept < kSampleEntries) {
        std::optional<TrendPoint> following = file.next();
        const bool change = previous && current->value != previous->value;
        const bool marked = kept == 0 || !following || change;
        if (condensed && change && !previousMarked)
            keep(*previous);
        if ((marked || !condensed) && kept < kSampleEntries)
            keep(*current);
        previous = current;
        previousMarked = marked;
        current = std::move(following);
    }
    m_dataCount = m_valueCount = kept;
    m_trendFileCheck = file.check();
}

qint32 clsInterval::readEvents(Database &db) {
    const QList<DbRow> rows = db.query(
        QStringLiteral("Select * From Interval_Event Where RelNo=? And BaseDate=? Order By SeqNo"),
        {m_seqNo, QVariant::fromValue(m_header.Dates)});
    if (rows.isEmpty())
        return 0;
    const qint32 count = static_cast<qint32>(std::min<qint64>(rows.size(), kEventEntries));
    for (qint32 j = 0; j < count; ++j) {
        const RowReader r{rows[j]};
        TrendEvent &e = eventEntry(j);
        e.number = static_cast<qint32>(rows[j].integer("SeqNo"));
        e.EventDateTimes = r.date("Datetimes", Date::now());
        e.GasEvent[0] = r.single("Gas1Event");
    }
    m_eventCount = count;
    return count;
}

void clsInterval::writeRawExport(qint32 eventsRead) const {
    QList<RawExportLine> lines;
    for (qint32 k = 0; k < m_dataCount; ++k)
        lines.append({sampleAt(k).DateTimes, FormatNumber(sampleAt(k).GasValue[0], QString())});
    for (qint32 j = 0; j < eventsRead; ++j)
        lines.append({eventAt(j).EventDateTimes, FormatGasValue(eventAt(j).GasEvent[0], 0)});
    WriteRawExport(m_context.AppFolder, m_header.Names, lines);
}

} // namespace tq
