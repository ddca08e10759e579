#include "MainHelpers.h"

#include "calendar/frmToday.h"
#include "mainwindow/frmError.h"
#include "mainwindow/frmTip.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Recordset.h"

#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QLabel>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTreeWidget>

using namespace MainHelpers;

// The semester/class tree and the current selection it keeps.
class TreeTest : public TestCase
{
    Q_OBJECT

    static QString panel(frmMain *m, const char *name) { return m->findChild<QLabel *>(name)->text(); }
    static DataGrid *grid(frmMain *m) { return m->findChild<DataGrid *>("gridAssignments"); }
    static QAction *menu(frmMain *m, const char *name) { return m->findChild<QAction *>(name); }
    static void tipsOff() { Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0"); }

private Q_SLOTS:
    void treeShowsSemestersClassesAndColours()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall '26");
        addSemester(""); // no title: not in the tree, nor its classes
        const int blank = TestEnv::scalar("SELECT max(ID) FROM Semesters").toInt();
        const int spring = addSemester("Spring 2027");
        addClass(fall, "Women's Studies");
        addClass(fall, "Biology 101");
        addClass(blank, "Hidden");
        addClass(spring, "Chemistry");
        Settings::save(Settings::App, "ClassFolders", "Women's Studies", "Light Cyan");
        Settings::save(Settings::App, "ClassFolders", "Biology 101", "yellow"); // wrong case: the default
        frmMain *m = start();
        QCOMPARE(treeText(m), (QStringList{"Fall '26", "  Women's Studies", "  Biology 101", "Spring 2027", "  Chemistry"}));
        QCOMPARE(node(m, "Fall '26")->data(0, Qt::UserRole + 1).toInt(), 2);
        QCOMPARE(node(m, "Women's Studies")->data(0, Qt::UserRole + 1).toInt(), 9);
        QCOMPARE(node(m, "Biology 101")->data(0, Qt::UserRole + 1).toInt(), 3);
        QCOMPARE(node(m, "Chemistry")->data(0, Qt::UserRole + 1).toInt(), 3);
        QVERIFY(node(m, "Fall '26")->isExpanded());
        QVERIFY(!frmError::existing());
    }

