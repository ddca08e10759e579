#include "SqlTrace.h"

#include "store/Database.h"

#include <sqlite3.h>

namespace {

int g_connections = 0;
bool g_recording = false;
bool g_ownOpen = false; // the raw connection is being opened: not the program's
QStringList g_statements;

bool changesRows(const QString &sql)
{
    const QString head = sql.trimmed().left(8).toUpper();
    return head.startsWith(QLatin1String("INSERT")) || head.startsWith(QLatin1String("DELETE"))
        || head.startsWith(QLatin1String("REPLACE"));
}

int onTrace(unsigned type, void *, void *p, void *x)
{
    if (type != SQLITE_TRACE_STMT || !g_recording)
        return 0;
    const char *sql = static_cast<const char *>(x);
    if (sql && sql[0] == '-' && sql[1] == '-')
        return 0; // a trigger's part of a statement already kept
    if (char *expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(p))) {
        const QString statement = QString::fromUtf8(expanded);
        sqlite3_free(expanded);
        // A statement that adds or removes rows is not run raw: only its kind
        // is kept, so that a large import does not fill the memory measured.
        if (changesRows(statement)) {
            static const QString insert = QStringLiteral("INSERT ... (a row added; not run raw)");
            static const QString remove = QStringLiteral("DELETE ... (rows removed; not run raw)");
            g_statements << (statement.trimmed().startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive) ? remove : insert);
        } else {
            g_statements << statement;
        }
    }
    return 0;
}

int onOpen(sqlite3 *db, const char **, const struct sqlite3_api_routines *)
{
    if (g_ownOpen)
        return SQLITE_OK;
    ++g_connections;
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, onTrace, nullptr);
    return SQLITE_OK;
}

} // namespace

namespace SqlTrace {

void install() { sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&onOpen)); }

int connectionsOpened() { return g_connections; }

void startRecording()
{
    g_statements.clear();
    g_recording = true;
}

QStringList take()
{
    g_recording = false;
    QStringList out;
    out.swap(g_statements);
    return out;
}

RawConnection::RawConnection(const QString &path)
{
    g_ownOpen = true;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    g_ownOpen = false;
    if (rc != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    sqlite3_busy_timeout(m_db, 2000);
    // The SQL functions the program's own connections have.
    Database::defineFunctions(m_db);
}

RawConnection::~RawConnection()
{
    if (m_db)
        sqlite3_close(m_db);
}

RawConnection::Result RawConnection::run(const QStringList &statements)
{
    Result result;
    if (!m_db)
        return result;
    for (const QString &sql : statements) {
        if (changesRows(sql)) {
            ++result.skipped;
            continue;
        }
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db)) + QStringLiteral(" (") + sql.left(80) + QLatin1Char(')');
            sqlite3_finalize(stmt);
            continue;
        }
        ++result.statements;
        const int columns = sqlite3_column_count(stmt);
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            ++result.rows;
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER: m_sink += static_cast<quint64>(sqlite3_column_int64(stmt, c)); break;
                case SQLITE_FLOAT: m_sink += static_cast<quint64>(sqlite3_column_double(stmt, c)); break;
                case SQLITE_TEXT: {
                    const unsigned char *t = sqlite3_column_text(stmt, c);
                    const int n = sqlite3_column_bytes(stmt, c);
                    m_sink += static_cast<quint64>(n) + (n > 0 ? t[0] : 0);
                    break;
                }
                case SQLITE_BLOB: m_sink += static_cast<quint64>(sqlite3_column_bytes(stmt, c)); break;
                default: break;
                }
            }
        }
        if (rc != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db)) + QStringLiteral(" (") + sql.left(80) + QLatin1Char(')');
        sqlite3_finalize(stmt);
    }
    return result;
}

} // namespace SqlTrace
