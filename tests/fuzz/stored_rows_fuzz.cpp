// Rows of the log database that another program or a damaged file may hold: any value of
// any kind in any column. The log tree is built over them, every node listed, and every
// log reloaded and exported as the Data View page does.
#include "fuzz_support.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "logs/events/clsAlarmEvent.h"
#include "logs/events/clsHistory.h"
#include "logs/events/clsPowerEvent.h"
#include "logs/events/clsSnapShot.h"
#include "logs/events/clsTroubleEvent.h"
#include "logs/trend/clsAlarm.h"
#include "logs/trend/clsInterval.h"
#include "print/export/export_sink.h"
#include "print/export/export_text.h"
#include "ui/browser/log_listing.h"
#include "ui/browser/log_tree.h"

#include <QHash>
#include <type_traits>

namespace {

using namespace tq;

// Reads the input front to back; past its end every read gives zeros.
class Input {
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_at >= m_size; }
    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    QByteArray bytes(size_t count) {
        count = std::min(count, m_size - std::min(m_at, m_size));
        QByteArray out(reinterpret_cast<const char *>(m_data + m_at), qsizetype(count));
        m_at += count;
        return out;
    }
    template <typename T> T number() {
        T value{};
        const QByteArray raw = bytes(sizeof(T));
        std::memcpy(&value, raw.constData(), size_t(raw.size()));
        return value;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

QVariant nextValue(Input &in) {
    switch (in.byte() % 7) {
    case 0:
        return QVariant();
    case 1:
        return qint64(in.byte()); // small numbers link rows (SeqNo, RelNo, Types)
    case 2:
        return in.number<qint64>();
    case 3:
        return in.number<double>();
    case 4:
        return QString::fromUtf8(in.bytes(in.byte() % 32));
    case 5: // a stored date, whole or cut
        return QStringLiteral("2026-%1-%2 %3:%4:%5")
            .arg(in.byte() % 14)
            .arg(in.byte() % 33)
            .arg(in.byte() % 25)
            .arg(in.byte() % 61)
            .arg(in.byte() % 61)
            .left(4 + in.byte() % 16);
    default:
        return in.bytes(in.byte() % 32); // a blob
    }
}

const QHash<QString, QStringList> &tableColumns(Database &db) {
    static QHash<QString, QStringList> columns;
    if (columns.isEmpty()) {
        for (const QString &table : LogTableNames()) {
            for (const DbRow &row : db.query(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
                columns[table] << row.text(QStringLiteral("name"));
        }
    }
    return columns;
}

void insertRows(Database &db, Input &in) {
    const QHash<QString, QStringList> &columns = tableColumns(db);
    const QStringList &tables = LogTableNames();
    for (int n = 0; n < 24 && !in.done(); ++n) {
        const QString table = tables.at(in.byte() % tables.size());
        const QStringList &names = columns.value(table);
        QVariantList values;
        for (qsizetype c = 0; c < names.size(); ++c)
            values << nextValue(in);
        const QString marks = QStringList(names.size(), QStringLiteral("?")).join(',');
        try {
            db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, names.join(','), marks),
                       values);
        } catch (const TqError &) {
            // A key taken twice or a value the column refuses: the row is not there.
        }
    }
}

template <typename Log> void reloadAndExport(qint64 seqNo, int type, ExportLogs logs, Log &log) {
    log.setSeqNo(seqNo);
    log.setContext(ProgramStoreContext());
    if constexpr (std::is_same_v<Log, clsInterval>)
        log.ReLoad(Globals().CondensedView);
    else
        log.ReLoad();
    ExportRequest request;
    request.logType = type;
    request.seqNo = seqNo;
    request.logs = logs;
    StringSink sink;
    WriteExportFile(request, sink);
}

void exportLog(qint64 seqNo, int type) {
    switch (LogType(type)) {
    case LogType::IntervalTrend:
    case LogType::BarHoleTrend: {
        clsInterval log;
        return reloadAndExport(seqNo, type, {&log, nullptr, nullptr, nullptr}, log);
    }
    case LogType::AlarmTrend: {
        clsAlarm log;
        return reloadAndExport(seqNo, type, {nullptr, &log, nullptr, nullptr}, log);
    }
    case LogType::CalibrationHistory:
    case LogType::BumpTest: {
        clsHistory log;
        return reloadAndExport(seqNo, type, {nullptr, nullptr, nullptr, &log}, log);
    }
    case LogType::Snapshot: {
        clsSnapShot log;
        return reloadAndExport(seqNo, type, {nullptr, nullptr, &log, nullptr}, log);
    }
    case LogType::AlarmEvents: {
        clsAlarmEvent log;
        return reloadAndExport(seqNo, type, {}, log);
    }
    case LogType::TroubleEvents: {
        clsTroubleEvent log;
        return reloadAndExport(seqNo, type, {}, log);
    }
    case LogType::PowerEvents: {
        clsPowerEvent log;
        return reloadAndExport(seqNo, type, {}, log);
    }
    case LogType::SensorChange: {
        ExportRequest request;
        request.logType = type;
        request.seqNo = seqNo;
        StringSink sink;
        return WriteExportFile(request, sink);
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tq::fuzz::SetUpOnce();
    Input in(data, size);
    {
        Database db(Globals().DatabasePath);
        for (const QString &table : LogTableNames())
            db.execute(QStringLiteral("DELETE FROM %1").arg(table));
        insertRows(db, in);

        const uint8_t grouping = in.byte();
        try {
            const LogTree tree = LogTree::Build(
                db,
                {bool(grouping & 1), bool(grouping & 2), bool(grouping & 4), bool(grouping & 8)},
                QStringLiteral("0 #"));
            for (const LogTreeNode &node : tree.nodes()) {
                tree.BuildNodeWhere(node.key);
                ListNode(db, tree, node.key);
            }
        } catch (const TqError &) {
            // Rows the tree cannot read are told to the user, not a finding.
        }
    }
    Database db(Globals().DatabasePath);
    for (const DbRow &row : db.query(QStringLiteral("SELECT SeqNo, Types FROM Log_head"))) {
        try {
            exportLog(row.value(QStringLiteral("SeqNo")).toLongLong(),
                      row.value(QStringLiteral("Types")).toInt());
        } catch (const TqError &) {
            // A log that cannot be reloaded or exported whole fails with a message.
        }
    }
    return 0;
}
