#include "Database.h"

#include "IndexRepair.h"
#include "Recordset.h"
#include "Schema.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "platform/TextCodec.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <sqlite3.h>

// One open connection of the engine. The program's own connection to a file
// (shared) lives in the registry below for the program's life; a separate
// one belongs to the one handle that opened it.
struct Database::Connection {
    QString asked;          // the path as asked for; a shared one: folder and small-letter name
    QString file;           // the file it is open on
    QString name;           // Qt's name of the connection
    int busyMs = -1;        // -1: the program-wide busy timeout
    bool shared = true;
    bool open = false;
    bool verified = false;  // the file passed verify() and has its indexes
    mutable bool damageSeen = false; // the engine told of a damaged file since it was opened
    quint64 generation = 1; // changes when the file is found replaced
    quint64 opening = 0;    // tells one opening of the connection from another
    sqlite3 *handle = nullptr;

    QSqlDatabase sql() const { return QSqlDatabase::database(name, false); }
    void connect(bool create);
    void disconnect();
    // Closed for good on the file it had: its handles fail from now on, and
    // an open of the path starts afresh (and checks the file again).
    void retire()
    {
        disconnect();
        ++generation;
        verified = false;
    }
    // The file at the path is no longer the one open here (moved, deleted or
    // replaced by another file).
    bool hasMoved() const;
    int extendedCode() const { return handle ? sqlite3_extended_errcode(handle) : 0; }
    // A connection of its own to the file at `path` (not shared).
    static std::shared_ptr<Connection> separate(const QString &path, int busyMs);
};

