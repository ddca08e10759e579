#include "MainDriving.h"

#include "calendar/frmToday.h"
#include "mainwindow/frmError.h"
#include "mainwindow/frmTip.h"
#include "platform/Form.h"

#include <QDirIterator>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace MainHelpers;

// The semester/class tree and the current selection it keeps.
class TreeTest : public TestCase
{
    Q_OBJECT

    static QString report()
    {
        return frmError::existing() ? frmError::existing()->findChild<QPlainTextEdit *>("txtError")->toPlainText() : QString();
    }

private Q_SLOTS:
    void treeShowsSemestersClassesAndColours()
    {
        const int fall = newFile("Fall '26");
        const int blank = addSemester(""); // no title: not in the tree, nor its classes
        const int spring = addSemester("Spring 2027");
        addClass(fall, "Women's Studies");
        addClass(fall, "Biology 101");
        addClass(blank, "Hidden");
        addClass(spring, "Chemistry");
        Settings::save(Settings::App, "ClassFolders", "Women's Studies", "Light Cyan");
        Settings::save(Settings::App, "ClassFolders", "Biology 101", "yellow"); // wrong case: the default
        frmMain *m = startQuiet();
        QCOMPARE(treeText(m), (QStringList{"Fall '26", "  Women's Studies", "  Biology 101", "Spring 2027", "  Chemistry"}));
        QCOMPARE((QList<int>{image(m, "Fall '26"), image(m, "Women's Studies"), image(m, "Biology 101"), image(m, "Chemistry")}),
                 (QList<int>{2, 9, 3, 3}));
        QVERIFY(node(m, "Fall '26")->isExpanded());
        QVERIFY(!frmError::existing());
    }

    // Each return to the window shows the tree as a rebuild does: every
    // semester with classes open, no node chosen, the view where it was;
    // what changed meanwhile is in it.
    void aReturnToTheWindowShowsTheTreeAsRebuilt()
    {
        const int fall = newFile();
        for (int i = 0; i < 40; ++i)
            addClass(fall, QString("Class %1").arg(i, 2, 10, QChar('0')));
        const int spring = addSemester("Spring 2027");
        addClass(spring, "Chemistry");
        frmMain *m = startQuiet();
        auto *tree = m->findChild<QTreeWidget *>("SSTree2");
        const QStringList shown = treeText(m);
        clickNode(m, "Chemistry");
        QVERIFY(tree->currentItem());
        node(m, "Spring 2027")->setExpanded(false);
        tree->scrollToBottom();
        const int scrolled = tree->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        auto *other = new Form; // another window of the program
        other->Show();
        QVERIFY(activate(other));
        QVERIFY(activate(m));
        QCOMPARE(treeText(m), shown);
        QVERIFY(node(m, "Spring 2027")->isExpanded());
        // Nothing chosen: the tree, which has the focus, stands on its first node.
        QVERIFY(tree->hasFocus());
        QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
        QVERIFY(tree->selectedItems().isEmpty());
        QCOMPARE(tree->verticalScrollBar()->value(), scrolled);
        // A class another program added, and a colour set meanwhile.
        addClass(spring, "Geology");
        Settings::save(Settings::App, "ClassFolders", "Chemistry", "Red");
        QVERIFY(activate(other));
        QVERIFY(activate(m));
        QCOMPARE(treeText(m), shown + QStringList{"  Geology"});
        QCOMPARE(image(m, "Chemistry"), 17);
        other->Unload();
    }

    void classesKeepTheirTableOrderUnderTheirSemester()
    {
        const int fall = newFile();
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
        frmMain *m = startQuiet();
        // The second semester's node cannot be made (reported); its classes
        // join the first node of that title, after that semester's own.
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology", "  Anatomy", "  Drawing", "Spring 2027", "  Geology", "  Algebra"}));
        QCOMPARE(image(m, "Anatomy"), 17);
        QVERIFY(frmError::existing());
    }

