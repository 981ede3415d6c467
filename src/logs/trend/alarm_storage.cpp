// Storing an alarm trend in the log database and reading it back.
#include "logs/trend/clsAlarm.h"
#include "logs/trend/log_head_row.h"

#include "core/database.h"
#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "core/log_schema.h"
#include "logs/trend/raw_export.h"
#include "logs/trend/trend_duplicates.h"
#include "logs/trend/trend_file.h"

#include <QFile>
#include <QFileInfo>

#include <memory>
#include <optional>

namespace tq {

namespace {

constexpr float kNoValue = ReadingCode::NoValue;

// Reads of a Log_Head column that stand in a fixed value for Null.
QString textOr(const DbRow &row, const QString &column, const QString &null) {
    return row.isNull(column) ? null : row.text(column);
}
float singleOr(const DbRow &row, const QString &column) {
    return row.isNull(column) ? kNoValue : static_cast<float>(row.real(column));
}
Date dateOr(const DbRow &row, const QString &column, const Date &null) {
    return row.isNull(column) ? null : row.date(column);
}
template <typename T> T integerOr(const DbRow &row, const QString &column, T null) {
    return row.isNull(column) ? null : RoundToWhole<T>(double(row.integer(column)));
}

} // namespace

bool clsAlarm::CheckDuplicate() const {
    if (!QFileInfo::exists(m_context.DatabasePath))
        return false;
    Database db(m_context.DatabasePath);
    return IsTrendStored(db, m_header, LogType::AlarmTrend);
}

void clsAlarm::Update() {
    WriteDatabase();
}

void clsAlarm::WriteDatabase() {
    if (m_error)
        return;
    Database db(m_context.DatabasePath);
    if (IsTrendStored(db, m_header, LogType::AlarmTrend))
        return;
    if (!m_instrument)
        throw TqError(ErrorKind::MissingResource,
                      QStringLiteral("The alarm trend %1 has no instrument").arg(m_header.Names));

    Transaction transaction(db);
    // The samples are staged beside their place and moved there by the commit.
    if (!m_header.Names.isEmpty()) {
        m_header.Names = FreeTrendName(db, m_context.DataFolder, m_header.Names, m_header.FolderID);
        makeTrendFolders();
        transaction.attach(
            std::make_shared<StagedTrendFile>(trendFilePath(), m_trendFile.records()));
        m_header.Dcount = RoundToWhole<qint32>(double(m_trendFile.recordCount()));
    }
    const qint64 key = db.nextKey(QStringLiteral("Log_Head"));
    InsertLogHead(db, key, m_header, m_gas[0], LogType::AlarmTrend, m_instrument->RomNumber(),
                  false);

    const qint64 firstRow = db.nextKey(QStringLiteral("Alarm_Data"));
    for (qint32 j = 0; j < m_dataCount; ++j)
        db.execute(QStringLiteral("Insert Into Alarm_Data(SeqNo,RelNo,Datetimes,Gas1Value) "
                                  "Values (?,?,?,?)"),
                   {firstRow + j, key, DateParam(m_samples[j].time), m_samples[j].value[0]});

    transaction.commit();
}

void clsAlarm::ReLoad() {
    if (!QFileInfo::exists(m_context.DatabasePath))
        return;
    Database db(m_context.DatabasePath);
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select * From Log_Head Where SeqNo=?"), {m_seqNo});
    if (!rows.isEmpty()) {
        const DbRow &row = rows.first();
        m_header.Names = textOr(row, QStringLiteral("Names"), QStringLiteral("Name None"));
        m_header.Dates = dateOr(row, QStringLiteral("Dates"), Date::now());
        m_header.UserID =
            BlankToDashes(textOr(row, QStringLiteral("UserID"), QString()), IdFieldKind::User);
        m_header.StationID = BlankToDashes(textOr(row, QStringLiteral("StationID"), QString()),
                                           IdFieldKind::Station);
        m_header.SerialNo =
            BlankToDashes(textOr(row, QStringLiteral("SerialNo"), QString()), IdFieldKind::Serial);
        m_header.Interval = integerOr<qint32>(row, QStringLiteral("Interval"), 0);
        m_header.Sampling = integerOr<qint16>(row, QStringLiteral("Sampling"), 0);
        m_header.FolderID = textOr(row, QStringLiteral("FolderID"), QStringLiteral("00/00"));
        GasInfo &gas = m_gas[0];
        gas.Name = textOr(row, QStringLiteral("Gas1Name"), QString());
        gas.Full = singleOr(row, QStringLiteral("Gas1Full"));
        gas.Desit = singleOr(row, QStringLiteral("Gas1Desit"));
        gas.Point = integerOr<qint16>(row, QStringLiteral("Gas1Point"), qint16(kNoValue));
        gas.Warning = singleOr(row, QStringLiteral("Gas1Warning"));
        gas.Alarm = singleOr(row, QStringLiteral("Gas1Alarm"));
        gas.Avr = singleOr(row, QStringLiteral("Gas1Avr"));
        gas.Max = singleOr(row, QStringLiteral("Gas1Max"));
        gas.Min = singleOr(row, QStringLiteral("Gas1Min"));
        gas.MaxDate = dateOr(row, QStringLiteral("Gas1MaxDate"), Date::noDate());
        gas.MinDate = dateOr(row, QStringLiteral("Gas1MinDate"), Date::noDate());
        gas.Enable =
            row.isNull(QStringLiteral("Gas1Enable")) || row.boolean(QStringLiteral("Gas1Enable"));
        gas.Unit = textOr(row, QStringLiteral("Gas1Unit"), QString());
        gas.Stel = singleOr(row, QStringLiteral("Gas1Stel"));
        gas.Twa = singleOr(row, QStringLiteral("Gas1Twa"));
        gas.Ratio = singleOr(row, QStringLiteral("Gas1Ratio"));
    }

    // A blank name (stored for an empty one) names no trend file.
    m_dataCount = 0;
    if (!m_header.Names.trimmed().isEmpty())
        readSamples();

    if (m_context.ExportRawData)
        writeRawExport();
}

void clsAlarm::readSamples() {
    // The accessors reach 720 samples, all an alarm trend has: a longer file is read up to
    // them and its further records are left alone. A damaged file is read up to its first
    // damaged record.
    TrendFileReader file(trendFilePath());
    while (m_dataCount < kMaxDataCount) {
        const std::optional<TrendPoint> point = file.next();
        if (!point)
            break;
        AlarmSample &sample = m_samples[std::size_t(m_dataCount)];
        sample.number = m_dataCount;
        sample.time = point->time;
        sample.value[0] = point->value;
        ++m_dataCount;
    }
    m_trendFileCheck = file.check();
}

void clsAlarm::writeRawExport() const {
    QList<RawExportLine> lines;
    lines.reserve(m_dataCount);
    for (qint32 i = 0; i < m_dataCount; ++i)
        lines.append({m_samples[i].time, FormatNumber(m_samples[i].value[0], QString())});
    WriteRawExport(m_context.AppFolder, m_header.Names, lines);
}

} // namespace tq
