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

using namespace TestEnv;

// The program's one connection to its database file: shared by every open,
// checked at open, given its indexes, and honest about a file that was
// moved or replaced under it.
class ConnectionTest : public TestCase
{
    Q_OBJECT

    static QStringList indexNames()
    {
        auto db = open();
        QStringList names;
        for (const QVector<QVariant> &row :
             db->readRows("SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite_%' ORDER BY name").rows)
            names << row.first().toString();
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

    // A file with rows, opened (so checked whole) and closed by the program;
    // its modification time then.
    static struct timespec checkedAndClosed()
    {
        createDatabase();
        addRowsAndGaps(60);
        Database::open(databasePath())->close();
        Database::closeAll(); // remembered as checked
        struct stat st {};
        if (::stat(QFile::encodeName(databasePath()).constData(), &st) != 0)
            QTest::qFail("no file", __FILE__, __LINE__);
        return st.st_mtim;
    }

    // Damages a page of the file and puts its modification time back (a
    // change no program writing through the engine makes).
    static bool damageAt(const struct timespec &when)
    {
        const struct timespec times[2] = {when, when};
        return damagePage(databasePath(), 3)
            && ::utimensat(AT_FDCWD, QFile::encodeName(databasePath()).constData(), times, 0) == 0;
    }

    static int errorOfOpen(QString *description = nullptr)
    {
        return errorNumber([] { Database::open(databasePath()); }, description);
    }

private Q_SLOTS:
    void aFileLeftAsItWasCheckedIsNotReadWholeAgain()
    {
        const struct timespec closed = checkedAndClosed();
        // Damage that leaves the file's size and time as they were: its
        // tables and fields are whole, and its pages are not read at open.
        QVERIFY(damageAt(closed));
        QCOMPARE(errorOfOpen(), 0);
        // The engine meets the damage: the file is read whole at the next open.
        QVERIFY(Database::closeConnection(databasePath()));
        QCOMPARE(errorNumber([&] {
                     auto db = Database::open(databasePath());
                     for (const QVector<QVariant> &table : db->readRows("SELECT name FROM sqlite_master WHERE type = 'table'").rows)
                         db->readRows(QString("SELECT * FROM \"%1\"").arg(table.first().toString()));
                 }),
                 int(Err::NotADatabase));
        Database::closeAll();
        QVERIFY(damageAt(closed));
        QCOMPARE(errorOfOpen(), int(Err::NotADatabase));
    }

    void aFileChangedSinceItWasClosedIsReadWhole()
    {
        checkedAndClosed();
        // Another program writes to it (or a run of the program ends without
        // closing it): the next open reads every page.
        exec("UPDATE Assignments SET AssignmentTitle = 'Changed' WHERE ID = (SELECT min(ID) FROM Assignments)");
        struct stat changed {};
        QVERIFY(::stat(QFile::encodeName(databasePath()).constData(), &changed) == 0);
        QVERIFY(damageAt(changed.st_mtim));
        QCOMPARE(errorOfOpen(), int(Err::NotADatabase));
    }

    void everyOpenSharesOneConnection()
    {
        createDatabase();
        auto first = Database::open(databasePath());
        // A table of the connection's own is seen only through that connection.
        first->execute("CREATE TEMP TABLE mark (x)");
        auto second = Database::open(programFolder() + "/TARVELA.MDB"); // the same file, whatever the case
        QCOMPARE(errorNumber([&] { second->execute("INSERT INTO mark VALUES (1)"); }), 0);
        // Closing one window's own database leaves the connection to the others.
        first->close();
        QVERIFY(!first->isOpen());
        QVERIFY(second->isOpen());
        QCOMPARE(errorNumber([&] { first->execute("SELECT 1"); }), Err::ObjectVariableNotSet);
        auto third = Database::open(databasePath());
        QCOMPARE(third->readRows("SELECT count(*) FROM mark").rows.first().first().toInt(), 1);
        // Another program's connection does not see it.
        auto other = open();
        QCOMPARE(errorNumber([&] { other->execute("SELECT * FROM mark"); }), 3078);
    }

    void aNewFileHasTheIndexesAndTheQueriesUseThem()
    {
        createDatabase();
        QCOMPARE(indexNames(), schemaIndexNames());
        auto db = Database::open(databasePath());
        const QString day = "2026-03-01";
        // The class click, the tree, a quiz, a day of the calendar, and the
        // one day of each table today's events read.
        const QString written = Schema::storedDateCondition("DateDue");
        const QList<std::tuple<QString, QVariantList, QString>> uses = {
            {"SELECT * From Assignments WHERE Class_ID = ? ORDER BY DateDue", {1}, "idxAssignmentsClassDue"},
            {"SELECT * From Classes WHERE Semester_ID = ?", {1}, "idxClassesSemester"},
            {"SELECT * FROM QuizItems WHERE QUIZ_ID = ?", {1}, "idxQuizItemsQuiz"},
            {"SELECT * FROM CalItems WHERE date(ItemDate) = ? ORDER BY ID", {day}, "idxCalItemsDay"},
            {"SELECT * FROM Assignments WHERE date(DateDue) = ? ORDER BY ID", {day}, "idxAssignmentsDueDay"},
            {"SELECT * FROM Tasks WHERE date(\"Date\") = ? ORDER BY TaskID", {day}, "idxTasksDay"},
            {"SELECT \"ID\", \"DateDue\", \"AssignmentTitle\" FROM \"Assignments\" WHERE date(\"DateDue\") = ? ORDER BY \"ID\"", {day},
             "idxAssignmentsDueDay"},
            {"SELECT \"ID\", \"ItemDate\", \"ItemText\" FROM \"CalItems\" WHERE date(\"ItemDate\") = ? ORDER BY \"ID\"", {day},
             "idxCalItemsDay"},
            {"SELECT \"TaskID\", \"Date\", \"Details\" FROM \"Tasks\" WHERE date(\"Date\") = ? ORDER BY \"TaskID\"", {day}, "idxTasksDay"},
            // The calendar's marks: the next month and day of the due dates
            // written as the store writes them, the due dates in other
            // forms, the items' months and days.
            {"SELECT min(substr(DateDue, 6, 5)) FROM Assignments WHERE " + written + " AND substr(DateDue, 6, 5) > ?", {"03-01"},
             "idxAssignmentsDueMonthDay"},
            {"SELECT DISTINCT DateDue FROM Assignments WHERE NOT " + written, {}, "idxAssignmentsDueOtherForms"},
            {"SELECT DISTINCT Month, Day FROM CalItems", {}, "idxCalItemsMonthDay"}};
        const auto plan = [&](const QString &sql, const QVariantList &params) {
            QStringList steps;
            for (const QVector<QVariant> &row : db->readRows("EXPLAIN QUERY PLAN " + sql, params).rows)
                steps << row[3].toString();
            return steps.join(" / ");
        };
        for (const auto &[sql, params, index] : uses) {
            const QString steps = plan(sql, params);
            QVERIFY2(steps.contains(index) && !steps.contains("TEMP B-TREE"), qPrintable(sql + ": " + steps));
        }
        // The look-up at open for yes/no fields left Null reads no table whole.
        const QString nulls = "SELECT 1 FROM \"Assignments\" WHERE \"Completed\" IS NULL LIMIT 1";
        QVERIFY2(plan(nulls, {}).contains("idxAssignmentsCompletedNull"), qPrintable(plan(nulls, {})));
    }

    void anOldFileGetsItsIndexesAtOpen()
    {
        createDatabase();
        addRowsAndGaps(30);
        const Schema::TextIndex &text = Schema::assignmentText();
        for (const Schema::Index &i : Schema::indexes())
            exec(QString("DROP INDEX \"%1\"").arg(i.name));
        for (const auto &part : Schema::definitions(text))
            exec(QString("DROP %1 \"%2\"").arg(part.first == text.name ? "TABLE" : "TRIGGER", part.first));
        QVERIFY(indexNames().isEmpty());
        QVERIFY(!Schema::isWhole(text, open()->schemaObjects()));
        const QString before = contents(databasePath());
        Database::open(databasePath())->close();
        QCOMPARE(indexNames(), schemaIndexNames());
        QVERIFY(Schema::isWhole(text, open()->schemaObjects()));
        // The tables and their rows are as they were.
        QCOMPARE(contents(databasePath()), before);
        // A part of the text index gone, or made otherwise: it is made
        // afresh, from the rows.
        const QString trigger = Schema::definitions(text).last().first;
        exec(QString("DROP TRIGGER \"%1\"").arg(trigger));
        exec(QString("CREATE TRIGGER \"%1\" AFTER UPDATE ON Assignments BEGIN SELECT 1; END").arg(trigger));
        Database::closeAll();
        Database::open(databasePath())->close();
        QVERIFY(Schema::isWhole(text, open()->schemaObjects()));
        QCOMPARE(scalar(QString("SELECT count(*) FROM \"%1\" WHERE \"%1\" MATCH '\"ork\"'").arg(text.name)).toInt(), 10);
        QCOMPARE(contents(databasePath()), before);
    }

    void aFileThatIsNotWholeIsRefusedNamingWhatIsMissing_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("named");
        const QString missing = "is not a whole Tarvela database: ";
        QTest::newRow("table") << QStringList{"DROP TABLE Classes"} << 3078 << missing + "the table Classes is missing.";
        QTest::newRow("field") << QStringList{"ALTER TABLE Classes DROP COLUMN ClassName"} << int(Err::ItemNotFound)
                               << missing + "the field ClassName of the table Classes is missing.";
        QTest::newRow("several") << QStringList{"ALTER TABLE Semesters RENAME COLUMN Title TO Name", "DROP TABLE Tasks"} << 3078
                                 << missing + "the field Title of the table Semesters is missing; the table Tasks is missing.";
        QTest::newRow("damaged page") << QStringList() << int(Err::NotADatabase) << "is damaged";
    }