    void sharedClassNameIsReportedAndTheRebuildGoesOn()
    {
        const int a = newFile();
        const int b = addSemester("Spring 2027");
        addClass(a, "Algebra");
        addClass(b, "Algebra");
        addClass(b, "Geometry");
        frmMain *m = startQuiet();
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Algebra", "Spring 2027", "  Geometry"}));
        QVERIFY(frmError::existing() && QTest::qWaitForWindowActive(frmError::existing()));
        QVERIFY(report().contains("Routine was (General)_RefreshTree") && report().contains("Form was frmMain"));
        // A class click on the shared name takes the first such class and its semester.
        clickNode(m, "Algebra");
        QCOMPARE(label(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(m->datClasses->recordset().value("Semester_ID").toInt(), a);
    }

    void failuresReachTheErrorWindow()
    {
        addClass(newFile(), "Biology");
        frmMain *m = startQuiet();
        QVERIFY(!frmError::existing());
        // Tables go missing under the running program.
        TestEnv::exec("ALTER TABLE Semesters RENAME TO Gone");
        clickNode(m, "Fall 2026");
        QVERIFY(frmError::existing());
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(TestEnv::shownTexts().first().contains("no such table"));
        QVERIFY(report().contains("Routine was SSTree2_NodeClick"));
        click(frmError::existing(), "Command1");
        TestEnv::exec("ALTER TABLE Gone RENAME TO Semesters");
        TestEnv::exec("ALTER TABLE AssignmentTypes RENAME TO Gone");
        MessageBox::clearShown();
        m->Show();
        frmError::instance()->Show(); // another window was active in between
        settle();
        m->Show();
        settle();
        QVERIFY(TestEnv::shownTexts().join("|").contains("no such table"));
        QVERIFY(report().contains("Routine was Form_Activate"));
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology"})); // the rebuild went on
    }

    void semesterClickFollowsItsFirstClass()
    {
        const int fall = newFile();
        addSemester("Empty Term");
        addClass(addSemester("No Work Term"), "Empty Class");
        const int bio = addClass(fall, "Biology 101", scale());
        const int chem = addClass(fall, "Chemistry");
        addAssignment(bio, "Lab 1", 10, 9, "2026-10-02");
        addAssignment(bio, "Lab 2", 10, 8, "2026-10-01");
        addAssignment(chem, "Quiz", 5, 5);
        frmMain *m = startOn("Fall 2026");
        QCOMPARE(label(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(label(m, "SSPanel5"), QString("Class : Biology 101"));
        QCOMPARE(m->datClasses->recordset().RecordCount(), 2);
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 2);
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Lab 2")); // by due date
        QVERIFY(grid(m)->isEnabled());
        QCOMPARE(grid(m)->caption(), QString("Biology 101"));
        QCOMPARE(figures(m).mid(0, 2), QStringList({"20", "17"}));
        QCOMPARE(setting("LastSemester") + "|" + setting("LastClass"), QString("Fall 2026|Biology 101"));
        QVERIFY(find<QAction>(m, "mnuAssignmentDelete")->isEnabled());
        // A semester whose first class has no work disables the grid; a click on the class enables it.
        clickNode(m, "No Work Term");
        QVERIFY(!grid(m)->isEnabled());
        QCOMPARE(label(m, "SSPanel5"), QString("Class : Empty Class"));
        clickNode(m, "Empty Class");
        QVERIFY(grid(m)->isEnabled());
        QCOMPARE(setting("LastSemester") + "|" + setting("LastClass"), QString("No Work Term|Empty Class")); // the class's own semester
        // A semester without classes leaves the grid disabled and the totals as they were.
        clickNode(m, "Fall 2026");
        clickNode(m, "Empty Term");
        QVERIFY(!grid(m)->isEnabled());
        QCOMPARE(label(m, "lblCurrentPoints"), QString("17"));
        QVERIFY(!find<QAction>(m, "mnuClassCloseOut")->isEnabled());
    }

    void classClickShowsItsWorkAndTheClosedMarkOnce()
    {
        const int fall = newFile();
        addClass(fall, "Algebra");
        const int closed = addClass(fall, "History");
        TestEnv::exec("UPDATE Classes SET ClassClosed = 1 WHERE ID = ?", {closed});
        const int work = addAssignment(closed, "Essay", 50, 45);
        TestEnv::exec("UPDATE Assignments SET DocumentPath = '/home/me/essay.odt' WHERE ID = ?", {work});
        frmMain *m = startOn("History");
        QCOMPARE(label(m, "SSPanel5"), QString("Class : History (Closed)"));
        m->datClasses->recordset().MoveFirst();
        m->datClasses->recordset().FindFirst("ClassName", "History");
        QCOMPARE(label(m, "SSPanel5"), QString("Class : History (Closed)"));
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Essay"));
        QCOMPARE(find<QLabel>(m, "imgDocumentLink")->toolTip(), QString("Open linked document (/home/me/essay.odt)"));
        QVERIFY(find<QLabel>(m, "imgDocumentLink")->isVisibleTo(m));
        clickNode(m, "Algebra");
        QVERIFY(!find<QLabel>(m, "imgDocumentLink")->isVisibleTo(m));
        QVERIFY(!find<QAction>(m, "mnuAssignmentDelete")->isEnabled());
        QCOMPARE(label(m, "lblCurrentPoints"), QString());
    }

    void rememberedSelectionComesBackAtTheNextStart_data()
    {
        QTest::addColumn<QString>("semester");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("shown"); // the class panel, the first row, the points band; none: nothing restored
        QTest::newRow("a class of another semester")
            << "Spring 2027" << "Women's Studies" << QStringList{"Class : Women's Studies", "Reading log", "20", "18", "(F)"};
        QTest::newRow("the class read first anyway") << "Fall '26" << "Biology" << QStringList{"Class : Biology", "Lab", "15", "12", "(F)"};
        QTest::newRow("no class name") << "Spring 2027" << "" << QStringList();
    }

    // The remembered class comes back with its work and its totals, once the
    // user closed the tips and today's events.
    void rememberedSelectionComesBackAtTheNextStart()
    {
        QFETCH(QString, semester);
        QFETCH(QString, cls);
        QFETCH(QStringList, shown);
        const int fall = newFile("Fall '26");
        addAssignment(addClass(fall, "Biology", scale()), "Lab", 15, 12);
        addClass(fall, "Chemistry", scale());
        addAssignment(addClass(addSemester("Spring 2027"), "Women's Studies", scale()), "Reading log", 20, 18);
        QFile tips(TestEnv::programFolder() + "/TIPOFDAY.TXT");
        QVERIFY(tips.open(QIODevice::WriteOnly) && tips.write("Close out your classes.\r\n") > 0);
        tips.close();
        Settings::save(Settings::App, "Settings", "LastSemester", semester);
        if (!cls.isEmpty())
            Settings::save(Settings::App, "Settings", "LastClass", cls);
        frmMain *m = start();
        for (Form *w : {static_cast<Form *>(frmTip::existing()), static_cast<Form *>(frmToday::existing())})
            if (w)
                w->Unload();
        QVERIFY(activate(m));
        if (shown.isEmpty()) {
            QCOMPARE(m->datSemesters->recordset().value("Title").toString(), QString("Fall '26"));
            QCOMPARE(m->datClasses->recordset().value("ClassName").toString(), QString("Biology"));
            QVERIFY(!grid(m)->isEnabled());
            QCOMPARE(setting("LastClass"), QString());
            return;
        }
        QCOMPARE(label(m, "SSPanel4"), "Semester : " + semester);
        QCOMPARE(label(m, "SSPanel5"), shown[0]);
        QVERIFY(grid(m)->isEnabled());
        // The grid shows the restored class's work, not another's.
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 1);
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), shown[1]);
        QCOMPARE(figures(m), shown.mid(2));
    }

