#include "ui/display/log_summary.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "core/gui/flex_grid.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "ui/display/node_kind.h"
#include "ui/display/record_lists.h"
#include "ui/display/summary_values.h"
#include "ui/display/trend_level.h"

namespace tq {

namespace {

const QString kDashes = QStringLiteral("-----");
const QString kStars = QStringLiteral("*****");
const QColor kGasHeading(224, 224, 224);

// The key's number as the queries bind it: a whole number, else the text itself (which
// matches no SeqNo).
QVariant seqNoOf(const QString &numberText) {
    bool numeric = false;
    const qint64 value = numberText.trimmed().toLongLong(&numeric);
    return numeric ? QVariant(value) : QVariant(numberText);
}

QList<DbRow> headRows(Database &db, const QVariant &seqNo) {
    return db.query(QStringLiteral("Select * From Log_head Where SeqNo = ?"), {seqNo});
}

void row(FlexGrid &grid, int r, const QString &heading, const QString &value) {
    SetGridRow(grid, r, 0, r >= 1 && r <= 7, {heading, value});
}

// The value rows that read as a number get a blank and the unit.
void addUnits(FlexGrid &grid, const QString &unit) {
    for (int r = 9; r < grid.Rows(); ++r) {
        const QString text = grid.TextMatrix(r, 1);
        if (ParseNumber(text))
            grid.SetTextMatrix(r, 1, text + QLatin1Char(' ') + unit);
    }
}

void formatTrendSummary(FlexGrid &grid, bool intervalLayout) {
    const int last = grid.Rows() - 1;
    const int lastCol = grid.Cols() - 1;
    for (int c = 1; c <= lastCol; ++c) {
        grid.SetColAlignment(c, FlexAlign::LeftCenter);
        grid.SetCellBackColor(8, c, kGasHeading);
    }
    grid.SetColAlignment(-1, FlexAlign::LeftCenter);
    grid.SetCellAlignment(0, 0, 0, lastCol, FlexAlign::CenterCenter);
    grid.SetCellAlignment(8, 1, last, lastCol, FlexAlign::CenterCenter);
    if (intervalLayout) {
        grid.SetCellAlignment(11, 0, 11, lastCol, FlexAlign::LeftCenter);
        grid.SetCellAlignment(13, 0, 13, lastCol, FlexAlign::LeftCenter);
    }
    for (int r = 1; r <= last; ++r)
        grid.SetMergeRow(r, r <= 7);
}

// The rows every trend and snapshot summary begins with.
void identityRows(FlexGrid &grid, const DbRow &head, const QString &dateHeading,
                  const QString &dates) {
    const SummaryRow h{head};
    row(grid, 1, LoadMessage(5606), h.text(QStringLiteral("Names")));
    row(grid, 2, dateHeading, dates);
    row(grid, 3, LoadMessage(5608),
        BlankToDashes(h.text(QStringLiteral("SerialNo")), IdFieldKind::Serial));
    row(grid, 4, LoadMessage(5609),
        BlankToDashes(h.text(QStringLiteral("StationID")), IdFieldKind::Station));
    row(grid, 5, LoadMessage(5610),
        BlankToDashes(h.text(QStringLiteral("UserID")), IdFieldKind::User));
}

void beginTrendGrid(FlexGrid &grid, int rows) {
    grid.SetCols(2);
    grid.SetRows(rows);
    grid.SetMergeCells(FlexMerge::RestrictRows);
    SetGridRow(grid, 0, 0, false, {LoadMessage(5604), LoadMessage(5605)});
    grid.SetMergeRow(0, true);
}

// "G" interval trend and "a" bar-hole trend.
void intervalSummary(FlexGrid &grid, Database &db, const QVariant &seqNo, bool barHole) {
    beginTrendGrid(grid, 18);
    const QList<DbRow> heads = headRows(db, seqNo);
    if (heads.isEmpty())
        return;
    const SummaryRow h{heads.front()};
    QString dates = h.date(QStringLiteral("Dates")) + LoadMessage(5676);
    if (!heads.front().isNull(QStringLiteral("Last")) &&
        heads.front().date(QStringLiteral("Last")) != Date::emptyLogDate())
        dates += h.date(QStringLiteral("Last"));
    identityRows(grid, heads.front(), LoadMessage(5607), dates);
    if (barHole)
        row(grid, 6, kDashes, kDashes);
    else
        row(grid, 6, LoadMessage(5611), h.number(QStringLiteral("Dcount")));
    row(grid, 7, LoadMessage(5612), h.number(QStringLiteral("Interval")));
    const bool on = h.gasEnabled();
    const auto enabled = [on](const QString &text) { return on ? text : kDashes; };
    const auto checked = [&](const QString &column) {
        return enabled(CheckOverRange(h.gas(column), h.fullScale()));
    };
    row(grid, 8, LoadMessage(5750), h.gasTitle());
    row(grid, 9, LoadMessage(5613), checked(QStringLiteral("Gas1Avr")));
    row(grid, 10, LoadMessage(5614), checked(QStringLiteral("Gas1Max")));
    row(grid, 11, LoadMessage(5663),
        enabled(FormatEventTime(float(heads.front().real(QStringLiteral("Gas1Max"))),
                                heads.front().isNull(QStringLiteral("Gas1MaxDate"))
                                    ? Date::emptyLogDate()
                                    : heads.front().date(QStringLiteral("Gas1MaxDate")))));
    row(grid, 12, LoadMessage(5615), kStars);
    row(grid, 13, LoadMessage(5664), kStars);
    row(grid, 14, LoadMessage(5642), enabled(h.gas(QStringLiteral("Gas1Warning"))));
    row(grid, 15, LoadMessage(5643), enabled(h.gas(QStringLiteral("Gas1Alarm"))));
    row(grid, 16, LoadMessage(5644), enabled(h.gas(QStringLiteral("Gas1STEL"))));
    row(grid, 17, LoadMessage(5645), enabled(h.gas(QStringLiteral("Gas1TWA"))));
    addUnits(grid, h.text(QStringLiteral("Gas1Unit")));
    formatTrendSummary(grid, true);
}

// "K" alarm trend, with the reading at the alarm moment.
void alarmSummary(FlexGrid &grid, Database &db, const QVariant &seqNo) {
    const float alarmValue =
        seqNo.typeId() == QMetaType::LongLong ? CheckTrendLevels(db, seqNo.toLongLong()) : -101;
    beginTrendGrid(grid, 14);
    const QList<DbRow> heads = headRows(db, seqNo);
    if (heads.isEmpty())
        return;
    const SummaryRow h{heads.front()};
    identityRows(grid, heads.front(), LoadMessage(5616), h.date(QStringLiteral("Dates")));
    row(grid, 6, LoadMessage(5611), h.number(QStringLiteral("Dcount")));
    row(grid, 7, LoadMessage(5612), h.number(QStringLiteral("Interval")));
    const bool on = h.gasEnabled();
    const auto enabled = [on](const QString &text) { return on ? text : kDashes; };
    row(grid, 8, LoadMessage(5750), h.gasTitle());
    row(grid, 9, LoadMessage(5605),
        enabled(CheckOverRange(FormatGasValue(alarmValue, h.decimals()), h.fullScale())));
    row(grid, 10, LoadMessage(5642), enabled(h.gas(QStringLiteral("Gas1Warning"))));
    row(grid, 11, LoadMessage(5643), enabled(h.gas(QStringLiteral("Gas1Alarm"))));
    row(grid, 12, LoadMessage(5644), h.gas(QStringLiteral("Gas1STEL")));
    row(grid, 13, LoadMessage(5645), h.gas(QStringLiteral("Gas1TWA")));
    addUnits(grid, h.text(QStringLiteral("Gas1Unit")));
    formatTrendSummary(grid, false);
}

// "c" snapshot: the head, then the newest reading of the log.
void snapshotSummary(FlexGrid &grid, Database &db, const QVariant &seqNo) {
    beginTrendGrid(grid, 10);
    const QList<DbRow> heads = headRows(db, seqNo);
    qint64 headSeqNo = 0;
    bool on = false;
    if (!heads.isEmpty()) {
        const SummaryRow h{heads.front()};
        identityRows(grid, heads.front(), LoadMessage(5607), h.date(QStringLiteral("Dates")));
        row(grid, 6, kDashes, kDashes);
        row(grid, 7, kDashes, kDashes);
        on = h.gasEnabled();
        headSeqNo = heads.front().integer(QStringLiteral("SeqNo"));
    }
    const QList<DbRow> readings =
        db.query(QStringLiteral("Select * From SnapShot Where RelNo = ? "
                                "Order By Dates Desc, SeqNo Desc Limit 1"),
                 {headSeqNo});
    if (!readings.isEmpty()) {
        const SummaryRow s{readings.front()};
        row(grid, 8, LoadMessage(5750), s.gasTitle());
        row(grid, 9, LoadMessage(5680),
            on ? CheckOverRange(s.gas(QStringLiteral("Gas1val")), s.fullScale()) : kDashes);
        addUnits(grid, s.text(QStringLiteral("Gas1Unit")));
    }
    formatTrendSummary(grid, false);
}

} // namespace

void FillFolderSummary(FlexGrid &grid) {
    grid.SetCols(2);
    grid.SetRows(2);
    SetGridRow(grid, 0, 0, false, {LoadMessage(5604), LoadMessage(5605)});
    SetGridRow(grid, 1, 0, false, {LoadMessage(5622), LoadMessage(5623)});
    grid.SetColAlignment(-1, FlexAlign::LeftCenter);
    grid.SetCellAlignment(0, 0, 0, grid.Cols() - 1, FlexAlign::CenterCenter);
}

bool FillLogSummary(FlexGrid &grid, Database &db, const QString &key) {
    grid.Clear();
    grid.SetCols(2);
    grid.SetRows(2);
    grid.SetTextMatrix(0, 0, LoadMessage(5105));
    grid.SetTextMatrix(0, 1, LoadMessage(5106));
    const QString letter = AfterLastBlank(key);
    const QVariant seqNo = seqNoOf(DropLastTwo(key));
    const auto folder = KindOfFolder(letter);
    if (IsGroupingLetter(letter) ||
        (folder && folder->type != LogType::BarHoleTrend && folder->type != LogType::BumpTest &&
         folder->type != LogType::Snapshot)) {
        FillFolderSummary(grid);
        return false;
    }
    if (letter == QLatin1String("G") || letter == QLatin1String("a"))
        intervalSummary(grid, db, seqNo, letter == QLatin1String("a"));
    else if (letter == QLatin1String("K"))
        alarmSummary(grid, db, seqNo);
    else if (letter == QLatin1String("c"))
        snapshotSummary(grid, db, seqNo);
    else if (IsRecordListLetter(letter))
        FillRecordList(grid, db, seqNo, letter);
    return true;
}

} // namespace tq
