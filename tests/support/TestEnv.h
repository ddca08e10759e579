#pragma once
// What every test stands on: a fresh program folder, settings folder and
// drive A: folder for each test function, dialogs answered from queues, and
// one main() that runs every test class of the executable.
#include "platform/MessageBox.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

class Database;
class Recordset;

namespace TestEnv {

QString root();
QString programFolder();
QString configFolder();
QString driveA();
QString databasePath();

// Where the clock stands when a test begins (a Wednesday morning in term);
// it stays there until the test sets it or moves it on.
inline const QDateTime StartOfTest{QDate(2026, 10, 14), QTime(10, 30, 0)};

// Makes a fresh database with the full schema in the program folder.
void createDatabase();
// Opens the program folder's database on a connection of the test's own,
// as another program would (the program's own connection is not touched).
std::shared_ptr<Database> open();
// Runs a statement on the program folder's database.
void exec(const QString &sql, const QVariantList &params = {});
// The first column of the first row of a query.
QVariant scalar(const QString &sql, const QVariantList &params = {});

// Adds a semester, a class (with its five grade thresholds when given) or an
// assignment straight into the file; returns the new row's key.
int addSemester(const QString &title, const QString &start = QStringLiteral("2026-09-01"),
                const QString &end = QStringLiteral("2026-12-20"));
int addClass(int semesterId, const QString &name, const QVariantList &thresholds = {});
int addAssignment(int classId, const QString &title, const QVariant &max, const QVariant &points,
                  const QString &due = QStringLiteral("2026-10-01"));

// Adds `rows` assignments with long comments in one transaction and deletes
// two of every three, so that the file has space for a compaction to free.
void addRowsAndGaps(int rows);
// Every row of every table of a database file (the key counters included;
// the text index, which holds only what the tables hold, left out),
// as one text: equal texts, equal contents.
QString contents(const QString &file);
// Overwrites one page (counted from 1) of a database file with garbage.
bool damagePage(const QString &file, int page);
// The first page of a table or an index of a database file (0: none).
int rootPage(const QString &file, const QString &name);
// Runs statements on a database file while one of its indexes does not
// follow them, as damage to the file leaves an index behind its table: a
// row inserted is missing from the index, a row deleted stays in it.
bool changeBehindIndex(const QString &file, const QString &index, const QString &sql);
// A field of every row of a recordset, in its order.
QStringList titlesOf(Recordset &rs, const QString &field = QStringLiteral("AssignmentTitle"));
// The number of the run-time error the work raises; 0 when it raises none.
int errorNumber(const std::function<void()> &work, QString *description = nullptr);

// The second program of the tests (see tests/helper).
QString helperProgram();

// Closes and destroys every window, then lets pending deletions run.
void closeAllWindows();

// Work to undo after every test (global state of a subsystem).
void addResetHook(std::function<void()> hook);

// Text of the message boxes shown so far.
QStringList shownTexts();
QStringList shownTitles();
// The last message box shown (an empty record when none was).
MessageBox::Shown shownLast();

} // namespace TestEnv

// Base of the test classes: sets up and tears down the environment around
// every test function.
class TestCase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
};

namespace TestRegistry {
int add(std::function<QObject *()> factory);
}

#define TARVELA_TEST_CLASS(Class) \
    static const int Class##_registered = TestRegistry::add([]() -> QObject * { return new Class; });
