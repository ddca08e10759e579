#include "MainDriving.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"
#include "mainwindow/frmAddAssignment.h"
#include "mainwindow/frmClassStatus.h"
#include "mainwindow/frmConfirmGrade.h"
#include "mainwindow/frmError.h"
#include "platform/Controls.h"
#include "bound/frmCompactDB.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

using namespace MainHelpers;

// The grade book: figures, the grid's road, close-out, deletions and the GPA.
class GradebookTest : public TestCase
{
    Q_OBJECT

    int m_sem = 0, m_bio = 0, m_chem = 0;

    // A fresh file: "Fall 2026" with Biology and Chemistry on the usual scale.
    void seed()
    {
        m_sem = newFile();
        m_bio = addClass(m_sem, "Biology", scale());
        m_chem = addClass(m_sem, "Chemistry", scale());
    }

    // The same with Biology's "Lab" (10 points possible), the main window on Biology.
    frmMain *labOnBiology(const QVariant &points = 10)
    {
        seed();
        addAssignment(m_bio, "Lab", 10, points);
        return startOn("Biology");
    }

    static QVariant field(const char *name, const QString &title)
    {
        return TestEnv::scalar(QString("SELECT %1 FROM Assignments WHERE AssignmentTitle = ?").arg(name), {title});
    }
    static QVariant classOf(const QString &title) { return field("Class_ID", title); }

    // The file refuses to store an assignment ("INSERT") or a change to one ("UPDATE").
    static void refuse(const char *what)
    {
        TestEnv::exec(QString("CREATE TRIGGER refuse BEFORE %1 ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")
                          .arg(what));
    }

    // Keys go wherever the focus is, as when a user types into the grid (the
    // first key opens the cell's editor).
    static void keys(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *w = QApplication::focusWidget();
            QVERIFY2(w, "nothing has the focus");
            QTest::keyClicks(w, QString(c));
        }
    }
    static void key(Qt::Key k)
    {
        QWidget *w = QApplication::focusWidget();
        QVERIFY2(w, "nothing has the focus");
        QTest::keyClick(w, k);
        settle();
    }

    // Types a whole row into the grid's empty last row, Tab from cell to
    // cell; the last key is left to the caller.
    static void typeRow(frmMain *m, const QStringList &cells)
    {
        QTableView *v = view(m);
        QVERIFY(activate(m));
        v->setFocus();
        v->setCurrentIndex(v->model()->index(v->model()->rowCount() - 1, 0));
        settle();
        for (int i = 0; i < cells.size() && !QTest::currentTestFailed(); ++i) {
            keys(cells[i]);
            if (i + 1 < cells.size())
                key(Qt::Key_Tab);
        }
    }

