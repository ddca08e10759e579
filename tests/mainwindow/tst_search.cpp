#include "MainHelpers.h"

#include "mainwindow/frmError.h"
#include "mainwindow/frmSearch.h"
#include "platform/Settings.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Recordset.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace MainHelpers;

// The assignment search window, opened from the main window's toolbar.
class SearchTest : public TestCase
{
    Q_OBJECT

    static void tipsOff() { Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0"); }
    static QString setting(const char *key) { return Settings::get(Settings::App, "Settings", key); }
    static QListWidget *list(frmSearch *s) { return s->findChild<QListWidget *>("lstResults"); }
    static QString count(frmSearch *s) { return s->findChild<QLabel *>("lblResults")->text(); }
    static QString panel(frmMain *m, const char *name) { return m->findChild<QLabel *>(name)->text(); }
    static DataGrid *grid(frmMain *m) { return m->findChild<DataGrid *>("gridAssignments"); }

    static QStringList entries(frmSearch *s)
    {
        QStringList out;
        for (int i = 0; i < list(s)->count(); ++i)
            out << list(s)->item(i)->text();
        return out;
    }

    // The grid's titles, as the main window shows them.
    static QStringList gridTitles(frmMain *m)
    {
        QStringList out;
        DataGridModel *model = grid(m)->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (!model->isNewRow(r))
                out << model->data(model->index(r, 0), Qt::DisplayRole).toString();
        return out;
    }

    // Presses "Search" on the toolbar; the search window comes up.
    static frmSearch *openSearch(frmMain *m)
    {
        auto *button = m->findChild<QToolButton *>("SSCommand4");
        if (!button)
            return nullptr;
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
        return frmSearch::existing();
    }

    // Types the text into the search box and presses Enter there.
    static void search(frmSearch *s, const QString &text)
    {
        auto *box = s->findChild<QLineEdit *>("txtSearch");
        QVERIFY(box);
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar ch : text) {
            if (ch.unicode() < 128)
                QTest::keyClick(box, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        QCOMPARE(box->text(), text);
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }

    static void doubleClickEntry(frmSearch *s, int row)
    {
        QListWidget *l = list(s);
        QVERIFY(row < l->count());
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        settle();
    }

private Q_SLOTS:
    void findsTitlesAnywhereInAnyLetterCase()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int bio = addClass(addSemester("Fall 2026"), "Biology");
        addAssignment(bio, "Essay on cells", 10, 0);
        addAssignment(bio, "Cell ESSAY draft", 10, 0);
        addAssignment(bio, "Final essay", 10, 0);
        addAssignment(bio, "Lab report", 10, 0);
        frmMain *m = start();
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        QVERIFY(s->isVisible());
        QVERIFY(m->isVisible());
        QCOMPARE(s->windowTitle(), QString("Tarvela Assignment Search"));
        QCOMPARE(s->findChild<QLabel *>("Label1")->text(),
                 QString("Enter some text to find in the assignment titles and comments:"));
        QCOMPARE(s->findChild<QPushButton *>("cmdFind")->text(), QString("&Find"));
        QCOMPARE(s->findChild<QPushButton *>("cmdDone")->text(), QString("&Done"));
        const QStringList three = {"Essay on cells [Biology]", "Cell ESSAY draft [Biology]", "Final essay [Biology]"};
        for (const char *text : {"essay", "ESSAY", "EsSaY"}) {
            search(s, text);
            QCOMPARE(entries(s), three);
            QCOMPARE(count(s), QString("Found 3 results."));
        }
        search(s, "ESSAY ON");
        QCOMPARE(entries(s), QStringList{"Essay on cells [Biology]"});
        QCOMPARE(count(s), QString("Found 1 results."));
        search(s, "draft");
        QCOMPARE(entries(s), QStringList{"Cell ESSAY draft [Biology]"});
        search(s, "nowhere");
        QCOMPARE(entries(s), QStringList{});
        QCOMPARE(count(s), QString("Found 0 results."));
        search(s, "essay");
        search(s, "");
        QCOMPARE(entries(s), QStringList{});
        QCOMPARE(count(s), QString());
        // The Find button runs the same search.
        s->findChild<QLineEdit *>("txtSearch")->setText("report");
        QTest::mouseClick(s->findChild<QPushButton *>("cmdFind"), Qt::LeftButton);
        QCOMPARE(entries(s), QStringList{"Lab report [Biology]"});
        // Pressing Search again brings the same window forward.
        QCOMPARE(openSearch(m), s);
        QCOMPARE(entries(s), QStringList{"Lab report [Biology]"});
    }

    void findsTextOnlyInCommentsAndBeyondAscii()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int c = addClass(addSemester("Herbst"), "Deutsch");
        const int a = addAssignment(c, "Chapter 3", 10, 0);
        TestEnv::exec("UPDATE Assignments SET Comments = ? WHERE ID = ?", {"Ask about the Treaty of Westphalia", a});
        addAssignment(c, "Übung zur Ärztekammer", 10, 0);
        frmSearch *s = openSearch(start());
        QVERIFY(s);
        search(s, "WESTPHALIA");
        QCOMPARE(entries(s), QStringList{"Chapter 3 [Deutsch]"});
        QCOMPARE(count(s), QString("Found 1 results."));
        search(s, "üBUNG ZUR ä");
        QCOMPARE(entries(s), QStringList{"Übung zur Ärztekammer [Deutsch]"});
    }