    void aFileThatIsNotWholeIsRefusedNamingWhatIsMissing()
    {
        QFETCH(QStringList, changes);
        QFETCH(int, number);
        QFETCH(QString, named);
        createDatabase();
        addRowsAndGaps(60);
        for (const QString &c : changes)
            exec(c);
        if (changes.isEmpty())
            QVERIFY(damagePage(databasePath(), 3));
        QString description;
        QCOMPARE(errorOfOpen(&description), number);
        QVERIFY2(description.startsWith("The database file " + databasePath() + " " + named), qPrintable(description));
        // Refused again at the next open: nothing was kept of the first.
        QCOMPARE(errorOfOpen(), number);
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
        createDatabase();
        auto db = Database::open(databasePath());
        db->execute("INSERT INTO Semesters (Title) VALUES ('Fall')");
        const QString elsewhere = root() + "/elsewhere.mdb";
        if (how == "replaced")
            QVERIFY(QFile::copy(databasePath(), elsewhere));
        QVERIFY(how == "moved" ? QFile::rename(databasePath(), elsewhere) : QFile::remove(databasePath()));
        if (how == "replaced")
            QVERIFY(QFile::rename(elsewhere, databasePath()));
        QString description;
        QCOMPARE(errorNumber([&] { db->execute("INSERT INTO Semesters (Title) VALUES ('Spring')"); }, &description), Err::CannotOpen);
        QVERIFY2(description.contains("was moved, replaced or deleted by another program while Tarvela had it open"),
                 qPrintable(description));
        QVERIFY2(!description.contains("read-only"), qPrintable(description));
    }

