#include "logs/trend/log_head_row.h"

#include "core/id_helpers.h"

namespace tq {

namespace {

template <typename T> QVariant valueOrNull(const std::optional<T> &value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}

} // namespace

QString BlankWhenEmpty(const QString &text) {
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

LogHeadItems HeadItemsOf(const LogHeader &h, bool withLast) {
    return {BlankWhenEmpty(h.Names),
            h.Dates,
            withLast ? std::optional<Date>(h.Last) : std::nullopt,
            h.LogNo,
            BlankToDashes(h.UserID, IdFieldKind::User),
            BlankToDashes(h.StationID, IdFieldKind::Station),
            BlankToDashes(h.SerialNo, IdFieldKind::Serial),
            BlankWhenEmpty(h.FolderID),
            h.Sampling};
}

void InsertLogHead(Database &db, qint64 key, const LogHeadItems &items, const LogHeader &h,
                   const GasInfo &g, LogType type, qint32 romNumber) {
    db.execute(
        QStringLiteral(
            "Insert Into Log_Head(SeqNo,Names,Dates,Last,LogNo,UserID,StationID,SerialNo,Types,"
            "RomNum,Interval,Sampling,FolderID,Dcount,LunchBreak,LEL_lo,LEL_hi,ppm_lo,ppm_hi,"
            "vol_lo,vol_hi,Gas1Name,Gas1Full,Gas1Desit,Gas1Enable,Gas1Point,Gas1Unit,Gas1Max,"
            "Gas1Avr,Gas1Min,Gas1MaxDate,Gas1MinDate,Gas1Warning,Gas1Alarm,Gas1Stel,Gas1Twa,"
            "Gas1Ratio) Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
            "?,?,?,?)"),
        {key,
         items.names,
         DateParam(items.dates),
         valueOrNull(items.last),
         valueOrNull(items.logNo),
         items.userId,
         items.stationId,
         items.serialNo,
         qint32(type),
         romNumber,
         h.Interval,
         items.sampling,
         items.folderId,
         h.Dcount,
         h.LunchBreak,
         h.LEL_lo,
         h.LEL_hi,
         h.ppm_lo,
         h.ppm_hi,
         h.vol_lo,
         h.vol_hi,
         BlankWhenEmpty(g.Name),
         g.Full,
         g.Desit,
         g.Enable,
         g.Point,
         BlankWhenEmpty(g.Unit),
         g.Max,
         g.Avr,
         g.Min,
         DateParam(g.MaxDate),
         DateParam(g.MinDate),
         g.Warning,
         g.Alarm,
         g.Stel,
         g.Twa,
         g.Ratio});
}

void InsertLogHead(Database &db, qint64 key, const LogHeader &header, const GasInfo &gas,
                   LogType type, qint32 romNumber, bool withLast) {
    InsertLogHead(db, key, HeadItemsOf(header, withLast), header, gas, type, romNumber);
}

} // namespace tq