namespace {
QAtomicInt g_counter;
quint64 g_openings = 0;
int g_busyTimeout = Database::DefaultBusyTimeout;

using Err::DiskError;
using Err::TableMissing;

QHash<QString, std::shared_ptr<Database::Connection>> &registry()
{
    // Never destroyed: the connections are closed by closeAll(), not by the
    // order in which the program's statics go.
    static auto *connections = new QHash<QString, std::shared_ptr<Database::Connection>>;
    return *connections;
}

// One key however the file's name is written.
QString keyFor(const QString &path)
{
    const QFileInfo info(path);
    return QDir::cleanPath(info.absolutePath()) + QLatin1Char('/') + info.fileName().toLower();
}

// The existing file meant by a path: the path itself, else a file of the
// same name in another letter case.
QString resolve(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.absoluteFilePath();
    return Platform::findFileNoCase(info.absolutePath(), info.fileName());
}

QString uriFor(const QString &path, bool create)
{
    QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    return uri;
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

RuntimeError movedError(const QString &path)
{
    return RuntimeError(Err::CannotOpen,
                        QStringLiteral("The database file %1 was moved, replaced or deleted by another program while Tarvela "
                                       "had it open, so this change was not stored. Close this window and open it again.")
                            .arg(shown(path)));
}

// Notes an engine failure that tells of a damaged file: the file is then
// checked whole at its next open.
void noteDamage(const Database::Connection &c, int code)
{
    if ((code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB)
        c.damageSeen = true;
}

RuntimeError failure(const Database::Connection &c, const QSqlError &error)
{
    // The driver passes the engine's code on for a statement; a transaction's
    // failure carries none, and the connection still knows it.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    noteDamage(c, ok ? code : c.extendedCode());
    return Database::errorFrom(error, c.file, ok ? 0 : c.extendedCode());
}

// A failure of the engine told as the driver tells it, so that both ways of
// running a statement raise the same error.
RuntimeError engineFailure(const Database::Connection &c, const QString &what, int code)
{
    noteDamage(c, code);
    const QSqlError error(what, QString::fromUtf8(sqlite3_errmsg(c.handle)), QSqlError::StatementError, QString::number(code));
    return Database::errorFrom(error, c.file, 0);
}

// FOLDED(text) of the queries: the text with its letter case folded as the
// program folds it everywhere; Null stays Null.
void foldedText(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *units = static_cast<const char16_t *>(sqlite3_value_text16(arguments[0]));
    const int bytes = sqlite3_value_bytes16(arguments[0]);
    const QString folded = TextCodec::caseFolded(QString::fromUtf16(units, bytes / int(sizeof(char16_t))));
    sqlite3_result_text16(context, folded.utf16(), int(folded.size() * sizeof(QChar)), SQLITE_TRANSIENT);
}

// No database file at the path: nothing stands there, or a folder does.
RuntimeError notAFile(const QString &path)
{
    const QFileInfo info(path);
    const QString standing = Platform::entryNoCase(info.absolutePath(), info.fileName());
    if (!standing.isEmpty())
        return RuntimeError(Err::CannotOpen, QFileInfo(standing).isDir()
                                                 ? QStringLiteral("%1 is a folder, not a database file.").arg(shown(standing))
                                                 : QStringLiteral("%1 is not a database file.").arg(shown(standing)));
    return RuntimeError(Err::CannotOpen, QStringLiteral("The database file %1 was not found.").arg(shown(path)));
}

// The file's own check on a text's length refused a value: told as the
// store's own check tells it, naming the field.
RuntimeError constraintError(const QString &engine)
{
    static const QRegularExpression lengthRule(QStringLiteral("length\\(\"?(\\w+)\"?\\)\\s*<=\\s*(\\d+)"));
    const QRegularExpressionMatch m = lengthRule.match(engine);
    if (m.hasMatch())
        return RuntimeError(Err::FieldTooSmall, QStringLiteral("The text for %1 is too long: at most %2 characters are allowed.")
                                                    .arg(m.captured(1), m.captured(2)));
    return RuntimeError(Err::FieldTooSmall, QStringLiteral("A value does not fit its field (%1).").arg(engine));
}

// SAMETEXT(a, b) of the queries: 1 when the texts fold to the same text, 0
// when not, Null when either is Null. A name is looked up among many rows
// with it, so the usual cases take no conversion: texts of other lengths
// (folding keeps the number of characters) and texts of ASCII only.
void sameText(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *a = sqlite3_value_text(arguments[0]);
    const int aBytes = sqlite3_value_bytes(arguments[0]);
    const auto *b = sqlite3_value_text(arguments[1]);
    const int bBytes = sqlite3_value_bytes(arguments[1]);
    const auto characters = [](const unsigned char *s, int bytes, bool &ascii) {
        int count = 0;
        for (int i = 0; i < bytes; ++i) {
            ascii = ascii && s[i] < 0x80;
            count += (s[i] & 0xC0) != 0x80;
        }
        return count;
    };
    bool ascii = true;
    if (characters(a, aBytes, ascii) != characters(b, bBytes, ascii)) {
        sqlite3_result_int(context, 0);
        return;
    }
    if (ascii) {
        sqlite3_result_int(context, aBytes == bBytes && sqlite3_strnicmp(reinterpret_cast<const char *>(a),
                                                                         reinterpret_cast<const char *>(b), aBytes) == 0);
        return;
    }
    const QString left = QString::fromUtf8(reinterpret_cast<const char *>(a), aBytes);
    const QString right = QString::fromUtf8(reinterpret_cast<const char *>(b), bBytes);
    sqlite3_result_int(context, TextCodec::caseFolded(left) == TextCodec::caseFolded(right));
}

// What the program remembers of the file it last closed after checking it:
// its path and what tells that file apart from any later state of it.
const QString CheckSection = QStringLiteral("Database");
const QString CheckKey = QStringLiteral("ClosedAfterCheck");

QString stateOf(const QString &file)
{
    const QString identity = FileOps::identity(file).text();
    return identity.isEmpty() ? QString() : file + QLatin1Char(' ') + identity;
}

// The file is exactly as the program left it when it last closed it after
// checking it (no other program, and no run that ended without closing it,
// has written to it since).
bool leftAsChecked(const QString &file)
{
    const QString state = stateOf(file);
    return !state.isEmpty() && Settings::get(Settings::App, CheckSection, CheckKey) == state;
}

// A value bound as the driver binds it: what it takes as empty is Null,
// numbers stay numbers, times and dates with times are written as text in
// its forms, anything else as its text.
int bindValue(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    bool isNull = value.isNull();
    switch (value.typeId()) {
    case QMetaType::QString: isNull = isNull || static_cast<const QString *>(value.constData())->isNull(); break;
    case QMetaType::QByteArray: isNull = isNull || static_cast<const QByteArray *>(value.constData())->isNull(); break;
    case QMetaType::QDate: isNull = isNull || static_cast<const QDate *>(value.constData())->isNull(); break;
    case QMetaType::QTime: isNull = isNull || static_cast<const QTime *>(value.constData())->isNull(); break;
    case QMetaType::QDateTime: isNull = isNull || static_cast<const QDateTime *>(value.constData())->isNull(); break;
    default: break;
    }
    if (isNull)
        return sqlite3_bind_null(stmt, index);
    auto text = [&](const QString &s) {
        return sqlite3_bind_text16(stmt, index, s.utf16(), int(s.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    };
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::Bool: return sqlite3_bind_int(stmt, index, value.toInt());
    case QMetaType::Double: return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong: return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::QDateTime: return text(value.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QTime: return text(value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
    default: return text(value.toString());
    }
}

// The store calls the engine's functions on the connection Qt's driver
// made. Were the driver built with a copy of the engine of its own, that
// connection would be a foreign structure to the program's engine, and every
// such call undefined. Versions cannot tell two copies of one release apart,
// and calling a function on the handle to see is the very fault; so the
// program's engine tells of every connection it makes (an automatic
// extension runs inside each open, on the thread that opens), and a handle
// the driver gives is accepted only when the program's engine has just made it.
thread_local sqlite3 *t_madeByOwnEngine = nullptr;
bool g_foreignEngineForTest = false;

int noteOwnConnection(sqlite3 *handle, char **, const sqlite3_api_routines *)
{
    t_madeByOwnEngine = handle;
    return SQLITE_OK;
}

// Opens the driver's connection; the engine's handle on it, or null when
// the open fails or the driver gives none. `own` tells whether the
// program's engine made it.
sqlite3 *openThroughDriver(QSqlDatabase &db, bool *own)
{
    static const bool listening = sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&noteOwnConnection)) == SQLITE_OK;
    t_madeByOwnEngine = nullptr;
    if (!db.open())
        return nullptr;
    const QVariant h = db.driver()->handle();
    sqlite3 *handle = (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0) ? *static_cast<sqlite3 *const *>(h.constData()) : nullptr;
    *own = listening && handle && handle == t_madeByOwnEngine;
    return handle;
}

RuntimeError foreignEngine()
{
    return RuntimeError(Err::CannotOpen,
                        QStringLiteral("Qt's SQLite driver on this computer works with another copy of SQLite than Tarvela "
                                       "Desk, and the two cannot share a database safely, so no database was opened.\n\n"
                                       "Install the Qt SQLite driver of your system's packages (libqt6sql6-sqlite), or "
                                       "build Tarvela Desk with the SQLite that Qt's driver uses."));
}

QSqlQuery runOn(const Database::Connection &c, const QString &sql, const QVariantList &params = {})
{
    QSqlQuery query(c.sql());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw failure(c, query.lastError());
    for (const QVariant &p : params)
        query.addBindValue(p);
    if (!query.exec())
        throw failure(c, query.lastError());
    return query;
}
} // namespace

void Database::Connection::connect(bool create)
{
    checkDriverEngine();
    file = create ? QFileInfo(asked).absoluteFilePath() : resolve(asked);
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(uriFor(file, create));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs >= 0 ? busyMs : g_busyTimeout));
        bool own = false;
        handle = openThroughDriver(db, &own);
        if (!db.isOpen()) {
            const RuntimeError err = errorFrom(db.lastError(), file);
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            if (err.number() == Err::SqlSyntax)
                throw RuntimeError(Err::CannotOpen, QStringLiteral("The database file %1 could not be opened.").arg(shown(file)));
            throw err;
        }
        if (!handle || !own) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            if (handle)
                throw foreignEngine();
            throw RuntimeError(Err::CannotOpen, QStringLiteral("The database engine gave no connection to %1.").arg(shown(file)));
        }
    }
    // Errors then carry the engine's whole cause (a moved file, a read-only
    // folder), not only its family.
    sqlite3_extended_result_codes(handle, 1);
    defineFunctions(handle);
    open = true;
    opening = ++g_openings;
    try {
        // Touch the file: a file that is not a database fails here, not later.
        runOn(*this, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        runOn(*this, QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (const RuntimeError &) {
        disconnect();
        throw;
    }
}

void Database::Connection::disconnect()
{
    if (QSqlDatabase::contains(name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        if (!shared)
            QSqlDatabase::removeDatabase(name);
    }
    handle = nullptr;
    open = false;
}

std::shared_ptr<Database::Connection> Database::Connection::separate(const QString &path, int busyMs)
{
    auto c = std::make_shared<Connection>();
    c->asked = path;
    c->shared = false;
    c->busyMs = busyMs;
    c->name = QStringLiteral("tarvela-own-%1").arg(g_counter.fetchAndAddRelaxed(1));
    return c;
}

bool Database::Connection::hasMoved() const
{
    if (!open)
        return false;
    int moved = 0;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK)
        return false;
    return moved != 0 || resolve(asked) != file;
}

Database::~Database() { close(); }

void Database::setBusyTimeout(int milliseconds) { g_busyTimeout = milliseconds; }

void Database::checkDriverEngine()
{
    // Asked once, on a connection to no file, so that a refusal comes before
    // any file is opened or made.
    static const bool own = [] {
        const QString name = QStringLiteral("tarvela-engine-check");
        bool same = true; // a driver that opens nothing is told by the open of the file
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            if (openThroughDriver(db, &same) == nullptr)
                same = true;
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return same;
    }();
    if (!own || g_foreignEngineForTest)
        throw foreignEngine();
}

void Database::pretendForeignDriverEngine(bool foreign) { g_foreignEngineForTest = foreign; }

void Database::defineFunctions(sqlite3 *handle)
{
    // The queries' rule for letter case in every script.
    sqlite3_create_function_v2(handle, "FOLDED", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr, foldedText, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(handle, "SAMETEXT", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sameText, nullptr, nullptr,
                               nullptr);
}

RuntimeError Database::errorFrom(const QSqlError &error, const QString &path, int extendedCode)
{
    bool ok = false;
    int code = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        code = extendedCode > 0 ? extendedCode : -1;
    const QString file = QFileInfo(path).fileName();
    const QString engine = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (code) {
    case SQLITE_READONLY_DBMOVED:
        return movedError(path);
    case SQLITE_READONLY_DIRECTORY:
        return RuntimeError(Err::ReadOnly, QStringLiteral("The database file %1 cannot be changed: its folder %2 cannot be "
                                                          "written (the engine keeps its journal there).")
                                               .arg(file, shown(QFileInfo(path).absolutePath())));
    case SQLITE_READONLY_CANTLOCK:
    case SQLITE_READONLY_CANTINIT:
    case SQLITE_READONLY_RECOVERY:
    case SQLITE_READONLY_ROLLBACK:
        return RuntimeError(Err::Locked, QStringLiteral("The database file %1 cannot be changed now: the engine could not "
                                                        "lock or recover it (%2).").arg(file, engine));
    case SQLITE_CANTOPEN_ISDIR:
        return RuntimeError(Err::CannotOpen, QStringLiteral("%1 is a folder, not a database file.").arg(shown(path)));
    case SQLITE_CONSTRAINT_CHECK:
        return constraintError(engine);
    default:
        break;
    }
    switch (code < 0 ? -1 : (code & 0xFF)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return RuntimeError(Err::Locked, QStringLiteral("The database file %1 is locked by another program. "
                                                        "Close the other program and try again.").arg(file));
    case SQLITE_READONLY:
        return RuntimeError(Err::ReadOnly, QStringLiteral("The database file %1 cannot be changed: the file or its "
                                                          "folder is read-only.").arg(file));
    case SQLITE_CANTOPEN:
        return RuntimeError(Err::CannotOpen, QStringLiteral("The database file %1 could not be opened or written "
                                                            "(missing, or no permission for it or its folder).").arg(shown(path)));
    case SQLITE_PERM:
        return RuntimeError(Err::CannotOpen, QStringLiteral("Tarvela has no permission to use the database file %1.").arg(shown(path)));
    case SQLITE_NOTADB:
        return RuntimeError(Err::NotADatabase, QStringLiteral("The file %1 is not a Tarvela database.").arg(shown(path)));
    case SQLITE_CORRUPT:
        return RuntimeError(Err::NotADatabase, QStringLiteral("The database file %1 is damaged.").arg(shown(path)));
    case SQLITE_FULL:
        return RuntimeError(Err::DiskFull, QStringLiteral("The disk holding %1 is full: nothing more can be stored until "
                                                          "room is made on it.").arg(shown(path)));
    case SQLITE_IOERR:
        return RuntimeError(DiskError, QStringLiteral("A disk error stopped Tarvela reading or writing the database file %1 "
                                                      "(%2).").arg(shown(path), engine));
    case SQLITE_CONSTRAINT:
        return RuntimeError(Err::General, QStringLiteral("The database refused the change: %1").arg(engine));
    default:
        break;
    }
    if (engine.contains(QStringLiteral("no such table"), Qt::CaseInsensitive))
        return RuntimeError(TableMissing, QStringLiteral("The database %1 has no such table (%2).").arg(file, engine));
    return RuntimeError(Err::SqlSyntax, engine.isEmpty() ? QStringLiteral("Database error") : engine);
}

std::shared_ptr<Database> Database::handleOn(const std::shared_ptr<Connection> &connection)
{
    std::shared_ptr<Database> db(new Database);
    db->m_conn = connection;
    db->m_generation = connection->generation;
    db->m_open = true;
    return db;
}

std::shared_ptr<Database> Database::open(const QString &path)
{
    const QString key = keyFor(path);
    if (!QFileInfo(resolve(key)).isFile())
        throw notAFile(path);
    std::shared_ptr<Connection> &slot = registry()[key];
    if (!slot) {
        slot = std::make_shared<Connection>();
        slot->asked = key;
        slot->name = QStringLiteral("tarvela-%1").arg(g_counter.fetchAndAddRelaxed(1));
    }
    const std::shared_ptr<Connection> c = slot;
    if (c->open && c->hasMoved()) {
        // Another program put another file in its place: that file is opened
        // and checked afresh, and what was read from the old one is stale.
        c->retire();
    }
    if (!c->open)
        c->connect(false);
    auto db = handleOn(c);
    if (!c->verified) {
        try {
            // Every page is read only when the file may have changed since
            // the program last closed it whole: the whole check of a large
            // file costs more than all the rest of a start.
            if (leftAsChecked(c->file))
                db->verifyFields();
            else
                db->verify();
        } catch (const RuntimeError &) {
            c->disconnect();
            throw;
        }
        c->verified = true;
        db->ensureIndexes();
        db->ensureYesNoValues();
    }
    return db;
}

std::shared_ptr<Database> Database::openSeparate(const QString &path, int busyMilliseconds)
{
    if (!QFileInfo(resolve(path)).isFile())
        throw notAFile(path);
    auto c = Connection::separate(path, busyMilliseconds);
    c->connect(false);
    return handleOn(c);
}

std::shared_ptr<Database> Database::create(const QString &path)
{
    if (QFileInfo::exists(path))
        throw RuntimeError(Err::DatabaseExists, QStringLiteral("Database %1 already exists.").arg(path));
    // A connection the program still had to a file of that name is of no use now.
    if (const auto found = registry().value(keyFor(path)))
        found->retire();
    auto c = Connection::separate(path, -1);
    c->connect(true);
    runOn(*c, QStringLiteral("PRAGMA journal_mode=DELETE"));
    return handleOn(c);
}

void Database::markDamaged(const QString &path)
{
    if (const auto c = registry().value(keyFor(path)))
        c->damageSeen = true;
    const QString file = resolve(path);
    if (leftAsChecked(file))
        Settings::save(Settings::App, CheckSection, CheckKey, QString());
}

bool Database::closeConnection(const QString &path)
{
    const auto c = registry().value(keyFor(path));
    if (!c || !c->open)
        return false;
    c->disconnect();
    return true;
}

void Database::closeAll()
{
    auto &all = registry();
    for (const auto &c : std::as_const(all)) {
        const bool checked = c->open && c->verified && !c->damageSeen;
        const QString file = c->file;
        c->disconnect();
        // A file found damaged is forgotten, whatever state it is left in.
        const QString state = checked ? stateOf(file) : QString();
        if (!state.isEmpty() || c->damageSeen)
            Settings::save(Settings::App, CheckSection, CheckKey, state);
        c->retire();
        QSqlDatabase::removeDatabase(c->name);
    }
    all.clear();
}

Database::Connection &Database::usable()
{
    if (!m_open || !m_conn)
        throw RuntimeError(Err::ObjectVariableNotSet, QStringLiteral("The database is not open."));
    if (m_generation != m_conn->generation)
        throw movedError(m_conn->file);
    // Compaction closed the connection: it opens again on the compacted file.
    if (!m_conn->open)
        m_conn->connect(false);
    // The engine undoes a whole transaction on some failures (RAISE(ROLLBACK),
    // at times a full disk): what follows must not be written on its own,
    // outside the transaction the caller thinks it is in.
    if (m_inTransaction && m_conn->handle && sqlite3_get_autocommit(m_conn->handle))
        throw RuntimeError(Err::General, QStringLiteral("The changes of this operation were undone after a failed write to %1; "
                                                        "nothing of it was stored.")
                                             .arg(shown(m_conn->file)));
    return *m_conn;
}

bool Database::isOpen() const
{
    return m_open && m_conn && m_generation == m_conn->generation && (m_conn->shared || m_conn->open);
}

QString Database::path() const { return m_conn ? m_conn->file : QString(); }

void Database::verify()
{
    verifyFields();
    const QString file = shown(usable().file);
    // The quick check passes a row missing from an index, which then counts
    // rows other than the table holds: the full one is needed.
    QStringList damage = IndexRepair::fullCheck(usable().handle);
    if (damage.isEmpty())
        return;
    constexpr int told = 5;
    if (damage.size() > told)
        damage = damage.mid(0, told) << QStringLiteral("...");
    throw RuntimeError(Err::NotADatabase, QStringLiteral("The database file %1 is damaged (%2).")
                                              .arg(file, damage.join(QStringLiteral("; "))));
}

void Database::verifyFields()
{
    const QString file = shown(usable().file);
    QHash<QString, QSet<QString>> found; // table -> fields, in small letters
    {
        QSqlQuery q = run(QStringLiteral("SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
                                         "WHERE m.type = 'table'"));
        while (q.next())
            found[q.value(0).toString().toLower()].insert(q.value(1).toString().toLower());
    }
    QStringList missing;
    bool tableMissing = false;
    for (const Schema::Table &t : Schema::tables()) {
        const auto it = found.constFind(t.name.toLower());
        if (it == found.cend()) {
            missing << QStringLiteral("the table %1 is missing").arg(t.name);
            tableMissing = true;
            continue;
        }
        for (const Schema::Field &f : t.fields)
            if (!it->contains(f.name.toLower()))
                missing << QStringLiteral("the field %1 of the table %2 is missing").arg(f.name, t.name);
    }
    if (!missing.isEmpty())
        throw RuntimeError(tableMissing ? TableMissing : Err::ItemNotFound,
                           QStringLiteral("The database file %1 is not a whole Tarvela database: %2.")
                               .arg(file, missing.join(QStringLiteral("; "))));
}

QHash<QString, QString> Database::schemaObjects()
{
    QHash<QString, QString> objects;
    QSqlQuery q = run(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type IN ('table', 'index', 'trigger')"));
    while (q.next())
        objects.insert(q.value(0).toString().toLower(), q.value(1).toString());
    return objects;
}

bool Database::ensureIndexes()
{
    Connection &c = usable();
    const QHash<QString, QString> present = schemaObjects();
    QStringList statements;
    for (const Schema::Index &i : Schema::indexes())
        if (!present.contains(i.name.toLower()))
            statements << Schema::createIndexStatement(i);
    const Schema::TextIndex &text = Schema::assignmentText();
    const bool textWhole = Schema::isWhole(text, present);
    if (statements.isEmpty() && textWhole)
        return true;
    if (sqlite3_db_readonly(c.handle, "main") == 1)
        return false;
    // Each kind in a piece of its own: the plain indexes are made even when
    // the text index cannot be.
    auto together = [this](const QStringList &list) {
        QList<QPair<QString, QVariantList>> all;
        for (const QString &s : list)
            all.append({s, {}});
        try {
            if (!all.isEmpty())
                executeTogether(all);
        } catch (const RuntimeError &) {
            return false;
        }
        return true;
    };
    const bool plain = together(statements);
    return together(textWhole ? QStringList() : Schema::createStatements(text)) && plain;
}

bool Database::ensureYesNoValues()
{
    Connection &c = usable();
    if (sqlite3_db_readonly(c.handle, "main") == 1)
        return false;
    // Each look-up reads the field's index of Nulls (see Schema::indexes).
    QList<QPair<QString, QVariantList>> repairs;
    for (const Schema::Table &t : Schema::tables())
        for (const Schema::Field &f : t.fields)
            if (f.type == Schema::Type::Boolean
                && !readRows(QStringLiteral("SELECT 1 FROM \"%1\" WHERE \"%2\" IS NULL LIMIT 1").arg(t.name, f.name)).rows.isEmpty())
                repairs.append({QStringLiteral("UPDATE \"%1\" SET \"%2\" = 0 WHERE \"%2\" IS NULL").arg(t.name, f.name), {}});
    if (repairs.isEmpty())
        return true;
    try {
        executeTogether(repairs);
    } catch (const RuntimeError &) {
        return false;
    }
    return true;
}

QSqlQuery Database::run(const QString &sql, const QVariantList &params) { return runOn(usable(), sql, params); }

QVariant Database::columnValue(sqlite3_stmt *stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_NULL: return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB: {
        const char *bytes = static_cast<const char *>(sqlite3_column_blob(stmt, column));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(stmt, column)));
    }
    default: {
        // The file keeps its texts in UTF-8: one conversion.
        const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)));
    }
    }
}

