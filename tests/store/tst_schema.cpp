#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/clsTarvelaDB.h"

#include <QFile>
#include <QSqlQuery>

// The file made for a new user: tables, fields, seed rows, keys, and the
// progress texts of its creation.
class SchemaTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void freshFileHasEveryTableAndField()
    {
        QStringList status;
        clsTarvelaDB creator;
        connect(&creator, &clsTarvelaDB::StatusText, this, [&](const QString &s) { status << s; });
        QVERIFY(creator.Create_Tarvela_DB(TestEnv::programFolder()));
        QCOMPARE(status, (QStringList{"Creating Assignments table", "Creating AssignmentTypes table", "Creating CalItems table",
                                      "Creating Classes table", "Creating contacts table", "Creating QuizItems table",
                                      "Creating Quizzes table", "Creating Semesters table", "Creating Tasks table",
                                      "Database creation completed"}));

        auto db = TestEnv::open();
        QStringList tables;
        {
            QSqlQuery q = db->run("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
            while (q.next())
                tables << q.value(0).toString();
        }
        QCOMPARE(tables, (QStringList{"Assignments", "AssignmentTypes", "CalItems", "Classes", "Contacts", "QuizItems",
                                      "Quizzes", "Semesters", "Tasks"}));
        // Every field in creation order with its declared type.
        QStringList fields;
        for (const QString &t : tables) {
            QSqlQuery q = db->run(QString("PRAGMA table_info(\"%1\")").arg(t));
            while (q.next())
                fields << t + "." + q.value(1).toString() + ":" + q.value(2).toString();
        }
        QCOMPARE(fields.size(), 94);
        QCOMPARE(fields.first(), QString("Assignments.ID:INTEGER"));
        QVERIFY(fields.contains("Assignments.AssignmentType:TEXT(255)"));
        QVERIFY(fields.contains("Assignments.AssignmentTitle:TEXT(200)"));
        QVERIFY(fields.contains("Assignments.Comments:LONGTEXT"));
        QVERIFY(fields.contains("Classes.StartDate:DATETIME_TEXT"));
        QVERIFY(fields.contains("Classes.CreditHours:DOUBLE"));
        QVERIFY(fields.contains("Classes.ClassClosed:BOOLEAN"));
        QVERIFY(fields.contains("CalItems.Day:SMALLINT"));
        QVERIFY(fields.contains("Contacts.Contact_ID:INTEGER"));
        QVERIFY(fields.contains("Tasks.TaskID:INTEGER"));
        QVERIFY(fields.contains("Quizzes.LastUser:TEXT(150)"));
        const int sat = static_cast<int>(fields.indexOf("Classes.SaturdayFrom:DATETIME_TEXT"));
        QCOMPARE(fields.at(sat + 1), QString("Classes.SaturdayTo:DATETIME_TEXT"));
        QCOMPARE(fields.at(sat + 2), QString("Classes.SundayFrom:DATETIME_TEXT"));
        QCOMPARE(fields.at(sat + 3), QString("Classes.SundayTo:DATETIME_TEXT"));
        QCOMPARE(fields.at(sat + 4), QString("Classes.TeacherEMail:TEXT(50)"));

        // The seven seed types in order, keys from the engine; other tables empty.
        auto rs = db->openRecordset("AssignmentTypes", Database::Snapshot);
        QStringList seeds;
        QList<int> keys;
        while (!rs->isEOF()) {
            seeds << rs->value("AssignmentTypeText").toString();
            keys << rs->value("Id").toInt();
            QVERIFY(rs->value("AssignmentTypeDescription").isNull());
            rs->MoveNext();
        }
        QCOMPARE(seeds, (QStringList{"Homework", "In-Class Test", "Take-Home Test", "Journal", "Reading", "Quiz", "Final Paper"}));
        QCOMPARE(keys, (QList<int>{1, 2, 3, 4, 5, 6, 7}));
        for (const QString &t : tables)
            if (t != "AssignmentTypes")
                QCOMPARE(TestEnv::scalar(QString("SELECT count(*) FROM %1").arg(t)).toInt(), 0);
    }

    void keysAreAssignedAndReferencesHoldThem()
    {
        TestEnv::createDatabase();
        auto db = TestEnv::open();
        auto sem = db->openRecordset("SEMESTERS");
        sem->AddNew();
        sem->setValue("Title", "Fall 2026");
        sem->Update();
        sem->MoveLast();
        const int semId = sem->value("Id").toInt();
        QVERIFY(semId > 0);
        auto cls = db->openRecordset("Classes");
        cls->AddNew();
        cls->setValue("semester_id", semId);
        cls->setValue("ClassName", "Biology 101");
        cls->setValue("StartDate", "12/1/2026");
        cls->Update();
        cls->MoveFirst();
        QCOMPARE(cls->value("Semester_ID").toInt(), semId);
        QCOMPARE(cls->value("StartDate").toDate(), QDate(2026, 12, 1));
        QCOMPARE(TestEnv::scalar("SELECT StartDate FROM Classes").toString(), QString("2026-12-01"));
    }

    void oldFileThatCannotBeDeletedIsLeftAlone()
    {
        QFile old(TestEnv::programFolder() + "/TARVELA.MDB");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old data");
        old.close();
        FileOps::denyChanges(old.fileName());
        QStringList status;
        clsTarvelaDB creator;
        connect(&creator, &clsTarvelaDB::StatusText, this, [&](const QString &s) { status << s; });
        QVERIFY(!creator.Create_Tarvela_DB(TestEnv::programFolder()));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().title, QString("Old TARVELA.MDB opened"));
        QCOMPARE(MessageBox::shown().first().text,
                 QString("The Tarvela database could not be created \nbecause the old database was opened or\n"
                         "was read-only and therefore could not \nbe deleted.\n\nPlease close or disable any applications\n"
                         "using Tarvela or adjust access rights\nand try again."));
        QVERIFY(status.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old data"));
    }

    void readOnlyFolderFailsWithoutHalfMadeFile()
    {
        FileOps::denyChanges(TestEnv::programFolder());
        clsTarvelaDB creator;
        QVERIFY(!creator.Create_Tarvela_DB(TestEnv::programFolder()));
        QVERIFY(creator.lastError().contains(TestEnv::programFolder()));
        QVERIFY(!QFile::exists(TestEnv::databasePath()));
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

TARVELA_TEST_CLASS(SchemaTest)
#include "tst_schema.moc"
