#include "TestEnv.h"

#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"
#include "platform/RuntimeError.h"
#include "store/Compaction.h"
#include "store/Database.h"
#include "bound/frmCompactDB.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

using namespace TestEnv;

// The compaction offered when the main window closes.
class CompactionTest : public TestCase
{
    Q_OBJECT

    // The tests run at noon of a set day, so that none races midnight.
    static QDate today() { return QDate(2026, 3, 12); }
    static QString daysAgo(int days) { return DateText::mmddyyyy(today().addDays(-days)); }
    static QString last() { return Settings::get(Settings::App, "Settings", "LastCompacted"); }
    static void setLast(const QString &v) { Settings::save(Settings::App, "Settings", "LastCompacted", v); }
    static QString copyPath() { return programFolder() + "/tarvelac.mdb"; }

    // A database with rows and the space of deleted ones, last compacted
    // 31 days ago.
    static void withRows()
    {
        createDatabase();
        addRowsAndGaps(200);
        setLast(daysAgo(31));
    }

    // Opens the window as the main window's closing does; true when it asks.
    static bool asks()
    {
        Clock::set(QDateTime(today(), QTime(12, 0)));
        frmCompactDB *w = frmCompactDB::instance();
        return !w->isUnloaded() && w->isVisible();
    }

    // Asks, and answers Yes.
    static void compactNow()
    {
        QVERIFY(asks());
        QTest::mouseClick(frmCompactDB::existing()->findChild<QPushButton *>("Command2"), Qt::LeftButton);
    }