void Database::eachRow(const QString &sql, const QVariantList &params, const std::function<void(sqlite3_stmt *)> &row,
                       QStringList *columns)
{
    Connection &c = usable();
    // The rows are read straight from the engine: the driver's own reading
    // costs more than the engine's work on a large class.
    sqlite3_stmt *stmt = nullptr;
    const QString unable = QStringLiteral("Unable to execute statement");
    int rc = sqlite3_prepare16_v2(c.handle, sql.utf16(), int(sql.size() * sizeof(QChar)), &stmt, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> owner(stmt, sqlite3_finalize);
    if (rc != SQLITE_OK)
        throw engineFailure(c, unable, rc);
    if (!stmt)
        return; // no statement in the text
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size())
        throw RuntimeError(Err::SqlSyntax, QStringLiteral("Parameter count mismatch"));
    for (int i = 0; i < params.size(); ++i) {
        rc = bindValue(stmt, i + 1, params.at(i));
        if (rc != SQLITE_OK)
            throw engineFailure(c, unable, rc);
    }
    if (columns) {
        const int count = sqlite3_column_count(stmt);
        for (int i = 0; i < count; ++i)
            *columns << QString::fromUtf16(static_cast<const char16_t *>(sqlite3_column_name16(stmt, i))).remove(QLatin1Char('"'));
    }
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        row(stmt);
    if (rc != SQLITE_DONE)
        throw engineFailure(c, QStringLiteral("Unable to fetch row"), rc);
}

