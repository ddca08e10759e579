#include "TestEnv.h"

#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"
#include "store/frmCompactDB.h"

#include <QCheckBox>
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
        for (int i = 0; i < 200; ++i)
            TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, Comments) VALUES (?, ?)", {QString("Work %1").arg(i), QString(500, 'c')});
        TestEnv::exec("DELETE FROM Assignments WHERE ID > 10");
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
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 10);
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
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 10);
    }

    void leftoverCopyStopsTheCompaction()
    {
        Clock::set(noon());
        withRows();
        QFile leftover(TestEnv::programFolder() + "/TARVELAC.MDB");
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        const QByteArray before = [] { QFile f(TestEnv::databasePath()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        setLast(daysAgo(31));
        QVERIFY(asks());
        QTest::mouseClick(frmCompactDB::existing()->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().title, QString("TARVELAC.MDB exists"));
        QCOMPARE(MessageBox::shown().first().text,
                 QString("The Tarvela database could not be compacted \nbecause the temporary destination file,  \n"
                         "tarvelac.mdb, already exists.\n\nPlease delete the file (TARVELAC.MDB) and try\ncompacting your database again."));
        QFile f(TestEnv::databasePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(last(), daysAgo(31)); // a failure is not recorded as a compaction
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
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 10);
        // The useless copy is gone, so the next compaction is not blocked.
        QVERIFY(!QFile::exists(TestEnv::programFolder() + "/tarvelac.mdb"));
    }
};

TARVELA_TEST_CLASS(CompactionTest)
#include "tst_compaction.moc"
