#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/clsTarvelaDB.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <fcntl.h>
#include <sys/stat.h>

// The program's one connection to its database file: shared by every open,
// checked at open, given its indexes, and honest about a file that was
// moved or replaced under it.
class ConnectionTest : public TestCase
{
    Q_OBJECT

    static QStringList indexNames(const QString &file)
    {
        auto db = Database::openSeparate(file);
        QStringList names;
        {
            QSqlQuery q = db->run("SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite_%' ORDER BY name");
            while (q.next())
                names << q.value(0).toString();
        }
        db->close();
        return names;
    }

    static QStringList schemaIndexNames()
    {
        QStringList names;
        for (const Schema::Index &i : Schema::indexes())
            names << i.name;
        names.sort();
        return names;
    }

    static QString plan(Database &db, const QString &sql, const QVariantList &params)
    {
        QSqlQuery q = db.run("EXPLAIN QUERY PLAN " + sql, params);
        QStringList steps;
        while (q.next())
            steps << q.value(3).toString();
        return steps.join(" / ");
    }

    // Makes a database file whose one semester is called `title`.
    static void makeFileWithSemester(const QString &folder, const QString &title)
    {
        QDir().mkpath(folder);
        clsTarvelaDB creator;
        QVERIFY(creator.Create_Tarvela_DB(folder));
        auto db = Database::openSeparate(folder + "/tarvela.mdb");
        db->execute("INSERT INTO Semesters (Title) VALUES (?)", {title});
        db->close();
    }

    // The file's modification time, and putting it back (a change no
    // program writing through the engine makes).
    static bool modifiedAt(const QString &file, struct timespec &when)
    {
        struct stat st {};
        if (::stat(QFile::encodeName(file).constData(), &st) != 0)
            return false;
        when = st.st_mtim;
        return true;
    }
    static bool setModified(const QString &file, const struct timespec &when)
    {
        const struct timespec times[2] = {when, when};
        return ::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0) == 0;
    }

