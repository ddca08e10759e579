#include "MainHelpers.h"

#include "mainwindow/frmError.h"
#include "platform/Platform.h"
#include "platform/ProgramLock.h"
#include "platform/Settings.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>

using namespace MainHelpers;

// What keeps a start from doing harm: a second copy of the program on the
// same folder, a database file that is not whole or is damaged, and an error
// that the activation would otherwise report again at every return.
class StartGuardTest : public TestCase
{
    Q_OBJECT

    static QByteArray databaseBytes()
    {
        QFile f(TestEnv::databasePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void tipsOff() { Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0"); }

    // Makes another window active, then the main window again, as a user's
    // click on the box's OK and back does.
    static bool reactivate(Form *elsewhere, frmMain *m)
    {
        if (frmError *e = frmError::existing())
            QTest::mouseClick(e->findChild<QPushButton *>("Command1"), Qt::LeftButton); // Recover
        if (!activate(elsewhere))
            return false;
        // The report it may show takes the activation away again.
        m->activateWindow();
        const bool back = QTest::qWaitFor([&] { return m->isActiveWindow() || frmError::existing(); }, 2000);
        settle();
        return back;
    }

private Q_SLOTS:
    void aSecondCopyOnTheSameFolderEndsUntouched()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        const QByteArray before = databaseBytes();
        QProcess running;
        running.start(TestEnv::helperProgram(), {"lock", TestEnv::programFolder()});
        QVERIFY(running.waitForStarted(20000) && running.waitForReadyRead(20000));
        QCOMPARE(running.readLine().trimmed(), QByteArray("taken"));

        frmMain *m = start({MessageBox::Yes});
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Tarvela Desk"});
        QCOMPARE(TestEnv::shownTexts().first(), QString("Tarvela Desk is already running with the folder %1.\n\n"
                                                        "Use the copy that is running; this one ends now.")
                                                    .arg(TestEnv::programFolder()));
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Information);
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::App))); // nothing written
        QCOMPARE(databaseBytes(), before);

        // The first copy is killed: the lock it leaves is taken over.
        running.kill();
        QVERIFY(running.waitForFinished(20000));
        QVERIFY(QFile::exists(ProgramLock::fileIn(TestEnv::programFolder())));
        TestEnv::closeAllWindows();
        Platform::resetProgramEnded();
        MessageBox::clearShown();
        tipsOff();
        m = start();
        QVERIFY(!Platform::programEnded());
        QVERIFY(m->isVisible());
        QCOMPARE(treeText(m), QStringList{"Fall 2026"});
        QVERIFY(!TestEnv::shownTitles().contains("Tarvela Desk"));
        // Now this copy holds the folder against any other.
        QLockFile other(ProgramLock::fileIn(TestEnv::programFolder()));
        QVERIFY(!other.tryLock(0));
        QCOMPARE(other.error(), QLockFile::LockFailedError);
    }

    void aFileThatIsNotWholeOrDamagedEndsAfterOneMessage_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("named");
        QTest::newRow("Classes") << "DROP TABLE Classes" << "the table Classes is missing";
        QTest::newRow("Assignments") << "DROP TABLE Assignments" << "the table Assignments is missing";
        QTest::newRow("AssignmentTypes") << "DROP TABLE AssignmentTypes" << "the table AssignmentTypes is missing";
        QTest::newRow("Semesters.Title") << "ALTER TABLE Semesters RENAME COLUMN Title TO Name"
                                         << "the field Title of the table Semesters is missing";
        QTest::newRow("Classes.ClassName") << "ALTER TABLE Classes RENAME COLUMN ClassName TO Name"
                                           << "the field ClassName of the table Classes is missing";
        QTest::newRow("Assignments.DateDue") << "ALTER TABLE Assignments RENAME COLUMN DateDue TO Due"
                                             << "the field DateDue of the table Assignments is missing";
        QTest::newRow("damaged") << "" << "is damaged";
    }

    void aFileThatIsNotWholeOrDamagedEndsAfterOneMessage()
    {
        QFETCH(QString, change);
        QFETCH(QString, named);
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Biology 101");
        TestEnv::addRowsAndGaps(90);
        if (change.isEmpty())
            QVERIFY(TestEnv::damagePage(TestEnv::databasePath(), 4));
        else
            TestEnv::exec(change);
        const QByteArray before = databaseBytes();
        tipsOff();
        frmMain *m = start();
        settle();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Cannot continue"});
        const QString text = TestEnv::shownTexts().first();
        QVERIFY2(text.startsWith("Tarvela cannot open its database:\n" + TestEnv::databasePath() + "\n\n"), qPrintable(text));
        QVERIFY2(text.contains(named), qPrintable(text));
        QVERIFY(text.endsWith("\n\nThe file has been left as it is."));
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Critical);
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!frmError::existing());
        QCOMPARE(databaseBytes(), before);
    }

    void anActivationErrorIsToldOncePerCause()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Biology 101");
        tipsOff();
        frmMain *m = start();
        QVERIFY(activate(m));
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
        Form elsewhere; // any other window of the program
        elsewhere.resize(100, 100);
        elsewhere.show();
        MessageBox::clearShown();
        // Another program takes a field away while the program runs.
        TestEnv::exec("ALTER TABLE Classes RENAME COLUMN ClassName TO Name");
        int reports = 0;
        for (int i = 0; i < 5; ++i) {
            if (frmError::existing())
                ++reports;
            QVERIFY(reactivate(&elsewhere, m));
        }
        if (frmError::existing())
            ++reports;
        QCOMPARE(reports, 1);
        QCOMPARE(TestEnv::shownTexts(), QStringList{"Item not found in this collection (field ClassName)."});
        // The cause goes away: nothing is told, the tree is whole again.
        TestEnv::exec("ALTER TABLE Classes RENAME COLUMN Name TO ClassName");
        QVERIFY(reactivate(&elsewhere, m));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
        // It comes back: told once more.
        TestEnv::exec("ALTER TABLE Classes RENAME COLUMN ClassName TO Name");
        QVERIFY(reactivate(&elsewhere, m));
        QVERIFY(reactivate(&elsewhere, m));
        QCOMPARE(MessageBox::shown().size(), 2);
    }
};

TARVELA_TEST_CLASS(StartGuardTest)
#include "tst_startguard.moc"