    static QByteArray fileBytes()
    {
        QFile f(databasePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QStringList copies() { return QDir(programFolder()).entryList({"tarvelac*", "TARVELAC*"}, QDir::Files); }

private Q_SLOTS:
    void thirtyDayRule()
    {
        QVERIFY(!asks()); // missing: only starts the count
        QCOMPARE(last(), daysAgo(0));
        setLast(daysAgo(29));
        QVERIFY(!asks());
        QCOMPARE(last(), daysAgo(29));
        for (int days : {30, -30}) { // a date ahead counts the same
            setLast(daysAgo(days));
            QVERIFY(asks());
            frmCompactDB::existing()->Unload();
        }
        setLast("not a date");
        QVERIFY(!asks());
        QCOMPARE(last(), daysAgo(0));
        // Never compact only when exactly "True".
        setLast(daysAgo(40));
        Settings::save(Settings::App, "Settings", "NeverCompact", "True");
        QVERIFY(!asks());
        QCOMPARE(last(), daysAgo(40));
        Settings::save(Settings::App, "Settings", "NeverCompact", "true");
        QVERIFY(asks());
    }

    void noAndTheCheckBox()
    {
        setLast(daysAgo(45));
        QVERIFY(asks());
        frmCompactDB *w = frmCompactDB::existing();
        auto *box = w->findChild<QCheckBox *>("Check1");
        for (const char *never : {"True", "False"}) {
            QTest::mouseClick(box, Qt::LeftButton);
            QCOMPARE(Settings::get(Settings::App, "Settings", "NeverCompact"), QString(never));
        }
        QTest::mouseClick(w->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(!frmCompactDB::existing());
        QCOMPARE(last(), daysAgo(45));
        QVERIFY(asks()); // asked again at the next exit
        QTest::mouseClick(frmCompactDB::existing()->findChild<QCheckBox *>("Check1"), Qt::LeftButton);
        frmCompactDB::existing()->close(); // the close box writes nothing more
        QVERIFY(!asks());
    }

    void yesCompactsThroughTheTemporaryFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("small letters") << "tarvela.mdb";
        QTest::newRow("capitals") << "TARVELA.MDB";
    }

    void yesCompactsThroughTheTemporaryFile()
    {
        QFETCH(QString, name);
        withRows();
        if (name != "tarvela.mdb")
            QVERIFY(QFile::rename(databasePath(), programFolder() + "/" + name));
        const qint64 before = QFileInfo(programFolder() + "/" + name).size();
        QVERIFY(asks());
        frmCompactDB *w = frmCompactDB::existing();
        QCOMPARE(w->height(), 3600 / 15);
        QTest::mouseClick(w->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QCOMPARE(w->findChild<QLabel *>("lblStatus")->text(), QString("Compacting operation on the Tarvela database was successful"));
        QCOMPARE(w->height(), 4140 / 15);
        // Into the small-letter name, smaller, every row kept.
        QCOMPARE(QDir(programFolder()).entryList({"*.mdb", "*.MDB"}, QDir::Files), QStringList{"tarvela.mdb"});
        QVERIFY(QFileInfo(databasePath()).size() < before);
        QCOMPARE(scalar("SELECT count(*) FROM Assignments").toInt(), 66);
        QCOMPARE(last(), daysAgo(0));
        QCOMPARE(shownTexts(), QStringList{"Compacting of the database was completed!"});
        QCOMPARE(shownTitles(), QStringList{"Done!"});
        QVERIFY(!frmCompactDB::existing());
    }

    void programConnectionCarriesOnWithTheCompactedFile()
    {
        withRows();
        auto own = Database::open(databasePath());
        own->execute("INSERT INTO Semesters (Title) VALUES ('Before')");
        compactNow();
        QCOMPARE(shownTitles(), QStringList{"Done!"});
        QVERIFY(own->isOpen());
        own->execute("INSERT INTO Semesters (Title) VALUES ('After')");
        // Written into the file now at the database's place.
        QCOMPARE(scalar("SELECT group_concat(Title, ',') FROM (SELECT Title FROM Semesters ORDER BY ID)").toString(),
                 QString("Before,After"));
    }

    void leftoverCopyIsRemovedAndTold()
    {
        withRows();
        // What a full disk or a kill leaves: an empty copy and its journal.
        const QString leftover = programFolder() + "/TARVELAC.MDB";
        for (const QString &name : {leftover, leftover + "-journal"}) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString before = contents(databasePath());
        compactNow();
        QCOMPARE(shownTitles(), (QStringList{"TARVELAC.MDB removed", "Done!"}));
        QCOMPARE(MessageBox::shown().first().text, "A copy left behind by an earlier compaction was removed:\n" + leftover);
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Information);
        QVERIFY(copies().isEmpty());
        QCOMPARE(contents(databasePath()), before);
        QCOMPARE(last(), daysAgo(0));
        // The next compaction finds nothing to remove.
        MessageBox::clearShown();
        setLast(daysAgo(31));
        compactNow();
        QCOMPARE(shownTitles(), QStringList{"Done!"});
    }

    void aFailedCompactionChangesNothing_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("told"); // %db: the database, %copy: the compacted copy
        const QString unchanged = "Your database is unchanged: %db";
        const QString failedCheck = "The compacted copy %copy failed its check, so it was not used: ";
        QTest::newRow("leftover copy kept") << "leftover" << "TARVELAC.MDB exists"
                                            << QStringList{"The Tarvela database could not be compacted \nbecause the temporary "
                                                           "destination file,  \ntarvelac.mdb, already exists.\n\nPlease delete the "
                                                           "file (TARVELAC.MDB) and try\ncompacting your database again."};
        // A folder in the copy's place is told as the leftover copy is, and kept.
        QTest::newRow("folder in the copy's place") << "folder" << "TARVELAC.MDB exists"
                                                    << QStringList{"tarvelac.mdb, already exists.\n\nPlease delete the file (TARVELAC.MDB)"};
        QTest::newRow("damaged copy") << "damage" << "Database not compacted" << QStringList{failedCheck, "damaged", unchanged};
        QTest::newRow("refused copy") << "refuse" << "Database not compacted"
                                      << QStringList{failedCheck, "refused for the test", unchanged};
        QTest::newRow("file held by another program")
            << "held" << "Old TARVELA.MDB opened"
            << QStringList{"\n\nThe database file tarvela.mdb is locked by another program.", unchanged};
        const QStringList damaged = {"The Tarvela database could not be compacted because it is damaged:\nThe database file %db is "
                                     "damaged (",
                                     "A compacted copy would carry the damage along." + QString("\n\n") + unchanged,
                                     "\n\nStart Tarvela Desk again: its check at the start finds the damage, and when only the "
                                     "indexes are damaged it offers to rebuild them without losing a row."};
        QTest::newRow("file with a damaged index") << "index" << "Database Damaged" << damaged;
        QTest::newRow("file with a damaged table") << "table" << "Database Damaged" << damaged;
        QTest::newRow("file that cannot be replaced")
            << "kept" << "Old TARVELA.MDB opened"
            << QStringList{"The Tarvela database could not be compacted \nbecause the old database was opened or\n", unchanged};
    }

    void aFailedCompactionChangesNothing()
    {
        QFETCH(QString, cause);
        QFETCH(QString, title);
        QFETCH(QStringList, told);
        withRows();
        std::shared_ptr<Database> other;
        QString seen;
        if (cause == "leftover") {
            QFile f(copyPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            FileOps::denyChanges(copyPath());
        } else if (cause == "folder") {
            QVERIFY(QDir().mkpath(copyPath()));
        } else if (cause == "damage" || cause == "refuse") {
            Compaction::setCopyHook([&](const QString &copy) {
                seen = copy;
                if (cause == "damage")
                    QVERIFY(damagePage(copy, 3));
                else
                    throw RuntimeError(Err::General, "refused for the test");
            });
        } else if (cause == "index" || cause == "table") {
            // Damage met while the program has the file open (it was whole
            // when it was opened).
            Database::open(databasePath());
            if (cause == "index")
                QVERIFY(changeBehindIndex(databasePath(), "idxAssignmentsTitle",
                                          "DELETE FROM Assignments WHERE ID = (SELECT max(ID) FROM Assignments)"));
            else
                QVERIFY(damagePage(databasePath(), rootPage(databasePath(), "Assignments")));
        } else if (cause == "held") {
            other = open(); // another program in the middle of a change
            other->execute("BEGIN IMMEDIATE");
            other->execute("INSERT INTO Semesters (Title) VALUES ('Pending')");
        } else {
            FileOps::denyChanges(databasePath());
        }
        const QByteArray before = fileBytes();
        compactNow();
        const MessageBox::Shown first = MessageBox::shown().value(0);
        for (QString part : told)
            QVERIFY2(first.text.contains(part.replace("%db", databasePath()).replace("%copy", copyPath())), qPrintable(first.text));
        if (cause == "leftover") { // kept by the test only
            FileOps::clearDenied();
            QVERIFY(QFile::remove(copyPath()));
        } else if (cause == "folder") { // the user's, never removed
            QVERIFY(QDir().rmdir(copyPath()));
        }
        // The file as it was, no copy left (the next compaction is not
        // blocked), the date of the last compaction unchanged, one message.
        QCOMPARE(fileBytes(), before);
        QVERIFY2(copies().isEmpty(), qPrintable(copies().join(' ')));
        QCOMPARE(last(), daysAgo(31));
        QCOMPARE(shownTitles(), QStringList{title});
        if (!seen.isEmpty()) {
            QCOMPARE(seen, copyPath());
            QCOMPARE(first.icon, MessageBox::Critical);
        }
        if (cause == "index" || cause == "table") {
            // The program's next start checks the file whole, and finds it.
            Database::closeAll();
            QCOMPARE(errorNumber([] { Database::open(databasePath()); }), int(Err::NotADatabase));
        }
        if (other) { // its change goes in, in the file as it was
            other->execute("COMMIT");
            other->close();
            QCOMPARE(scalar("SELECT count(*) FROM Semesters WHERE Title = 'Pending'").toInt(), 1);
        }
    }
};

TARVELA_TEST_CLASS(CompactionTest)
#include "tst_compaction.moc"