private Q_SLOTS:
    void aFileLeftAsItWasCheckedIsNotReadWholeAgain()
    {
        const QString path = TestEnv::databasePath();
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(60);
        Database::open(path)->close(); // checked whole at its first open
        Database::closeAll();           // and closed: remembered so
        struct timespec closed {};
        QVERIFY(modifiedAt(path, closed));
        // Damage that leaves the file's size and time as they were: its
        // tables and fields are whole, and its pages are not read at open.
        QVERIFY(TestEnv::damagePage(path, 3));
        QVERIFY(setModified(path, closed));
        QCOMPARE(TestEnv::errorNumber([&] { Database::open(path); }), 0);
        // The engine meets the damage: the file is read whole at the next open.
        QVERIFY(Database::closeConnection(path));
        QCOMPARE(TestEnv::errorNumber([&] {
                     auto db = Database::open(path);
                     for (const QVector<QVariant> &table : db->readRows("SELECT name FROM sqlite_master WHERE type = 'table'").rows)
                         db->readRows(QString("SELECT * FROM \"%1\"").arg(table.first().toString()));
                 }),
                 int(Err::NotADatabase));
        Database::closeAll();
        QVERIFY(setModified(path, closed));
        QCOMPARE(TestEnv::errorNumber([&] { Database::open(path); }), int(Err::NotADatabase));
    }

    void aFileChangedSinceItWasClosedIsReadWhole()
    {
        const QString path = TestEnv::databasePath();
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(60);
        Database::open(path)->close();
        Database::closeAll();
        // Another program writes to it (or a run of the program ends without
        // closing it): the next open reads every page.
        TestEnv::exec("UPDATE Assignments SET AssignmentTitle = 'Changed' WHERE ID = (SELECT min(ID) FROM Assignments)");
        struct timespec changed {};
        QVERIFY(modifiedAt(path, changed));
        QVERIFY(TestEnv::damagePage(path, 3));
        QVERIFY(setModified(path, changed));
        QCOMPARE(TestEnv::errorNumber([&] { Database::open(path); }), int(Err::NotADatabase));
    }

    void everyOpenSharesOneConnection()
    {
        TestEnv::createDatabase();
        auto first = Database::open(TestEnv::databasePath());
        // A table of the connection's own is seen only through that connection.
        first->execute("CREATE TEMP TABLE mark (x)");
        auto second = Database::open(TestEnv::programFolder() + "/TARVELA.MDB"); // the same file, whatever the case
        QCOMPARE(TestEnv::errorNumber([&] { second->execute("INSERT INTO mark VALUES (1)"); }), 0);
        // Closing one window's own database leaves the connection to the others.
        first->close();
        QVERIFY(!first->isOpen());
        QVERIFY(second->isOpen());
        QCOMPARE(TestEnv::errorNumber([&] { first->execute("SELECT 1"); }), Err::ObjectVariableNotSet);
        auto third = Database::open(TestEnv::databasePath());
        QSqlQuery q = third->run("SELECT count(*) FROM mark");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        // Another program's connection does not see it.
        auto other = TestEnv::open();
        QCOMPARE(TestEnv::errorNumber([&] { other->execute("SELECT * FROM mark"); }), 3078);
    }

    void aNewFileHasTheIndexesAndTheQueriesUseThem()
    {
        TestEnv::createDatabase();
        QCOMPARE(indexNames(TestEnv::databasePath()), schemaIndexNames());
        auto db = Database::open(TestEnv::databasePath());
        const QString classClick = plan(*db, "SELECT * From Assignments WHERE Class_ID = ? ORDER BY DateDue", {1});
        QVERIFY2(classClick.contains("idxAssignmentsClassDue") && !classClick.contains("TEMP B-TREE"), qPrintable(classClick));
        const QString tree = plan(*db, "SELECT * From Classes WHERE Semester_ID = ?", {1});
        QVERIFY2(tree.contains("idxClassesSemester"), qPrintable(tree));
        const QString quiz = plan(*db, "SELECT * FROM QuizItems WHERE QUIZ_ID = ?", {1});
        QVERIFY2(quiz.contains("idxQuizItemsQuiz"), qPrintable(quiz));
        const QString day = plan(*db, "SELECT * FROM CalItems WHERE date(ItemDate) = ? ORDER BY ID", {"2026-03-01"});
        QVERIFY2(day.contains("idxCalItemsDay"), qPrintable(day));
        const QString due = plan(*db, "SELECT * FROM Assignments WHERE date(DateDue) = ? ORDER BY ID", {"2026-03-01"});
        QVERIFY2(due.contains("idxAssignmentsDueDay"), qPrintable(due));
        const QString todo = plan(*db, "SELECT * FROM Tasks WHERE date(\"Date\") = ? ORDER BY TaskID", {"2026-03-01"});
        QVERIFY2(todo.contains("idxTasksDay"), qPrintable(todo));
        // Today's events read one day of each table the same way.
        const QString todayDue = plan(*db, "SELECT \"ID\", \"DateDue\", \"AssignmentTitle\" FROM \"Assignments\" WHERE date(\"DateDue\") = ? ORDER BY \"ID\"", {"2026-03-01"});
        QVERIFY2(todayDue.contains("idxAssignmentsDueDay"), qPrintable(todayDue));
        const QString todayItems = plan(*db, "SELECT \"ID\", \"ItemDate\", \"ItemText\" FROM \"CalItems\" WHERE date(\"ItemDate\") = ? ORDER BY \"ID\"", {"2026-03-01"});
        QVERIFY2(todayItems.contains("idxCalItemsDay"), qPrintable(todayItems));
        const QString todayTasks = plan(*db, "SELECT \"TaskID\", \"Date\", \"Details\" FROM \"Tasks\" WHERE date(\"Date\") = ? ORDER BY \"TaskID\"", {"2026-03-01"});
        QVERIFY2(todayTasks.contains("idxTasksDay"), qPrintable(todayTasks));
    }

    void anOldFileGetsItsIndexesAtOpen()
    {
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(30);
        {
            auto old = TestEnv::open();
            for (const Schema::Index &i : Schema::indexes())
                old->execute(QString("DROP INDEX \"%1\"").arg(i.name));
            old->close();
        }
        QVERIFY(indexNames(TestEnv::databasePath()).isEmpty());
        const QString before = TestEnv::contents(TestEnv::databasePath());
        Database::open(TestEnv::databasePath())->close();
        QCOMPARE(indexNames(TestEnv::databasePath()), schemaIndexNames());
        // The tables and their rows are as they were.
        QCOMPARE(TestEnv::contents(TestEnv::databasePath()), before);
    }

    void aFileThatIsNotWholeIsRefusedNamingWhatIsMissing_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("named");
        QTest::newRow("table") << QStringList{"DROP TABLE Classes"} << 3078 << "the table Classes is missing";
        QTest::newRow("field") << QStringList{"ALTER TABLE Classes DROP COLUMN ClassName"} << int(Err::ItemNotFound)
                               << "the field ClassName of the table Classes is missing";
        QTest::newRow("several") << QStringList{"ALTER TABLE Semesters RENAME COLUMN Title TO Name", "DROP TABLE Tasks"} << 3078
                                 << "the field Title of the table Semesters is missing; the table Tasks is missing";
    }

    void aFileThatIsNotWholeIsRefusedNamingWhatIsMissing()
    {
        QFETCH(QStringList, changes);
        QFETCH(int, number);
        QFETCH(QString, named);
        TestEnv::createDatabase();
        for (const QString &c : changes)
            TestEnv::exec(c);
        QString description;
        QCOMPARE(TestEnv::errorNumber([] { Database::open(TestEnv::databasePath()); }, &description), number);
        QCOMPARE(description, QString("The database file %1 is not a whole Tarvela database: %2.").arg(TestEnv::databasePath(), named));
        // Refused again at the next open: nothing was kept of the first.
        QCOMPARE(TestEnv::errorNumber([] { Database::open(TestEnv::databasePath()); }), number);
    }

    void aDamagedFileIsRefused()
    {
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(60);
        QVERIFY(TestEnv::damagePage(TestEnv::databasePath(), 3));
        QString description;
        QCOMPARE(TestEnv::errorNumber([] { Database::open(TestEnv::databasePath()); }, &description), Err::NotADatabase);
        QVERIFY2(description.startsWith("The database file " + TestEnv::databasePath() + " is damaged"), qPrintable(description));
    }

    void aMovedOrDeletedFileIsNotCalledReadOnly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("moved") << "moved";
        QTest::newRow("deleted") << "deleted";
        QTest::newRow("replaced") << "replaced";
    }

    void aMovedOrDeletedFileIsNotCalledReadOnly()
    {
        QFETCH(QString, how);
        TestEnv::createDatabase();
        auto db = Database::open(TestEnv::databasePath());
        db->execute("INSERT INTO Semesters (Title) VALUES ('Fall')");
        if (how == "moved") {
            QVERIFY(QFile::rename(TestEnv::databasePath(), TestEnv::root() + "/elsewhere.mdb"));
        } else if (how == "deleted") {
            QVERIFY(QFile::remove(TestEnv::databasePath()));
        } else {
            QVERIFY(QFile::copy(TestEnv::databasePath(), TestEnv::root() + "/copy.mdb"));
            QVERIFY(QFile::remove(TestEnv::databasePath()));
            QVERIFY(QFile::rename(TestEnv::root() + "/copy.mdb", TestEnv::databasePath()));
        }
        QString description;
        const int number = TestEnv::errorNumber([&] { db->execute("INSERT INTO Semesters (Title) VALUES ('Spring')"); }, &description);
        QCOMPARE(number, Err::CannotOpen);
        QVERIFY2(description.contains("was moved, replaced or deleted by another program while Tarvela had it open"), qPrintable(description));
        QVERIFY2(!description.contains("read-only"), qPrintable(description));
    }

    void aReplacedFileIsOpenedAfreshAndOldHandlesAreStopped()
    {
        TestEnv::createDatabase();
        auto db = Database::open(TestEnv::databasePath());
        db->execute("INSERT INTO Semesters (Title) VALUES ('Mine')");
        makeFileWithSemester(TestEnv::root() + "/other", "Theirs");
        QVERIFY(QFile::remove(TestEnv::databasePath()));
        QVERIFY(QFile::rename(TestEnv::root() + "/other/tarvela.mdb", TestEnv::databasePath()));
        auto fresh = Database::open(TestEnv::databasePath());
        auto rs = fresh->openRecordset("Semesters", Database::Snapshot);
        QCOMPARE(rs->value("Title").toString(), QString("Theirs"));
        // What the old handle read belongs to the file that is gone.
        QVERIFY(!db->isOpen());
        QString description;
        QCOMPARE(TestEnv::errorNumber([&] { db->execute("INSERT INTO Semesters (Title) VALUES ('Lost')"); }, &description),
                 Err::CannotOpen);
        QVERIFY(description.contains("moved, replaced or deleted"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters WHERE Title = 'Lost'").toInt(), 0);
    }

    void aTransactionLeftOpenEndsWithItsHandle()
    {
        TestEnv::createDatabase();
        {
            auto unfinished = Database::open(TestEnv::databasePath());
            unfinished->beginTrans();
            unfinished->execute("INSERT INTO Semesters (Title) VALUES ('Half done')");
            // Raised out of the work: the handle goes without a commit.
        }
        auto next = Database::open(TestEnv::databasePath());
        next->execute("INSERT INTO Semesters (Title) VALUES ('Done')");
        // The next write is in the file at once, and the unfinished one is not.
        QCOMPARE(TestEnv::scalar("SELECT group_concat(Title) FROM Semesters").toString(), QString("Done"));
    }

    void closingTheConnectionLetsHandlesCarryOn()
    {
        TestEnv::createDatabase();
        auto db = Database::open(TestEnv::databasePath());
        auto rs = db->openRecordset("Semesters");
        Database::closeConnection(TestEnv::databasePath());
        // The file can now be replaced without this program holding it.
        QVERIFY(db->isOpen());
        rs->AddNew();
        rs->setValue("Title", "Later");
        rs->Update();
        QCOMPARE(TestEnv::scalar("SELECT Title FROM Semesters").toString(), QString("Later"));
    }
};

TARVELA_TEST_CLASS(ConnectionTest)
#include "tst_connection.moc"
