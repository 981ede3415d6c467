#include "logs/trend/log_head_row.h"

#include "core/id_helpers.h"

namespace tq {

QString BlankWhenEmpty(const QString &text) {
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

void InsertLogHead(Database &db, qint64 key, const LogHeader &h, const GasInfo &g, LogType type,
                   qint32 romNumber, bool withLast) {
    const auto date = [](const Date &value) { return QVariant::fromValue(value); };
    db.execute(
        QStringLiteral(
            "Insert Into Log_Head(SeqNo,Names,Dates,Last,LogNo,UserID,StationID,SerialNo,Types,"
            "RomNum,Interval,Sampling,FolderID,Dcount,LunchBreak,LEL_lo,LEL_hi,ppm_lo,ppm_hi,"
            "vol_lo,vol_hi,Gas1Name,Gas1Full,Gas1Desit,Gas1Enable,Gas1Point,Gas1Unit,Gas1Max,"
            "Gas1Avr,Gas1Min,Gas1MaxDate,Gas1MinDate,Gas1Warning,Gas1Alarm,Gas1Stel,Gas1Twa,"
            "Gas1Ratio) Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
            "?,?,?,?)"),
        {key,
         BlankWhenEmpty(h.Names),
         date(h.Dates),
         withLast ? date(h.Last) : QVariant(),
         h.LogNo,
         BlankToDashes(h.UserID, IdFieldKind::User),
         BlankToDashes(h.StationID, IdFieldKind::Station),
         BlankToDashes(h.SerialNo, IdFieldKind::Serial),
         qint32(type),
         romNumber,
         h.Interval,
         h.Sampling,
         BlankWhenEmpty(h.FolderID),
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
         date(g.MaxDate),
         date(g.MinDate),
         g.Warning,
         g.Alarm,
         g.Stel,
         g.Twa,
         g.Ratio});
}

} // namespace tq
