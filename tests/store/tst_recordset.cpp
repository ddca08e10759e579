#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "store/Database.h"
#include "store/KeptRows.h"
#include "store/Recordset.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlQuery>

using namespace TestEnv;

// The recordset: positions, finds, edits, and the values the file keeps.
class RecordsetTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void emptyResultsAndSnapshots()
    {
        createDatabase();
        auto db = open();
        auto rs = db->openRecordset("SELECT * FROM Classes WHERE ClassName = ?", Database::Dynaset, {"none"});
        QVERIFY(rs->isBOF() && rs->isEOF() && !rs->hasCurrentRow());
        QCOMPARE(errorNumber([&] { rs->MoveFirst(); }), Err::NoCurrentRecord);
        QCOMPARE(errorNumber([&] { rs->value("ClassName"); }), Err::NoCurrentRecord);
        QCOMPARE(errorNumber([&] { rs->value("NoSuchField"); }), Err::ItemNotFound);
        QCOMPARE(errorNumber([&] { rs->setValue("ClassName", "x"); }), Err::UpdateWithoutEdit);
        auto snapshot = db->openRecordset("AssignmentTypes", Database::Snapshot);
        QCOMPARE(errorNumber([&] { snapshot->Edit(); }), Err::ReadOnly);
        QCOMPARE(errorNumber([&] { snapshot->AddNew(); }), Err::ReadOnly);
    }

    void movesFindsAndDeletesLikeTheEngine()
    {
        createDatabase();
        for (const char *t : {"Fall", "Winter", "Spring"})
            addSemester(t);
        auto db = open();
        auto rs = db->openRecordset("Semesters");
        QCOMPARE(rs->value("title").toString(), QString("Fall"));
        QVERIFY(rs->FindFirst("Title", "WINTER"));
        QCOMPARE(rs->value("Title").toString(), QString("Winter"));
        QVERIFY(!rs->FindFirst("Title", "Summer"));
        QVERIFY(rs->NoMatch());
        QCOMPARE(rs->value("Title").toString(), QString("Winter")); // a miss keeps the row
        // Deleting every row from the first on, moving to the next each time.
        for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
            rs->Delete();
            QCOMPARE(errorNumber([&] { rs->value("Title"); }), Err::NoCurrentRecord);
        }
        QCOMPARE(scalar("SELECT count(*) FROM Semesters").toInt(), 0);
        QCOMPARE(errorNumber([&] { rs->MoveNext(); }), Err::NoCurrentRecord);
    }

    void valuesRoundTripAndAreChecked()
    {
        createDatabase();
        auto db = open();
        auto rs = db->openRecordset("Assignments");
        rs->AddNew();
        const QString title = QString::fromUtf8("Women's \"Studies\" — Été 1");
        rs->setValue("AssignmentTitle", title);
        rs->setValue("DateDue", "12/9/26");
        rs->setValue("MaxPointsPossible", " 100 ");
        rs->setValue("Completed", true);
        rs->Update();
        rs->MoveLast();
        QCOMPARE(rs->value("AssignmentTitle").toString(), title);
        QCOMPARE(rs->value("DateDue").toDate(), QDate(2026, 12, 9));
        QCOMPARE(rs->value("MaxPointsPossible").toInt(), 100);
        QCOMPARE(rs->value("Completed").toBool(), true);
        QVERIFY(rs->value("ActualPoints").isNull() && rs->value("Comments").isNull());
        QCOMPARE(scalar("SELECT DateDue FROM Assignments").toString(), QString("2026-12-09"));

        // A date that is none is refused; a time alone is taken.
        rs->Edit();
        QCOMPARE(errorNumber([&] { rs->setValue("DateDue", "next week"); }), Err::TypeMismatch);
        rs->setValue("DateDue", "3:00 PM");
        rs->Update();
        QCOMPARE(rs->value("DateDue").toTime(), QTime(15, 0));
    }

    void rowsAreReadAsTheEngineHoldsThem()
    {
        createDatabase();
        auto db = Database::open(databasePath());
        db->execute("CREATE TEMP TABLE kinds (n, r, t, b, e)");
        db->execute("INSERT INTO kinds VALUES (5000000000, 2.5, 'Caf\u00e9 \"quoted\"', x'00ff', NULL)");
        const Database::Rows read = db->readRows("SELECT n, r, t, b, e, n AS \"a.b\", t || '!' FROM kinds");
        QCOMPARE(read.columns, (QStringList{"n", "r", "t", "b", "e", "a.b", "t || '!'"}));
        QCOMPARE(read.rows.size(), 1);
        const QVector<QVariant> &row = read.rows.first();
        QCOMPARE(QString("%1 %2 %3 %4").arg(row[0].typeName(), row[1].typeName()).arg(row[0].toLongLong()).arg(row[1].toDouble()),
                 QString("qlonglong double 5000000000 2.5"));
        QCOMPARE(row[2], QVariant(QString::fromUtf8("Caf\u00e9 \"quoted\"")));
        QCOMPARE(row[3], QVariant(QByteArray("\x00\xff", 2)));
        QVERIFY(row[4].isNull());
        QCOMPARE(row[6].toString(), QString::fromUtf8("Caf\u00e9 \"quoted\"!"));
        // Parameters are bound as the driver binds them: an empty text is
        // Null, a date or a time is text, a yes/no is a number.
        const Database::Rows types = db->readRows("SELECT typeof(?), typeof(?), ?, typeof(?), ?, typeof(?), ?",
                                                  {QString(), QString(""), QDate(2026, 3, 1), true, QTime(13, 5), qlonglong(7),
                                                   QDateTime(QDate(2026, 3, 1), QTime(8, 0))});
        QStringList bound;
        for (const QVariant &v : types.rows.first())
            bound << v.toString();
        QCOMPARE(bound, QStringList({"null", "text", "2026-03-01", "integer", "13:05:00.000", "integer", "2026-03-01T08:00:00.000"}));
        // Failures are raised as every other statement's.
        QString byRows, byRun;
        const int rowsNumber = errorNumber([&] { db->readRows("SELECT * FROM NoSuchTable"); }, &byRows);
        QCOMPARE(errorNumber([&] { db->run("SELECT * FROM NoSuchTable"); }, &byRun), rowsNumber);
        QVERIFY(rowsNumber != 0);
        QCOMPARE(byRows, byRun);
        QVERIFY2(byRows.contains("no such table"), qPrintable(byRows));
        QCOMPARE(errorNumber([&] { db->readRows("SELECT ?", {}); }), Err::SqlSyntax);
    }

    void heldRowsStandForTheFileUntilSomethingElseWrites()
    {
        createDatabase();
        const int cls = addClass(addSemester("Fall"), "Biology");
        addAssignment(cls, "Lab 1", 10, 5);
        addAssignment(cls, "Lab 2", 10, 6);
        auto db = Database::open(databasePath());
        const QString all = "SELECT * FROM Assignments ORDER BY ID";
        auto rs = db->openRecordset(all);
        QVERIFY(rs->holdsStoredRows() && rs->unchangedSinceRead());
        // Its own writes: what it holds is still what the file holds, but a
        // new read could give the rows otherwise.
        rs->Edit();
        rs->setValue("ActualPoints", 7);
        rs->Update();
        QVERIFY(rs->holdsStoredRows() && !rs->unchangedSinceRead());
        rs->AddNew();
        rs->setValue("AssignmentTitle", "Lab 3");
        rs->Update();
        rs->MoveFirst();
        rs->Delete();
        QVERIFY(rs->holdsStoredRows());
        // Another handle on the same connection writes; its own write then
        // does not make it whole again.
        Database::open(databasePath())->execute("UPDATE Assignments SET ActualPoints = 1 WHERE AssignmentTitle = 'Lab 2'");
        QVERIFY(!rs->holdsStoredRows());
        rs->MoveFirst();
        rs->Edit();
        rs->setValue("ActualPoints", 2);
        rs->Update();
        QVERIFY(!rs->holdsStoredRows());
        // Another program writes.
        auto fresh = db->openRecordset(all);
        QVERIFY(fresh->holdsStoredRows());
        exec("UPDATE Assignments SET MaxPointsPossible = 20");
        QVERIFY(!fresh->holdsStoredRows() && !fresh->unchangedSinceRead());
        // The connection opened again (a compaction): nothing read before counts.
        auto before = db->openRecordset(all);
        QVERIFY(before->unchangedSinceRead());
        QVERIFY(Database::closeConnection(databasePath()));
        QVERIFY(!before->unchangedSinceRead() && !before->holdsStoredRows());
    }

    void keptRowsAreReadAgainOnlyAfterAWrite()
    {
        createDatabase();
        addSemester("Fall");
        addSemester("Spring");
        KeptRows kept;
        const QString all = "SELECT * FROM Semesters";
        const auto titles = [&] { return titlesOf(kept.read(databasePath(), all), "Title"); };
        Recordset *first = &kept.read(databasePath(), all);
        first->MoveLast();
        QCOMPARE(titles(), (QStringList{"Fall", "Spring"}));
        // Nothing written: the same rows, from their first row again.
        QCOMPARE(&kept.read(databasePath(), all), first);
        QCOMPARE(first->position(), 0);
        // Another query: read.
        QCOMPARE(kept.read(databasePath(), all + " WHERE Title = ?", Database::Snapshot, {"Fall"}).RecordCount(), 1);
        QCOMPARE(kept.read(databasePath(), all).RecordCount(), 2);
        // Written by another program, or through the program's own connection: read again.
        addSemester("Summer");
        QCOMPARE(titles(), (QStringList{"Fall", "Spring", "Summer"}));
        Database::open(databasePath())->execute("DELETE FROM Semesters WHERE Title = 'Fall'");
        QCOMPARE(titles(), (QStringList{"Spring", "Summer"}));
        // Another file put in its place: its rows.
        const QString other = root() + "/other.mdb";
        QVERIFY(QFile::copy(databasePath(), other));
        auto db = Database::openSeparate(other);
        db->execute("UPDATE Semesters SET Title = 'Winter' WHERE Title = 'Summer'");
        db->close();
        QVERIFY(QFile::remove(databasePath()));
        QVERIFY(QFile::rename(other, databasePath()));
        QCOMPARE(titles(), (QStringList{"Spring", "Winter"}));
    }

};

TARVELA_TEST_CLASS(RecordsetTest)
#include "tst_recordset.moc"
