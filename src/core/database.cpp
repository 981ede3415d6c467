#include "core/database.h"

#include "core/errors.h"
#include "core/log_schema.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tq {

namespace {

// Long enough for a busy moment of another connection, short enough to report a held lock.
constexpr int kBusyTimeoutMs = 5000;

[[noreturn]] void throwDatabase(const QString &what, const QString &sql, const QSqlError &error) {
    throw DatabaseError(FaultOfSqliteCode(error.nativeErrorCode()),
                        QStringLiteral("%1: %2 [%3]").arg(what, error.text(), sql));
}

// Makes the staged files durable: one sync of each file system they are on, which costs
// about what one file's sync costs, however many files there are.
void syncStagedFiles(const std::vector<std::shared_ptr<StagedFile>> &files) {
    QSet<dev_t> synced;
    for (const std::shared_ptr<StagedFile> &file : files) {
        struct stat status {};
        if (::fstat(file->handle(), &status) != 0)
            throw TqError(ErrorKind::File, QString::fromLocal8Bit(std::strerror(errno)));
        if (synced.contains(status.st_dev))
            continue;
        if (::syncfs(file->handle()) != 0)
            throw TqError(ErrorKind::File, QStringLiteral("Cannot sync the staged files: %1")
                                               .arg(QString::fromLocal8Bit(std::strerror(errno))));
        synced.insert(status.st_dev);
    }
}

QString nextConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("tq6200-db-%1").arg(++counter);
}

// A date's "yyyy-MM-dd hh:mm:ss" text, written straight from its fields: an import binds
// tens of thousands of dates. A date outside years 1-9999 has no text form that reads back;
// it is refused rather than stored as text that no later read can take for a date.
QString sqlDateText(const Date &date, const QString &sql) {
    const QDate day = date.date();
    const QTime time = date.time();
    if (!date.isValid() || day.year() < 1 || day.year() > 9999)
        throw TqError(
            ErrorKind::Database,
            QStringLiteral("The date %1 cannot be stored [%2]").arg(date.toSqlText(), sql));
    char text[32];
    const int size =
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", day.year(), day.month(),
                      day.day(), time.hour(), time.minute(), time.second());
    return QString::fromLatin1(text, size);
}

// The value that is handed to the driver for one parameter.
QVariant bindable(const QVariant &value, const QString &sql) {
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<Date>()) {
        return sqlDateText(value.value<Date>(), sql);
    }
    switch (type.id()) {
    case QMetaType::Float:
        return SingleToDouble(value.toFloat());
    case QMetaType::Bool:
        return qint64(value.toBool() ? 1 : 0);
    case QMetaType::QString:
        // The driver binds a null QString as Null; a text value is stored as text, even
        // when it is empty, so that "Where UserID=?" finds it again.
        return value.toString().isNull() ? QVariant(QStringLiteral("")) : value;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        throw TqError(ErrorKind::Database,
                      QStringLiteral("Dates are bound as tq::Date, not as %1 [%2]")
                          .arg(QString::fromLatin1(type.name()), sql));
    default:
        break;
    }
    if (type.flags() & QMetaType::IsEnumeration)
        return value.toLongLong();
    return value;
}

// A statement of the connection's cache while its result is read; reset when the reading
// ends, however it ends, so that it holds no read lock and is ready for its next run.
class StatementUse {
public:
    explicit StatementUse(QSqlQuery &query) : m_query(query) {}
    ~StatementUse() { m_query.finish(); }
    StatementUse(const StatementUse &) = delete;
    StatementUse &operator=(const StatementUse &) = delete;
    QSqlQuery &query() { return m_query; }

private:
    QSqlQuery &m_query;
};

// next() answers false both at the end and on a failure; only the failure throws.
bool nextRow(QSqlQuery &query, const QString &sql) {
    if (query.next())
        return true;
    if (query.lastError().type() != QSqlError::NoError)
        throwDatabase(QStringLiteral("Reading the result failed"), sql, query.lastError());
    return false;
}

} // namespace

DatabaseFault FaultOfSqliteCode(const QString &nativeErrorCode) {
    bool numeric = false;
    const int code = nativeErrorCode.toInt(&numeric);
    if (!numeric)
        return DatabaseFault::Other;
    // An extended code keeps its primary code in the low byte.
    switch (code & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return DatabaseFault::Busy;
    case 8: // SQLITE_READONLY
        return DatabaseFault::ReadOnly;
    case 13: // SQLITE_FULL
        return DatabaseFault::Full;
    case 10: // SQLITE_IOERR
        return DatabaseFault::InputOutput;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return DatabaseFault::Corrupt;
    case 3:  // SQLITE_PERM
    case 14: // SQLITE_CANTOPEN
        return DatabaseFault::CannotOpen;
    default:
        return DatabaseFault::Other;
    }
}