private Q_SLOTS:
    void refreshPointsFollowsTheRows()
    {
        seed();
        const int art = addClass(m_sem, "Art", scale());
        const int music = addClass(m_sem, "Music", {90, 80, 70, 60, QVariant()});
        const qlonglong e11 = 100000000000;
        const int huge = addClass(m_sem, "Huge", {9 * e11, 8 * e11, 7 * e11, 6 * e11, 0});
        addAssignment(m_bio, "Test 1", 50, 40);
        addAssignment(m_bio, "Test 2", 50, 40);
        addAssignment(m_bio, "Ungraded", QVariant(), QVariant());
        addAssignment(art, "Sketch", QVariant(), 5);
        addAssignment(music, "Scales", 100, 10);
        // Written into the file by another tool: beyond what the fields take.
        addAssignment(huge, "Mega project", 10 * e11, 10 * e11);
        addAssignment(huge, "Quiz", 10, 5);
        frmMain *m = startOn("Biology");
        QCOMPARE(figures(m), QStringList({"100", "80", "(B)"})); // exactly the B threshold
        clickNode(m, "Music");
        QCOMPARE(label(m, "lblLetterGrade"), QString("(B)")); // no test holds: unchanged
        clickNode(m, "Art");
        QCOMPARE(label(m, "lblLetterGrade"), QString("(A)")); // nothing possible
        clickNode(m, "Chemistry"); // no work
        QCOMPARE(figures(m), QStringList({"", "", ""}));
        // Numbers beyond 32 bits are shown as stored, and the class status
        // counts from the same figures.
        clickNode(m, "Huge");
        QCOMPARE(figures(m), QStringList({"1000000000010", "1000000000005", "(A)"}));
        QCOMPARE(view(m)->model()->index(0, 4).data().toString(), QString("1000000000000"));
        click(m, "cmdClassStats");
        QCOMPARE(label(frmClassStatus::existing(), "lblPointsShyOfA"), QString("Points shy of A:  -100000000005"));
        QVERIFY(!frmError::existing());
    }

    void theTotalsFollowEveryWriteWhereverItComesFrom()
    {
        seed();
        addAssignment(m_bio, "Lab 1", 10, 5, "2026-10-01");
        addAssignment(m_bio, "Lab 2", 10, 6, "2026-10-02");
        addAssignment(m_bio, "Lab 3", 10, 7, "2026-10-03");
        frmMain *m = startOn("Biology");
        QCOMPARE(figures(m).mid(0, 2), QStringList({"30", "18"}));
        // An edit in the grid.
        typeCell(view(m), 0, 4, "9");
        QCOMPARE(label(m, "lblCurrentPoints"), QString("22"));
        // A due date that moves the row in the grid's order counts it once.
        typeCell(view(m), 0, 2, "12/01/2026");
        QCOMPARE(label(m, "lblCurrentPoints"), QString("22"));
        // Another program changes a row of the class and adds one: the next
        // refresh of the totals counts them, though the grid shows the rows
        // as it read them.
        TestEnv::exec("UPDATE Assignments SET ActualPoints = 1 WHERE AssignmentTitle = 'Lab 3'");
        addAssignment(m_bio, "Lab 4", 100, 50, "2026-10-04");
        typeCell(view(m), 1, 3, "20");
        QCOMPARE(figures(m).mid(0, 2), QStringList({"140", "66"}));
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 3);
        // A deletion (a typed row: see returnInTheLastCellStoresTheRowAtOnce).
        clickNode(m, "Biology");
        selectRow(m, 0);
        const QString deleted = m->datAssignments->recordset().value("AssignmentTitle").toString();
        const qint64 deletedPoints = m->datAssignments->recordset().value("ActualPoints").toLongLong();
        m->mnuAssignmentDelete_Click();
        settle();
        QCOMPARE(classOf(deleted), QVariant());
        QCOMPARE(label(m, "lblCurrentPoints"), QString::number(66 - deletedPoints));
    }

    // The grid's refusal of such a value (the cell open again with what was
    // typed) and the limits of each field: the store's tests.
    void pointsTypedWithAFractionAreRefused()
    {
        frmMain *m = labOnBiology(7);
        typeCell(view(m), 0, 4, "3.5");
        QCOMPARE(TestEnv::shownTexts(), QStringList{"ActualPoints takes whole numbers only: \"3.5\" has a fraction. Type a whole number."});
        QCOMPARE(field("ActualPoints", "Lab").toInt(), 7);
        QCOMPARE(label(m, "lblCurrentPoints"), QString("7"));
        QTest::keyClick(view(m)->indexWidget(view(m)->model()->index(0, 4)), Qt::Key_Escape);
        typeCell(view(m), 0, 4, "4");
        QCOMPARE(field("ActualPoints", "Lab").toInt(), 4);
        QCOMPARE(label(m, "lblCurrentPoints"), QString("4"));
    }

    void pointsBeyondTheTotalsAreReported()
    {
        seed();
        const int huge = addClass(m_sem, "Marathon", scale());
        addAssignment(m_bio, "Lab", 100, 85);
        addAssignment(huge, "Part 1", qlonglong(5000000000000000000), 10);
        addAssignment(huge, "Part 2", qlonglong(5000000000000000000), 10);
        frmMain *m = startOn("Biology");
        // The sum that does not fit ends the refresh before any label is
        // written, and the click reports it: a message, then the report.
        clickNode(m, "Marathon");
        const QString overflow("Overflow: the total of MaxPointsPossible is too large.");
        QCOMPARE(TestEnv::shownTexts(), QStringList{overflow});
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        frmError *e = frmError::existing();
        QVERIFY(e);
        QCOMPARE(find<QPlainTextEdit>(e, "txtError")->toPlainText(), frmError::compose(6, "frmMain", "SSTree2_NodeClick", overflow));
        QCOMPARE(figures(m), QStringList({"100", "85", "(B)"}));
        // A grid edit goes on past it without a word.
        click(e, "Command1");
        MessageBox::clearShown();
        grid(m)->AfterUpdate();
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!frmError::existing());
    }

    void typedRowJoinsTheClassAndOffersItsType()
    {
        seed();
        addAssignment(m_bio, "Old lab", 10, 10);
        frmMain *m = startOn("Biology");
        QCOMPARE(grid(m)->columnList(1).size(), 7);
        // Yes adds the new type.
        MessageBox::setNextAnswers({MessageBox::Yes});
        typeCell(view(m), 1, 0, "Field trip");
        typeCell(view(m), 1, 1, "Excursion");
        typeCell(view(m), 1, 3, "20");
        typeCell(view(m), 1, 4, "15");
        selectRow(m, 0);
        QCOMPARE(classOf("Field trip").toInt(), m_bio);
        lastBox("New assignment type?", "I couldn't find the assignment type \nExcursion in the database.\n\nShall I add it?");
        QCOMPARE(count("SELECT count(*) FROM AssignmentTypes WHERE AssignmentTypeText = 'Excursion'"), 1);
        QVERIFY(grid(m)->columnList(1).contains("Excursion"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("25")); // the totals follow the written row
        // No keeps the typed type and asks again next time; letter case makes a new type.
        MessageBox::setNextAnswers({MessageBox::No, MessageBox::No});
        const int shown = MessageBox::shown().size();
        for (int row : {2, 3}) {
            typeCell(view(m), row, 0, QString("Row %1").arg(row));
            typeCell(view(m), row, 1, "homework");
            selectRow(m, 0);
        }
        QCOMPARE(MessageBox::shown().size(), shown + 2);
        QCOMPARE(count("SELECT count(*) FROM Assignments WHERE AssignmentType = 'homework' AND Class_ID = ?", {m_bio}), 2);
        QCOMPARE(count("SELECT count(*) FROM AssignmentTypes WHERE AssignmentTypeText = 'homework' COLLATE BINARY"), 0);
        // A blank type raises no question.
        typeCell(view(m), 4, 0, "Fourth");
        typeCell(view(m), 4, 1, "   ");
        selectRow(m, 0);
        QCOMPARE(MessageBox::shown().size(), shown + 2);
        QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {m_bio}), 5);
        // A bad date is refused at once and the row keeps what was typed.
        typeCell(view(m), 5, 0, "Fifth");
        typeCell(view(m), 5, 2, "someday");
        QVERIFY(TestEnv::shownLast().text.contains("Type mismatch"));
        selectRow(m, 0);
        QCOMPARE(count("SELECT count(*) FROM Assignments WHERE AssignmentTitle = 'Fifth' AND DateDue IS NULL"), 1);
    }

    void emptyTypeTableOffersTheDefaults()
    {
        seed();
        TestEnv::exec("DELETE FROM AssignmentTypes");
        frmMain *m = startQuiet();
        QCOMPARE(grid(m)->columnList(1), (QStringList{"Homework", "Quiz", "Test", "Response Journal", "Presentation"}));
        clickNode(m, "Biology");
        m->SSCommand3_Click();
        QCOMPARE(find<QComboBox>(frmAddAssignment::existing(), "Combo1")->count(), 0);
    }

    void newWorkWindowAddsARowOfTheClass()
    {
        m_sem = newFile();
        frmMain *m = startQuiet();
        click(m, "SSCommand3");
        lastBox("No class!", "You cannot add an assignment unless a class is selected.");
        QVERIFY(!frmAddAssignment::existing());

        const int cls = addClass(m_sem, "Women's Studies");
        m->RefreshTree();
        clickNode(m, "Women's Studies");
        trigger(m, "mnuAssignmentAddNew");
        frmAddAssignment *w = frmAddAssignment::existing();
        QVERIFY(w && w->isVisible());
        QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {cls}), 1);
        QCOMPARE(find<QComboBox>(w, "Combo1")->count(), 7);
        QTest::keyClicks(find<QLineEdit>(w, "Text1"), "Read ch. 3");
        find<QComboBox>(w, "Combo1")->setEditText("Reading");
        find<DateCombo>(w, "SSDateCombo1")->setText("the fifteenth");
        QTest::keyClicks(find<QLineEdit>(w, "Text2"), "10");
        click(w, "Command1");
        QVERIFY(TestEnv::shownLast().text.contains("Type mismatch"));
        QVERIFY(frmAddAssignment::existing()); // kept open with what was typed
        QCOMPARE(find<QLineEdit>(w, "Text1")->text(), QString("Read ch. 3"));
        find<DateCombo>(w, "SSDateCombo1")->setText("12/15/2026");
        click(w, "Command1");
        QVERIFY(!frmAddAssignment::existing());
        QCOMPARE(TestEnv::scalar("SELECT AssignmentTitle || '|' || AssignmentType || '|' || DateDue || '|' || MaxPointsPossible "
                                 "FROM Assignments WHERE Class_ID = ?", {cls}).toString(),
                 QString("Read ch. 3|Reading|2026-12-15|10"));
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 1);
        QCOMPARE(view(m)->model()->index(0, 0).data().toString(), QString("Read ch. 3"));
    }

    void classStatusShowsPointsShyAndItsHintOnceSeen()
    {
        addAssignment(addClass(newFile(), "Biology", {100, 80, 70, 60, 0}), "Exam", 120, 90);
        frmMain *m = startQuiet();
        // The main window in the middle of the screen, where the assistant
        // opens when it has no place of its own.
        const QRect screen = m->screen()->availableGeometry();
        m->resize(700, 480);
        m->move(screen.center() - QPoint(350, 240));
        clickNode(m, "Biology");
        // The assistant is closed before its balloon could come up: the hint
        // is not marked as seen.
        QTimer closer;
        closer.setInterval(0);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (frmAssist *a = frmAssist::existing(); a && a->isVisible()) {
                closer.stop();
                a->Unload();
            }
        });
        closer.start();
        click(m, "cmdClassStats");
        QVERIFY(!closer.isActive());
        QVERIFY(!MsgForm::existing());
        QVERIFY(setting("asst_SeenClassStatus").isEmpty());
        frmClassStatus *w = frmClassStatus::existing();
        QVERIFY(w && w->isVisible());
        QCOMPARE(label(w, "lblPointsShyOfA"), QString("Points shy of A:  10"));
        QCOMPARE(label(w, "lblPointsShyOfB"), QString("Points shy of B:  -10"));
        QCOMPARE(label(w, "lblPointsShyOfD"), QString("Points shy of D:  -30"));
        // The next opening shows the hint in its balloon, clear of the
        // window's texts and buttons, and only then is it marked as seen.
        click(w, "Command1");
        trigger(m, "mnuClassStatus");
        w = frmClassStatus::existing();
        QVERIFY(w && MsgForm::existing() && MsgForm::existing()->isVisible());
        QCOMPARE(MsgForm::existing()->msgText()->text(), frmClassStatus::hintText());
        QCOMPARE(setting("asst_SeenClassStatus"), QString("Y"));
        const QRect assistant = frmAssist::existing()->frameGeometry();
        const QRect balloon = MsgForm::existing()->frameGeometry();
        for (const char *name : {"Label1", "lblPointsShyOfA", "lblPointsShyOfB", "lblPointsShyOfC", "lblPointsShyOfD", "Command1"}) {
            QWidget *c = find<QWidget>(w, name);
            const QRect r(c->mapToGlobal(QPoint(0, 0)), c->size());
            QVERIFY2(!assistant.intersects(r) && !balloon.intersects(r), qPrintable(QString(name) + " is covered"));
        }
        frmAssist::existing()->Unload();
        settle();
        QVERIFY(!MsgForm::existing());
        click(w, "Command1");
        click(m, "cmdClassStats");
        QVERIFY(frmClassStatus::existing());
        QVERIFY(!MsgForm::existing()); // once per user
    }

    void closeOutStoresTheLetterAsTyped()
    {
        m_sem = newFile();
        frmMain *m = startQuiet();
        m->mnuClassCloseOut_Click();
        lastBox("No class!"); // no class at all
        QVERIFY(!frmConfirmGrade::existing());
        addAssignment(addClass(m_sem, "Biology", scale()), "Exam", 100, 85);
        TestEnv::exec("UPDATE Classes SET CreditHours = 3");
        m->RefreshTree();
        clickNode(m, "Biology");
        // Tarvela's letter is offered; a blank one is refused; No keeps the class open.
        trigger(m, "mnuClassCloseOut");
        frmConfirmGrade *w = frmConfirmGrade::existing();
        QVERIFY(w);
        QCOMPARE(find<QLineEdit>(w, "txtTarvelaLetterGrade")->text(), QString("B"));
        auto *combo = find<QComboBox>(w, "cmbActualLetterGrade");
        QCOMPARE(combo->currentText(), QString("B"));
        QCOMPARE(combo->count(), 13);
        QVERIFY2(label(w, "Label2").endsWith("then click Done.") && !label(w, "Label2").contains('&'), qPrintable(label(w, "Label2")));
        combo->setEditText("  ");
        click(w, "cmdDone");
        lastBox("No letter grade!");
        QVERIFY(frmConfirmGrade::existing());
        MessageBox::setNextAnswers({MessageBox::No});
        combo->setEditText("A");
        click(w, "cmdDone");
        QVERIFY(!frmConfirmGrade::existing());
        QCOMPARE(count("SELECT ClassClosed FROM Classes"), 0);
        // The user empties the box and types the grade: stored trimmed and in
        // capitals, nothing added to it.
        for (const QString letter : {"A", "c", " b+ ", "D", "B"}) {
            TestEnv::exec("UPDATE Classes SET ClassClosed = 0, FinalLetterGrade = NULL");
            trigger(m, "mnuClassCloseOut");
            QVERIFY(frmConfirmGrade::existing());
            QLineEdit *edit = find<QComboBox>(frmConfirmGrade::existing(), "cmbActualLetterGrade")->lineEdit();
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, letter);
            QCOMPARE(edit->text(), letter);
            MessageBox::setNextAnswers({MessageBox::Yes});
            click(frmConfirmGrade::existing(), "cmdDone");
            QVERIFY(!frmConfirmGrade::existing());
            lastBox("Close class?");
            QCOMPARE(TestEnv::scalar("SELECT FinalLetterGrade || ClassClosed FROM Classes").toString(), letter.trimmed().toUpper() + "1");
        }
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("3"));
    }

    void deletionsTakeTheirDependentsAndNothingElse()
    {
        const int fall = newFile();
        const int bio = addClass(fall, "Biology"), chem = addClass(fall, "Chemistry");
        addAssignment(bio, "Lab", 10, 9);
        addAssignment(chem, "Quiz", 5, 5);
        addAssignment(addClass(addSemester("Spring 2027"), "Art"), "Sketch", 5, 4);
        frmMain *m = startOn("Biology");
        // A class with work asks first; No keeps it.
        MessageBox::setNextAnswers({MessageBox::No});
        trigger(m, "mnuClassDelete");
        lastBox("Classes Present!");
        QCOMPARE(count("SELECT count(*) FROM Classes, Assignments WHERE Class_ID = Classes.ID"), 3);
        // The assignment command: one selected goes without a question; none selected is told.
        clickNode(m, "Chemistry");
        trigger(m, "mnuAssignmentDelete");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {chem}), 0);
        QCOMPARE(label(m, "lblCurrentPoints"), QString());
        trigger(m, "mnuAssignmentDelete");
        lastBox("No assignment!", "There was no assignment to delete!  Select one with your \nleft mouse button first, then delete.");
        // A class without work goes at once.
        trigger(m, "mnuClassDelete");
        QCOMPARE(MessageBox::shown().size(), 2);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology", "Spring 2027", "  Art"}));
        // The semester takes its classes and their work; the other stays whole.
        clickNode(m, "Fall 2026");
        MessageBox::setNextAnswers({MessageBox::Yes});
        trigger(m, "mnuSemesterDelete");
        lastBox("Confirm semester deletion.", "Are you sure you want to delete Fall 2026?\nAny classes and/or assignments "
                                              "associated with this\nsemester will also be deleted!\n\nConfirm?");
        QCOMPARE(TestEnv::scalar("SELECT group_concat(Title) || group_concat(ClassName) || group_concat(AssignmentTitle) "
                                 "FROM Semesters, Classes, Assignments").toString(),
                 QString("Spring 2027ArtSketch"));
        QCOMPARE(treeText(m), (QStringList{"Spring 2027", "  Art"}));
    }

    void failedDeletionLeavesEverything()
    {
        addAssignment(addClass(newFile(), "Biology"), "Lab", 10, 9);
        // The file refuses to let classes go, after the work was already deleted.
        TestEnv::exec("CREATE TRIGGER keep BEFORE DELETE ON Classes BEGIN SELECT RAISE(ABORT, 'kept for the test'); END");
        frmMain *m = startOn("Biology");
        MessageBox::setNextAnswers({MessageBox::Yes});
        m->mnuClassDelete_Click();
        QVERIFY(TestEnv::shownLast().text.startsWith("The class could not be deleted; nothing was changed."));
        clickNode(m, "Fall 2026");
        MessageBox::setNextAnswers({MessageBox::Yes});
        m->mnuSemesterDelete_Click();
        QVERIFY(TestEnv::shownLast().text.startsWith("The semester could not be deleted; nothing was changed."));
        QCOMPARE(count("SELECT count(*) FROM Semesters, Classes, Assignments"), 1);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology"}));
    }

    void deletingWithNoSemester()
    {
        TestEnv::createDatabase();
        startQuiet();
        TestEnv::closeAllWindows();
        frmMain::instance()->mnuSemesterDelete_Click();
        lastBox("No semester selected!", "In order to delete a semester, you have to have one selected!");
    }

    void gpaOverClosedClasses()
    {
        m_sem = newFile();
        frmMain *m = startQuiet();
        m->mnuFileCalculateGPA_Click();
        QVERIFY(MessageBox::shown().isEmpty()); // no closed class: nothing
        closedClass(m_sem, "Open one", "A", 3, false);
        closedClass(m_sem, "Failed", "F", 3);
        m->mnuFileCalculateGPA_Click();
        QVERIFY(MessageBox::shown().isEmpty()); // only F: nothing
        QCOMPARE(label(m, "lblGPA"), QString());
        TestEnv::exec("DELETE FROM Classes");
        closedClass(m_sem, "History", "b", 3);
        closedClass(m_sem, "Math", "A", 4);
        trigger(m, "mnuFileCalculateGPA");
        lastBox("Tarvela Desk", "GPA = 3.57");
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::NoIcon);
        QCOMPARE(label(m, "lblGPA"), QString("3.57"));
        TestEnv::exec("DELETE FROM Classes");
        closedClass(m_sem, "Drawing", "D-", 2);
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("0.66"));
        QCOMPARE(MessageBox::shown().size(), 1); // the timer's way shows no box
        // A closed class without credit hours ends the calculation silently:
        // no message, the label as it was, whatever the other classes hold.
        closedClass(m_sem, "Chess", "A", QVariant());
        closedClass(m_sem, "Latin", "A", 4);
        trigger(m, "mnuFileCalculateGPA");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(label(m, "lblGPA"), QString("0.66"));
        QVERIFY(!frmError::existing());
        // An open class without credit hours is no matter.
        TestEnv::exec("UPDATE Classes SET ClassClosed = 0 WHERE ClassName = 'Chess'");
        trigger(m, "mnuFileCalculateGPA");
        lastBox("Tarvela Desk", "GPA = 2.89"); // (1.32 + 16) / 6
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        // Credit hours no class can carry, stored by another tool: no figure
        // that means nothing; asked for, the reason is told.
        closedClass(m_sem, "Endless", "A", 1e308);
        m->CalculateGPA(false);
        QCOMPARE(MessageBox::shown().size(), 2);
        m->mnuFileCalculateGPA_Click();
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        lastBox("Tarvela Desk", "The GPA cannot be calculated: the class Endless has 1e+308 credit hours, and a "
                                "class has from 0 to 1000.\n\nCorrect its credit hours in the class editor.");
        TestEnv::exec("UPDATE Classes SET CreditHours = -3 WHERE ClassName = 'Endless'");
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        TestEnv::exec("UPDATE Classes SET CreditHours = 1000 WHERE ClassName = 'Endless'");
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("3.99")); // (1.32 + 16 + 4000) / 1006
    }

    void returnInTheLastCellStoresTheRowAtOnce()
    {
        frmMain *m = labOnBiology();
        typeRow(m, {"Quiz one", "Quiz", "12/01/2026", "10", "9"});
        key(Qt::Key_Return);
        QCOMPARE(classOf("Quiz one").toInt(), m_bio); // stored before anything else happens
        QCOMPARE(label(m, "lblCurrentPoints"), QString("19"));
        // Tab out of the last cell (Done) stores the row as well.
        typeRow(m, {"Quiz two", "Quiz", "12/02/2026", "10", "8"});
        key(Qt::Key_Tab);
        key(Qt::Key_Space);
        key(Qt::Key_Tab);
        QCOMPARE(classOf("Quiz two").toInt(), m_bio);
        QCOMPARE(field("Completed", "Quiz two").toInt(), 1);
        clickNode(m, "Chemistry");
        QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {m_bio}), 3);
        QCOMPARE(label(m, "lblCurrentPoints"), QString());
    }

    void aTreeClickStoresThePendingRowUnderItsClass()
    {
        seed();
        addAssignment(m_chem, "Titration", 20, 18);
        frmMain *m = startOn("Biology");
        typeRow(m, {"Essay", "Homework", "12/03/2026", "30"});
        QVERIFY(classOf("Essay").isNull()); // still being typed
        clickNode(m, "Chemistry");
        QCOMPARE(classOf("Essay").toInt(), m_bio);
        QCOMPARE(label(m, "lblMaxPoints"), QString("20")); // Chemistry's totals alone
        // The same for a click on a semester.
        typeRow(m, {"Buffer lab", "Homework"});
        clickNode(m, "Fall 2026");
        QCOMPARE(classOf("Buffer lab").toInt(), m_chem);
    }

    void closingTheMainWindowStoresThePendingRow()
    {
        frmMain *m = labOnBiology();
        typeRow(m, {"Essay", "Homework", "12/03/2026", "30"}); // the last cell still being typed
        QVERIFY(m->close());
        settle();
        QCOMPARE(classOf("Essay").toInt(), m_bio);
        QCOMPARE(field("MaxPointsPossible", "Essay").toInt(), 30);
        QVERIFY(!frmError::existing());
        QVERIFY(!frmMain::existing());
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void aCellBeingEditedIsStoredAtCloseAndAtATreeClick()
    {
        seed();
        addAssignment(m_bio, "Lab", 10, 7);
        addAssignment(m_chem, "Titration", 20, 18);
        frmMain *m = startOn("Biology");
        // The tree takes no focus from the cell editor here: the click itself stores it.
        find<QTreeWidget>(m, "SSTree2")->setFocusPolicy(Qt::NoFocus);
        typeCell(view(m), 0, 4, "9", false);
        clickNode(m, "Chemistry");
        QCOMPARE(field("ActualPoints", "Lab").toInt(), 9);
        QCOMPARE(field("ActualPoints", "Titration").toInt(), 18);
        QCOMPARE(label(m, "lblCurrentPoints"), QString("18"));
        // A title being typed when the main window closes.
        typeCell(view(m), 0, 0, "Titration, second try", false);
        QVERIFY(m->close());
        settle();
        QVERIFY(!frmMain::existing());
        QCOMPARE(classOf("Titration, second try").toInt(), m_chem);
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void aRowThatCannotBeStoredKeepsTheMainWindowOpen()
    {
        frmMain *m = labOnBiology();
        // A cell the field cannot take: told, nothing stored, nothing lost.
        typeRow(m, {"Essay", "Homework", "someday"});
        QVERIFY(!m->close());
        settle();
        QVERIFY(TestEnv::shownLast().text.contains("Type mismatch"));
        QCOMPARE(frmMain::existing(), m);
        QVERIFY(classOf("Essay").isNull());
        auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY2(line, "the date's editor is gone");
        QCOMPARE(line->text(), QString("someday"));
        line->selectAll();
        QTest::keyClicks(line, "12/03/2026");
        // The date put right, a file that refuses the row: the user keeps the window open.
        refuse("INSERT");
        MessageBox::setNextAnswers({MessageBox::Yes});
        QVERIFY(!m->close());
        settle();
        QVERIFY(TestEnv::shownLast().text.contains("the disk is full"));
        QVERIFY(TestEnv::shownLast().text.contains("Keep the window open to correct the entry?"));
        QVERIFY(frmMain::existing() == m && m->isVisible());
        QVERIFY(!frmCompactDB::existing());
        QVERIFY(setting("LastCompacted").isEmpty()); // nothing closed yet
        QVERIFY(grid(m)->model()->hasPendingRow()); // what was typed is still there
        // Once the row can be stored, the window closes with it.
        TestEnv::exec("DROP TRIGGER refuse");
        QVERIFY(m->close());
        QCOMPARE(classOf("Essay").toInt(), m_bio);
        QCOMPARE(field("DateDue", "Essay").toString(), QString("2026-12-03"));
    }

    void aRowThatCannotBeStoredCanBeGivenUpAtClose()
    {
        frmMain *m = labOnBiology();
        refuse("UPDATE");
        typeCell(view(m), 0, 4, "8", false);
        MessageBox::setNextAnswers({MessageBox::No}); // close all the same
        QVERIFY(m->close());
        settle();
        QVERIFY(!frmMain::existing());
        QVERIFY(TestEnv::shownTexts().first().contains("the disk is full"));
        QVERIFY(TestEnv::shownTexts().first().contains("Not stored: Points \"8\""));
        QCOMPARE(TestEnv::shownTexts().filter("Keep the window open").size(), 1); // asked once
        QCOMPARE(field("ActualPoints", "Lab").toInt(), 10);
    }

    void aRowThatCannotBeStoredIsToldOncePerActivation()
    {
        frmMain *m = labOnBiology();
        refuse("INSERT");
        typeRow(m, {"Essay", "Homework", "12/03/2026", "30"});
        // The remembered class is another one (renamed, say), and the user
        // goes to another window and comes back.
        Settings::save(Settings::App, "Settings", "LastClass", "Chemistry");
        click(m, "cmdClassStats");
        QVERIFY(frmClassStatus::existing());
        QVERIFY(activate(frmClassStatus::existing()));
        MessageBox::clearShown();
        QVERIFY(activate(m));
        QCOMPARE(TestEnv::shownTexts().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("the disk is full"));
        QVERIFY(!frmError::existing());
        QVERIFY(grid(m)->model()->hasPendingRow());
        // Once the file takes it, the next return stores it under its class.
        TestEnv::exec("DROP TRIGGER refuse");
        QVERIFY(activate(frmClassStatus::existing()));
        MessageBox::clearShown();
        QVERIFY(activate(m));
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QCOMPARE(classOf("Essay").toInt(), m_bio);
        QCOMPARE(field("MaxPointsPossible", "Essay").toInt(), 30);
    }
};

TARVELA_TEST_CLASS(GradebookTest)
#include "tst_gradebook.moc"
