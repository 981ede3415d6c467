#include "core/database.h"

#include <QFile>

#include "core/errors.h"
#include "core/log_schema.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QSqlDatabase>
#include <QTemporaryFile>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tq {
namespace {

template <typename F> void expectTqError(ErrorKind kind, F &&f) {
    try {
        f();
        ADD_FAILURE() << "no TqError was thrown";
    } catch (const TqError &e) {
        EXPECT_EQ(e.kind(), kind) << e.message().toStdString();
    }
}

QStringList folderEntries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

class DatabaseTest : public test::TempFolderTest {
protected:
    void SetUp() override { CreateLogDatabase(dbPath); }

    qint64 count(Database &db, const QString &table) {
        return db.scalar(QStringLiteral("Select Count(*) From %1").arg(table)).toLongLong();
    }

    const QString dbPath = path(QStringLiteral("TQ6200.mdb"));
};

TEST(SingleToDouble, RoundsToSevenSignificantDigits) {
    struct Case {
        float single;
        double expected;
    };
    const std::vector<Case> cases = {
        {52.2f, 52.2},
        {-101.0f, -101.0},
        {0.1f, 0.1},
        {1234567.0f, 1234567.0},
        {12345678.0f, 12345680.0},
        {1.0e-7f, 1.0e-7},
        {-0.3333333f, -0.3333333},
        {0.0f, 0.0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SingleToDouble(c.single), c.expected) << c.single;
    EXPECT_TRUE(std::isinf(SingleToDouble(std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(SingleToDouble(std::numeric_limits<float>::quiet_NaN())));
}

TEST_F(DatabaseTest, OpeningAMissingFileFailsAndCreatesNothing) {
    const QString missing = path(QStringLiteral("missing.mdb"));
    expectTqError(ErrorKind::Database, [&] { Database db(missing); });
    EXPECT_EQ(folderEntries(dir.path()), QStringList{QStringLiteral("TQ6200.mdb")});
}

TEST_F(DatabaseTest, OpeningAFileThatIsNoDatabaseFails) {
    const QString other = path(QStringLiteral("other.mdb"));
    const QByteArray bytes(2048, 'x');
    test::writeFile(other, bytes);
    expectTqError(ErrorKind::Database, [&] { Database db(other); });
    EXPECT_EQ(test::readFile(other), bytes);
}

TEST(FaultOfSqliteCode, TakesPrimaryAndExtendedCodes) {
    const std::vector<std::pair<QString, DatabaseFault>> cases = {
        {"5", DatabaseFault::Busy},         {"517", DatabaseFault::Busy}, // BUSY_SNAPSHOT
        {"6", DatabaseFault::Busy},         {"8", DatabaseFault::ReadOnly},
        {"1032", DatabaseFault::ReadOnly},  {"13", DatabaseFault::Full},
        {"10", DatabaseFault::InputOutput}, {"3338", DatabaseFault::InputOutput}, // IOERR_FSYNC
        {"11", DatabaseFault::Corrupt},     {"26", DatabaseFault::Corrupt},
        {"14", DatabaseFault::CannotOpen},  {"3", DatabaseFault::CannotOpen},
        {"1", DatabaseFault::Other},        {"19", DatabaseFault::Other},
        {"", DatabaseFault::Other},         {"busy", DatabaseFault::Other},
    };
    for (const auto &[code, fault] : cases)
        EXPECT_EQ(FaultOfSqliteCode(code), fault) << code.toStdString();
}

TEST_F(DatabaseTest, FailuresOfTheDriverTellTheirFault) {
    test::writeFile(path(QStringLiteral("other.mdb")), QByteArray(2048, 'x'));
    const std::vector<std::pair<std::function<void()>, DatabaseFault>> cases = {
        {[&] { Database db(path(QStringLiteral("missing.mdb"))); }, DatabaseFault::CannotOpen},
        {[&] { Database db(path(QStringLiteral("other.mdb"))); }, DatabaseFault::Corrupt},
        {[&] { Database(dbPath).execute(QStringLiteral("Selec 1")); }, DatabaseFault::Other},
    };
    for (const auto &[fail, fault] : cases) {
        try {
            fail();
            ADD_FAILURE() << "no failure";
        } catch (const DatabaseError &error) {
            EXPECT_EQ(error.fault(), fault) << error.message().toStdString();
        }
    }
}

TEST_F(DatabaseTest, OpensAFileWhoseNameHoldsUriCharacters) {
    const QString odd = path(QStringLiteral("a b#c?d%20e'.mdb"));
    CreateLogDatabase(odd);
    {
        Database db(odd);
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo) Values (?)"), {1});
        EXPECT_EQ(count(db, QStringLiteral("Log_head")), 1);
    }
    // Once the last connection is gone the database is one file again.
    EXPECT_EQ(folderEntries(dir.path()).size(), 2);
}

// A session keeps the database open across many short operations; its flush writes every
// commit into the database file, so a copy of that file alone holds them.
TEST_F(DatabaseTest, SessionFlushMakesCommitsPartOfTheFile) {
    DatabaseSession session(dbPath);
    {
        Database db(dbPath);
        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), "wal");
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo) Values (?)"), {7});
    }
    session.Flush();
    const QString copy = path(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(dbPath, copy));
    Database copied(copy);
    EXPECT_EQ(count(copied, QStringLiteral("Log_head")), 1);
}

