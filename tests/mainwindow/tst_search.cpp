#include "MainDriving.h"

#include "mainwindow/frmError.h"
#include "mainwindow/frmSearch.h"

#include <QFile>
#include <QLineEdit>

using namespace MainHelpers;

// The assignment search window, opened from the main window's toolbar.
class SearchTest : public TestCase
{
    Q_OBJECT

    static QListWidget *list(frmSearch *s) { return find<QListWidget>(s, "lstResults"); }
    static QStringList entries(frmSearch *s) { return items(list(s)); }

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
        click(m, "SSCommand4");
        return frmSearch::existing();
    }

    // Types the text into the search box and presses Enter there.
    static void search(frmSearch *s, const QString &text)
    {
        auto *box = find<QLineEdit>(s, "txtSearch");
        QVERIFY(box);
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        typeText(box, text);
        QCOMPARE(box->text(), text);
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }

    static void doubleClickAt(frmSearch *s, const QPoint &at)
    {
        QTest::mouseDClick(list(s)->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        settle();
    }
    // The first click, then the second, which the list takes as a double click.
    static void doubleClickEntry(frmSearch *s, int row)
    {
        QVERIFY(row < list(s)->count());
        const QPoint at = list(s)->visualItemRect(list(s)->item(row)).center();
        QTest::mouseClick(list(s)->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        doubleClickAt(s, at);
    }

private Q_SLOTS:
    void findsWhatWasTypedLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("said");
        const QStringList three = {"Essay on cells [Biology]", "Cell ESSAY draft [Biology]", "Final essay [Biology]"};
        QTest::newRow("start, middle and end") << "essay" << three << "Found 3 results.";
        QTest::newRow("capitals") << "ESSAY" << three << "Found 3 results.";
        QTest::newRow("only in comments") << "WESTPHALIA" << QStringList{"Chapter 3 [Biology]"} << "Found 1 results.";
        QTest::newRow("beyond ASCII") << "üBUNG ZUR ä" << QStringList{"Übung zur Ärztekammer [Biology]"} << "Found 1 results.";
        QTest::newRow("percent") << "%" << QStringList{"100% effort [Biology]"} << "Found 1 results.";
        QTest::newRow("apostrophe") << "'" << QStringList{"Teacher's pick [Biology]"} << "Found 1 results.";
        QTest::newRow("nowhere") << "nowhere" << QStringList() << "Found 0 results.";
        QTest::newRow("over-long") << QString(3000, QChar('x')) << QStringList() << "Found 0 results.";
        QTest::newRow("empty") << "" << QStringList() << "";
    }

    // Titles and comments, in any letter case; what the user types are
    // characters, not patterns (each kind of them: the store's search
    // tests). Each search replaces the list of the one before.
    void findsWhatWasTypedLiterally()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QFETCH(QString, said);
        const int bio = addClass(newFile(), "Biology");
        for (const char *title : {"Essay on cells", "Cell ESSAY draft", "Final essay", "Lab report", "Übung zur Ärztekammer",
                                  "100% effort", "1000 effort", "Teacher's pick", "Teachers pick"})
            addAssignment(bio, QString::fromUtf8(title), 10, 0);
        TestEnv::exec("UPDATE Assignments SET Comments = 'Ask about the Treaty of Westphalia' WHERE ID = ?",
                      {addAssignment(bio, "Chapter 3", 10, 0)});
        frmSearch *s = openSearch(startQuiet());
        QVERIFY(s);
        search(s, "report");
        QCOMPARE(entries(s), QStringList{"Lab report [Biology]"});
        search(s, text);
        QCOMPARE(entries(s), expected);
        QCOMPARE(label(s, "lblResults"), said);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void doubleClickTakesTheMainWindowToTheClass()
    {
        const int fall = newFile();
        const int spring = addSemester("Spring '27");
        const int bio = addClass(fall, "Biology");
        const int chem = addClass(spring, "O'Brien's Chemistry");
        addClass(spring, "Physics");
        addAssignment(bio, "Cells", 10, 5);
        addAssignment(chem, "Titration lab", 20, 15, "2027-02-01");
        addAssignment(chem, "Moles quiz", 20, 10, "2027-01-15");
        // A click on a semester node narrows the sources to that semester.
        frmMain *m = startOn("Fall 2026");
        QCOMPARE(gridTitles(m), QStringList{"Cells"});
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "lab");
        QCOMPARE(entries(s), QStringList{"Titration lab [O'Brien's Chemistry]"});
        doubleClickEntry(s, 0);
        QVERIFY(!frmSearch::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(setting("LastSemester") + "|" + setting("LastClass"), QString("Spring '27|O'Brien's Chemistry"));
        QCOMPARE(m->datSemesters->recordset().value("Title").toString(), QString("Spring '27"));
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), chem);
        QCOMPARE(label(m, "SSPanel4"), QString("Semester : Spring '27"));
        QCOMPARE(label(m, "SSPanel5"), QString("Class : O'Brien's Chemistry"));
        QCOMPARE(gridTitles(m), (QStringList{"Moles quiz", "Titration lab"}));
        QCOMPARE(grid(m)->caption(), QString("O'Brien's Chemistry"));
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
        QCOMPARE(label(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(gridTitles(m), QStringList{"Cells"});
        QCOMPARE(setting("LastSemester") + "|" + setting("LastClass"), QString("Fall 2026|Biology"));
    }

    void equalNamedClassesJumpToTheFirstInTableOrder()
    {
        const int fall = newFile();
        const int first = addClass(fall, "Algebra");
        addClass(fall, "Geometry");
        addAssignment(first, "Homework 1", 10, 0);
        addAssignment(addClass(addSemester("Spring 2027"), "Algebra"), "Homework 2", 10, 0);
        frmMain *m = startQuiet();
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
        const int bio = addClass(newFile(), "Biology");
        addAssignment(addClass(addSemester("Spring 2027"), "Chemistry"), "Titration lab", 20, 15);
        Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026");
        Settings::save(Settings::App, "Settings", "LastClass", "Biology");
        frmMain *m = startQuiet();
        frmSearch *s = openSearch(m);
        QVERIFY(s);
        search(s, "lab");
        QCOMPARE(list(s)->count(), 1);
        const QPoint below = list(s)->visualItemRect(list(s)->item(0)).center() + QPoint(0, 150);
        QVERIFY(list(s)->viewport()->rect().contains(below));
        doubleClickAt(s, below);
        // Nothing selected before: nothing either after selecting and clicking below it.
        list(s)->setCurrentRow(0);
        doubleClickAt(s, below);
        QCOMPARE(frmSearch::existing(), s);
        QCOMPARE(setting("LastSemester") + "|" + setting("LastClass"), QString("Fall 2026|Biology"));
        QCOMPARE(m->datClasses->recordset().value("ID").toInt(), bio);
        // A double click with an empty list changes nothing either.
        search(s, "");
        doubleClickAt(s, QPoint(10, 10));
        QCOMPARE(frmSearch::existing(), s);
        QCOMPARE(setting("LastClass"), QString("Biology"));
    }

    void escAndDoneCloseAndBringTheMainWindowBack()
    {
        addAssignment(addClass(newFile(), "Biology"), "Cells", 10, 5);
        Settings::save(Settings::App, "Settings", "LastSemester", "Fall 2026");
        Settings::save(Settings::App, "Settings", "LastClass", "Biology");
        frmMain *m = startQuiet();
        frmSearch *s = openSearch(m);
        QVERIFY(s && s->isVisible() && m->isVisible());
        QCOMPARE(label(s, "Label1"), QString("Enter some text to find in the assignment titles and comments:"));
        // The Find button searches as Enter does; Search again brings the same window forward.
        find<QLineEdit>(s, "txtSearch")->setText("cells");
        click(s, "cmdFind");
        QCOMPARE(entries(s), QStringList{"Cells [Biology]"});
        QCOMPARE(openSearch(m), s);
        QCOMPARE(entries(s), QStringList{"Cells [Biology]"});
        // Esc in the search box or in the list, and Enter on the focused
        // Done (not Find), close it and bring the main window back; so does
        // a click on Done.
        const std::pair<const char *, Qt::Key> ways[] = {
            {"txtSearch", Qt::Key_Escape}, {"lstResults", Qt::Key_Escape}, {"cmdDone", Qt::Key_Return}};
        for (const auto &[control, key] : ways) {
            s = openSearch(m);
            search(s, "cells");
            QVERIFY(QTest::qWaitForWindowActive(s));
            find<QWidget>(s, control)->setFocus();
            QTest::keyClick(find<QWidget>(s, control), key);
            settle();
            QVERIFY2(!frmSearch::existing(), control);
            QVERIFY(QTest::qWaitForWindowActive(m));
        }
        click(openSearch(m), "cmdDone");
        QVERIFY(!frmSearch::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(setting("LastClass"), QString("Biology"));
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void anUnreadableFileIsToldAndNothingIsLost()
    {
        addAssignment(addClass(newFile(), "Biology"), "Cells", 10, 5);
        frmSearch *s = openSearch(startQuiet());
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
        QCOMPARE(label(s, "lblResults"), QString());
        QCOMPARE(frmSearch::existing(), s);
        QVERIFY(QFile::rename(moved, TestEnv::databasePath()));
        search(s, "cells");
        QCOMPARE(entries(s), QStringList{"Cells [Biology]"});
    }
};

TARVELA_TEST_CLASS(SearchTest)
#include "tst_search.moc"