    void classesKeepTheirTableOrderUnderTheirSemester()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        const int spring = addSemester("Spring 2027");
        const int again = addSemester("Fall 2026"); // a second semester of the same title
        addClass(spring, "Geology");
        addClass(fall, "Biology");
        addClass(again, "Drawing");
        addClass(spring, "Algebra");
        addClass(fall, "Anatomy");
        addClass(99, "Orphan"); // of no semester
        TestEnv::exec("UPDATE Classes SET Semester_ID = 'none' WHERE ClassName = 'Orphan'");
        Settings::save(Settings::App, "ClassFolders", "anatomy", "Red");
        frmMain *m = start();
        // The second semester's node cannot be made (reported); its classes
        // join the first node of that title, after that semester's own.
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology", "  Anatomy", "  Drawing", "Spring 2027", "  Geology",
                                           "  Algebra"}));
        QCOMPARE(node(m, "Anatomy")->data(0, Qt::UserRole + 1).toInt(), 17);
        QVERIFY(frmError::existing());
    }

    void sharedClassNameIsReportedAndTheRebuildGoesOn()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int a = addSemester("Fall 2026");
        const int b = addSemester("Spring 2027");
        addClass(a, "Algebra");
        addClass(b, "Algebra");
        addClass(b, "Geometry");
        frmMain *m = start();
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Algebra", "Spring 2027", "  Geometry"}));
        frmError *e = frmError::existing();
        QVERIFY(e);
        QVERIFY(QTest::qWaitForWindowActive(e));
        const QString report = e->findChild<QPlainTextEdit *>("txtError")->toPlainText();
        QVERIFY(report.contains("Routine was (General)_RefreshTree"));
        QVERIFY(report.contains("Form was frmMain"));
        // A class click on the shared name takes the first such class and its semester.
        clickNode(m, "Algebra");
        QCOMPARE(panel(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(m->datClasses->recordset().value("Semester_ID").toInt(), a);
    }

    void failuresReachTheErrorWindow()
    {
        TestEnv::createDatabase();
        tipsOff();
        addClass(addSemester("Fall 2026"), "Biology");
        frmMain *m = start();
        QVERIFY(!frmError::existing());
        // Tables go missing under the running program.
        TestEnv::exec("ALTER TABLE Semesters RENAME TO Gone");
        clickNode(m, "Fall 2026");
        frmError *e = frmError::existing();
        QVERIFY(e);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(TestEnv::shownTexts().first().contains("no such table"));
        settle();
        QVERIFY(e->findChild<QPlainTextEdit *>("txtError")->toPlainText().contains("Routine was SSTree2_NodeClick"));
        QTest::mouseClick(e->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        TestEnv::exec("ALTER TABLE Gone RENAME TO Semesters");
        TestEnv::exec("ALTER TABLE AssignmentTypes RENAME TO Gone");
        MessageBox::clearShown();
        m->Show();
        frmError::instance()->Show(); // another window was active in between
        settle();
        m->Show();
        settle();
        QVERIFY(TestEnv::shownTexts().join("|").contains("no such table"));
        QVERIFY(frmError::existing()->findChild<QPlainTextEdit *>("txtError")->toPlainText().contains("Routine was Form_Activate"));
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology"})); // the rebuild went on
    }

    void semesterClickFollowsItsFirstClass()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        const int empty = addSemester("Empty Term");
        Q_UNUSED(empty);
        const int bio = addClass(fall, "Biology 101", {90, 80, 70, 60, 0});
        const int chem = addClass(fall, "Chemistry");
        addAssignment(bio, "Lab 1", 10, 9, "2026-10-02");
        addAssignment(bio, "Lab 2", 10, 8, "2026-10-01");
        addAssignment(chem, "Quiz", 5, 5);
        frmMain *m = start();
        clickNode(m, "Fall 2026");
        QCOMPARE(panel(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : Biology 101"));
        QCOMPARE(m->datClasses->recordset().RecordCount(), 2);
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 2);
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Lab 2")); // by due date
        QVERIFY(grid(m)->isEnabled());
        QCOMPARE(grid(m)->caption(), QString("Biology 101"));
        QCOMPARE(m->findChild<QLabel *>("lblMaxPoints")->text(), QString("20"));
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString("17"));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastSemester"), QString("Fall 2026"));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Biology 101"));
        QVERIFY(menu(m, "mnuAssignmentDelete")->isEnabled());

        // A semester without classes leaves the grid disabled and the totals as they were.
        clickNode(m, "Empty Term");
        QVERIFY(!grid(m)->isEnabled());
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString("17"));
        QVERIFY(!menu(m, "mnuClassCloseOut")->isEnabled());
    }

    void semesterWhoseFirstClassHasNoWorkDisablesTheGrid()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Empty Class");
        frmMain *m = start();
        clickNode(m, "Fall 2026");
        QVERIFY(!grid(m)->isEnabled());
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : Empty Class"));
        // A click on the class itself enables it again.
        clickNode(m, "Empty Class");
        QVERIFY(grid(m)->isEnabled());
    }

    void classClickShowsItsWorkAndTheClosedMarkOnce()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Algebra");
        const int closed = addClass(fall, "History");
        TestEnv::exec("UPDATE Classes SET ClassClosed = 1 WHERE ID = ?", {closed});
        const int work = addAssignment(closed, "Essay", 50, 45);
        TestEnv::exec("UPDATE Assignments SET DocumentPath = '/home/me/essay.odt' WHERE ID = ?", {work});
        frmMain *m = start();
        clickNode(m, "History");
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : History (Closed)"));
        m->datClasses->recordset().MoveFirst();
        m->datClasses->recordset().FindFirst("ClassName", "History");
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : History (Closed)"));
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Essay"));
        QVERIFY(m->findChild<QLabel *>("imgDocumentLink")->isVisibleTo(m));
        QCOMPARE(m->findChild<QLabel *>("imgDocumentLink")->toolTip(), QString("Open linked document (/home/me/essay.odt)"));
        QVERIFY(menu(m, "mnuAssignmentOpenDocument")->isEnabled());
        clickNode(m, "Algebra");
        QVERIFY(!m->findChild<QLabel *>("imgDocumentLink")->isVisibleTo(m));
        QVERIFY(!menu(m, "mnuAssignmentDelete")->isEnabled());
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString());
    }

    void rememberedSelectionComesBackAtTheNextStart()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall '26");
        const int spring = addSemester("Spring 2027");
        addClass(fall, "Algebra");
        const int women = addClass(spring, "Women's Studies");
        addAssignment(women, "Reading log", 20, 18);
        frmMain *m = start();
        clickNode(m, "Women's Studies");
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Women's Studies"));
        QVERIFY(m->close());
        TestEnv::closeAllWindows();

        QCOMPARE(Settings::get(Settings::App, "Settings", "LastSemester"), QString("Spring 2027"));
        m = start();
        QCOMPARE(panel(m, "SSPanel4"), QString("Semester : Spring 2027"));
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : Women's Studies"));
        QVERIFY(grid(m)->isEnabled());
        // The grid shows the restored class's work, not another's.
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 1);
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Reading log"));
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString("18"));
    }

    void theFirstClassRememberedShowsItsTotals()
    {
        // The remembered class is the one the start-up reads first anyway.
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        const int bio = addClass(fall, "Biology", {90, 80, 70, 60, 0});
        addClass(fall, "Chemistry", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 15, 12);
        QFile tips(TestEnv::programFolder() + "/TIPOFDAY.TXT");
        QVERIFY(tips.open(QIODevice::WriteOnly));
        tips.write("Close out your classes.\r\n");
        tips.close();
        Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026");
        Settings::save(Settings::App, "Settings", "LastClass", "Biology");
        frmMain *m = start();
        // The user closes the tips and today's events and is back in the main window.
        for (Form *w : {static_cast<Form *>(frmTip::existing()), static_cast<Form *>(frmToday::existing())})
            if (w)
                w->Unload();
        QVERIFY(activate(m));
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : Biology"));
        QVERIFY(grid(m)->isEnabled());
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Lab"));
        QCOMPARE(panel(m, "lblMaxPoints"), QString("15"));
        QCOMPARE(panel(m, "lblCurrentPoints"), QString("12"));
        QCOMPARE(panel(m, "lblLetterGrade"), QString("(F)"));
    }

    void nothingIsRestoredWithoutTheClassName()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        const int spring = addSemester("Spring 2027");
        addClass(fall, "Algebra");
        addClass(spring, "Chemistry");
        Settings::save(Settings::App, "Settings", "LastSemester", "Spring 2027");
        frmMain *m = start();
        QCOMPARE(m->datSemesters->recordset().value("Title").toString(), QString("Fall 2026"));
        QCOMPARE(m->datClasses->recordset().value("ClassName").toString(), QString("Algebra"));
        QVERIFY(!grid(m)->isEnabled());
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString());
    }

    // Chooses Class > Set Color > `colour` with the mouse, as a user does.
    static void chooseColour(frmMain *m, const QString &colour)
    {
        auto *cls = m->findChild<QMenu *>("mnuClass");
        auto *colours = m->findChild<QMenu *>("mnuClassSetColor");
        QVERIFY(cls && colours);
        cls->popup(m->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(cls));
        QTest::mouseClick(cls, Qt::LeftButton, Qt::NoModifier, cls->actionGeometry(colours->menuAction()).center());
        QTRY_VERIFY(colours->isVisible());
        QAction *item = nullptr;
        for (QAction *a : colours->actions())
            if (a->text() == colour)
                item = a;
        QVERIFY2(item, qPrintable(colour));
        QTest::mouseClick(colours, Qt::LeftButton, Qt::NoModifier, colours->actionGeometry(item).center());
        QTRY_VERIFY(!cls->isVisible());
        settle();
    }
    static int image(frmMain *m, const QString &text)
    {
        QTreeWidgetItem *n = node(m, text);
        return n ? n->data(0, Qt::UserRole + 1).toInt() : -1;
    }

    void setColorThroughItsMenu()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        addClass(fall, "Biology");
        addClass(fall, "Chemistry");
        frmMain *m = start();
        clickNode(m, "Chemistry");
        chooseColour(m, "Red");
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Chemistry"), QString("Red"));
        QCOMPARE(image(m, "Chemistry"), 17); // the tree was rebuilt with it
        QCOMPARE(image(m, "Biology"), 3);
        chooseColour(m, "Light Cyan");
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Chemistry"), QString("Light Cyan")); // the last one counts
        QCOMPARE(image(m, "Chemistry"), 9);
        // Every item stores its own caption, and the tree shows its picture.
        clickNode(m, "Biology");
        auto *colours = m->findChild<QMenu *>("mnuClassSetColor");
        QCOMPARE(colours->actions().size(), 15);
        int expected = 4;
        for (QAction *a : colours->actions()) {
            a->trigger();
            QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Biology"), a->text());
            QCOMPARE(image(m, "Biology"), expected++);
        }
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Chemistry"), QString("Light Cyan"));
        QVERIFY(!frmError::existing());
    }

    void setColorWithoutAClassStoresNothing()
    {
        TestEnv::createDatabase();
        tipsOff();
        addSemester("Fall 2026");
        frmMain *m = start();
        const int shown = MessageBox::shown().size();
        chooseColour(m, "Green");
        QCOMPARE(MessageBox::shown().size(), shown);
        QVERIFY(!frmError::existing());
        QCOMPARE(treeText(m), QStringList{"Fall 2026"});
        const QString settings = TestEnv::configFolder();
        QDirIterator it(settings, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(!f.readAll().contains("Green"), qPrintable(f.fileName()));
        }
    }

    void addInsShowOnlyWhenDescribed()
    {
        TestEnv::createDatabase();
        tipsOff();
        addSemester("Fall 2026");
        Settings::save(Settings::App, "AddIns", "AddIn2Desc", "Flash Cards");
        Settings::save(Settings::App, "AddIns", "AddIn3Desc", "Planner");
        Settings::save(Settings::App, "AddIns", "AddIn3Command", "planner --week \"my notes\"");
        frmMain *m = start();
        QVERIFY(menu(m, "mnuAddIns")->isVisible());
        QVERIFY(!menu(m, "mnuAddIn1Desc")->isVisible());
        QVERIFY(menu(m, "mnuAddIn2Desc")->isVisible());
        QCOMPARE(menu(m, "mnuAddIn2Desc")->text(), QString("Flash Cards"));
        menu(m, "mnuAddIn2Desc")->trigger();
        QCOMPARE(MessageBox::shown().last().title, QString("No command line"));
        QCOMPARE(MessageBox::shown().last().text, QString("Tarvela couldn't launch Flash Cards!\n\nThe command line wasn't specified by the AddIn."));
        m->mnuAddInDesc_Click(1);
        QCOMPARE(MessageBox::shown().last().text, QString("Tarvela couldn't launch the Add-In!\n\nThe command line wasn't specified by the AddIn."));
        menu(m, "mnuAddIn3Desc")->trigger();
        QCOMPARE(Shell::started().last(), TestEnv::programFolder() + "/planner --week \"my notes\"");
        QCOMPARE(MessageBox::shown().last().title, QString("Add-In not started")); // no such program
    }

    void webPagesAskFirst()
    {
        TestEnv::createDatabase();
        tipsOff();
        addSemester("Fall 2026");
        frmMain *m = start();
        MessageBox::setNextAnswers({MessageBox::No, MessageBox::Yes});
        menu(m, "mnuHelpWebSite")->trigger();
        QVERIFY(Shell::opened().isEmpty());
        QCOMPARE(MessageBox::shown().last().title, QString("Connect?"));
        QCOMPARE(MessageBox::shown().last().text, QString("Before connecting to the Orbique \nWeb Site, you must be connected to the internet.\n\nAre you online?"));
        menu(m, "mnuHelpSubmitAComment")->trigger();
        QCOMPARE(Shell::opened(), QStringList{frmMain::webHost() + "/software/tarvela/comment.htm"});
    }
};

TARVELA_TEST_CLASS(TreeTest)
#include "tst_tree.moc"
