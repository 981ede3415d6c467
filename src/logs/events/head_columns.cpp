#include "logs/events/head_columns.h"

#include "core/errors.h"
#include "core/gas_format.h"
#include "core/id_helpers.h"

#include <QHash>

#include <functional>

namespace tq {

namespace {

using Reader = std::function<void(const DbRow &, const QString &, LogHeader &, GasInfo &)>;

constexpr qint32 kNoValue = ReadingCode::NoValue;

QString textOr(const DbRow &row, const QString &column, const QString &fallback) {
    return row.isNull(column) ? fallback : row.text(column);
}
qint64 integerOr(const DbRow &row, const QString &column, qint64 fallback) {
    return row.isNull(column) ? fallback : row.integer(column);
}
float singleOr(const DbRow &row, const QString &column) {
    return row.isNull(column) ? float(kNoValue) : static_cast<float>(row.real(column));
}
Date dateOr(const DbRow &row, const QString &column, const Date &fallback) {
    return row.isNull(column) ? fallback : row.date(column);
}

template <typename T> Reader headerInt(T LogHeader::*field, qint64 fallback) {
    return [field, fallback](const DbRow &row, const QString &column, LogHeader &h, GasInfo &) {
        h.*field = static_cast<T>(integerOr(row, column, fallback));
    };
}
Reader identity(QString LogHeader::*field, IdFieldKind kind) {
    return [field, kind](const DbRow &row, const QString &column, LogHeader &h, GasInfo &) {
        h.*field = BlankToDashes(textOr(row, column, QString()), kind);
    };
}
Reader gasSingle(float GasInfo::*field) {
    return [field](const DbRow &row, const QString &column, LogHeader &, GasInfo &g) {
        g.*field = singleOr(row, column);
    };
}
Reader gasText(QString GasInfo::*field) {
    return [field](const DbRow &row, const QString &column, LogHeader &, GasInfo &g) {
        g.*field = textOr(row, column, QString());
    };
}
Reader gasDate(Date GasInfo::*field) {
    return [field](const DbRow &row, const QString &column, LogHeader &, GasInfo &g) {
        g.*field = dateOr(row, column, Date::noDate());
    };
}

const QHash<QString, Reader> &readers() {
    static const QHash<QString, Reader> table = [] {
        QHash<QString, Reader> t;
        t.insert("names", [](const DbRow &row, const QString &c, LogHeader &h, GasInfo &) {
            h.Names = textOr(row, c, QStringLiteral("Name None"));
        });
        t.insert("dates", [](const DbRow &row, const QString &c, LogHeader &h, GasInfo &) {
            h.Dates = dateOr(row, c, Date::now());
        });
        t.insert("last", [](const DbRow &row, const QString &c, LogHeader &h, GasInfo &) {
            h.Last = dateOr(row, c, Date::emptyLogDate());
        });
        t.insert("userid", identity(&LogHeader::UserID, IdFieldKind::User));
        t.insert("stationid", identity(&LogHeader::StationID, IdFieldKind::Station));
        t.insert("serialno", identity(&LogHeader::SerialNo, IdFieldKind::Serial));
        t.insert("folderid", [](const DbRow &row, const QString &c, LogHeader &h, GasInfo &) {
            h.FolderID = textOr(row, c, QStringLiteral("00/00"));
        });
        t.insert("interval", headerInt(&LogHeader::Interval, 0));
        t.insert("sampling", headerInt(&LogHeader::Sampling, 0));
        t.insert("dcount", headerInt(&LogHeader::Dcount, 0));
        t.insert("lunchbreak", headerInt(&LogHeader::LunchBreak, 0));
        t.insert("lel_lo", headerInt(&LogHeader::LEL_lo, kNoValue));
        t.insert("lel_hi", headerInt(&LogHeader::LEL_hi, kNoValue));
        t.insert("ppm_lo", headerInt(&LogHeader::ppm_lo, kNoValue));
        t.insert("ppm_hi", headerInt(&LogHeader::ppm_hi, kNoValue));
        t.insert("vol_lo", headerInt(&LogHeader::vol_lo, kNoValue));
        t.insert("vol_hi", headerInt(&LogHeader::vol_hi, kNoValue));
        t.insert("gas1name", gasText(&GasInfo::Name));
        t.insert("gas1unit", gasText(&GasInfo::Unit));
        t.insert("gas1full", gasSingle(&GasInfo::Full));
        t.insert("gas1desit", gasSingle(&GasInfo::Desit));
        t.insert("gas1point", [](const DbRow &row, const QString &c, LogHeader &, GasInfo &g) {
            g.Point = static_cast<qint16>(integerOr(row, c, kNoValue));
        });
        t.insert("gas1max", gasSingle(&GasInfo::Max));
        t.insert("gas1min", gasSingle(&GasInfo::Min));
        t.insert("gas1avr", gasSingle(&GasInfo::Avr));
        t.insert("gas1maxdate", gasDate(&GasInfo::MaxDate));
        t.insert("gas1mindate", gasDate(&GasInfo::MinDate));
        t.insert("gas1enable", [](const DbRow &row, const QString &c, LogHeader &, GasInfo &g) {
            g.Enable = row.isNull(c) || row.boolean(c);
        });
        t.insert("gas1warning", gasSingle(&GasInfo::Warning));
        t.insert("gas1alarm", gasSingle(&GasInfo::Alarm));
        t.insert("gas1stel", gasSingle(&GasInfo::Stel));
        t.insert("gas1twa", gasSingle(&GasInfo::Twa));
        t.insert("gas1ratio", gasSingle(&GasInfo::Ratio));
        return t;
    }();
    return table;
}

} // namespace

std::optional<DbRow> QueryHeadRow(Database &db, qint64 seqNo) {
    const QList<DbRow> rows =
        db.query(QStringLiteral("Select * From Log_Head Where SeqNo = ?"), {seqNo});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

void ReadHeadColumns(const DbRow &row, const QStringList &columns, LogHeader &header,
                     GasInfo &gas) {
    for (const QString &column : columns) {
        const auto reader = readers().constFind(column.toLower());
        if (reader == readers().cend())
            throw TqError(ErrorKind::Database,
                          QStringLiteral("Log_Head has no reloadable column %1").arg(column));
        (*reader)(row, column, header, gas);
    }
}

} // namespace tq
