#include "MainHelpers.h"

#include "mainwindow/frmConfiguration.h"
#include "platform/InputBox.h"
#include "platform/Settings.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"

#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

using namespace MainHelpers;

// The assignment type window: its list, Add and Remove.
class AssignmentTypesTest : public TestCase
{
    Q_OBJECT

    static QStringList seeded()
    {
        return {"Homework", "In-Class Test", "Take-Home Test", "Journal", "Reading", "Quiz", "Final Paper"};
    }

    static frmMain *startProgram()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        return start();
    }

    static frmConfiguration *openTypes(frmMain *m)
    {
        m->findChild<QAction *>("mnuFileConfigureAssignmentTypes")->trigger();
        settle();
        return frmConfiguration::existing();
    }

    // The window's list after it became active again.
    static QStringList listAfterActivation(frmMain *m, frmConfiguration *w)
    {
        if (!activate(m) || !activate(w))
            return {"(window not activated)"};
        return listed(w);
    }

    static QStringList listed(frmConfiguration *w)
    {
        auto *list = find<QListWidget>(w, "lstAssignmentTypes");
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    static void choose(frmConfiguration *w, int row)
    {
        auto *list = find<QListWidget>(w, "lstAssignmentTypes");
        QVERIFY(row < list->count());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
    }

    static void click(QWidget *w, const char *name) { QTest::mouseClick(find<QPushButton>(w, name), Qt::LeftButton); }

    static int rowsNamed(const QString &name)
    {
        return TestEnv::scalar("SELECT count(*) FROM AssignmentTypes WHERE AssignmentTypeText = ? COLLATE BINARY", {name}).toInt();
    }

    static int typeCount() { return TestEnv::scalar("SELECT count(*) FROM AssignmentTypes").toInt(); }

private Q_SLOTS:
    void theWindowListsTheTypes()
    {
        frmMain *m = startProgram();
        frmConfiguration *w = openTypes(m);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QString("Tarvela Configuration"));
        QCOMPARE(find<QGroupBox>(w, "SSFrame1")->title(), QString("Assignment Types"));
        QCOMPARE(find<QPushButton>(w, "SSCommand1")->text(), QString("Add"));
        QCOMPARE(find<QPushButton>(w, "SSCommand2")->text(), QString("Remove"));
        QCOMPARE(find<QPushButton>(w, "cmdDone")->text(), QString("&Done"));
        QCOMPARE(listed(w), seeded());
        // Done closes the window, as the close box does.
        click(w, "cmdDone");
        settle();
        QVERIFY(!frmConfiguration::existing());
    }

    void addKeepsTheBlanksAndShowsAtTheNextActivation()
    {
        frmMain *m = startProgram();
        frmConfiguration *w = openTypes(m);
        QVERIFY(w);
        InputBox::setNextAnswers({"  Lab Report  "});
        click(w, "SSCommand1");
        QCOMPARE(InputBox::shown().size(), 1);
        QCOMPARE(InputBox::shown().first().prompt, QString("Enter the description for this assignment type."));
        QCOMPARE(InputBox::shown().first().title, QString("New assignment type"));
        QCOMPARE(InputBox::shown().first().defaultText, QString());
        QCOMPARE(rowsNamed("  Lab Report  "), 1);
        QCOMPARE(listed(w), seeded()); // not rebuilt by the command
        QCOMPARE(listAfterActivation(m, w), seeded() << "  Lab Report  ");

        // Blank answers and Cancel add nothing; a name too long for its field is told and not stored.
        InputBox::setNextAnswers({"   ", "", QString(51, 'x'), "Teacher's \"Choice\""});
        for (int i = 0; i < 4; ++i)
            click(w, "SSCommand1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(rowsNamed(QString(51, 'x')), 0);
        QCOMPARE(rowsNamed("Teacher's \"Choice\""), 1);
        QCOMPARE(typeCount(), 9);
    }

    void removeTakesOneRowOfTheChosenName()
    {
        TestEnv::createDatabase();
        TestEnv::exec("DELETE FROM AssignmentTypes");
        for (const char *name : {"Lab", "Teacher's Choice", "Lab", "Quiz", "quiz"})
            TestEnv::exec("INSERT INTO AssignmentTypes (AssignmentTypeText) VALUES (?)", {QString::fromUtf8(name)});
        addSemester("Fall 2026");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        frmConfiguration *w = openTypes(m);
        QVERIFY(w);
        QCOMPARE(listed(w), QStringList({"Lab", "Teacher's Choice", "Lab", "Quiz", "quiz"}));

        // Nothing chosen: nothing goes.
        click(w, "SSCommand2");
        QCOMPARE(typeCount(), 5);

        choose(w, 2);
        click(w, "SSCommand2");
        QCOMPARE(rowsNamed("Lab"), 1);
        QCOMPARE(typeCount(), 4);
        QVERIFY(MessageBox::shown().isEmpty()); // nothing asks
        QCOMPARE(listed(w), QStringList({"Lab", "Teacher's Choice", "Lab", "Quiz", "quiz"}));
        QCOMPARE(listAfterActivation(m, w), QStringList({"Teacher's Choice", "Lab", "Quiz", "quiz"}));

        choose(w, 0);
        click(w, "SSCommand2");
        QCOMPARE(rowsNamed("Teacher's Choice"), 0);
        // The name as listed: "quiz" does not take "Quiz" with it.
        choose(w, 3);
        click(w, "SSCommand2");
        QCOMPARE(rowsNamed("quiz"), 0);
        QCOMPARE(rowsNamed("Quiz"), 1);
        QCOMPARE(listAfterActivation(m, w), QStringList({"Lab", "Quiz"}));
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void blankNamesListedOnlyByTheGrid()
    {
        TestEnv::createDatabase();
        TestEnv::exec("DELETE FROM AssignmentTypes");
        TestEnv::exec("INSERT INTO AssignmentTypes (AssignmentTypeText) VALUES ('Essay'), ('   '), (''), (NULL), ('Quiz')");
        const int sem = addSemester("Fall 2026");
        addClass(sem, "Biology");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        QVERIFY(activate(m));
        frmConfiguration *w = openTypes(m);
        QVERIFY(w);
        QCOMPARE(listed(w), QStringList({"Essay", "Quiz"}));
        const QStringList grid = m->findChild<DataGrid *>("gridAssignments")->columnList(1);
        QCOMPARE(grid, QStringList({"Essay", "   ", "", "", "Quiz"}));
    }
};

TARVELA_TEST_CLASS(AssignmentTypesTest)
#include "tst_assignmenttypes.moc"