    void setColorThroughItsMenu()
    {
        const int fall = newFile();
        addClass(fall, "Biology");
        addClass(fall, "Chemistry");
        frmMain *m = startOn("Chemistry");
        chooseFromMenus(m, find<QAction>(m, "mnuClassSetColorRed"));
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Chemistry"), QString("Red"));
        QCOMPARE(image(m, "Chemistry"), 17); // the tree was rebuilt with it
        QCOMPARE(image(m, "Biology"), 3);
        chooseFromMenus(m, find<QAction>(m, "mnuClassSetColorLightCyan"));
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Chemistry"), QString("Light Cyan")); // the last one counts
        QCOMPARE(image(m, "Chemistry"), 9);
        QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Biology"), QString());
        QVERIFY(!frmError::existing());
    }

    void setColorWithoutAClassStoresNothing()
    {
        newFile();
        frmMain *m = startQuiet();
        chooseFromMenus(m, find<QAction>(m, "mnuClassSetColorGreen"));
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!frmError::existing());
        QCOMPARE(treeText(m), QStringList{"Fall 2026"});
        for (QDirIterator it(TestEnv::configFolder(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            QFile f(it.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(!f.readAll().contains("Green"), qPrintable(f.fileName()));
        }
    }
};

TARVELA_TEST_CLASS(TreeTest)
#include "tst_tree.moc"
