#include "IndexRepair.h"

#include "Schema.h"

#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <cstring>
#include <sqlite3.h>

// How the indexes are mended.
//
// The file's pages are read, as they are, into a database in memory (the
// file is held meanwhile: a transaction of a connection of its own keeps
// every other writer out until the mended file has taken its place). There
// the indexes are taken out of the schema, so that what stays is the tables
// alone, and the engine's full check is run on them: when it finds nothing
// but the pages the indexes used (now used by nothing), every row is whole.
// Only then are the indexes made anew from the rows, the database rebuilt
// (which drops the pages no longer used), and the result checked once more:
// the full check must pass and every table must hold as many rows as it
// did. The file is replaced by writing the mended database under a
// temporary name renamed over it, so a failure at any moment leaves either
// the old file or the whole new one.

namespace {

constexpr int LockWaitMs = 3000;

struct Connection {
    sqlite3 *db = nullptr;
    ~Connection()
    {
        if (db)
            sqlite3_close(db);
    }
};

bool exec(sqlite3 *db, const QString &sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The first column of every row a statement gives, as text; false when the
// engine fails on the way (a damaged page met).
bool column(sqlite3 *db, const QString &sql, QStringList *out)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        out->append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

using Schema::quoted;

// The rows of every table, counted through the table itself (an index may
// lack some); false when a table cannot be read to its end.
bool countRows(sqlite3 *db, QMap<QString, qint64> *out)
{
    QStringList tables;
    if (!column(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), &tables))
        return false;
    for (const QString &t : std::as_const(tables)) {
        QStringList n;
        if (!column(db, QStringLiteral("SELECT count(*) FROM %1 NOT INDEXED").arg(quoted(t)), &n) || n.size() != 1)
            return false;
        out->insert(t, n.first().toLongLong());
    }
    return true;
}

// Every page of a database, as it is.
QByteArray pagesOf(sqlite3 *db)
{
    sqlite3_int64 size = 0;
    unsigned char *bytes = sqlite3_serialize(db, "main", &size, 0);
    QByteArray out = bytes ? QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)) : QByteArray();
    sqlite3_free(bytes);
    return out;
}

// A database in memory holding the pages given.
bool loadInMemory(Connection &c, const QByteArray &pages)
{
    if (sqlite3_open(":memory:", &c.db) != SQLITE_OK)
        return false;
    auto *copy = static_cast<unsigned char *>(sqlite3_malloc64(sqlite3_uint64(pages.size())));
    if (!copy)
        return false;
    std::memcpy(copy, pages.constData(), size_t(pages.size()));
    return sqlite3_deserialize(c.db, "main", copy, pages.size(), pages.size(),
                               SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE)
        == SQLITE_OK;
}

// Takes the indexes out of the schema (their pages stay, used by nothing).
bool dropIndexesFromSchema(sqlite3 *db)
{
    QStringList version;
    if (!column(db, QStringLiteral("PRAGMA schema_version"), &version) || version.size() != 1)
        return false;
    return exec(db, QStringLiteral("PRAGMA writable_schema = ON"))
        && exec(db, QStringLiteral("DELETE FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"))
        // A new schema version makes the engine read the schema again.
        && exec(db, QStringLiteral("PRAGMA schema_version = %1").arg(version.first().toLongLong() + 1))
        && exec(db, QStringLiteral("PRAGMA writable_schema = OFF"));
}

// The damage the full check on the tables alone finds is nothing but pages
// that nothing uses.
bool tablesWhole(const QStringList &damage)
{
    static const QRegularExpression unused(QStringLiteral("^Page \\d+ is never used$"));
    for (const QString &d : damage)
        if (!unused.match(d).hasMatch())
            return false;
    return true;
}

// A name for the copy of the file as it was, beside it, not yet taken.
QString keptName(const QString &file)
{
    const QFileInfo info(file);
    const QString stem = QStringLiteral("tarvela-damaged-%1").arg(Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString name = stem + QStringLiteral(".mdb");
    for (int n = 2; FileOps::exists(info.dir().filePath(name)); ++n)
        name = QStringLiteral("%1-%2.mdb").arg(stem).arg(n);
    return info.dir().filePath(name);
}

} // namespace

IndexRepair::~IndexRepair()
{
    if (m_hold) {
        sqlite3_exec(m_hold, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_hold);
    }
}

QStringList IndexRepair::fullCheck(sqlite3 *db)
{
    // A text longer than its field's rule allows (written by another program)
    // is a value the store refuses when it is typed again, not damage: the
    // check runs without the fields' rules.
    exec(db, QStringLiteral("PRAGMA ignore_check_constraints = ON"));
    QStringList rows;
    const bool finished = column(db, QStringLiteral("PRAGMA integrity_check(100)"), &rows);
    const QString reason = finished ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    exec(db, QStringLiteral("PRAGMA ignore_check_constraints = OFF"));
    QStringList damage;
    for (const QString &row : std::as_const(rows))
        for (const QString &finding : row.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (finding != QLatin1String("ok") && finding != QLatin1String("*** in database main ***") && !damage.contains(finding))
                damage << finding;
    if (!finished)
        damage << reason;
    return damage;
}

std::unique_ptr<IndexRepair> IndexRepair::prepare(const QString &path)
{
    const QFileInfo asked(path);
    const QString file = asked.exists() ? asked.absoluteFilePath() : Platform::findFileNoCase(asked.absolutePath(), asked.fileName());
    std::unique_ptr<IndexRepair> repair(new IndexRepair);
    repair->m_file = file;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &repair->m_hold, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return nullptr;
    sqlite3_busy_timeout(repair->m_hold, LockWaitMs);
    if (!exec(repair->m_hold, QStringLiteral("BEGIN IMMEDIATE")))
        return nullptr;
    repair->m_original = pagesOf(repair->m_hold);
    Connection work;
    if (repair->m_original.isEmpty() || !loadInMemory(work, repair->m_original))
        return nullptr;

    QMap<QString, qint64> rows;
    QStringList indexes;
    if (fullCheck(work.db).isEmpty() || !countRows(work.db, &rows)
        || !column(work.db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"), &indexes)
        || indexes.isEmpty())
        return nullptr;
    if (!dropIndexesFromSchema(work.db) || !tablesWhole(fullCheck(work.db)))
        return nullptr;
    if (!exec(work.db, QStringLiteral("VACUUM")))
        return nullptr;
    for (const QString &sql : std::as_const(indexes))
        if (!exec(work.db, sql))
            return nullptr;
    QMap<QString, qint64> after;
    if (!fullCheck(work.db).isEmpty() || !countRows(work.db, &after) || after != rows)
        return nullptr;
    repair->m_mended = pagesOf(work.db);
    if (repair->m_mended.isEmpty())
        return nullptr;
    repair->m_kept = keptName(file);
    return repair;
}

void IndexRepair::apply()
{
    FileOps::writeFile(m_kept, m_original);
    FileOps::writeFile(m_file, m_mended);
    FileOps::syncToDisk(QFileInfo(m_file).absolutePath());
}