// While a session lasts, every Database of its file in this thread is the session's
// connection (a temporary table, which only its own connection sees, shows it); another
// file, or the same file after the session, gets a connection of its own.
TEST_F(DatabaseTest, DatabasesOfASessionsFileShareItsConnection) {
    const QString other = path(QStringLiteral("other.mdb"));
    CreateLogDatabase(other);
    const qsizetype before = QSqlDatabase::connectionNames().size();
    const QString seen = QStringLiteral("Select Count(*) From temp.sqlite_master");
    std::optional<Database> outliving;
    {
        DatabaseSession session(dbPath);
        Database first(dbPath);
        first.execute(QStringLiteral("Create Temp Table Probe (X)"));
        {
            DatabaseSession nested(path(QStringLiteral("TQ6200.mdb")));
            Database second(path(QStringLiteral("./TQ6200.mdb")));
            EXPECT_EQ(second.scalar(seen).toLongLong(), 1);
        }
        outliving.emplace(dbPath);
        EXPECT_EQ(QSqlDatabase::connectionNames().size(), before + 1);

        Database elsewhere(other);
        EXPECT_EQ(elsewhere.scalar(seen).toLongLong(), 0);
        EXPECT_EQ(QSqlDatabase::connectionNames().size(), before + 2);
    }
    // The session's connection stays open for the object that outlived it.
    EXPECT_EQ(outliving->scalar(seen).toLongLong(), 1);
    Database after(dbPath);
    EXPECT_EQ(after.scalar(seen).toLongLong(), 0);
    outliving.reset();
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), before + 1);
}

// Sharing one connection, the stores of a session hold their transactions one at a time:
// a second is refused rather than nested, and the first still commits.
TEST_F(DatabaseTest, ASessionsConnectionHoldsOneTransactionAtATime) {
    DatabaseSession session(dbPath);
    Database first(dbPath);
    Database second(dbPath);
    Transaction outer(first);
    first.execute(QStringLiteral("Insert Into Log_head (SeqNo) Values (?)"), {1});
    expectTqError(ErrorKind::Database, [&] { Transaction inner(second); });
    outer.commit();
    EXPECT_EQ(count(second, QStringLiteral("Log_head")), 1);
}

