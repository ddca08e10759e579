#pragma once
// The database engine: one open connection to the database file. Every
// window opens the file itself for one operation and closes it at the end,
// or binds a data source to it.
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

class QSqlError;
class QSqlQuery;
class Recordset;

class Database : public std::enable_shared_from_this<Database>
{
public:
    enum RecordsetType { Table, Dynaset, Snapshot };

    ~Database();

    // Opens an existing database file for reading and writing. Never creates
    // a file: a missing file, a file that is not a database or one that is
    // locked raise a run-time error with a clear description.
    static std::shared_ptr<Database> open(const QString &path);
    // Makes a new, empty database file; error 3204 when the file exists.
    static std::shared_ptr<Database> create(const QString &path);
    // Writes a compacted copy of the file at `source` under `destination`;
    // error 3204 when the destination exists. The source is unchanged.
    static void compact(const QString &source, const QString &destination);

    // A recordset over a table name or an SQL text ("SELECT * FROM ..."),
    // with "?" placeholders bound to `params` in order.
    std::unique_ptr<Recordset> openRecordset(const QString &source, RecordsetType type = Dynaset,
                                             const QVariantList &params = {});
    // Runs a statement; returns the number of rows it changed.
    int execute(const QString &sql, const QVariantList &params = {});

    void beginTrans();
    void commitTrans();
    void rollback();
    // Runs statements in one transaction: all of them take effect or none.
    void executeTogether(const QList<QPair<QString, QVariantList>> &statements);

    void close();
    bool isOpen() const { return m_open; }
    QString path() const { return m_path; }

    // Prepares and runs a query on this connection; raises on failure.
    QSqlQuery run(const QString &sql, const QVariantList &params = {});

    // How long an operation waits for a file another program has locked
    // before it fails (set for the connections opened after).
    static constexpr int DefaultBusyTimeout = 2000;
    static void setBusyTimeout(int milliseconds);

    // A run-time error for an engine failure, with a description a user can act on.
    static class RuntimeError errorFrom(const QSqlError &error, const QString &path);

private:
    Database() = default;
    static std::shared_ptr<Database> connect(const QString &path, bool create);

    QString m_name;
    QString m_path;
    bool m_open = false;
};
