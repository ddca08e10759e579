#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/clsTarvelaDB.h"

#include <QFile>

using namespace TestEnv;

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
        QVERIFY(creator.Create_Tarvela_DB(programFolder()));
        QCOMPARE(status, (QStringList{"Creating Assignments table", "Creating AssignmentTypes table", "Creating CalItems table",
                                      "Creating Classes table", "Creating contacts table", "Creating QuizItems table",
                                      "Creating Quizzes table", "Creating Semesters table", "Creating Tasks table",
                                      "Database creation completed"}));

        auto db = open();
        QStringList tables;
        for (const QVector<QVariant> &row :
             db->readRows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid").rows)
            tables << row.first().toString();
        // The nine tables, then the text index's own (the store's business).
        const QString textIndex = Schema::assignmentText().name;
        for (qsizetype i = 9; i < tables.size(); ++i)
            QVERIFY2(tables.at(i).startsWith(textIndex), qPrintable(tables.at(i)));
        tables = tables.mid(0, 9);
        QCOMPARE(tables, (QStringList{"Assignments", "AssignmentTypes", "CalItems", "Classes", "Contacts", "QuizItems", "Quizzes",
                                      "Semesters", "Tasks"}));
        // Every field in creation order with its declared type; the tables
        // other than AssignmentTypes empty.
        QStringList fields;
        for (const QString &t : tables) {
            for (const QVector<QVariant> &f : db->readRows(QString("PRAGMA table_info(\"%1\")").arg(t)).rows)
                fields << t + "." + f[1].toString() + ":" + f[2].toString();
            if (t != "AssignmentTypes")
                QCOMPARE(scalar(QString("SELECT count(*) FROM %1").arg(t)).toInt(), 0);
        }
        QCOMPARE(fields.size(), 94);
        QCOMPARE(fields.first(), QString("Assignments.ID:INTEGER"));
        for (const char *f : {"Assignments.AssignmentType:TEXT(255)", "Assignments.AssignmentTitle:TEXT(200)",
                              "Assignments.Comments:LONGTEXT", "Classes.StartDate:DATETIME_TEXT", "Classes.CreditHours:DOUBLE",
                              "Classes.ClassClosed:BOOLEAN", "CalItems.Day:SMALLINT", "Contacts.Contact_ID:INTEGER",
                              "Tasks.TaskID:INTEGER", "Quizzes.LastUser:TEXT(150)"})
            QVERIFY2(fields.contains(f), f);
        const qsizetype sat = fields.indexOf("Classes.SaturdayFrom:DATETIME_TEXT");
        QCOMPARE(fields.mid(sat, 5), QStringList({"Classes.SaturdayFrom:DATETIME_TEXT", "Classes.SaturdayTo:DATETIME_TEXT",
                                                  "Classes.SundayFrom:DATETIME_TEXT", "Classes.SundayTo:DATETIME_TEXT",
                                                  "Classes.TeacherEMail:TEXT(50)"}));

        // The seven seed types in order, keys from the engine.
        QStringList seeds;
        for (const QVector<QVariant> &r :
             db->readRows("SELECT Id, AssignmentTypeText, AssignmentTypeDescription IS NULL FROM AssignmentTypes").rows)
            seeds << QString("%1 %2 %3").arg(r[0].toInt()).arg(r[1].toString()).arg(r[2].toInt());
        QCOMPARE(seeds, (QStringList{"1 Homework 1", "2 In-Class Test 1", "3 Take-Home Test 1", "4 Journal 1", "5 Reading 1",
                                     "6 Quiz 1", "7 Final Paper 1"}));
    }

    void keysAreAssignedAndNamesMatchInAnyCase()
    {
        createDatabase();
        auto db = open();
        auto sem = db->openRecordset("SEMESTERS");
        sem->AddNew();
        sem->setValue("title", "Fall 2026");
        sem->Update();
        sem->MoveLast();
        QVERIFY(sem->value("Id").toInt() > 0);
        QCOMPARE(sem->value("Title").toString(), QString("Fall 2026"));
    }

    void oldFileThatCannotBeDeletedIsLeftAlone()
    {
        QFile old(programFolder() + "/TARVELA.MDB");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old data");
        old.close();
        FileOps::denyChanges(old.fileName());
        QStringList status;
        clsTarvelaDB creator;
        connect(&creator, &clsTarvelaDB::StatusText, this, [&](const QString &s) { status << s; });
        QStringList notices; // "title: text", as the window that creates the file shows them
        connect(&creator, &clsTarvelaDB::Notice, this,
                [&](const QString &text, const QString &title, clsTarvelaDB::NoticeKind) { notices << title + ": " + text; });
        QVERIFY(!creator.Create_Tarvela_DB(programFolder()));
        QCOMPARE(notices, QStringList{"Old TARVELA.MDB opened: The Tarvela database could not be created \nbecause the old database "
                                      "was opened or\nwas read-only and therefore could not \nbe deleted.\n\nPlease close or disable "
                                      "any applications\nusing Tarvela or adjust access rights\nand try again."});
        QVERIFY(status.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old data"));
    }

    void readOnlyFolderFailsWithoutHalfMadeFile()
    {
        FileOps::denyChanges(programFolder());
        clsTarvelaDB creator;
        QVERIFY(!creator.Create_Tarvela_DB(programFolder()));
        QVERIFY(creator.lastError().contains(programFolder()));
        QVERIFY(!QFile::exists(databasePath()));
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

TARVELA_TEST_CLASS(SchemaTest)
#include "tst_schema.moc"