Database::Rows Database::readRows(const QString &sql, const QVariantList &params)
{
    Rows out;
    eachRow(
        sql, params,
        [&](sqlite3_stmt *stmt) {
            const int columns = static_cast<int>(out.columns.size());
            QVector<QVariant> row(columns);
            for (int i = 0; i < columns; ++i)
                row[i] = columnValue(stmt, i);
            out.rows.push_back(std::move(row));
        },
        &out.columns);
    return out;
}

Database::ChangeMark Database::changeMark()
{
    Connection &c = usable();
    ChangeMark mark;
    // The engine's own counters, read without a statement of the driver's:
    // this is asked at every read and write of a recordset.
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.handle, "PRAGMA data_version", -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return mark;
    }
    const bool read = sqlite3_step(stmt) == SQLITE_ROW;
    mark.othersVersion = read ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    if (!read)
        return mark;
    mark.connection = c.opening;
    mark.ownChanges = sqlite3_total_changes64(c.handle);
    mark.valid = true;
    return mark;
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
    Connection &c = usable();
    QSqlDatabase sql = c.sql();
    if (!sql.transaction())
        throw failure(c, sql.lastError());
    m_inTransaction = true;
}

void Database::commitTrans()
{
    Connection &c = usable();
    QSqlDatabase sql = c.sql();
    if (!sql.commit())
        throw failure(c, sql.lastError());
    m_inTransaction = false;
}

void Database::rollback()
{
    m_inTransaction = false;
    if (m_conn && m_conn->open)
        m_conn->sql().rollback();
}

void Database::inTransaction(const std::function<void()> &work)
{
    beginTrans();
    try {
        work();
        commitTrans();
    } catch (const RuntimeError &) {
        rollback();
        throw;
    }
}

void Database::executeTogether(const QList<QPair<QString, QVariantList>> &statements)
{
    inTransaction([&] {
        for (const auto &s : statements)
            execute(s.first, s.second);
    });
}

void Database::close()
{
    if (!m_open)
        return;
    if (m_inTransaction && m_generation == m_conn->generation)
        rollback();
    m_open = false;
    if (m_conn && !m_conn->shared)
        m_conn->disconnect();
}
