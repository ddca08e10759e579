// A second program for the tests: holds a program folder's lock, compacts a
// database again and again, writes rows through the engine, or saves
// settings, as another copy of the program would. Every step is told on
// standard output, one line each.
//
//   tarvela_testhelper lock <folder>              holds the folder until killed
//   tarvela_testhelper compact <folder>           compacts until killed
//   tarvela_testhelper write <file> <prefix>      inserts rows until standard input closes
//   tarvela_testhelper settings <prefix> <count>  saves <count> keys, one save each
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/ProgramLock.h"
#include "platform/Settings.h"
#include "store/clsTarvelaDB.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int holdLock(const QString &folder)
{
    switch (ProgramLock::take(folder).result) {
    case ProgramLock::Result::Taken: say("taken"); break;
    case ProgramLock::Result::HeldByAnother: say("held"); return 1;
    case ProgramLock::Result::OtherComputer: say("other computer"); return 1;
    case ProgramLock::Result::CannotReplace: say("cannot replace"); return 1;
    case ProgramLock::Result::NotPossible: say("impossible"); return 1;
    }
    // Holds it until killed or told to end (standard input closed).
    char c;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
    return 0;
}

int compactForever(const QString &folder)
{
    for (int n = 1;; ++n) {
        clsTarvelaDB db;
        const bool ok = db.Compact_Tarvela_DB(folder);
        say(QByteArray(ok ? "compacted " : "failed ") + QByteArray::number(n));
        MessageBox::clearShown();
    }
}

// Inserts one row per statement (each its own transaction) until standard
// input closes; tells each row the engine committed. A file replaced under
// the connection is opened again by its name.
int writeRows(const QString &file, const QString &prefix)
{
    const QByteArray path = QFile::encodeName(file);
    sqlite3 *db = nullptr;
    auto openDb = [&] {
        if (db)
            sqlite3_close(db);
        db = nullptr;
        if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return false;
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, 10000);
        // Durability is not what this writer tests: its commits need not wait for the disk.
        sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
        return true;
    };
    if (!openDb()) {
        say("cannot open");
        return 2;
    }
    ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    int failures = 0;
    for (int n = 0;;) {
        char c;
        if (::read(STDIN_FILENO, &c, 1) == 0)
            break;
        const QByteArray title = (prefix + QString::number(n)).toUtf8();
        sqlite3_stmt *stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, "INSERT INTO Assignments (Class_ID, AssignmentTitle) VALUES (0, ?)", -1, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_bind_text(stmt, 1, title.constData(), static_cast<int>(title.size()), SQLITE_TRANSIENT);
            rc = sqlite3_step(stmt);
        }
        sqlite3_finalize(stmt);
        if (rc == SQLITE_DONE) {
            say("committed " + title);
            ++n;
            continue;
        }
        say("refused " + QByteArray::number(rc));
        if (++failures > 100000)
            return 3;
        if (rc == SQLITE_READONLY_DBMOVED && !openDb()) {
            say("cannot open");
            return 2;
        }
    }
    sqlite3_close(db);
    say("done");
    return 0;
}

// Saves keys <prefix>0 ... <prefix><count - 1> of the section "Probe", each
// with its own number as its value and with a save of its own.
int saveSettings(const QString &prefix, int count)
{
    int failed = 0;
    for (int n = 0; n < count; ++n)
        failed += Settings::save(Settings::App, QStringLiteral("Probe"), prefix + QString::number(n), QString::number(n)) ? 0 : 1;
    say("saved " + QByteArray::number(count - failed));
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Platform::nameApplication();
    Platform::setTestMode(true); // no box waits for an answer
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("lock"))
        return holdLock(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("compact"))
        return compactForever(args[2]);
    if (args.size() >= 4 && args[1] == QLatin1String("write"))
        return writeRows(args[2], args[3]);
    if (args.size() >= 4 && args[1] == QLatin1String("settings"))
        return saveSettings(args[2], args[3].toInt());
    say("usage: lock <folder> | compact <folder> | write <file> <prefix> | settings <prefix> <count>");
    return 64;
}
