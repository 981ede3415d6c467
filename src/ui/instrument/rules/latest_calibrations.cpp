#include "ui/instrument/rules/latest_calibrations.h"

#include "core/database.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"
#include "core/messages.h"
#include "ui/instrument/rules/calibration_due.h"

namespace tq {

namespace {

// A last download older than this many days is marked.
constexpr qint16 kDownloadAgeLimit = 91;
constexpr int kSixColumnHeadings = 5661;
constexpr int kRecordHeadings = 5662;
const QString kDashes = QStringLiteral("-----");

ListMark markOf(CalDueColor colour) {
    switch (colour) {
    case CalDueColor::Red:
        return ListMark::Red;
    case CalDueColor::Orange:
        return ListMark::Orange;
    case CalDueColor::None:
        break;
    }
    return ListMark::None;
}

QStringList identity(const LatestCalibration &e, int number) {
    return {QString::number(number), BlankToDashes(e.SerialNo, IdFieldKind::Serial),
            BlankToDashes(e.UserID, IdFieldKind::User),
            BlankToDashes(e.StationID, IdFieldKind::Station)};
}

LatestCalRow dateRow(const LatestCalibration &e, int index, qint16 limitDays, const Date &now) {
    LatestCalRow row;
    row.entry = index;
    row.cells = identity(e, index + 1);
    row.cells << (e.Gas1Enable ? FormatValidDate(e.Gas1CalDate) : kDashes)
              << FormatValidDate(e.WriteDates);
    if (e.Gas1Enable)
        row.marks[4] =
            markOf(GetCalDueColor(e.Gas1CalDate, e.CalLimit, e.Gas1Enable, limitDays, now));
    if (GetCalDueColor(e.WriteDates, kDownloadAgeLimit, true, limitDays, now) != CalDueColor::None)
        row.marks[5] = ListMark::StaleDownload;
    return row;
}

LatestCalRow recordRow(const LatestCalibration &e, int index, qint16 limitDays, const Date &now) {
    LatestCalRow row;
    row.entry = index;
    row.cells = identity(e, index + 1);
    row.cells << e.Gas1Name;
    if (!e.Gas1Enable) {
        row.cells << kDashes << kDashes << kDashes << kDashes;
        return row;
    }
    row.cells << FormatGasValue(e.Gas1Before, e.Gas1Point)
              << FormatGasValue(e.Gas1After, e.Gas1Point)
              << FormatGasValue(e.Gas1AutoCal, e.Gas1Point)
              << FormatCalDue(e.Gas1CalDate, e.CalLimit, now);
    row.marks[8] = markOf(GetCalDueColor(e.Gas1CalDate, e.CalLimit, true, limitDays, now));
    return row;
}

} // namespace

QList<LatestCalibration> ReadLatestCalibrations(const QString &databasePath) {
    Database db(databasePath);
    QList<LatestCalibration> out;
    for (const DbRow &r : db.query(
             QStringLiteral("SELECT * FROM cLatestHist ORDER BY WriteDates DESC, SeqNo DESC"))) {
        LatestCalibration e;
        e.SerialNo = r.text(QStringLiteral("SerialNo"));
        e.UserID = r.text(QStringLiteral("UserID"));
        e.StationID = r.text(QStringLiteral("StationID"));
        e.WriteDates = r.date(QStringLiteral("WriteDates"));
        e.CalLimit = static_cast<qint16>(r.integer(QStringLiteral("CalLimit")));
        e.Gas1Name = r.text(QStringLiteral("Gas1Name"));
        e.Gas1Point = static_cast<qint16>(r.integer(QStringLiteral("Gas1Point")));
        e.Gas1Enable = r.boolean(QStringLiteral("Gas1Enable"));
        e.Gas1CalDate = r.date(QStringLiteral("Gas1CalDate"));
        e.Gas1Before = static_cast<float>(r.real(QStringLiteral("Gas1Before")));
        e.Gas1After = static_cast<float>(r.real(QStringLiteral("Gas1After")));
        e.Gas1AutoCal = static_cast<float>(r.real(QStringLiteral("Gas1AutoCal")));
        out.append(e);
    }
    return out;
}

void DeleteLatestCalibration(const QString &databasePath, const LatestCalibration &entry) {
    Database db(databasePath);
    db.execute(QStringLiteral(
                   "DELETE FROM cLatestHist WHERE SerialNo = ? AND UserID = ? AND StationID = ?"),
               {entry.SerialNo, entry.UserID, entry.StationID});
}

LatestCalList BuildLatestCalList(const QList<LatestCalibration> &entries, LatestCalView view,
                                 qint16 limitDays, const Date &now) {
    LatestCalList list;
    if (view == LatestCalView::CalibrationRecord) {
        list.headings = LoadMessage(kRecordHeadings).split(QLatin1Char('|'));
        for (int i = 0; i < entries.size(); ++i)
            list.rows.append(recordRow(entries[i], i, limitDays, now));
        return list;
    }
    if (entries.isEmpty())
        return list;
    list.headings =
        LoadMessage(kSixColumnHeadings, {entries.first().Gas1Name}).split(QLatin1Char('|'));
    for (int i = 0; i < entries.size(); ++i) {
        const LatestCalibration &e = entries[i];
        if (view == LatestCalView::NeedCalibration &&
            GetCalDueColor(e.Gas1CalDate, e.CalLimit, e.Gas1Enable, limitDays, now) ==
                CalDueColor::None)
            continue;
        list.rows.append(dateRow(e, i, limitDays, now));
    }
    return list;
}

} // namespace tq
