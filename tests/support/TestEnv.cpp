#include "TestEnv.h"

#include "platform/Clock.h"
#include "platform/FileDialogs.h"
#include "platform/FileOps.h"
#include "platform/InputBox.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "platform/ProgramLock.h"
#include "platform/RuntimeError.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "store/Compaction.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/clsTarvelaDB.h"

#include <QApplication>
#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QWidget>

#include <sqlite3.h>

namespace {
std::unique_ptr<QTemporaryDir> g_root;
std::vector<std::function<void()>> &resetHooks()
{
    static std::vector<std::function<void()>> hooks;
    return hooks;
}
std::vector<std::function<QObject *()>> &factories()
{
    static std::vector<std::function<QObject *()>> f;
    return f;
}
} // namespace

namespace TestEnv {

QString root() { return g_root ? g_root->path() : QString(); }
QString programFolder() { return root() + QStringLiteral("/program"); }
QString configFolder() { return root() + QStringLiteral("/config"); }
QString driveA() { return root() + QStringLiteral("/a"); }
QString databasePath() { return programFolder() + QStringLiteral("/tarvela.mdb"); }

void createDatabase()
{
    clsTarvelaDB creator;
    QVERIFY2(creator.Create_Tarvela_DB(programFolder()), qPrintable(creator.lastError()));
}

std::shared_ptr<Database> open() { return Database::openSeparate(databasePath()); }

void exec(const QString &sql, const QVariantList &params) { scalar(sql, params); }

QVariant scalar(const QString &sql, const QVariantList &params)
{
    auto db = open();
    QVariant v;
    {
        QSqlQuery q = db->run(sql, params);
        v = q.next() ? q.value(0) : (q.isSelect() ? QVariant() : q.lastInsertId());
    }
    db->close();
    return v;
}

int addSemester(const QString &title, const QString &start, const QString &end)
{
    return scalar(QStringLiteral("INSERT INTO Semesters (Title, StartDate, EndDate) VALUES (?, ?, ?)"), {title, start, end}).toInt();
}

int addClass(int semesterId, const QString &name, const QVariantList &thresholds)
{
    QVariantList grades = thresholds.size() == 5 ? thresholds : QVariantList(5);
    return scalar(QStringLiteral("INSERT INTO Classes (Semester_ID, ClassName, Points_Grade_A, Points_Grade_B, Points_Grade_C, "
                                 "Points_Grade_D, Points_Grade_F) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                  QVariantList{semesterId, name} + grades)
        .toInt();
}

int addAssignment(int classId, const QString &title, const QVariant &max, const QVariant &points, const QString &due)
{
    return scalar(QStringLiteral("INSERT INTO Assignments (Class_ID, AssignmentTitle, MaxPointsPossible, ActualPoints, DateDue) "
                                 "VALUES (?, ?, ?, ?, ?)"),
                  {classId, title, max, points, due})
        .toInt();
}

void addRowsAndGaps(int rows)
{
    auto db = open();
    db->execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                               "INSERT INTO Assignments (Class_ID, AssignmentTitle, Comments, DateDue, Completed) "
                               "SELECT i % 7, 'Work ' || i, printf('%.*c', 400, 'c'), date('2026-01-01', '+' || (i % 300) || ' days'), 0 "
                               "FROM n"),
                {rows});
    db->execute(QStringLiteral("DELETE FROM Assignments WHERE ID % 3 <> 0"));
    db->close();
}

QString contents(const QString &file)
{
    auto db = Database::openSeparate(file);
    QStringList out;
    QStringList tables;
    {
        // The text index is left out: it holds nothing of its own (its tests
        // read it through the search).
        QSqlQuery q = db->run(QStringLiteral("SELECT t.name FROM sqlite_master AS t WHERE t.type = 'table' AND NOT EXISTS "
                                             "(SELECT 1 FROM sqlite_master AS v WHERE v.sql LIKE 'CREATE VIRTUAL TABLE%' "
                                             "AND (t.name = v.name OR t.name LIKE v.name || '\\_%' ESCAPE '\\')) ORDER BY t.name"));
        while (q.next())
            tables << q.value(0).toString();
    }
    for (const QString &t : tables) {
        out << QStringLiteral("[%1]").arg(t);
        QSqlQuery q = db->run(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(t));
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            out << row.join(QLatin1Char('|'));
        }
    }
    db->close();
    return out.join(QLatin1Char('\n'));
}

