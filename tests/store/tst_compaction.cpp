#include "TestEnv.h"

#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"
#include "platform/RuntimeError.h"
#include "store/Compaction.h"
#include "store/Database.h"
#include "store/frmCompactDB.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

// The compaction offered when the main window closes.
class CompactionTest : public TestCase
{
    Q_OBJECT

    // The tests run at noon of a set day, so that none races midnight.
    static QDateTime noon() { return QDateTime(QDate(2026, 3, 12), QTime(12, 0)); }
    static QString daysAgo(int days) { return DateText::mmddyyyy(noon().date().addDays(-days)); }
    static QString last() { return Settings::get(Settings::App, "Settings", "LastCompacted"); }
    static void setLast(const QString &v) { Settings::save(Settings::App, "Settings", "LastCompacted", v); }

    // Opens the window as the main window's closing does; true when it asks.
    static bool asks()
    {
        frmCompactDB *w = frmCompactDB::instance();
        return !w->isUnloaded() && w->isVisible();
    }

    void withRows()
    {
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(200);
    }

private Q_SLOTS:
    void thirtyDayRule()
    {
        Clock::set(noon());
        QVERIFY(!asks()); // missing: only starts the count
        QCOMPARE(last(), DateText::mmddyyyy(noon().date()));
        setLast(daysAgo(29));
        QVERIFY(!asks());
        QCOMPARE(last(), daysAgo(29));
        setLast(daysAgo(30));
        QVERIFY(asks());
        frmCompactDB::existing()->Unload();
        setLast(daysAgo(-30)); // a date ahead counts the same
        QVERIFY(asks());
        frmCompactDB::existing()->Unload();
        setLast("not a date");
        QVERIFY(!asks());
        QCOMPARE(last(), DateText::mmddyyyy(noon().date()));
    }

    void neverCompactOnlyWhenExactlyTrue()
    {
        Clock::set(noon());
        setLast(daysAgo(40));
        Settings::save(Settings::App, "Settings", "NeverCompact", "True");
        QVERIFY(!asks());
        QCOMPARE(last(), daysAgo(40));
        Settings::save(Settings::App, "Settings", "NeverCompact", "true");
        QVERIFY(asks());
    }

