#include "Database.h"

#include "Recordset.h"
#include "platform/RuntimeError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
QAtomicInt g_counter;
int g_busyTimeout = Database::DefaultBusyTimeout;

QString uriFor(const QString &path, bool create)
{
    QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    return uri;
}
} // namespace

Database::~Database() { close(); }

void Database::setBusyTimeout(int milliseconds) { g_busyTimeout = milliseconds; }

RuntimeError Database::errorFrom(const QSqlError &error, const QString &path)
{
    bool ok = false;
    const int native = error.nativeErrorCode().toInt(&ok);
    const int code = ok ? (native & 0xFF) : -1;
    const QString file = QFileInfo(path).fileName();
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (code) {
    case 5:  // busy
    case 6:  // locked
        return RuntimeError(Err::Locked, QStringLiteral("The database file %1 is locked by another program. "
                                                        "Close the other program and try again.").arg(file));
    case 8:  // read-only
        return RuntimeError(Err::ReadOnly, QStringLiteral("The database file %1 cannot be changed: the file or its "
                                                          "folder is read-only.").arg(file));
    case 14: // cannot open
        return RuntimeError(Err::CannotOpen, QStringLiteral("The database file %1 could not be opened or written "
                                                            "(missing, or no permission for it or its folder).").arg(path));
    case 26: // not a database
        return RuntimeError(Err::NotADatabase, QStringLiteral("The file %1 is not a Tarvela database.").arg(path));
    case 11: // corrupt
        return RuntimeError(Err::NotADatabase, QStringLiteral("The database file %1 is damaged.").arg(path));
    case 13: // full
        return RuntimeError(Err::General, QStringLiteral("The disk holding %1 is full.").arg(path));
    case 19: // constraint
        return RuntimeError(Err::FieldTooSmall, QStringLiteral("The value does not fit its field: %1").arg(engine));
    default:
        break;
    }
    if (engine.contains(QStringLiteral("no such table"), Qt::CaseInsensitive))
        return RuntimeError(3078, QStringLiteral("The database %1 has no such table (%2).").arg(file, engine));
    return RuntimeError(Err::SqlSyntax, engine.isEmpty() ? QStringLiteral("Database error") : engine);
}

std::shared_ptr<Database> Database::connect(const QString &path, bool create)
{
    std::shared_ptr<Database> db(new Database);
    db->m_path = path;
    db->m_name = QStringLiteral("tarvela-%1").arg(g_counter.fetchAndAddRelaxed(1));
    {
        QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_name);
        sql.setDatabaseName(uriFor(path, create));
        // REGEXP gives the queries a letter-case rule that knows every script.
        sql.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_ENABLE_REGEXP").arg(g_busyTimeout));
        if (!sql.open()) {
            const RuntimeError err = errorFrom(sql.lastError(), path);
            sql = QSqlDatabase();
            QSqlDatabase::removeDatabase(db->m_name);
            if (err.number() == Err::SqlSyntax)
                throw RuntimeError(Err::CannotOpen, QStringLiteral("The database file %1 could not be opened.").arg(path));
            throw err;
        }
    }
    db->m_open = true;
    // Touch the file: a file that is not a database fails here, not later.
    db->run(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    QSqlQuery pragma(QSqlDatabase::database(db->m_name, false));
    pragma.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    return db;
}

std::shared_ptr<Database> Database::open(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw RuntimeError(Err::CannotOpen, QStringLiteral("The database file %1 was not found.").arg(path));
    return connect(path, false);
}

std::shared_ptr<Database> Database::create(const QString &path)
{
    if (QFileInfo::exists(path))
        throw RuntimeError(Err::DatabaseExists, QStringLiteral("Database %1 already exists.").arg(path));
    auto db = connect(path, true);
    QSqlQuery journal(QSqlDatabase::database(db->m_name, false));
    journal.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    return db;
}

void Database::compact(const QString &source, const QString &destination)
{
    if (QFileInfo::exists(destination))
        throw RuntimeError(Err::DatabaseExists, QStringLiteral("Database %1 already exists.").arg(destination));
    auto db = open(source);
    db->run(QStringLiteral("VACUUM INTO ?"), {QFileInfo(destination).absoluteFilePath()});
    db->close();
}

QSqlQuery Database::run(const QString &sql, const QVariantList &params)
{
    if (!m_open)
        throw RuntimeError(Err::ObjectVariableNotSet, QStringLiteral("The database is not open."));
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw errorFrom(query.lastError(), m_path);
    for (const QVariant &p : params)
        query.addBindValue(p);
    if (!query.exec())
        throw errorFrom(query.lastError(), m_path);
    return query;
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &source, RecordsetType type, const QVariantList &params)
{
    return std::unique_ptr<Recordset>(new Recordset(shared_from_this(), source, type, params));
}

int Database::execute(const QString &sql, const QVariantList &params)
{
    QSqlQuery q = run(sql, params);
    return q.numRowsAffected();
}

void Database::beginTrans()
{
    if (!QSqlDatabase::database(m_name, false).transaction())
        throw errorFrom(QSqlDatabase::database(m_name, false).lastError(), m_path);
}

void Database::commitTrans()
{
    if (!QSqlDatabase::database(m_name, false).commit())
        throw errorFrom(QSqlDatabase::database(m_name, false).lastError(), m_path);
}

void Database::rollback() { QSqlDatabase::database(m_name, false).rollback(); }

void Database::executeTogether(const QList<QPair<QString, QVariantList>> &statements)
{
    beginTrans();
    try {
        for (const auto &s : statements)
            execute(s.first, s.second);
        commitTrans();
    } catch (const RuntimeError &) {
        rollback();
        throw;
    }
}

void Database::close()
{
    if (!m_open)
        return;
    m_open = false;
    {
        QSqlDatabase sql = QSqlDatabase::database(m_name, false);
        sql.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}
