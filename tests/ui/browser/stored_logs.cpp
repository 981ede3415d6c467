#include "stored_logs.h"

#include "core/log_schema.h"
#include "core/program_state.h"
#include "program_folder.h"

#include <QDir>

namespace tq::test {

void StoredLogsTest::SetUp() {
    UseProgramFolder(dir.path());
    CreateLogDatabase(databasePath());
    m_db = std::make_unique<Database>(databasePath());
}

qint64 StoredLogsTest::store(const HeadRow &row) {
    const qint64 seqNo = row.seqNo ? row.seqNo : m_db->nextKey(QStringLiteral("Log_head"));
    const auto value = [](const QVariant &v) { return v.isValid() ? v : QVariant(); };
    m_db->execute(QStringLiteral("Insert Into Log_head (SeqNo, SerialNo, StationID, UserID, "
                                 "FolderID, Types, Names, Dates, Sampling) "
                                 "Values (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {seqNo, value(row.serial), value(row.station), value(row.user), value(row.folder),
                   row.type, value(row.names), value(row.dates), value(row.sampling)});
    return seqNo;
}

} // namespace tq::test