bool damagePage(const QString &file, int page)
{
    QFile f(file);
    const QByteArray header = f.open(QIODevice::ReadWrite) ? f.read(18) : QByteArray();
    if (header.size() < 18)
        return false;
    int pageSize = (static_cast<unsigned char>(header[16]) << 8) | static_cast<unsigned char>(header[17]);
    if (pageSize == 1)
        pageSize = 65536;
    // Keep the first bytes of the first page (the file still says what it is).
    const int keep = page == 1 ? 100 : 0;
    if (f.size() < qint64(page) * pageSize || !f.seek(qint64(page - 1) * pageSize + keep))
        return false;
    return f.write(QByteArray(pageSize - keep, '\xff')) == pageSize - keep && f.flush();
}

int rootPage(const QString &file, const QString &name)
{
    return Database::openSeparate(file)->readRows(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"), {name})
        .rows.value(0).value(0).toInt();
}

bool changeBehindIndex(const QString &file, const QString &index, const QString &sql)
{
    // Each step on a connection of its own, so that each reads the schema
    // the step before left.
    const auto run = [&](const QString &statements) {
        sqlite3 *db = nullptr;
        const bool ok = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
            && sqlite3_exec(db, statements.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    };
    // For the while, the index holds the rows of no condition: it takes in
    // no row, and gives up none.
    const QString quoted = QStringLiteral("'%1'").arg(QString(index).replace(QLatin1Char('\''), QStringLiteral("''")));
    const QString never = QStringLiteral(" WHERE 0");
    return run(QStringLiteral("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = sql || '%1' WHERE name = %2")
                   .arg(never, quoted))
        && run(sql)
        && run(QStringLiteral("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = substr(sql, 1, length(sql) - %1) "
                              "WHERE name = %2")
                   .arg(never.size())
                   .arg(quoted));
}

QStringList titlesOf(Recordset &rs, const QString &field)
{
    QStringList out;
    for (int i = 0; i < rs.RecordCount(); ++i)
        out << rs.valueAt(i, field).toString();
    return out;
}

int errorNumber(const std::function<void()> &work, QString *description)
{
    try {
        work();
    } catch (const RuntimeError &e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

QString helperProgram() { return QStringLiteral(TARVELA_TESTHELPER); }

void closeAllWindows()
{
    for (int pass = 0; pass < 3; ++pass) {
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget *w : widgets) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            w->hide();
            w->deleteLater();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

void addResetHook(std::function<void()> hook) { resetHooks().push_back(std::move(hook)); }

QStringList shownTexts()
{
    QStringList out;
    for (const auto &s : MessageBox::shown())
        out << s.text;
    return out;
}

QStringList shownTitles()
{
    QStringList out;
    for (const auto &s : MessageBox::shown())
        out << s.title;
    return out;
}

MessageBox::Shown shownLast()
{
    return MessageBox::shown().isEmpty() ? MessageBox::Shown{QString(), QString(), MessageBox::OkOnly, MessageBox::NoIcon, MessageBox::Ok}
                                         : MessageBox::shown().last();
}

} // namespace TestEnv

void TestCase::init()
{
    g_root = std::make_unique<QTemporaryDir>();
    QVERIFY(g_root->isValid());
    QDir().mkpath(TestEnv::programFolder());
    QDir().mkpath(TestEnv::configFolder());
    QDir().mkpath(TestEnv::driveA());
    qputenv("TARVELA_HOME", TestEnv::programFolder().toUtf8());
    qputenv("XDG_CONFIG_HOME", TestEnv::configFolder().toUtf8());
    qputenv("TARVELA_DRIVE_A", TestEnv::driveA().toUtf8());
    Platform::setTestMode(true);
    Platform::resetProgramEnded();
    Platform::clearPauses();
    MessageBox::clearShown();
    InputBox::clear();
    FileDialogs::clear();
    Shell::clear();
    Sound::clear();
    FileOps::clearDenied();
    Clock::set(TestEnv::StartOfTest);
    Settings::resetForTests();
    Database::setBusyTimeout(Database::DefaultBusyTimeout);
}

void TestCase::cleanup()
{
    TestEnv::closeAllWindows();
    // The program ends: its connections and its folder's lock go with it.
    Database::closeAll();
    ProgramLock::release();
    Compaction::setCopyHook({});
    for (auto &hook : resetHooks())
        hook();
    FileOps::clearDenied();
    Platform::resetProgramEnded();
    MessageBox::clearShown();
    Clock::reset();
    g_root.reset();
}

namespace TestRegistry {
int add(std::function<QObject *()> factory)
{
    factories().push_back(std::move(factory));
    return static_cast<int>(factories().size());
}
} // namespace TestRegistry

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    Platform::setTestMode(true);
    int failures = 0;
    for (auto &factory : factories()) {
        std::unique_ptr<QObject> test(factory());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
