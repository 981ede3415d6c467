#pragma once

#include "core/date.h"
#include "core/errors.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <limits>
#include <memory>
#include <vector>

namespace tq {

// A Single as the double that is stored or shown for it: rounded to 7 significant digits,
// so 52.2f becomes 52.2 and not 52.200000762939453.
double SingleToDouble(float value);

// One row of a query result. Columns are found by name without regard to letter case.
// A column name that the row does not have throws TqError(Database).
class DbRow {
public:
    DbRow(QStringList names, QVariantList values);

    QVariant value(const QString &name) const;
    bool isNull(const QString &name) const;

    // Typed reads. A Null reads as "", 0, False or Date::noDate(); a value that is not of
    // the asked kind (a text that is no number or no date) throws TqError(TypeMismatch).
    QString text(const QString &name) const;
    qint64 integer(const QString &name) const;
    double real(const QString &name) const;
    bool boolean(const QString &name) const; // any non-zero is True
    Date date(const QString &name) const;    // parses "yyyy-MM-dd hh:mm:ss"

    // Checked reads of a value the reader cannot do without: a Null, a value that is not of
    // the asked kind and a number outside [min, max] (one that does not fit the field it is
    // read into) throw TqError(TypeMismatch) naming the column, instead of reading as 0.
    qint64 requiredInteger(const QString &name, qint64 min, qint64 max) const;
    template <typename T> T requiredInteger(const QString &name) const {
        return static_cast<T>(
            requiredInteger(name, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    }
    float requiredSingle(const QString &name) const; // a finite number a float holds
    bool requiredBoolean(const QString &name) const; // any non-zero is True

private:
    QStringList m_names;
    QVariantList m_values;
};

// Why the database refused, as far as a person can be told.
enum class DatabaseFault {
    Other,       // anything else (a statement the schema does not take, ...)
    Busy,        // another connection held it for longer than the busy timeout
    ReadOnly,    // it cannot be written
    Full,        // the disk is full
    InputOutput, // the disk failed a read or a write
    Corrupt,     // the file is damaged or is no database
    CannotOpen,  // the file cannot be opened
};

// The fault of an SQLite result code as QSqlError::nativeErrorCode() gives it, primary or
// extended; Other for any other code or text.
DatabaseFault FaultOfSqliteCode(const QString &nativeErrorCode);

// A failure of the database: a TqError(Database) that also tells its fault.
class DatabaseError : public TqError {
public:
    DatabaseError(DatabaseFault fault, const QString &message)
        : TqError(ErrorKind::Database, message), m_fault(fault) {}
    DatabaseFault fault() const { return m_fault; }

private:
    DatabaseFault m_fault;
};

// A date as a bound parameter.
inline QVariant DateParam(const Date &date) {
    return QVariant::fromValue(date);
}

// An open connection to an existing SQLite database file. Each object has a connection of
// its own, closed when the object goes, so several may be open at once; only while a
// DatabaseSession of the same file is open in the same thread does an object use the
// session's connection instead (see there).
//
// Every value from data or the user is passed in params and bound to a positional "?";
// values are bound as follows: tq::Date (QVariant::fromValue) as its "yyyy-MM-dd hh:mm:ss"
// text, float through SingleToDouble, bool as 1/0, enumerations as their number, a null
// QVariant as Null. QDateTime, QDate and QTime are refused: dates go in only as tq::Date.
//
// Every failure (open, prepare, execute, a refused value) throws TqError(Database) with the
// driver's text, a DatabaseError with its fault where the driver failed. A connection waits
// up to 5 s for another one that holds the database (the busy timeout) before it fails as
// Busy; nothing else is retried.
class Database {
public:
    // Opens the file at path. A missing file is an error: it is never created here.
    explicit Database(const QString &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // A statement without a result (CREATE, INSERT, UPDATE, DELETE).
    void execute(const QString &sql, const QVariantList &params = {});
    // All rows of a SELECT.
    QList<DbRow> query(const QString &sql, const QVariantList &params = {});
    // The first column of the first row; an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &params = {});

    // The largest SeqNo of a log table plus one (1 for an empty table). The table must be
    // one of LogTableNames() (any letter case), since a table name cannot be bound.
    qint64 nextKey(const QString &table);

private:
    friend class Transaction;
    friend class DatabaseSession;
    class Connection;

    // The connections of the sessions open in this thread, by absolute file path.
    static QHash<QString, std::weak_ptr<Connection>> &sessions();
    QSqlDatabase &connection();

    std::shared_ptr<Connection> m_connection;
};

// Keeps a database open while many short operations run on it (an import). Every Database
// of the same file opened in this thread while the session lasts shares the session's
// connection, so a store of one log opens nothing and reads no schema; as they share it,
// only one of them can hold a transaction at a time.
//
// The session's writes form one batch: a Transaction inside it is a savepoint, which its
// commit keeps and its failure rolls back whole, and the batch is committed by Flush() and
// by the end of the session. Pages that every store changes (the tables' last pages, the
// indexes) are then written once, not once per store, and the files the stores staged
// (StagedFile) are made durable by one sync for all of them. Flush() also writes the batch
// into the database file and syncs it, so nothing depends on the detector's copy any more.
class DatabaseSession {
public:
    explicit DatabaseSession(const QString &path);
    // Commits what the session's stores kept; a commit that fails then takes their staged
    // files back and loses their rows, so call Flush() first to hear of it.
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession &) = delete;
    DatabaseSession &operator=(const DatabaseSession &) = delete;

    // Commits the batch and syncs the database file. Throws TqError(Database) when the data
    // cannot be made durable (the batch's rows are then lost and its staged files taken
    // back), TqError(File) when a staged file cannot be synced or put in place.
    void Flush();

private:
    void commitBatch();

    Database m_db;
    QString m_key; // the file as the sessions of this thread are found by; empty when
                   // an outer session of the file already shares its connection
};

// A file that rows of a store name, written beside its place while the rows are written.
// The commit that stores the rows first makes it durable and puts it in place, so a stored
// row never names a file that a crash could lose; a commit that fails takes it back, and a
// file whose rows are rolled back is never put in place.
class StagedFile {
public:
    virtual ~StagedFile() = default;
    // The open staged file: one sync of its file system makes it durable.
    virtual int handle() const = 0;
    // Puts the file in place; throws TqError(File).
    virtual void place() = 0;
    // Removes the placed file again.
    virtual void takeBack() noexcept = 0;
};

// Begins a transaction; it is rolled back when the guard goes without commit().
class Transaction {
public:
    enum class Lock {
        Deferred,  // the write lock is taken by the first statement that writes
        Immediate, // the write lock is taken at the start, waiting as long as the busy
                   // timeout: no later statement fails for a connection that wrote meanwhile
    };
    explicit Transaction(Database &db, Lock lock = Lock::Deferred);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Inside a session's batch the stored rows are kept with the batch; otherwise they are
    // committed here, after the attached files were made durable and put in place.
    void commit();
    // A file the rows of this transaction name (see StagedFile).
    void attach(std::shared_ptr<StagedFile> file);

private:
    Database &m_db;
    bool m_open = true;
    bool m_savepoint = false;          // a store inside a session's batch
    std::size_t m_firstStagedFile = 0; // the connection's staged files from here are ours
};

} // namespace tq