// A staged file that writes down what is done with it.
class RecordedFile : public StagedFile {
public:
    RecordedFile(QString name, QStringList &events, bool placeable = true)
        : m_name(std::move(name)), m_events(events), m_placeable(placeable) {
        m_file.open();
    }
    int handle() const override { return m_file.handle(); }
    void place() override {
        if (!m_placeable)
            throw TqError(ErrorKind::File, QStringLiteral("cannot place ") + m_name);
        m_events << QStringLiteral("place ") + m_name;
    }
    void takeBack() noexcept override { m_events << QStringLiteral("take back ") + m_name; }

private:
    QString m_name;
    QStringList &m_events;
    bool m_placeable;
    QTemporaryFile m_file;
};

// Stores with a staged file each: kept (committed), rolled back, or kept with a file that
// cannot be placed.
enum class Store { Kept, RolledBack, Unplaceable };

void storeLogs(Database &db, QStringList &events, const std::vector<Store> &stores) {
    for (std::size_t i = 0; i < stores.size(); ++i) {
        Transaction transaction(db);
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo) Values (?)"), {qint64(i + 1)});
        transaction.attach(std::make_shared<RecordedFile>(QString::number(i + 1), events,
                                                          stores[i] != Store::Unplaceable));
        if (stores[i] != Store::RolledBack)
            transaction.commit();
    }
}

// Outside a session a commit places its files at once; inside one, a store that is rolled
// back loses its rows and never places its file, and the kept stores' files are placed only
// when the batch commits, just before their rows.
TEST_F(DatabaseTest, StagedFilesArePlacedByTheCommitThatStoresTheirRows) {
    QStringList events;
    {
        Database db(dbPath);
        storeLogs(db, events, {Store::Kept});
        EXPECT_EQ(events, QStringList{"place 1"});
        db.execute(QStringLiteral("Delete From Log_head"));
    }
    events.clear();
    DatabaseSession session(dbPath);
    Database db(dbPath);
    storeLogs(db, events, {Store::Kept, Store::RolledBack, Store::Kept});
    EXPECT_TRUE(events.isEmpty());
    session.Flush();
    EXPECT_EQ(events, (QStringList{"place 1", "place 3"}));
    const QString copy = path(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(dbPath, copy));
    Database copied(copy);
    EXPECT_EQ(copied.scalar(QStringLiteral("Select Group_Concat(SeqNo) From Log_head")).toString(),
              "1,3");
}

// A batch whose file cannot be put in place stores nothing: the files already placed are
// taken back and no row is kept, and the failure is reported.
TEST_F(DatabaseTest, ABatchWithAFileThatCannotBePlacedStoresNothing) {
    QStringList events;
    {
        DatabaseSession session(dbPath);
        Database db(dbPath);
        storeLogs(db, events, {Store::Kept, Store::Unplaceable});
        expectTqError(ErrorKind::File, [&] { session.Flush(); });
    }
    EXPECT_EQ(events, (QStringList{"place 1", "take back 1"}));
    Database db(dbPath);
    EXPECT_EQ(count(db, QStringLiteral("Log_head")), 0);
}

TEST_F(DatabaseTest, ConnectionsAreIndependentAndRemovedWithTheirObject) {
    const qsizetype before = QSqlDatabase::connectionNames().size();
    Database reader(dbPath);
    {
        Database writer(dbPath);
        EXPECT_EQ(QSqlDatabase::connectionNames().size(), before + 2);
        writer.execute(QStringLiteral("Insert Into Log_head (SeqNo, UserID) Values (?, ?)"),
                       {1, QStringLiteral("U1")});
    }
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), before + 1);
    EXPECT_EQ(reader.scalar(QStringLiteral("Select UserID From Log_head")).toString(), "U1");
}

