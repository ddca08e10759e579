#pragma once
// The database engine. The program keeps one connection to its database file
// for as long as it runs: every window's own open and every bound data source
// is a handle on that connection, and closing a handle leaves the connection
// open. Compaction closes the connection and opens it again on the compacted
// file; the handles carry on with it.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>
#include <functional>
#include <memory>

struct sqlite3_stmt;
class QSqlError;
struct sqlite3;
class QSqlQuery;
class Recordset;
class RuntimeError;

class Database : public std::enable_shared_from_this<Database>
{
public:
    enum RecordsetType { Table, Dynaset, Snapshot };

    ~Database();

    // A handle on the program's connection to an existing database file (its
    // name matched without regard to letter case). Never creates a file: a
    // missing file, a file that is not a database or one that is locked
    // raise a run-time error with a clear description. The first open of the
    // file, and the first after it was replaced by another program, checks it
    // (verify), gives a writable file the indexes it lacks and gives its
    // yes/no fields that hold Null the value no.
    static std::shared_ptr<Database> open(const QString &path);
    // A connection of its own to an existing file, closed by close(); no
    // checks, no indexes and no repairs. `busyMilliseconds` is how long a
    // statement waits for a lock held by another connection (-1: the
    // program-wide busy timeout, see setBusyTimeout).
    static std::shared_ptr<Database> openSeparate(const QString &path, int busyMilliseconds = -1);
    // Makes a new, empty database file on a connection of its own; error 3204
    // when the file exists.
    static std::shared_ptr<Database> create(const QString &path);

    // Closes the program's connection to the file; true when it was open.
    // Its handles stay valid: the connection opens again at their next
    // statement, or at the next open.
    static bool closeConnection(const QString &path);
    // The file was found damaged other than through the program's own
    // connection (a check of a copy, or of its own): it is checked whole at
    // its next open, also in the program's next run.
    static void markDamaged(const QString &path);
    // Closes every connection the program holds (at its end). A file that
    // passed its checks at open and met no damage since is remembered as
    // closed so (in the settings): while it stays exactly as it was left,
    // the next open checks its tables and fields but not every page.
    static void closeAll();

    // Checks the file: the nine tables with every field by name, then the
    // engine's full integrity check (every page, and every index against its
    // table). Raises 3078 naming a missing table, 3265 naming a missing
    // field (both listed together when several are missing) and 3343 for a
    // damaged file, each finding told once. Rows whose values break a
    // field's rule (a text longer than its field) are no damage.
    void verify();
    // The file's tables and fields only (the first half of verify).
    void verifyFields();
    // Makes the indexes of the schema that the file lacks. False when the
    // file cannot be written (nothing is changed then).
    bool ensureIndexes();
    // A yes/no field holds yes or no, never Null: gives the value no to every
    // yes/no field a row holds Null in (a row another program wrote), and
    // changes nothing else. False when the file cannot be written.
    bool ensureYesNoValues();
    // The file's tables, indexes and triggers: each name, in small letters,
    // with the statement that made it.
    QHash<QString, QString> schemaObjects();

    // A recordset over a table name or an SQL text ("SELECT * FROM ..."),
    // with "?" placeholders bound to `params` in order. The engine's own
    // comparisons ignore the letter case of ASCII letters only; the program's
    // SQL functions ignore it in every script: SAMETEXT(a, b) is 1 when the
    // texts differ at most in letter case ("WHERE SAMETEXT(Title, ?)"), and
    // FOLDED(text) is the text with its letter case folded.
    std::unique_ptr<Recordset> openRecordset(const QString &source, RecordsetType type = Dynaset,
                                             const QVariantList &params = {});
    // Runs a statement; returns the number of rows it changed.
    int execute(const QString &sql, const QVariantList &params = {});

    void beginTrans();
    void commitTrans();
    void rollback();
    // Runs `work` in one transaction: every write it makes takes effect, or
    // none when it raises (the error is raised again after the rollback).
    void inTransaction(const std::function<void()> &work);
    // Runs statements in one transaction: all of them take effect or none.
    void executeTogether(const QList<QPair<QString, QVariantList>> &statements);

    // Closes this handle; a separate connection is closed with it. A
    // transaction the handle began and did not end is rolled back, as
    // closing a connection of its own would do.
    void close();
    // The handle can be used: not closed, and its file was not replaced by
    // another program since it was opened.
    bool isOpen() const;
    QString path() const;

    // Prepares and runs a query on this connection; raises on failure.
    QSqlQuery run(const QString &sql, const QVariantList &params = {});

    // Runs a query and reads every row it gives, each value as the engine
    // holds it (a whole number as qlonglong, a real as double, a text as
    // QString, a blob as QByteArray, an empty value as a null QString), and
    // the columns' names; raises on failure as run() does. Parameters are
    // bound as run() binds them.
    struct Rows {
        QStringList columns;
        QVector<QVector<QVariant>> rows;
    };
    Rows readRows(const QString &sql, const QVariantList &params = {});
    // Runs a query and hands each row to `row` while the engine stands on it,
    // for a reader that takes only what it needs of each row (columnValue, or
    // the engine's own column functions); `columns`, when given, receives the
    // columns' names. Raises on failure as run() does.
    void eachRow(const QString &sql, const QVariantList &params, const std::function<void(sqlite3_stmt *)> &row,
                 QStringList *columns = nullptr);
    // A column of the row the engine stands on, as readRows gives it.
    static QVariant columnValue(sqlite3_stmt *stmt, int column);

    // Where the file stands in its history of writes, as this program can
    // tell it: the rows written through this connection, and the writes of
    // every other connection (other programs included). Two marks compare
    // equal only when nothing was written between them.
    struct ChangeMark {
        bool valid = false;
        quint64 connection = 0; // which opening of the connection
        qint64 ownChanges = 0;  // rows changed through it
        qint64 othersVersion = 0;
        bool operator==(const ChangeMark &o) const
        {
            return valid && o.valid && connection == o.connection && ownChanges == o.ownChanges && othersVersion == o.othersVersion;
        }
    };
    ChangeMark changeMark();

    // Gives an engine connection the program's own SQL functions (SAMETEXT, FOLDED),
    // as every connection of the program has them.
    static void defineFunctions(sqlite3 *handle);

    // How long an operation waits for a file another program has locked
    // before it fails (set for the connections opened after).
    static constexpr int DefaultBusyTimeout = 2000;
    static void setBusyTimeout(int milliseconds);

    // Raises a run-time error telling what to do when Qt's SQLite driver works
    // with another copy of the engine than the program (whose functions the
    // store calls on the driver's connections). Every open checks it first.
    static void checkDriverEngine();
    // For tests: the driver's engine is taken for another copy.
    static void pretendForeignDriverEngine(bool foreign);

    // A run-time error for an engine failure, with a description a user can
    // act on. `extendedCode` is the engine's extended result code when known.
    static RuntimeError errorFrom(const QSqlError &error, const QString &path, int extendedCode = 0);

    struct Connection;

private:
    Database() = default;
    static std::shared_ptr<Database> handleOn(const std::shared_ptr<Connection> &connection);
    Connection &usable();

    std::shared_ptr<Connection> m_conn;
    quint64 m_generation = 0;
    bool m_open = false;
    bool m_inTransaction = false;
};