    void percentUnderscoreAndApostropheAreCharacters()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int c = addClass(addSemester("Fall '26"), "O'Brien's Maths");
        addAssignment(c, "100% effort", 10, 0);
        addAssignment(c, "1000 effort", 10, 0);
        addAssignment(c, "Teacher's pick", 10, 0);
        addAssignment(c, "Teachers pick", 10, 0);
        addAssignment(c, "a_b", 10, 0);
        addAssignment(c, "axb", 10, 0);
        frmSearch *s = openSearch(start());
        QVERIFY(s);
        search(s, "%");
        QCOMPARE(entries(s), QStringList{"100% effort [O'Brien's Maths]"});
        search(s, "'");
        QCOMPARE(entries(s), QStringList{"Teacher's pick [O'Brien's Maths]"});
        search(s, "_");
        QCOMPARE(entries(s), QStringList{"a_b [O'Brien's Maths]"});
        search(s, "*");
        QCOMPARE(count(s), QString("Found 0 results."));
        search(s, "' OR ''='");
        QCOMPARE(count(s), QString("Found 0 results."));
        // An over-long text is searched like any other.
        search(s, QString(3000, QChar('x')));
        QCOMPARE(count(s), QString("Found 0 results."));
        QVERIFY(MessageBox::shown().isEmpty());
        // The names with apostrophes take the user there.
        search(s, "pick");
        doubleClickEntry(s, 0);
        QVERIFY(!frmSearch::existing());
        QCOMPARE(setting("LastSemester"), QString("Fall '26"));
        QCOMPARE(setting("LastClass"), QString("O'Brien's Maths"));
    }

    void doubleClickTakesTheMainWindowToTheClass()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        const int spring = addSemester("Spring 2027");
        const int bio = addClass(fall, "Biology");
        const int chem = addClass(spring, "Chemistry");
        addClass(spring, "Physics");
        addAssignment(bio, "Cells", 10, 5);
        addAssignment(chem, "Titration lab", 20, 15, "2027-02-01");
        addAssignment(chem, "Moles quiz", 20, 10, "2027-01-15");
        frmMain *m = start();
        // A click on a semester node narrows the sources to that semester.
        clickNode(m, "Fall 2026");
        QCOMPARE(gridTitles(m), QStringList{"Cells"});
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "lab");
        QCOMPARE(entries(s), QStringList{"Titration lab [Chemistry]"});
        doubleClickEntry(s, 0);
        QVERIFY(!frmSearch::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(setting("LastSemester"), QString("Spring 2027"));
        QCOMPARE(setting("LastClass"), QString("Chemistry"));
        QCOMPARE(m->datSemesters->recordset().value("Title").toString(), QString("Spring 2027"));
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), chem);
        QCOMPARE(panel(m, "SSPanel4"), QString("Semester : Spring 2027"));
        QCOMPARE(panel(m, "SSPanel5"), QString("Class : Chemistry"));
        QCOMPARE(gridTitles(m), (QStringList{"Moles quiz", "Titration lab"}));
        QCOMPARE(grid(m)->caption(), QString("Chemistry"));
        QVERIFY(grid(m)->isEnabled());
        QVERIFY(!frmError::existing());

        // After a class click, back to a class of the other semester.
        clickNode(m, "Physics");
        s = openSearch(m);
        search(s, "CELLS");
        QCOMPARE(entries(s), QStringList{"Cells [Biology]"});
        doubleClickEntry(s, 0);
        QCOMPARE(m->datSemesters->recordset().value("ID").toInt(), fall);
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), bio);
        QCOMPARE(panel(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(gridTitles(m), QStringList{"Cells"});
        QCOMPARE(setting("LastSemester"), QString("Fall 2026"));
        QCOMPARE(setting("LastClass"), QString("Biology"));
    }

    void equalNamedClassesJumpToTheFirstInTableOrder()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        const int spring = addSemester("Spring 2027");
        const int first = addClass(fall, "Algebra");
        addClass(fall, "Geometry");
        const int second = addClass(spring, "Algebra");
        addAssignment(first, "Homework 1", 10, 0);
        addAssignment(second, "Homework 2", 10, 0);
        frmMain *m = start();
        if (frmError *e = frmError::existing()) // the shared name has one tree node only
            e->Unload();
        clickNode(m, "Geometry");
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "homework");
        QCOMPARE(entries(s), (QStringList{"Homework 1 [Algebra]", "Homework 2 [Algebra]"}));
        for (int row : {1, 0}) {
            doubleClickEntry(s, row);
            QVERIFY(!frmSearch::existing());
            QCOMPARE(m->datClasses->recordset().value("ID").toInt(), first);
            QCOMPARE(setting("LastClass"), QString("Algebra"));
            QCOMPARE(gridTitles(m), QStringList{"Homework 1"});
            s = openSearch(m);
            search(s, "homework");
        }
    }

    void doubleClickOnTheEmptyPartChangesNothing()
    {
        TestEnv::createDatabase();
        tipsOff();
        const int fall = addSemester("Fall 2026");
        const int bio = addClass(fall, "Biology");
        const int chem = addClass(addSemester("Spring 2027"), "Chemistry");
        addAssignment(chem, "Titration lab", 20, 15);
        Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026");
        Settings::save(Settings::App, "Settings", "LastClass", "Biology");
        frmMain *m = start();
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "lab");
        QCOMPARE(list(s)->count(), 1);
        const QPoint below = list(s)->visualItemRect(list(s)->item(0)).center() + QPoint(0, 150);
        QVERIFY(list(s)->viewport()->rect().contains(below));
        QTest::mouseDClick(list(s)->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        settle();
        // Nothing selected before: nothing either after selecting and clicking below it.
        list(s)->setCurrentRow(0);
        QTest::mouseDClick(list(s)->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        settle();
        QCOMPARE(frmSearch::existing(), s);
        QCOMPARE(setting("LastSemester"), QString("Fall 2026"));
        QCOMPARE(setting("LastClass"), QString("Biology"));
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), bio);
        // A double click with an empty list changes nothing either.
        search(s, "");
        QTest::mouseDClick(list(s)->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        settle();
        QCOMPARE(frmSearch::existing(), s);
        QCOMPARE(setting("LastClass"), QString("Biology"));
    }

    void escAndDoneCloseAndBringTheMainWindowBack()
    {
        TestEnv::createDatabase();
        tipsOff();
        addAssignment(addClass(addSemester("Fall 2026"), "Biology"), "Cells", 10, 5);
        Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026");
        Settings::save(Settings::App, "Settings", "LastClass", "Biology");
        frmMain *m = start();
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "cells");
        QVERIFY(QTest::qWaitForWindowActive(s));
        QTest::keyClick(s->findChild<QLineEdit *>("txtSearch"), Qt::Key_Escape);
        settle();
        QVERIFY(!frmSearch::existing());
        QVERIFY(QTest::qWaitForWindowActive(m));
        QCOMPARE(setting("LastClass"), QString("Biology"));
        // Esc with the focus in the list, then Done.
        s = openSearch(m);
        search(s, "cells");
        QVERIFY(QTest::qWaitForWindowActive(s));
        list(s)->setFocus();
        QTest::keyClick(list(s), Qt::Key_Escape);
        settle();
        QVERIFY(!frmSearch::existing());
        s = openSearch(m);
        QVERIFY(QTest::qWaitForWindowActive(s));
        QTest::mouseClick(s->findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        settle();
        QVERIFY(!frmSearch::existing());
        QVERIFY(QTest::qWaitForWindowActive(m));
        QVERIFY(m->isVisible());
        // Enter on the focused Done button presses Done, not Find.
        s = openSearch(m);
        QVERIFY(QTest::qWaitForWindowActive(s));
        s->findChild<QPushButton *>("cmdDone")->setFocus();
        QTest::keyClick(s->findChild<QPushButton *>("cmdDone"), Qt::Key_Return);
        settle();
        QVERIFY(!frmSearch::existing());
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void anUnreadableFileIsToldAndNothingIsLost()
    {
        TestEnv::createDatabase();
        tipsOff();
        addAssignment(addClass(addSemester("Fall 2026"), "Biology"), "Cells", 10, 5);
        frmMain *m = start();
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "cells");
        QCOMPARE(list(s)->count(), 1);
        // The file disappears while the window is open.
        const QString moved = TestEnv::databasePath() + ".away";
        QVERIFY(QFile::rename(TestEnv::databasePath(), moved));
        search(s, "cells");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Critical);
        QVERIFY(MessageBox::shown().first().text.contains("not found"));
        QCOMPARE(list(s)->count(), 0);
        QCOMPARE(count(s), QString());
        QCOMPARE(frmSearch::existing(), s);
        QVERIFY(QFile::rename(moved, TestEnv::databasePath()));
        search(s, "cells");
        QCOMPARE(entries(s), QStringList{"Cells [Biology]"});
    }
};

TARVELA_TEST_CLASS(SearchTest)
#include "tst_search.moc"