TEST_F(DatabaseTest, BoundValuesAreStoredInTheirDatabaseForm) {
    struct Case {
        const char *column;
        QVariant value;
        const char *storedType; // SQLite's typeof()
        QVariant storedText;    // the stored value cast to text; null for Null
    };
    const Date date = Date::fromParts(2024, 3, 5, 14, 7, 9).addDays(0.4 / 86400.0);
    const std::vector<Case> cases = {
        {"Names", QStringLiteral("O'Neil"), "text", QStringLiteral("O'Neil")},
        {"UserID", QString(), "text", QStringLiteral("")},
        {"StationID", QVariant(), "null", QVariant()},
        {"Dates", QVariant::fromValue(date), "text", QStringLiteral("2024-03-05 14:07:09")},
        {"Last", QVariant::fromValue(Date::noDate()), "text",
         QStringLiteral("1899-09-20 00:00:00")},
        {"Dates", QVariant::fromValue(Date::fromParts(1, 1, 1)), "text",
         QStringLiteral("0001-01-01 00:00:00")},
        {"Dates", QVariant::fromValue(Date::fromParts(9999, 12, 31, 23, 59, 59)), "text",
         QStringLiteral("9999-12-31 23:59:59")},
        {"Gas1Full", 52.2f, "real", QStringLiteral("52.2")},
        {"Gas1Avr", -101.0f, "real", QStringLiteral("-101.0")},
        {"Gas1Enable", true, "integer", QStringLiteral("1")},
        {"Gas1Point", false, "integer", QStringLiteral("0")},
        {"LogNo", qint64(5'000'000'000), "integer", QStringLiteral("5000000000")},
        {"Types", QVariant::fromValue(LogType::BarHoleTrend), "integer", QStringLiteral("9")},
    };
    Database db(dbPath);
    qint64 key = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.column);
        const QVariantList seqNo{++key};
        db.execute(QStringLiteral("Insert Into Log_head (SeqNo, %1) Values (?, ?)").arg(c.column),
                   {key, c.value});
        const QList<DbRow> rows =
            db.query(QStringLiteral("Select typeof(%1) As Kind, Cast(%1 As Text) As Stored "
                                    "From Log_head Where SeqNo = ?")
                         .arg(c.column),
                     seqNo);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].text(QStringLiteral("Kind")), QLatin1String(c.storedType));
        EXPECT_EQ(rows[0].value(QStringLiteral("Stored")).toString(), c.storedText.toString());
        EXPECT_EQ(rows[0].isNull(QStringLiteral("Stored")), c.storedText.isNull());
    }
}

