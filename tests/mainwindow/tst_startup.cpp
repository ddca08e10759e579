#include "MainHelpers.h"

#include "store/Database.h"

#include "calendar/frmToday.h"
#include "mainwindow/frmSplash.h"
#include "mainwindow/frmTip.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "platform/ProgramLock.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "platform/DateText.h"
#include "setup/frmAddSemesterWizard.h"
#include "store/frmCompactDB.h"

#include <QTimer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

using namespace MainHelpers;

// The road from launching the program to its main window, and its end.
class StartupTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void firstStartYesCreatesAndLeadsToTheWizard()
    {
        frmMain *m = start({MessageBox::Yes});
        QVERIFY(QFile::exists(TestEnv::databasePath()));
        QCOMPARE(MessageBox::shown().at(0).title, QString("No Database"));
        QCOMPARE(MessageBox::shown().at(0).text, QString("The Tarvela database was not found.\n\nShall I create a new one?"));
        QCOMPARE(MessageBox::shown().at(0).buttons, MessageBox::YesNo);
        QCOMPARE(MessageBox::shown().at(0).icon, MessageBox::Information);
        QVERIFY(m->isVisible());
        QVERIFY(!frmTip::existing());
        settle();
        QCOMPARE(TestEnv::shownTitles().last(), QString("No semesters."));
        QCOMPARE(TestEnv::shownTexts().last(), QString("You need to configure at least one semester to use Tarvela.\n"
                                                        "Click on the OK button to set up your first semester."));
        auto *wizard = frmAddSemesterWizard::existing();
        QVERIFY(wizard);
        QVERIFY(wizard->findChild<QGroupBox *>("fra1")->isVisible());
        QVERIFY(!wizard->findChild<QGroupBox *>("fra2")->isVisible());
        QVERIFY(treeText(m).isEmpty());
        QCOMPARE(Settings::get(Settings::App, "Settings", "TarvelaPath"), TestEnv::programFolder());
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM AssignmentTypes").toInt(), 7);
    }

    void firstStartNoEndsTheProgram()
    {
        frmMain *m = start({MessageBox::No});
        QCOMPARE(TestEnv::shownTitles(), (QStringList{"No Database", "Cannot continue"}));
        QCOMPARE(TestEnv::shownTexts().last(), QString("Tarvela cannot continue to load without a database."));
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!QFile::exists(TestEnv::databasePath()));
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::App))); // nothing written
    }

    void capitalNameCountsAsPresent()
    {
        TestEnv::createDatabase();
        MainHelpers::addSemester("Fall 2026");
        QVERIFY(QFile::rename(TestEnv::databasePath(), TestEnv::programFolder() + "/TARVELA.MDB"));
        frmMain *m = start();
        QVERIFY(!TestEnv::shownTitles().contains("No Database"));
        QVERIFY(m->isVisible());
        QCOMPARE(treeText(m), QStringList{"Fall 2026"});
        // An existing database opens the tips window, tips being on by default.
        QVERIFY(frmTip::existing());
        QVERIFY(frmTip::existing()->isVisible());
    }

    void unusableDatabaseIsToldAndLeftAlone()
    {
        QFile f(TestEnv::databasePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'x'));
        f.close();
        frmMain *m = start();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Cannot continue"});
        QVERIFY(TestEnv::shownTexts().first().contains("is not a Tarvela database"));
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(2048, 'x'));
    }

    void lockedDatabaseIsToldAndLeftAlone()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        auto other = TestEnv::open(); // another program writing the file
        other->execute("BEGIN EXCLUSIVE");
        Database::setBusyTimeout(20); // no need to wait for the other program here
        start();
        other->rollback();
        other->close();
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Cannot continue"});
        QVERIFY(TestEnv::shownTexts().first().contains("locked by another program"));
        QVERIFY(Platform::programEnded());
        QCOMPARE(TestEnv::scalar("SELECT Title FROM Semesters").toString(), QString("Fall 2026"));
    }

    void readOnlyFolderIsToldAndEnds()
    {
        FileOps::denyChanges(TestEnv::programFolder());
        start({MessageBox::Yes});
        QCOMPARE(TestEnv::shownTitles(), (QStringList{"No Database", "Cannot continue"}));
        QVERIFY(TestEnv::shownTexts().last().contains(TestEnv::programFolder()));
        QVERIFY(Platform::programEnded());
        QVERIFY(!QFile::exists(TestEnv::databasePath()));
    }

    void aCreationThatFailsHalfwayLeavesNoFile()
    {
        // The file can be made, but nothing written into it: the engine's
        // journal has no room beside it.
        QVERIFY(QDir().mkpath(TestEnv::programFolder() + "/tarvela.mdb-journal"));
        start({MessageBox::Yes});
        QCOMPARE(TestEnv::shownTitles(), (QStringList{"No Database", "Cannot continue"}));
        QVERIFY(TestEnv::shownTexts().last().startsWith("The Tarvela database could not be created in\n" + TestEnv::programFolder()));
        QVERIFY(Platform::programEnded());
        // Nothing but the running program's lock file is left.
        QCOMPARE(QDir(TestEnv::programFolder()).entryList(QDir::Files),
                 QStringList{QFileInfo(ProgramLock::fileIn(TestEnv::programFolder())).fileName()});
    }

    void splashShowsVersionForItsTime()
    {
        QCOMPARE(frmSplash::versionText(), "    Release Version " + QString(TARVELA_VERSION));
        TestEnv::createDatabase();
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        // While the splash's time runs, the splash is up and the main window
        // waits hidden; then the main window comes and the splash goes.
        frmMain::splashMilliseconds = 200;
        bool splashSeen = false;
        bool mainHidden = false;
        QTimer::singleShot(0, [&] {
            splashSeen = frmSplash::existing() && frmSplash::existing()->isVisible();
            mainHidden = frmMain::existing() && !frmMain::existing()->isVisible();
        });
        frmMain *m = frmMain::instance();
        QVERIFY(splashSeen);
        QVERIFY(mainHidden);
        QVERIFY(m->isVisible());
        QVERIFY(!frmSplash::existing());
    }

    void tipsOffOpensTodaysEventsWhenAnyRowExists()
    {
        TestEnv::createDatabase();
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Biology 101");
        const QDate day(2026, 10, 5);
        Clock::set(QDateTime(day, QTime(9, 0)));
        addAssignment(cls, "Lab report", 10, QVariant(), day.toString(Qt::ISODate));
        TestEnv::exec("INSERT INTO Tasks (Date, Details) VALUES (?, 'Buy pens')", {day.addDays(-1).toString(Qt::ISODate)});
        start();
        QVERIFY(!frmTip::existing());
        frmToday *today = frmToday::existing();
        QVERIFY(today && today->isVisible());
        auto *list = today->findChild<QListWidget *>("lstToday");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Lab report is due today."));
    }

    void todaysEventsStaysClosedOnAnEmptyDatabase()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        start();
        auto *tip = frmTip::existing();
        QVERIFY(tip);
        QTest::mouseClick(tip->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        settle();
        QVERIFY(!frmTip::existing());
        QVERIFY(!frmToday::existing());
        // Rows in Tasks only, none of today: the window shows an empty list.
        TestEnv::exec("INSERT INTO Tasks (Date, Details) VALUES ('2020-01-01', 'Old')");
        frmMain::existing()->mnuFileTodaysEvents_Click();
        QVERIFY(frmToday::existing() && frmToday::existing()->isVisible());
        QCOMPARE(frmToday::existing()->findChild<QListWidget *>("lstToday")->count(), 0);
    }

    void resizingWritesThePosition()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        frmMain *m = start();
        m->resize(700, 500);
        settle();
        QCOMPARE(Settings::get(Settings::App, "Settings", "frmMainWidth"), QString::number(m->frameGeometry().width() * 15));
        QCOMPARE(Settings::get(Settings::App, "Settings", "frmMainHeight"), QString::number(m->frameGeometry().height() * 15));
        QVERIFY(!Settings::get(Settings::App, "Settings", "frmMainTop").isEmpty());
        QVERIFY(!Settings::get(Settings::App, "Settings", "frmMainLeft").isEmpty());
    }

    void menusAndToolbarAreComplete()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        QVERIFY(QTest::qWaitForWindowActive(m));
        const QList<QPair<QString, QString>> items = {
            {"mnuFile", "&File"}, {"mnuFileTodaysEvents", "Today's Events"}, {"mnuFileCalculateGPA", "Calculate GPA"},
            {"mnuFileConfig", "Configure"}, {"mnuFileConfigureAssignmentTypes", "Assignment Types"}, {"mnuFileNew", "&New"},
            {"mnuFileNewSemester", "Semester"}, {"mnuFileNewClass", "Class"}, {"mnuFileNewAssignment", "Assignment"},
            {"mnuFileExit", "E&xit"}, {"mnuSemester", "Semester"}, {"mnuSemesterAddNew", "Add New"},
            {"mnuSemesterDelete", "Delete"}, {"mnuClass", "Class"}, {"mnuClassAddNew", "Add New"}, {"mnuClassEdit", "Edit"},
            {"mnuClassDelete", "Delete"}, {"mnuClassCloseOut", "Close Out"}, {"mnuClassSetColor", "Set Color"},
            {"mnuClassSetColorLightCyan", "Light Cyan"}, {"mnuClassExport", "Export"}, {"mnuClassImport", "Import"},
            {"mnuClassStatus", "Status"}, {"mnuAssignment", "Assignment"}, {"mnuAssignmentAddNew", "Add New"},
            {"mnuAssignmentDelete", "Delete"}, {"mnuAssignmentLinkDocument", "Link Document"},
            {"mnuAssignmentOpenDocument", "Open Document"}, {"mnuAssignmentDetails", "Details"}, {"mnuReports", "&Reports"},
            {"mnuReportsAllAssignments", "All Assignments"}, {"mnuReportsUngradedAssignments", "Ungraded Assignments"},
            {"mnuQuizzer", "&Quizzer"}, {"mnuQuizzerQuizBuilder", "Quiz Builder"}, {"mnuQuizzerTakeAQuiz", "Take a Quiz"},
            {"mnuContacts", "Contacts"}, {"mnuAddIns", "Add-Ins"}, {"mnuHelp", "&Help"}, {"mnuHelpTarvelaHelp", "Tarvela Help"},
            {"mnuHelpWebSite", "Web Support"}, {"mnuHelpSubmitAComment", "Submit a comment"},
            {"mnuHelpTipOfTheDay", "Tip of the Day"}, {"mnuHelpAbout", "About Tarvela"}};
        for (const auto &i : items) {
            auto *a = m->findChild<QAction *>(i.first);
            QVERIFY2(a, qPrintable(i.first));
            QCOMPARE(a->text(), i.second);
        }
        for (const char *sep : {"mnuFileSep1", "mnuClassSep1", "mnuClassSep2", "mnuAssignmentSep", "mnuHelpSep1"})
            QVERIFY(m->findChild<QAction *>(sep)->isSeparator());
        QCOMPARE(m->findChild<QAction *>("mnuHelpTarvelaHelp")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(m->findChild<QMenu *>("mnuClassSetColor")->actions().size(), 15);
        const QList<QStringList> buttons = {{"SSCommand1", "New Semester", "Add semester"}, {"SSCommand2", "Add a Class", "Add class"},
                                            {"SSCommand3", "New Work", "Add assignment"}, {"SSCommand4", "Search", "Search assignments"},
                                            {"SSCommand6", "Calendar", "Open calendar"}, {"SSCommand5", "Quizzer", "Quizzer Options"},
                                            {"cmdClassStats", "Class Stats", "Class Statistics (Letter Grade)"}};
        for (const QStringList &b : buttons) {
            auto *button = m->findChild<QToolButton *>(b[0]);
            QVERIFY2(button, qPrintable(b[0]));
            QCOMPARE(button->text(), b[1]);
            QCOMPARE(button->toolTip(), b[2]);
        }
        // F1 asks the desktop to open the help file.
        QTest::keyClick(m, Qt::Key_F1);
        QCOMPARE(Shell::opened(), QStringList{TestEnv::programFolder() + "/tarveladesk.chm"});
    }

    void closingOffersCompactionAfterThirtyDays()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        Clock::set(QDateTime(QDate(2026, 10, 5), QTime(9, 0)));
        Settings::save(Settings::App, "Settings", "LastCompacted", "9/4/2026"); // 31 days before
        frmMain *m = start();
        QVERIFY(m->close());
        settle();
        QVERIFY(frmCompactDB::existing() && frmCompactDB::existing()->isVisible());
    }
};

TARVELA_TEST_CLASS(StartupTest)
#include "tst_startup.moc"