double SingleToDouble(float value) {
    if (!std::isfinite(value))
        return value;
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    double result = 0.0;
    std::from_chars(buffer, written.ptr, result);
    return result;
}

// --- DbRow ---

DbRow::DbRow(QStringList names, QVariantList values)
    : m_names(std::move(names)), m_values(std::move(values)) {}

QVariant DbRow::value(const QString &name) const {
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return m_values.at(i);
    }
    throw TqError(ErrorKind::Database, QStringLiteral("The result has no column %1").arg(name));
}

bool DbRow::isNull(const QString &name) const {
    return value(name).isNull();
}

QString DbRow::text(const QString &name) const {
    const QVariant v = value(name);
    return v.isNull() ? QString() : v.toString();
}

qint64 DbRow::integer(const QString &name) const {
    const QVariant v = value(name);
    if (v.isNull())
        return 0;
    bool ok = false;
    const qint64 result = v.toLongLong(&ok);
    if (!ok)
        throw TqError(
            ErrorKind::TypeMismatch,
            QStringLiteral("Column %1 holds no whole number: %2").arg(name, v.toString()));
    return result;
}

double DbRow::real(const QString &name) const {
    const QVariant v = value(name);
    if (v.isNull())
        return 0.0;
    bool ok = false;
    const double result = v.toDouble(&ok);
    if (!ok)
        throw TqError(ErrorKind::TypeMismatch,
                      QStringLiteral("Column %1 holds no number: %2").arg(name, v.toString()));
    return result;
}

bool DbRow::boolean(const QString &name) const {
    return real(name) != 0.0;
}

Date DbRow::date(const QString &name) const {
    const QVariant v = value(name);
    if (v.isNull())
        return Date::noDate();
    const auto result = Date::fromSqlText(v.toString());
    if (!result)
        throw TqError(ErrorKind::TypeMismatch,
                      QStringLiteral("Column %1 holds no date: %2").arg(name, v.toString()));
    return *result;
}

namespace {

[[noreturn]] void throwUnfit(const QString &name, const QVariant &v) {
    throw TqError(ErrorKind::TypeMismatch,
                  v.isNull() ? QStringLiteral("Column %1 is empty").arg(name)
                             : QStringLiteral("Column %1 holds %2, which does not fit its field")
                                   .arg(name, v.toString()));
}

} // namespace

qint64 DbRow::requiredInteger(const QString &name, qint64 min, qint64 max) const {
    const QVariant v = value(name);
    if (v.isNull())
        throwUnfit(name, v);
    const qint64 result = integer(name);
    if (result < min || result > max)
        throwUnfit(name, v);
    return result;
}

float DbRow::requiredSingle(const QString &name) const {
    const QVariant v = value(name);
    if (v.isNull())
        throwUnfit(name, v);
    const double result = real(name);
    if (!std::isfinite(result) || std::fabs(result) > std::numeric_limits<float>::max())
        throwUnfit(name, v);
    return static_cast<float>(result);
}

bool DbRow::requiredBoolean(const QString &name) const {
    if (isNull(name))
        throwUnfit(name, QVariant());
    return boolean(name);
}

// --- Database ---

// One open connection, closed and removed when the last Database using it goes.
//
// Each statement is prepared once per connection and kept: an import runs the same few
// statements tens of thousands of times, and preparing one (an insert of many rows above
// all) costs more than running it. Statements are never nested: a result is read whole
// before the next statement runs.
class Database::Connection {
public:
    explicit Connection(const QString &path);
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Runs sql with params bound; the statement is the caller's until its StatementUse goes.
    QSqlQuery &executed(const QString &sql, const QVariantList &params);
    // The first column of the first row; an invalid QVariant when there is no row.
    QVariant firstValue(const QString &sql, const QVariantList &params = {});
    // Makes the staged files from `first` on durable, puts them in place and runs `commit`;
    // a failure takes back what was placed, rolls back and throws.
    void commitStaged(std::size_t first, const std::function<void()> &commit);

    QSqlDatabase db;
    bool batchOpen = false; // a session's batch holds the stores' savepoints
    bool storeOpen = false; // a Transaction holds a savepoint of the batch
    std::vector<std::shared_ptr<StagedFile>> stagedFiles;

private:
    void open(const QString &path);
    void close() noexcept;

    // A prepared statement and the number of values it takes, known from its first run (the
    // driver keeps the values of the last run, so a run with fewer would take old ones).
    struct Statement {
        QSqlQuery query;
        qsizetype values = -1;
    };
    Statement &statement(const QString &sql);