TEST_F(DatabaseTest, RowsAreReadByNameWithoutRegardToCase) {
    const Date date = Date::fromParts(2024, 3, 5, 14, 7, 9).addDays(0.4 / 86400.0);
    Database db(dbPath);
    db.execute(QStringLiteral("Insert Into Log_head (SeqNo, UserID, Dates, Gas1Full, Gas1Enable, "
                              "LogNo) Values (?, ?, ?, ?, ?, ?)"),
               {qint64(1), QStringLiteral("O'Neil"), QVariant::fromValue(date), 52.2f, true,
                qint64(5'000'000'000)});
    const QList<DbRow> rows = db.query(QStringLiteral("Select * From Log_Head"));
    ASSERT_EQ(rows.size(), 1);
    const DbRow &row = rows[0];
    EXPECT_EQ(row.text(QStringLiteral("uSERid")), QStringLiteral("O'Neil"));
    EXPECT_EQ(row.date(QStringLiteral("DATES")), date.roundedToSecond());
    EXPECT_EQ(row.date(QStringLiteral("DATES")).days(), date.roundedToSecond().days());
    EXPECT_EQ(row.real(QStringLiteral("gas1full")), 52.2);
    EXPECT_TRUE(row.boolean(QStringLiteral("GAS1ENABLE")));
    EXPECT_EQ(row.integer(QStringLiteral("logno")), 5'000'000'000);

    // Columns that were not written are Null and read as empty values.
    EXPECT_TRUE(row.isNull(QStringLiteral("Last")));
    EXPECT_EQ(row.date(QStringLiteral("Last")), Date::noDate());
    EXPECT_EQ(row.text(QStringLiteral("StationID")), QString());
    EXPECT_EQ(row.integer(QStringLiteral("Types")), 0);
    EXPECT_EQ(row.real(QStringLiteral("Gas1Max")), 0.0);

    expectTqError(ErrorKind::Database, [&] { row.value(QStringLiteral("NoSuchColumn")); });
}

TEST_F(DatabaseTest, AnyNonZeroNumberReadsAsTrue) {
    struct Case {
        QVariant stored;
        bool expected;
    };
    const std::vector<Case> cases = {
        {-1, true}, {1, true}, {2, true}, {0, false}, {QVariant(), false}};
    Database db(dbPath);
    for (const Case &c : cases) {
        const QList<DbRow> rows = db.query(QStringLiteral("Select ? As Flag"), {c.stored});
        EXPECT_EQ(rows[0].boolean(QStringLiteral("flag")), c.expected)
            << c.stored.toString().toStdString();
    }
}

TEST_F(DatabaseTest, ReadingAValueAsTheWrongKindFails) {
    Database db(dbPath);
    const DbRow row = db.query(QStringLiteral("Select ? As Word"), {QStringLiteral("O'Neil")})[0];
    expectTqError(ErrorKind::TypeMismatch, [&] { row.integer(QStringLiteral("Word")); });
    expectTqError(ErrorKind::TypeMismatch, [&] { row.real(QStringLiteral("Word")); });
    expectTqError(ErrorKind::TypeMismatch, [&] { row.date(QStringLiteral("Word")); });
}

// The checked reads give what is stored, and fail, naming the column, where the typed reads
// would give 0: a Null, a value of another kind, a number that does not fit the field.
TEST_F(DatabaseTest, CheckedReadsRefuseWhatIsNotThere) {
    Database db(dbPath);
    const auto row = [&](const QVariant &stored) {
        return db.query(QStringLiteral("Select ? As Field"), {stored})[0];
    };
    const QString f = QStringLiteral("Field");
    EXPECT_EQ(row(-104).requiredInteger<qint16>(f), -104);
    EXPECT_EQ(row(qint64(5'000'000'000)).requiredInteger(f, 0, 5'000'000'000), 5'000'000'000);
    EXPECT_FLOAT_EQ(row(52.2).requiredSingle(f), 52.2f);
    EXPECT_TRUE(row(-1).requiredBoolean(f));
    EXPECT_FALSE(row(0).requiredBoolean(f));

    struct Case {
        const char *name;
        QVariant stored;
        std::function<void(const DbRow &)> read;
    };
    const std::vector<Case> refused = {
        {"Null integer", QVariant(), [&](const DbRow &r) { r.requiredInteger<qint16>(f); }},
        {"Null single", QVariant(), [&](const DbRow &r) { r.requiredSingle(f); }},
        {"Null boolean", QVariant(), [&](const DbRow &r) { r.requiredBoolean(f); }},
        {"beyond 16 bits", 65429, [&](const DbRow &r) { r.requiredInteger<qint16>(f); }},
        {"below the range", -1, [&](const DbRow &r) { r.requiredInteger(f, 0, 10); }},
        {"beyond a float", 1e300, [&](const DbRow &r) { r.requiredSingle(f); }},
        {"infinite", std::numeric_limits<double>::infinity(),
         [&](const DbRow &r) { r.requiredSingle(f); }},
        {"a word", QStringLiteral("yes"), [&](const DbRow &r) { r.requiredBoolean(f); }},
    };
    for (const Case &c : refused) {
        SCOPED_TRACE(c.name);
        const DbRow r = row(c.stored);
        try {
            c.read(r);
            ADD_FAILURE() << "no TqError was thrown";
        } catch (const TqError &e) {
            EXPECT_EQ(e.kind(), ErrorKind::TypeMismatch);
            EXPECT_TRUE(e.message().contains(f)) << e.message().toStdString();
        }
    }
}

TEST_F(DatabaseTest, IdentifiersAndNamesAreFoundWithoutRegardToCase) {
    struct Case {
        const char *table;
        const char *column;
    };
    const std::vector<Case> cases = {
        {"Log_head", "UserID"}, {"Log_head", "StationID"},   {"Log_head", "SerialNo"},
        {"Log_head", "Names"},  {"Log_head", "FolderID"},    {"Log_head", "Gas1Name"},
        {"SnapShot", "UserID"}, {"cLatestHist", "SerialNo"}, {"Alarm_Event", "GasName"},
    };
    Database db(dbPath);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column);
        const QString insert =
            QStringLiteral("Insert Into %1 (SeqNo, %2) Values (?, ?)").arg(c.table, c.column);
        db.execute(insert, {1, QStringLiteral("O'Neil")});
        db.execute(insert, {2, QStringLiteral("o'NEIL")});
        const QList<DbRow> found =
            db.query(QStringLiteral("Select SeqNo From %1 Where %2 = ?").arg(c.table, c.column),
                     {QStringLiteral("O'NEIL")});
        EXPECT_EQ(found.size(), 2);
        const QList<DbRow> distinct =
            db.query(QStringLiteral("Select DistInct %2 From %1").arg(c.table, c.column));
        EXPECT_EQ(distinct.size(), 1);
        db.execute(QStringLiteral("Delete From %1").arg(c.table));
    }
}

TEST_F(DatabaseTest, FailingStatementsThrowAndChangeNothing) {
    struct Case {
        const char *what;
        QString sql;
        QVariantList params;
    };
    const QString insert = QStringLiteral("Insert Into Log_head (SeqNo, Dates) Values (?, ?)");
    const std::vector<Case> cases = {
        {"syntax error", QStringLiteral("Selec * From Log_head"), {}},
        {"Jet dialect", QStringLiteral("Delete * From Log_head"), {}},
        {"missing table", QStringLiteral("Select * From Nowhere"), {}},
        {"missing column", QStringLiteral("Select Nothing From Log_head"), {}},
        {"too few values", insert, {1}},
        {"too many values", insert, {1, QVariant::fromValue(Date::now()), 3}},
        {"QDateTime value", insert, {1, QDateTime::currentDateTime()}},
        {"QDate value", insert, {1, QDate::currentDate()}},
        {"date past year 9999", insert, {1, QVariant::fromValue(Date(1.0e9))}},
        {"date before year 0", insert, {1, QVariant::fromValue(Date(-1.0e6))}},
        {"date that rounds into year 10000",
         insert,
         {1, QVariant::fromValue(Date::fromParts(9999, 12, 31, 23, 59, 59).addDays(0.6 / 86400))}},
        {"text into the key", insert, {QStringLiteral("one"), QVariant()}},
    };
    Database db(dbPath);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectTqError(ErrorKind::Database, [&] { db.execute(c.sql, c.params); });
        expectTqError(ErrorKind::Database, [&] { db.query(c.sql, c.params); });
        expectTqError(ErrorKind::Database, [&] { db.scalar(c.sql, c.params); });
    }
    EXPECT_EQ(count(db, QStringLiteral("Log_head")), 0);
}

// A statement is prepared once and run again with new values: a run takes exactly the
// values it is given (none left over from the run before), and a wrong count is refused.
TEST_F(DatabaseTest, ARepeatedStatementTakesOnlyItsOwnValues) {
    Database db(dbPath);
    const QString insert = QStringLiteral("Insert Into Log_head (SeqNo, UserID) Values (?, ?)");
    db.execute(insert, {1, QStringLiteral("ALICE")});
    db.execute(insert, {2, QVariant()});
    expectTqError(ErrorKind::Database, [&] { db.execute(insert, {3}); });
    expectTqError(ErrorKind::Database, [&] { db.execute(insert, {3, QStringLiteral("X"), 4}); });
    db.execute(insert, {3, QStringLiteral("CAROL")});
    const QString user = QStringLiteral("Select UserID From Log_head Where SeqNo = ?");
    EXPECT_EQ(db.scalar(user, {1}).toString(), "ALICE");
    EXPECT_TRUE(db.scalar(user, {2}).isNull());
    EXPECT_EQ(db.scalar(user, {3}).toString(), "CAROL");
    EXPECT_FALSE(db.scalar(user, {4}).isValid());
    EXPECT_EQ(count(db, QStringLiteral("Log_head")), 3);
}

// A statement whose result was read only in part (a scalar of many rows) keeps no read
// open: the connection sees what another one commits afterwards.
TEST_F(DatabaseTest, APartlyReadResultKeepsNoOldView) {
    Database reader(dbPath);
    Database writer(dbPath);
    const QString insert = QStringLiteral("Insert Into Log_head (SeqNo) Values (?)");
    writer.execute(insert, {1});
    writer.execute(insert, {2});
    EXPECT_EQ(reader.scalar(QStringLiteral("Select SeqNo From Log_head Order By SeqNo")), 1);
    writer.execute(insert, {3});
    EXPECT_EQ(count(reader, QStringLiteral("Log_head")), 3);
}

TEST_F(DatabaseTest, ScalarOfAnEmptyResultIsInvalid) {
    Database db(dbPath);
    EXPECT_FALSE(db.scalar(QStringLiteral("Select SeqNo From Log_head")).isValid());
    EXPECT_TRUE(db.scalar(QStringLiteral("Select Max(SeqNo) As MaxSeq From Log_head")).isNull());
}

TEST_F(DatabaseTest, OnlyACommittedTransactionKeepsItsRows) {
    const QString insert = QStringLiteral("Insert Into Alarm_Event (SeqNo, RelNo) Values (?, ?)");
    Database db(dbPath);
    Database other(dbPath);
    {
        Transaction transaction(db);
        db.execute(insert, {1, 1});
        db.execute(insert, {2, 1});
    }
    EXPECT_EQ(count(other, QStringLiteral("Alarm_Event")), 0);

    // A failure half-way through a log leaves none of its rows.
    try {
        Transaction transaction(db);
        db.execute(insert, {1, 1});
        db.execute(insert, {1, 1});
        transaction.commit();
    } catch (const TqError &) {
    }
    EXPECT_EQ(count(other, QStringLiteral("Alarm_Event")), 0);

    {
        Transaction transaction(db);
        db.execute(insert, {1, 1});
        db.execute(insert, {2, 1});
        transaction.commit();
    }
    EXPECT_EQ(count(other, QStringLiteral("Alarm_Event")), 2);
}

TEST_F(DatabaseTest, NextKeyIsTheLargestKeyPlusOne) {
    Database db(dbPath);
    for (const QString &table : LogTableNames())
        EXPECT_EQ(db.nextKey(table), 1) << table.toStdString();

    db.execute(QStringLiteral("Insert Into Power_Event (SeqNo) Values (?)"), {7});
    db.execute(QStringLiteral("Insert Into Power_Event (SeqNo) Values (?)"), {3});
    EXPECT_EQ(db.nextKey(QStringLiteral("Power_Event")), 8);

    db.execute(QStringLiteral("Insert Into Log_head (SeqNo) Values (?)"), {qint64(5'000'000'000)});
    EXPECT_EQ(db.nextKey(QStringLiteral("Log_Head")), 5'000'000'001);
}

TEST_F(DatabaseTest, NextKeyRefusesAnythingButALogTable) {
    Database db(dbPath);
    db.execute(QStringLiteral("Insert Into Log_head (SeqNo) Values (?)"), {1});
    for (const char *name :
         {"sqlite_master", "", "Log_head; Delete From Log_head", "Log_head Where 0"}) {
        SCOPED_TRACE(name);
        expectTqError(ErrorKind::Database, [&] { db.nextKey(QString::fromLatin1(name)); });
    }
    EXPECT_EQ(count(db, QStringLiteral("Log_head")), 1);
}

} // namespace
} // namespace tq
