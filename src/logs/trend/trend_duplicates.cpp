#include "logs/trend/trend_duplicates.h"

#include "core/database.h"
#include "core/id_helpers.h"

namespace tq {

bool IsTrendStored(Database &db, const LogHeader &header, LogType type) {
    const QVariant found = db.scalar(
        QStringLiteral("Select SeqNo From Log_Head Where Dates=? And UserID=? And StationID=? "
                       "And SerialNo=? And Types=?"),
        {QVariant::fromValue(header.Dates), BlankToDashes(header.UserID, IdFieldKind::User),
         BlankToDashes(header.StationID, IdFieldKind::Station),
         BlankToDashes(header.SerialNo, IdFieldKind::Serial), qint32(type)});
    return found.isValid();
}

} // namespace tq