    // Enough for every statement of the program; SQL texts built for a count of rows can
    // only fill it up to a bound, after which it starts again.
    static constexpr qsizetype kMaxStatements = 256;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
    QString m_name = nextConnectionName();
};

Database::Connection::Connection(const QString &path) {
    try {
        open(path);
    } catch (...) {
        close();
        throw;
    }
}

void Database::Connection::open(const QString &path) {
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!db.isValid())
        throw TqError(ErrorKind::Database, QStringLiteral("The SQLite driver is not available"));
    // As a URI with mode=rw, SQLite refuses a missing file instead of creating an empty one.
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    db.setDatabaseName(url.toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open())
        throw DatabaseError(
            FaultOfSqliteCode(db.lastError().nativeErrorCode()),
            QStringLiteral("Cannot open the database %1: %2").arg(path, db.lastError().text()));
    // SQLite reads the file only when it needs to; reading the schema now tells a database
    // from any other file at the open.
    firstValue(QStringLiteral("Select Count(*) From sqlite_master"));
    // In WAL mode a commit that is not flushed at once can be lost on power failure but
    // never corrupts the file; DatabaseSession::Flush() and the last close make it durable.
    if (firstValue(QStringLiteral("PRAGMA journal_mode"))
            .toString()
            .compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        firstValue(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

Database::Connection::Statement &Database::Connection::statement(const QString &sql) {
    if (const auto found = m_statements.constFind(sql); found != m_statements.cend())
        return **found;
    auto prepared = std::make_shared<Statement>(Statement{QSqlQuery(db)});
    prepared->query.setForwardOnly(true);
    if (!prepared->query.prepare(sql))
        throwDatabase(QStringLiteral("Cannot prepare the statement"), sql,
                      prepared->query.lastError());
    if (m_statements.size() >= kMaxStatements)
        m_statements.clear();
    return *m_statements.insert(sql, std::move(prepared)).value();
}

QSqlQuery &Database::Connection::executed(const QString &sql, const QVariantList &params) {
    Statement &statement = this->statement(sql);
    QSqlQuery &query = statement.query;
    if (statement.values >= 0 && params.size() != statement.values)
        throw TqError(ErrorKind::Database,
                      QStringLiteral("The statement takes %1 values, not %2 [%3]")
                          .arg(statement.values)
                          .arg(params.size())
                          .arg(sql));
    try {
        for (qsizetype i = 0; i < params.size(); ++i)
            query.bindValue(int(i), bindable(params[i], sql));
        if (!query.exec())
            throwDatabase(QStringLiteral("The statement failed"), sql, query.lastError());
    } catch (...) {
        query.finish();
        throw;
    }
    statement.values = params.size();
    return query;
}

QVariant Database::Connection::firstValue(const QString &sql, const QVariantList &params) {
    StatementUse use(executed(sql, params));
    return nextRow(use.query(), sql) ? use.query().value(0) : QVariant();
}

void Database::Connection::commitStaged(std::size_t first, const std::function<void()> &commit) {
    std::vector<std::shared_ptr<StagedFile>> files(stagedFiles.begin() + qsizetype(first),
                                                   stagedFiles.end());
    stagedFiles.resize(first);
    std::size_t placed = 0;
    try {
        syncStagedFiles(files);
        for (; placed < files.size(); ++placed)
            files[placed]->place();
        commit();
    } catch (...) {
        for (std::size_t i = 0; i < placed; ++i)
            files[i]->takeBack();
        db.rollback();
        throw;
    }
}

void Database::Connection::close() noexcept {
    // A statement must not outlive its connection.
    m_statements.clear();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QHash<QString, std::weak_ptr<Database::Connection>> &Database::sessions() {
    thread_local QHash<QString, std::weak_ptr<Connection>> open;
    return open;
}

Database::Database(const QString &path) {
    if (!sessions().isEmpty())
        m_connection = sessions().value(QFileInfo(path).absoluteFilePath()).lock();
    if (!m_connection)
        m_connection = std::make_shared<Connection>(path);
}

Database::~Database() = default;

QSqlDatabase &Database::connection() {
    return m_connection->db;
}

void Database::execute(const QString &sql, const QVariantList &params) {
    StatementUse use(m_connection->executed(sql, params));
}

QList<DbRow> Database::query(const QString &sql, const QVariantList &params) {
    StatementUse use(m_connection->executed(sql, params));
    QSqlQuery &query = use.query();
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    QList<DbRow> rows;
    while (nextRow(query, sql)) {
        QVariantList values;
        values.reserve(names.size());
        for (int i = 0; i < names.size(); ++i)
            values.append(query.value(i));
        rows.append(DbRow(names, std::move(values)));
    }
    return rows;
}

QVariant Database::scalar(const QString &sql, const QVariantList &params) {
    return m_connection->firstValue(sql, params);
}

qint64 Database::nextKey(const QString &table) {
    const QStringList &tables = LogTableNames();
    const auto found = std::find_if(tables.begin(), tables.end(), [&](const QString &name) {
        return name.compare(table, Qt::CaseInsensitive) == 0;
    });
    if (found == tables.end())
        throw TqError(ErrorKind::Database, QStringLiteral("%1 is not a log table").arg(table));
    const QVariant max = scalar(QStringLiteral("Select Max(SeqNo) As MaxSeq From %1").arg(*found));
    return max.isNull() ? 1 : max.toLongLong() + 1;
}

// --- DatabaseSession ---

DatabaseSession::DatabaseSession(const QString &path) : m_db(path) {
    const QString key = QFileInfo(path).absoluteFilePath();
    // An outer session of the file keeps sharing its connection, which this one then uses.
    if (!Database::sessions().value(key).lock()) {
        Database::sessions().insert(key, m_db.m_connection);
        m_key = key;
        StatementUse use(m_db.m_connection->executed(QStringLiteral("Begin"), {}));
        m_db.m_connection->batchOpen = true;
    }
}

DatabaseSession::~DatabaseSession() {
    if (m_key.isEmpty())
        return;
    try {
        commitBatch();
    } catch (const TqError &) {
        // Flush() is where a failing commit is heard of; the rows are rolled back.
    }
    Database::sessions().remove(m_key);
}

void DatabaseSession::commitBatch() {
    Database::Connection &connection = *m_db.m_connection;
    if (!connection.batchOpen)
        return;
    // Later stores of the session commit one by one.
    connection.batchOpen = false;
    connection.commitStaged(
        0, [&connection] { StatementUse use(connection.executed(QStringLiteral("Commit"), {})); });
}

void DatabaseSession::Flush() {
    if (!m_key.isEmpty())
        commitBatch();
    const QList<DbRow> result = m_db.query(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    if (!result.isEmpty() && result.first().integer(QStringLiteral("busy")) != 0)
        throw DatabaseError(
            DatabaseFault::Busy,
            QStringLiteral("The database could not be written through: it is busy"));
}

// --- Transaction ---

Transaction::Transaction(Database &db, Lock lock) : m_db(db) {
    Database::Connection &connection = *m_db.m_connection;
    m_firstStagedFile = connection.stagedFiles.size();
    if (connection.batchOpen) {
        // One store at a time: the savepoints of a batch are never nested.
        if (connection.storeOpen)
            throw TqError(ErrorKind::Database,
                          QStringLiteral("A transaction is already open on this connection"));
        StatementUse use(connection.executed(QStringLiteral("Savepoint Store"), {}));
        connection.storeOpen = true;
        m_savepoint = true;
        return;
    }
    // The driver begins deferred transactions only; commit and rollback are the same.
    if (lock == Lock::Immediate) {
        StatementUse use(m_db.m_connection->executed(QStringLiteral("Begin Immediate"), {}));
        return;
    }
    if (!m_db.connection().transaction())
        throwDatabase(QStringLiteral("Cannot begin a transaction"), QStringLiteral("Begin"),
                      m_db.connection().lastError());
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    Database::Connection &connection = *m_db.m_connection;
    // Staged files of rows that are rolled back are never put in place.
    connection.stagedFiles.resize(m_firstStagedFile);
    if (!m_savepoint) {
        m_db.connection().rollback();
        return;
    }
    connection.storeOpen = false;
    try {
        StatementUse undo(connection.executed(QStringLiteral("Rollback To Store"), {}));
        StatementUse end(connection.executed(QStringLiteral("Release Store"), {}));
    } catch (const TqError &) {
        // A savepoint that cannot be rolled back leaves its batch to fail at its commit.
    }
}

void Transaction::commit() {
    Database::Connection &connection = *m_db.m_connection;
    if (m_savepoint) {
        StatementUse use(connection.executed(QStringLiteral("Release Store"), {}));
        connection.storeOpen = false;
        m_open = false;
        return;
    }
    connection.commitStaged(m_firstStagedFile, [this] {
        if (!m_db.connection().commit())
            throwDatabase(QStringLiteral("Cannot commit the transaction"), QStringLiteral("Commit"),
                          m_db.connection().lastError());
    });
    m_open = false;
}

void Transaction::attach(std::shared_ptr<StagedFile> file) {
    m_db.m_connection->stagedFiles.push_back(std::move(file));
}

} // namespace tq