    void aReplacedFileIsOpenedAfreshAndOldHandlesAreStopped()
    {
        createDatabase();
        auto db = Database::open(databasePath());
        db->execute("INSERT INTO Semesters (Title) VALUES ('Mine')");
        // Another file put in its place.
        const QString other = root() + "/other";
        QVERIFY(QDir().mkpath(other));
        clsTarvelaDB creator;
        QVERIFY(creator.Create_Tarvela_DB(other));
        QVERIFY(QFile::remove(databasePath()));
        QVERIFY(QFile::rename(other + "/tarvela.mdb", databasePath()));
        exec("INSERT INTO Semesters (Title) VALUES ('Theirs')");
        auto fresh = Database::open(databasePath());
        QCOMPARE(fresh->openRecordset("Semesters", Database::Snapshot)->value("Title").toString(), QString("Theirs"));
        // What the old handle read belongs to the file that is gone.
        QVERIFY(!db->isOpen());
        QCOMPARE(errorNumber([&] { db->execute("INSERT INTO Semesters (Title) VALUES ('Lost')"); }), Err::CannotOpen);
        QCOMPARE(scalar("SELECT count(*) FROM Semesters WHERE Title = 'Lost'").toInt(), 0);
    }

    void aTransactionLeftOpenEndsWithItsHandle()
    {
        createDatabase();
        {
            auto unfinished = Database::open(databasePath());
            unfinished->beginTrans();
            unfinished->execute("INSERT INTO Semesters (Title) VALUES ('Half done')");
            // Raised out of the work: the handle goes without a commit.
        }
        auto next = Database::open(databasePath());
        next->execute("INSERT INTO Semesters (Title) VALUES ('Done')");
        // The next write is in the file at once, and the unfinished one is not.
        QCOMPARE(scalar("SELECT group_concat(Title) FROM Semesters").toString(), QString("Done"));
    }

    void closingTheConnectionLetsHandlesCarryOn()
    {
        createDatabase();
        auto db = Database::open(databasePath());
        auto rs = db->openRecordset("Semesters");
        Database::closeConnection(databasePath());
        // The file can now be replaced without this program holding it.
        QVERIFY(db->isOpen());
        rs->AddNew();
        rs->setValue("Title", "Later");
        rs->Update();
        QCOMPARE(scalar("SELECT Title FROM Semesters").toString(), QString("Later"));
    }
};

TARVELA_TEST_CLASS(ConnectionTest)
#include "tst_connection.moc"