    void noAndTheCheckBox()
    {
        Clock::set(noon());
        setLast(daysAgo(45));
        QVERIFY(asks());
        frmCompactDB *w = frmCompactDB::existing();
        auto *box = w->findChild<QCheckBox *>("Check1");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(Settings::get(Settings::App, "Settings", "NeverCompact"), QString("True"));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(Settings::get(Settings::App, "Settings", "NeverCompact"), QString("False"));
        QTest::mouseClick(w->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(!frmCompactDB::existing());
        QCOMPARE(last(), daysAgo(45));
        QVERIFY(asks()); // asked again at the next exit
        QTest::mouseClick(frmCompactDB::existing()->findChild<QCheckBox *>("Check1"), Qt::LeftButton);
        frmCompactDB::existing()->close(); // the close box writes nothing more
        QVERIFY(!asks());
    }

    void yesCompactsThroughTheTemporaryFile()
    {
        Clock::set(noon());
        withRows();
        const qint64 before = QFileInfo(TestEnv::databasePath()).size();
        setLast(daysAgo(31));
        QVERIFY(asks());
        frmCompactDB *w = frmCompactDB::existing();
        QCOMPARE(w->height(), 3600 / 15);
        auto *status = w->findChild<QLabel *>("lblStatus");
        QTest::mouseClick(w->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QCOMPARE(status->text(), QString("Compacting operation on the Tarvela database was successful"));
        QCOMPARE(w->height(), 4140 / 15);
        QVERIFY(QFileInfo(TestEnv::databasePath()).size() < before);
        QVERIFY(!QFile::exists(TestEnv::programFolder() + "/tarvelac.mdb"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 66);
        QCOMPARE(last(), DateText::mmddyyyy(noon().date()));
        QCOMPARE(MessageBox::shown().last().title, QString("Done!"));
        QCOMPARE(MessageBox::shown().last().text, QString("Compacting of the database was completed!"));
        QVERIFY(!frmCompactDB::existing());
    }

    void capitalNameIsCompactedIntoTheSmallLetterName()
    {
        Clock::set(noon());
        withRows();
        QVERIFY(QFile::rename(TestEnv::databasePath(), TestEnv::programFolder() + "/TARVELA.MDB"));
        setLast(daysAgo(31));
        QVERIFY(asks());
        QTest::mouseClick(frmCompactDB::existing()->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QVERIFY(QFile::exists(TestEnv::databasePath()));
        QVERIFY(!QFile::exists(TestEnv::programFolder() + "/TARVELA.MDB"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 66);
    }

    // Runs the compaction as the window's Yes does.
    static void compactNow()
    {
        setLast(daysAgo(31));
        QVERIFY(asks());
        QTest::mouseClick(frmCompactDB::existing()->findChild<QPushButton *>("Command2"), Qt::LeftButton);
    }

    static QByteArray fileBytes()
    {
        QFile f(TestEnv::databasePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QStringList copies()
    {
        return QDir(TestEnv::programFolder()).entryList({"tarvelac*", "TARVELAC*"}, QDir::Files);
    }

    void leftoverCopyIsRemovedAndTold()
    {
        Clock::set(noon());
        withRows();
        // What a full disk or a kill leaves: an empty copy and its journal.
        const QString leftover = TestEnv::programFolder() + "/TARVELAC.MDB";
        for (const QString &name : {leftover, leftover + "-journal"}) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString before = TestEnv::contents(TestEnv::databasePath());
        compactNow();
        QCOMPARE(TestEnv::shownTitles(), (QStringList{"TARVELAC.MDB removed", "Done!"}));
        QCOMPARE(MessageBox::shown().first().text,
                 QString("A copy left behind by an earlier compaction was removed:\n") + leftover);
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Information);
        QVERIFY(copies().isEmpty());
        QCOMPARE(TestEnv::contents(TestEnv::databasePath()), before);
        QCOMPARE(last(), DateText::mmddyyyy(noon().date()));
        // The next compaction finds nothing to remove.
        MessageBox::clearShown();
        compactNow();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Done!"});
    }

    void leftoverThatCannotBeRemovedStopsTheCompaction()
    {
        Clock::set(noon());
        withRows();
        const QString leftover = TestEnv::programFolder() + "/tarvelac.mdb";
        QFile f(leftover);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        FileOps::denyChanges(leftover);
        const QByteArray before = fileBytes();
        compactNow();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"TARVELAC.MDB exists"});
        QCOMPARE(MessageBox::shown().first().text,
                 QString("The Tarvela database could not be compacted \nbecause the temporary destination file,  \n"
                         "tarvelac.mdb, already exists.\n\nPlease delete the file (TARVELAC.MDB) and try\ncompacting your database again."));
        QCOMPARE(fileBytes(), before);
        QCOMPARE(last(), daysAgo(31)); // a failure is not recorded as a compaction
    }

    void copyFailingItsCheckChangesNothing_data()
    {
        QTest::addColumn<bool>("damage");
        QTest::newRow("damaged copy") << true;
        QTest::newRow("refused copy") << false;
    }

    void copyFailingItsCheckChangesNothing()
    {
        Clock::set(noon());
        QFETCH(bool, damage);
        withRows();
        QString seen;
        Compaction::setCopyHook([&](const QString &copy) {
            seen = copy;
            if (damage)
                QVERIFY(TestEnv::damagePage(copy, 3));
            else
                throw RuntimeError(Err::General, "refused for the test");
        });
        const QByteArray before = fileBytes();
        compactNow();
        QCOMPARE(seen, TestEnv::programFolder() + "/tarvelac.mdb");
        QCOMPARE(TestEnv::shownTitles(), QStringList{QString::number(Err::General)});
        const QString text = MessageBox::shown().first().text;
        QVERIFY2(text.startsWith("The compacted copy " + seen + " failed its check, so it was not used: "), qPrintable(text));
        QVERIFY2(text.contains(damage ? "damaged" : "refused for the test"), qPrintable(text));
        QVERIFY(text.endsWith("Your database is unchanged: " + TestEnv::databasePath()));
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Critical);
        QCOMPARE(fileBytes(), before);
        QVERIFY2(copies().isEmpty(), qPrintable(copies().join(' ')));
        QCOMPARE(last(), daysAgo(31));
    }

    void fileHeldByAnotherProgramIsLeftAlone()
    {
        Clock::set(noon());
        withRows();
        auto other = TestEnv::open(); // another program in the middle of a change
        other->execute("BEGIN IMMEDIATE");
        other->execute("INSERT INTO Semesters (Title) VALUES ('Pending')");
        const QByteArray before = fileBytes();
        compactNow();
        other->execute("COMMIT");
        other->close();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Old TARVELA.MDB opened"});
        QVERIFY(MessageBox::shown().first().text.contains("\n\nThe database file tarvela.mdb is locked by another program."));
        QVERIFY(MessageBox::shown().first().text.endsWith("Your database is unchanged: " + TestEnv::databasePath()));
        QVERIFY(copies().isEmpty());
        QCOMPARE(last(), daysAgo(31));
        // Its change went in, in the file as it was.
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters WHERE Title = 'Pending'").toInt(), 1);
        QVERIFY(fileBytes() != before);
    }

    void programConnectionCarriesOnWithTheCompactedFile()
    {
        Clock::set(noon());
        withRows();
        auto own = Database::open(TestEnv::databasePath());
        own->execute("INSERT INTO Semesters (Title) VALUES ('Before')");
        compactNow();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Done!"});
        QVERIFY(own->isOpen());
        own->execute("INSERT INTO Semesters (Title) VALUES ('After')");
        // Written into the file now at the database's place.
        QCOMPARE(TestEnv::scalar("SELECT group_concat(Title, ',') FROM (SELECT Title FROM Semesters ORDER BY ID)").toString(),
                 QString("Before,After"));
    }

    void fileThatCannotBeReplacedKeepsTheDatabase()
    {
        Clock::set(noon());
        withRows();
        FileOps::denyChanges(TestEnv::databasePath());
        setLast(daysAgo(31));
        QVERIFY(asks());
        QTest::mouseClick(frmCompactDB::existing()->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().title, QString("Old TARVELA.MDB opened"));
        QVERIFY(MessageBox::shown().first().text.startsWith("The Tarvela database could not be compacted \nbecause the old database was opened or\n"));
        QVERIFY(MessageBox::shown().first().text.endsWith("Your database is unchanged: " + TestEnv::databasePath()));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 66);
        // The useless copy is gone, so the next compaction is not blocked.
        QVERIFY(!QFile::exists(TestEnv::programFolder() + "/tarvelac.mdb"));
    }
};

TARVELA_TEST_CLASS(CompactionTest)
#include "tst_compaction.moc"
