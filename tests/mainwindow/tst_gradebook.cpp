#include "MainHelpers.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"
#include "mainwindow/Grades.h"
#include "mainwindow/frmAddAssignment.h"
#include "mainwindow/frmClassStatus.h"
#include "mainwindow/frmConfirmGrade.h"
#include "mainwindow/frmError.h"
#include "platform/Controls.h"
#include "platform/Settings.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Recordset.h"
#include "store/frmCompactDB.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

using namespace MainHelpers;

// The grade book: figures, the grid's road, close-out, deletions and the GPA.
class GradebookTest : public TestCase
{
    Q_OBJECT

    static QString label(frmMain *m, const char *name) { return m->findChild<QLabel *>(name)->text(); }
    static QTableView *view(frmMain *m) { return m->findChild<DataGrid *>("gridAssignments")->view(); }

    static frmMain *startWith()
    {
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        return start();
    }

    // Types a cell of the grid as the user does: edit, type, Enter.
    static void typeCell(frmMain *m, int row, int column, const QString &text)
    {
        QTableView *v = view(m);
        const QModelIndex idx = v->model()->index(row, column);
        v->setCurrentIndex(idx);
        v->edit(idx);
        QWidget *editor = nullptr;
        for (QWidget *w : v->viewport()->findChildren<QWidget *>())
            if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w))
                if (w->isVisible() && (!editor || qobject_cast<QComboBox *>(w)))
                    editor = w;
        QVERIFY2(editor, "no cell editor");
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->lineEdit()->clear();
            QTest::keyClicks(combo->lineEdit(), text);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        } else {
            auto *line = qobject_cast<QLineEdit *>(editor);
            line->clear();
            QTest::keyClicks(line, text);
            QTest::keyClick(line, Qt::Key_Return);
        }
        settle();
    }

    // Opens a cell's editor and types into it, without Enter.
    static bool typeWithoutEnter(frmMain *m, int row, int column, const QString &text)
    {
        QTableView *v = view(m);
        const QModelIndex idx = v->model()->index(row, column);
        v->setCurrentIndex(idx);
        v->edit(idx);
        auto *line = qobject_cast<QLineEdit *>(v->indexWidget(idx));
        if (!line)
            return false;
        line->clear();
        QTest::keyClicks(line, text);
        settle();
        return v->indexWidget(idx) == line && line->text() == text;
    }

    static void leaveRowTo(frmMain *m, int row)
    {
        view(m)->setCurrentIndex(view(m)->model()->index(row, 0));
        settle();
    }

    // Types into the grid as a user does: the keys go wherever the focus is,
    // Tab moves to the next cell.
    static void keys(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *w = QApplication::focusWidget(); // the first key opens the cell's editor
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
    // Starts typing into the first cell of the grid's empty last row.
    static void startNewRow(frmMain *m)
    {
        QTableView *v = view(m);
        m->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m));
        v->setFocus();
        v->setCurrentIndex(v->model()->index(v->model()->rowCount() - 1, 0));
        settle();
    }
    // Types a whole row, Tab from cell to cell; the last key is left to the caller.
    static void typeRow(frmMain *m, const QStringList &cells)
    {
        startNewRow(m);
        for (int i = 0; i < cells.size(); ++i) {
            keys(cells[i]);
            if (QTest::currentTestFailed())
                return;
            if (i + 1 < cells.size())
                key(Qt::Key_Tab);
        }
    }
    static QVariant classOf(const QString &title)
    {
        return TestEnv::scalar("SELECT Class_ID FROM Assignments WHERE AssignmentTitle = ?", {title});
    }

private Q_SLOTS:
    void letterAndFigures()
    {
        using Grades::letterFor;
        const QVariant none;
        QCOMPARE(letterFor(90, 90, 80, 70, 60, 0), std::optional<QString>("(A)"));
        QCOMPARE(letterFor(80, 90, 80, 70, 60, 0), std::optional<QString>("(B)"));
        QCOMPARE(letterFor(69, 90, 80, 70, 60, 0), std::optional<QString>("(D)"));
        QCOMPARE(letterFor(10, 90, 80, 70, 60, 0), std::optional<QString>("(F)"));
        QCOMPARE(letterFor(10, 90, 80, 70, 60, none), std::optional<QString>());
        QCOMPARE(letterFor(95, none, 80, 70, 60, 0), std::optional<QString>("(F)")); // empty A blocks A and B
        QCOMPARE(letterFor(75, 90, none, 70, 60, 0), std::optional<QString>("(F)")); // empty B blocks B and C
        QCOMPARE(Grades::gpaText(25.0 / 7.0), QString("3.57"));
        QCOMPARE(Grades::gpaText(3), QString("3"));
        QCOMPARE(Grades::gradePoints("b+"), std::optional<double>(3.33));
        QCOMPARE(Grades::gradePoints(" B"), std::optional<double>());
        QCOMPARE(Grades::pointsShy(100, "90"), std::optional<qint64>(10));
        QCOMPARE(Grades::pointsShy(60, "90"), std::optional<qint64>(-30));
        QCOMPARE(Grades::pointsShy(60, ""), std::optional<qint64>());
    }

    void refreshPointsFollowsTheRows()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        const int nopoints = addClass(sem, "Art", {90, 80, 70, 60, 0});
        const int low = addClass(sem, "Music", {90, 80, 70, 60, QVariant()});
        addClass(sem, "Empty", {90, 80, 70, 60, 0});
        addAssignment(cls, "Test 1", 50, 40);
        addAssignment(cls, "Test 2", 50, 40);
        addAssignment(cls, "Ungraded", QVariant(), QVariant());
        addAssignment(nopoints, "Sketch", QVariant(), 5);
        addAssignment(low, "Scales", 100, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        QCOMPARE(label(m, "lblMaxPoints"), QString("100"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("80"));
        QCOMPARE(label(m, "lblLetterGrade"), QString("(B)")); // exactly the B threshold
        clickNode(m, "Music");
        QCOMPARE(label(m, "lblLetterGrade"), QString("(B)")); // no test holds: unchanged
        clickNode(m, "Art");
        QCOMPARE(label(m, "lblLetterGrade"), QString("(A)")); // nothing possible
        clickNode(m, "Empty");
        QCOMPARE(label(m, "lblMaxPoints"), QString());
        QCOMPARE(label(m, "lblCurrentPoints"), QString());
        QCOMPARE(label(m, "lblLetterGrade"), QString());
    }

    void theTotalsFollowEveryWriteWhereverItComesFrom()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int bio = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab 1", 10, 5, "2026-10-01");
        addAssignment(bio, "Lab 2", 10, 6, "2026-10-02");
        addAssignment(bio, "Lab 3", 10, 7, "2026-10-03");
        frmMain *m = startWith();
        clickNode(m, "Biology");
        QCOMPARE(label(m, "lblMaxPoints"), QString("30"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("18"));
        // An edit in the grid.
        typeCell(m, 0, 4, "9");
        QCOMPARE(label(m, "lblCurrentPoints"), QString("22"));
        // A due date that moves the row in the grid's order counts it once.
        typeCell(m, 0, 2, "12/01/2026");
        QCOMPARE(label(m, "lblCurrentPoints"), QString("22"));
        // Another program changes a row of the class and adds one: the next
        // refresh of the totals counts them, though the grid shows the rows
        // as it read them.
        TestEnv::exec("UPDATE Assignments SET ActualPoints = 1 WHERE AssignmentTitle = 'Lab 3'");
        addAssignment(bio, "Lab 4", 100, 50, "2026-10-04");
        typeCell(m, 1, 3, "20");
        QCOMPARE(label(m, "lblMaxPoints"), QString("140"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("66"));
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 3);
        // A row typed into the new row.
        clickNode(m, "Biology");
        typeRow(m, {"Quiz", "Quiz", "12/05/2026", "5", "4"});
        key(Qt::Key_Return);
        QCOMPARE(label(m, "lblMaxPoints"), QString("145"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("70"));
        // A deletion.
        view(m)->setCurrentIndex(view(m)->model()->index(0, 0));
        settle();
        const QString deleted = m->datAssignments->recordset().value("AssignmentTitle").toString();
        const qint64 deletedPoints = m->datAssignments->recordset().value("ActualPoints").toLongLong();
        m->mnuAssignmentDelete_Click();
        settle();
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle = ?", {deleted}).toInt(), 0);
        QCOMPARE(label(m, "lblCurrentPoints"), QString::number(70 - deletedPoints));
    }

    void bigTotalsAreShown()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Marathon", {60000, 50000, 40000, 30000, 0});
        for (int i = 0; i < 3; ++i)
            addAssignment(cls, QString("Part %1").arg(i), 20000, 19000);
        frmMain *m = startWith();
        clickNode(m, "Marathon");
        QCOMPARE(label(m, "lblMaxPoints"), QString("60000"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("57000"));
        QCOMPARE(label(m, "lblLetterGrade"), QString("(B)"));
    }

    void numbersBeyond32BitsAreShownAsStored()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int huge = addClass(sem, "Huge", {qlonglong(900000000000), qlonglong(800000000000), qlonglong(700000000000), qlonglong(600000000000), 0});
        const int plain = addClass(sem, "Plain", {90, 80, 70, 60, 0});
        // Written into the file by another tool: beyond what the fields take.
        addAssignment(huge, "Mega project", qlonglong(1000000000000), qlonglong(1000000000000));
        addAssignment(huge, "Quiz", 10, 5);
        addAssignment(plain, "Lab", 100, 75);
        frmMain *m = startWith();
        clickNode(m, "Plain");
        QCOMPARE(label(m, "lblLetterGrade"), QString("(C)"));
        clickNode(m, "Huge");
        QCOMPARE(label(m, "lblMaxPoints"), QString("1000000000010"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("1000000000005"));
        QCOMPARE(label(m, "lblLetterGrade"), QString("(A)"));
        QCOMPARE(view(m)->model()->index(0, 4).data().toString(), QString("1000000000000"));
        QVERIFY(!frmError::existing());
        // The class status counts from the same figures.
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        frmClassStatus *status = frmClassStatus::existing();
        QVERIFY(status);
        QCOMPARE(status->findChild<QLabel *>("lblPointsShyOfA")->text(), QString("Points shy of A:  -100000000005"));
        // Such a number typed is refused with its field's range, the row kept.
        typeCell(m, 1, 4, "1000000000000");
        QVERIFY(TestEnv::shownLast().text.contains("from -2147483648 to 2147483647"));
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Quiz'").toInt(), 5);
    }

    void pointsTypedWithAFractionAreRefused()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        addAssignment(cls, "Lab", 10, 7);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        MessageBox::clearShown();
        typeCell(m, 0, 4, "3.5");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("ActualPoints takes whole numbers only: \"3.5\" has a fraction."));
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 7);
        QCOMPARE(label(m, "lblCurrentPoints"), QString("7"));
        // The cell is open again with what was typed; Escape gives it up.
        QWidget *editor = view(m)->indexWidget(view(m)->model()->index(0, 4));
        QVERIFY(editor);
        QCOMPARE(DataGridDelegate::editorText(editor), QString("3.5"));
        QTest::keyClick(editor, Qt::Key_Escape);
        settle();
        QVERIFY(!view(m)->indexWidget(view(m)->model()->index(0, 4)));
        typeCell(m, 0, 4, "4");
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 4);
        QCOMPARE(label(m, "lblCurrentPoints"), QString("4"));
    }

    void pointsBeyondTheTotalsAreReported()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int fine = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        const int huge = addClass(sem, "Marathon", {90, 80, 70, 60, 0});
        addAssignment(fine, "Lab", 100, 85);
        addAssignment(huge, "Part 1", qlonglong(5000000000000000000), 10);
        addAssignment(huge, "Part 2", qlonglong(5000000000000000000), 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        QCOMPARE(label(m, "lblMaxPoints"), QString("100"));
        QVERIFY(!frmError::existing());
        // The sum that does not fit ends the refresh before any label is
        // written, and the click reports it: a message, then the report.
        MessageBox::clearShown();
        clickNode(m, "Marathon");
        QCOMPARE(TestEnv::shownTexts(), QStringList{"Overflow: the total of MaxPointsPossible is too large."});
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        frmError *e = frmError::existing();
        QVERIFY(e);
        settle();
        const QString report = e->findChild<QPlainTextEdit *>("txtError")->toPlainText();
        QCOMPARE(report, frmError::compose(6, "frmMain", "SSTree2_NodeClick", "Overflow: the total of MaxPointsPossible is too large."));
        QCOMPARE(label(m, "lblMaxPoints"), QString("100"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("85"));
        QCOMPARE(label(m, "lblLetterGrade"), QString("(B)"));
        // A grid edit goes on past it without a word.
        QTest::mouseClick(e->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        MessageBox::clearShown();
        m->findChild<DataGrid *>("gridAssignments")->AfterUpdate();
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!frmError::existing());
    }

    void typedRowJoinsTheClassAndOffersItsType()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        addAssignment(cls, "Old lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        QCOMPARE(m->findChild<DataGrid *>("gridAssignments")->columnList(1).size(), 7);
        // Yes adds the new type.
        MessageBox::setNextAnswers({MessageBox::Yes});
        typeCell(m, 1, 0, "Field trip");
        typeCell(m, 1, 1, "Excursion");
        typeCell(m, 1, 3, "20");
        typeCell(m, 1, 4, "15");
        leaveRowTo(m, 0);
        QCOMPARE(TestEnv::scalar("SELECT Class_ID FROM Assignments WHERE AssignmentTitle = 'Field trip'").toInt(), cls);
        QCOMPARE(TestEnv::shownLast().title, QString("New assignment type?"));
        QCOMPARE(TestEnv::shownLast().text, QString("I couldn't find the assignment type \nExcursion in the database.\n\nShall I add it?"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM AssignmentTypes WHERE AssignmentTypeText = 'Excursion'").toInt(), 1);
        QVERIFY(m->findChild<DataGrid *>("gridAssignments")->columnList(1).contains("Excursion"));
        QCOMPARE(label(m, "lblCurrentPoints"), QString("25")); // the totals follow the written row
        // No keeps the typed type and asks again next time; letter case makes a new type.
        MessageBox::setNextAnswers({MessageBox::No, MessageBox::No});
        const int shown = MessageBox::shown().size();
        typeCell(m, 2, 0, "Second");
        typeCell(m, 2, 1, "homework");
        leaveRowTo(m, 0);
        typeCell(m, 3, 0, "Third");
        typeCell(m, 3, 1, "homework");
        leaveRowTo(m, 0);
        QCOMPARE(MessageBox::shown().size(), shown + 2);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentType = 'homework' AND Class_ID = ?", {cls}).toInt(), 2);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM AssignmentTypes WHERE AssignmentTypeText = 'homework' COLLATE BINARY").toInt(), 0);
        // A blank type raises no question.
        typeCell(m, 4, 0, "Fourth");
        typeCell(m, 4, 1, "   ");
        leaveRowTo(m, 0);
        QCOMPARE(MessageBox::shown().size(), shown + 2);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {cls}).toInt(), 5);
        // A bad date is refused at once and the row keeps what was typed.
        typeCell(m, 5, 0, "Fifth");
        typeCell(m, 5, 2, "someday");
        QVERIFY(TestEnv::shownLast().text.contains("Type mismatch"));
        leaveRowTo(m, 0);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle = 'Fifth' AND DateDue IS NULL").toInt(), 1);
    }

    void emptyTypeTableOffersTheDefaults()
    {
        TestEnv::createDatabase();
        TestEnv::exec("DELETE FROM AssignmentTypes");
        addClass(addSemester("Fall 2026"), "Biology");
        frmMain *m = startWith();
        QCOMPARE(m->findChild<DataGrid *>("gridAssignments")->columnList(1),
                 (QStringList{"Homework", "Quiz", "Test", "Response Journal", "Presentation"}));
        clickNode(m, "Biology");
        m->SSCommand3_Click();
        QCOMPARE(frmAddAssignment::existing()->findChild<QComboBox *>("Combo1")->count(), 0);
    }

    void newWorkWindowAddsARowOfTheClass()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        frmMain *m = startWith();
        QTest::mouseClick(m->findChild<QWidget *>("SSCommand3"), Qt::LeftButton);
        QCOMPARE(TestEnv::shownLast().title, QString("No class!"));
        QCOMPARE(TestEnv::shownLast().text, QString("You cannot add an assignment unless a class is selected."));
        QVERIFY(!frmAddAssignment::existing());

        const int cls = addClass(TestEnv::scalar("SELECT ID FROM Semesters").toInt(), "Women's Studies");
        m->RefreshTree();
        clickNode(m, "Women's Studies");
        m->findChild<QAction *>("mnuAssignmentAddNew")->trigger();
        settle();
        frmAddAssignment *w = frmAddAssignment::existing();
        QVERIFY(w && w->isVisible());
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {cls}).toInt(), 1);
        QCOMPARE(w->findChild<QComboBox *>("Combo1")->count(), 7);
        QTest::keyClicks(w->findChild<QLineEdit *>("Text1"), "Read ch. 3");
        w->findChild<QComboBox *>("Combo1")->setEditText("Reading");
        w->findChild<DateCombo *>("SSDateCombo1")->setText("the fifteenth");
        QTest::keyClicks(w->findChild<QLineEdit *>("Text2"), "10");
        QTest::mouseClick(w->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(TestEnv::shownLast().text.contains("Type mismatch"));
        QVERIFY(frmAddAssignment::existing()); // kept open with what was typed
        QCOMPARE(w->findChild<QLineEdit *>("Text1")->text(), QString("Read ch. 3"));
        w->findChild<DateCombo *>("SSDateCombo1")->setText("12/15/2026");
        QTest::mouseClick(w->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        settle();
        QVERIFY(!frmAddAssignment::existing());
        QCOMPARE(TestEnv::scalar("SELECT AssignmentTitle || '|' || AssignmentType || '|' || DateDue || '|' || MaxPointsPossible "
                                 "FROM Assignments WHERE Class_ID = ?", {cls}).toString(),
                 QString("Read ch. 3|Reading|2026-12-15|10"));
        QCOMPARE(m->datAssignments->recordset().RecordCount(), 1);
        QCOMPARE(view(m)->model()->index(0, 0).data().toString(), QString("Read ch. 3"));
    }

    void classStatusShowsPointsShy()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology", {100, 80, 70, 60, 0});
        addAssignment(cls, "Exam", 120, 90);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        frmClassStatus *w = frmClassStatus::existing();
        QVERIFY(w);
        QCOMPARE(w->findChild<QLabel *>("lblPointsShyOfA")->text(), QString("Points shy of A:  10"));
        QCOMPARE(w->findChild<QLabel *>("lblPointsShyOfB")->text(), QString("Points shy of B:  -10"));
        QCOMPARE(w->findChild<QLabel *>("lblPointsShyOfD")->text(), QString("Points shy of D:  -30"));
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenClassStatus"), QString("Y"));
        // The first opening ever shows the assistant's hint in its balloon.
        QVERIFY(MsgForm::existing());
        QCOMPARE(MsgForm::existing()->msgText()->text(), frmClassStatus::hintText());
        frmAssist::existing()->Unload();
        settle();
        QVERIFY(!MsgForm::existing());
        QTest::mouseClick(w->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        m->findChild<QAction *>("mnuClassStatus")->trigger();
        settle();
        QVERIFY(frmClassStatus::existing());
        QVERIFY(!MsgForm::existing()); // once per user
    }

    void closeOutConfirmsTheLetter()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        frmMain *m = startWith();
        m->mnuClassCloseOut_Click();
        QCOMPARE(TestEnv::shownTitles().value(0), QString("No class!")); // no class at all
        QVERIFY(!frmConfirmGrade::existing());
        const int cls = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        addAssignment(cls, "Exam", 100, 85);
        m->RefreshTree();
        clickNode(m, "Biology");
        m->findChild<QAction *>("mnuClassCloseOut")->trigger();
        frmConfirmGrade *w = frmConfirmGrade::existing();
        QCOMPARE(w->findChild<QLineEdit *>("txtTarvelaLetterGrade")->text(), QString("B"));
        auto *combo = w->findChild<QComboBox *>("cmbActualLetterGrade");
        QCOMPARE(combo->currentText(), QString("B"));
        QCOMPARE(combo->count(), 13);
        combo->setEditText("  ");
        QTest::mouseClick(w->findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        QCOMPARE(TestEnv::shownLast().title, QString("No letter grade!"));
        QVERIFY(frmConfirmGrade::existing());
        combo->setEditText(" b+ ");
        MessageBox::setNextAnswers({MessageBox::No});
        QTest::mouseClick(w->findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        QVERIFY(!frmConfirmGrade::existing());
        QCOMPARE(TestEnv::scalar("SELECT ClassClosed FROM Classes").toInt(), 0);
        m->mnuClassCloseOut_Click();
        w = frmConfirmGrade::existing();
        w->findChild<QComboBox *>("cmbActualLetterGrade")->setEditText(" b+ ");
        MessageBox::setNextAnswers({MessageBox::Yes});
        QTest::mouseClick(w->findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        QCOMPARE(TestEnv::shownLast().title, QString("Close class?"));
        QCOMPARE(TestEnv::scalar("SELECT FinalLetterGrade FROM Classes").toString(), QString("B+"));
        QCOMPARE(TestEnv::scalar("SELECT ClassClosed FROM Classes").toInt(), 1);
    }

    void deletionsTakeTheirDependentsAndNothingElse()
    {
        TestEnv::createDatabase();
        const int fall = addSemester("Fall 2026");
        const int spring = addSemester("Spring 2027");
        const int bio = addClass(fall, "Biology");
        const int chem = addClass(fall, "Chemistry");
        const int art = addClass(spring, "Art");
        addAssignment(bio, "Lab", 10, 9);
        addAssignment(chem, "Quiz", 5, 5);
        addAssignment(art, "Sketch", 5, 4);
        frmMain *m = startWith();
        // A class with work asks first; No keeps it.
        clickNode(m, "Biology");
        MessageBox::setNextAnswers({MessageBox::No});
        m->findChild<QAction *>("mnuClassDelete")->trigger();
        QCOMPARE(TestEnv::shownLast().title, QString("Classes Present!"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Classes").toInt(), 3);
        MessageBox::setNextAnswers({MessageBox::Yes});
        m->findChild<QAction *>("mnuClassDelete")->trigger();
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Classes WHERE ID = ?", {bio}).toInt(), 0);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {bio}).toInt(), 0);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Chemistry", "Spring 2027", "  Art"}));
        // The assignment command: one selected goes without a question.
        clickNode(m, "Chemistry");
        const int before = MessageBox::shown().size();
        m->findChild<QAction *>("mnuAssignmentDelete")->trigger();
        QCOMPARE(MessageBox::shown().size(), before);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {chem}).toInt(), 0);
        QCOMPARE(label(m, "lblCurrentPoints"), QString());
        m->findChild<QAction *>("mnuAssignmentDelete")->trigger();
        QCOMPARE(TestEnv::shownLast().title, QString("No assignment!"));
        QCOMPARE(TestEnv::shownLast().text, QString("There was no assignment to delete!  Select one with your \nleft mouse button first, then delete."));
        // A class without work goes at once.
        m->findChild<QAction *>("mnuClassDelete")->trigger();
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Classes WHERE ID = ?", {chem}).toInt(), 0);
        // The semester takes its classes and their work; the other stays whole.
        TestEnv::exec("INSERT INTO Classes (Semester_ID, ClassName) VALUES (?, 'Physics')", {fall});
        addAssignment(TestEnv::scalar("SELECT max(ID) FROM Classes").toInt(), "Waves", 10, 10);
        m->RefreshTree();
        clickNode(m, "Fall 2026");
        MessageBox::setNextAnswers({MessageBox::Yes});
        m->findChild<QAction *>("mnuSemesterDelete")->trigger();
        QCOMPARE(TestEnv::shownLast().title, QString("Confirm semester deletion."));
        QCOMPARE(TestEnv::shownLast().text, QString("Are you sure you want to delete Fall 2026?\nAny classes and/or assignments "
                                                           "associated with this\nsemester will also be deleted!\n\nConfirm?"));
        QCOMPARE(TestEnv::scalar("SELECT group_concat(Title) FROM Semesters").toString(), QString("Spring 2027"));
        QCOMPARE(TestEnv::scalar("SELECT group_concat(ClassName) FROM Classes").toString(), QString("Art"));
        QCOMPARE(TestEnv::scalar("SELECT group_concat(AssignmentTitle) FROM Assignments").toString(), QString("Sketch"));
        QCOMPARE(treeText(m), (QStringList{"Spring 2027", "  Art"}));
    }

    void failedDeletionLeavesEverything()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Biology");
        addAssignment(cls, "Lab", 10, 9);
        // The file refuses to let classes go, after the work was already deleted.
        TestEnv::exec("CREATE TRIGGER keep BEFORE DELETE ON Classes BEGIN SELECT RAISE(ABORT, 'kept for the test'); END");
        frmMain *m = startWith();
        clickNode(m, "Biology");
        MessageBox::setNextAnswers({MessageBox::Yes});
        m->mnuClassDelete_Click();
        QVERIFY(TestEnv::shownLast().text.startsWith("The class could not be deleted; nothing was changed."));
        clickNode(m, "Fall 2026");
        MessageBox::setNextAnswers({MessageBox::Yes});
        m->mnuSemesterDelete_Click();
        QVERIFY(TestEnv::shownLast().text.startsWith("The semester could not be deleted; nothing was changed."));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments").toInt(), 1);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Classes").toInt(), 1);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters").toInt(), 1);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology"}));
    }

    void deletingWithNoSemester()
    {
        TestEnv::createDatabase();
        frmMain *m = startWith();
        settle();
        TestEnv::closeAllWindows();
        Q_UNUSED(m);
        m = frmMain::instance();
        m->mnuSemesterDelete_Click();
        QCOMPARE(TestEnv::shownLast().title, QString("No semester selected!"));
        QCOMPARE(TestEnv::shownLast().text, QString("In order to delete a semester, you have to have one selected!"));
    }

    void gpaOverClosedClasses()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        frmMain *m = startWith();
        auto close = [&](const QString &name, const QString &letter, double hours, bool closed = true) {
            TestEnv::exec("INSERT INTO Classes (Semester_ID, ClassName, FinalLetterGrade, CreditHours, ClassClosed) VALUES (?, ?, ?, ?, ?)",
                          {sem, name, letter, hours, closed ? 1 : 0});
        };
        const int shown = MessageBox::shown().size();
        m->mnuFileCalculateGPA_Click();
        QCOMPARE(MessageBox::shown().size(), shown); // no closed class: nothing
        close("Open one", "A", 3, false);
        close("Failed", "F", 3);
        m->mnuFileCalculateGPA_Click();
        QCOMPARE(MessageBox::shown().size(), shown); // only F: nothing
        QCOMPARE(label(m, "lblGPA"), QString());
        TestEnv::exec("DELETE FROM Classes");
        close("History", "b", 3);
        close("Math", "A", 4);
        m->findChild<QAction *>("mnuFileCalculateGPA")->trigger();
        QCOMPARE(TestEnv::shownLast().text, QString("GPA = 3.57"));
        QCOMPARE(TestEnv::shownLast().title, QString("Tarvela Desk"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::NoIcon);
        QCOMPARE(label(m, "lblGPA"), QString("3.57"));
        TestEnv::exec("DELETE FROM Classes");
        close("Drawing", "D-", 2);
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("0.66"));
        QCOMPARE(TestEnv::shownLast().text, QString("GPA = 3.57")); // the timer's way shows no box
        // A closed class without credit hours ends the calculation silently:
        // no message, the label as it was, whatever the other classes hold.
        TestEnv::exec("INSERT INTO Classes (Semester_ID, ClassName, FinalLetterGrade, CreditHours, ClassClosed) "
                      "VALUES (?, 'Chess', 'A', NULL, 1)",
                      {sem});
        close("Latin", "A", 4);
        const int before = MessageBox::shown().size();
        m->findChild<QAction *>("mnuFileCalculateGPA")->trigger();
        QCOMPARE(MessageBox::shown().size(), before);
        QCOMPARE(label(m, "lblGPA"), QString("0.66"));
        QVERIFY(!frmError::existing());
        // An open class without credit hours is no matter.
        TestEnv::exec("UPDATE Classes SET ClassClosed = 0 WHERE ClassName = 'Chess'");
        m->findChild<QAction *>("mnuFileCalculateGPA")->trigger();
        QCOMPARE(TestEnv::shownLast().text, QString("GPA = 2.89")); // (1.32 + 16) / 6
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        // Credit hours no class can carry, stored by another tool: no figure
        // that means nothing; asked for, the reason is told.
        close("Endless", "A", 1e308);
        const int shownBefore = MessageBox::shown().size();
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        QCOMPARE(MessageBox::shown().size(), shownBefore);
        m->mnuFileCalculateGPA_Click();
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        QCOMPARE(MessageBox::shown().size(), shownBefore + 1);
        QCOMPARE(TestEnv::shownLast().text, QString("The GPA cannot be calculated: the class Endless has 1e+308 credit hours, and a "
                                                    "class has from 0 to 1000.\n\nCorrect its credit hours in the class editor."));
        TestEnv::exec("UPDATE Classes SET CreditHours = -3 WHERE ClassName = 'Endless'");
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("2.89"));
        TestEnv::exec("UPDATE Classes SET CreditHours = 1000 WHERE ClassName = 'Endless'");
        m->CalculateGPA(false);
        QCOMPARE(label(m, "lblGPA"), QString("3.99")); // (1.32 + 16 + 4000) / 1006
    }

    void gpaFigures()
    {
        Grades::GpaTotals none;
        QVERIFY(!none.gpa());
        Grades::GpaTotals t;
        QVERIFY(t.add(3, "B"));
        QVERIFY(t.add(4, "a"));
        QVERIFY(!t.add(1e308, "A"));
        QVERIFY(!t.add(-1, "A"));
        QVERIFY(!t.add(std::numeric_limits<double>::quiet_NaN(), "A"));
        QVERIFY(!t.add(std::numeric_limits<double>::infinity(), "A"));
        QCOMPARE(t.gpa(), std::optional<double>(25.0 / 7.0));
        QVERIFY(t.add(1000, "A"));
        QVERIFY(t.add(0, "A")); // counts, adds nothing
        QVERIFY(*t.gpa() <= 4);
        QCOMPARE(Grades::gpaText(std::numeric_limits<double>::infinity()), QString());
        QCOMPARE(Grades::gpaText(std::numeric_limits<double>::quiet_NaN()), QString());
        QCOMPARE(Grades::gpaText(4), QString("4"));
        QCOMPARE(Grades::pointsShy(QVariant(qlonglong(9000000000000000000)), "-9000000000000000000"), std::optional<qint64>());
        QCOMPARE(Grades::pointsShy(QVariant(qlonglong(1000000000000)), "1000000000005"), std::optional<qint64>(-5));
        QCOMPARE(Grades::pointsShy(100, "1e400"), std::optional<qint64>());
    }

    void closeOutStoresTheLetterAsTyped()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        TestEnv::exec("UPDATE Classes SET CreditHours = 3");
        addAssignment(cls, "Exam", 100, 85);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        for (const QString letter : {"B", "A", "C", "D", "b"}) {
            TestEnv::exec("UPDATE Classes SET ClassClosed = 0, FinalLetterGrade = NULL");
            m->findChild<QAction *>("mnuClassCloseOut")->trigger();
            settle();
            frmConfirmGrade *w = frmConfirmGrade::existing();
            QVERIFY(w);
            const QString shown = w->findChild<QLabel *>("Label2")->text();
            QVERIFY2(shown.endsWith("then click Done.") && !shown.contains('&'), qPrintable(shown));
            // The user empties the box and types the grade.
            QLineEdit *edit = w->findChild<QComboBox *>("cmbActualLetterGrade")->lineEdit();
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, letter);
            QCOMPARE(edit->text(), letter); // nothing is added to what was typed
            MessageBox::setNextAnswers({MessageBox::Yes});
            QTest::mouseClick(w->findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
            settle();
            QVERIFY(!frmConfirmGrade::existing());
            QCOMPARE(TestEnv::scalar("SELECT FinalLetterGrade FROM Classes").toString(), letter.toUpper());
            if (letter == "B") {
                m->CalculateGPA(false);
                QCOMPARE(label(m, "lblGPA"), QString("3"));
            }
        }
    }

    void returnInTheLastCellStoresTheRowAtOnce()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int bio = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        const int chem = addClass(sem, "Chemistry", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        typeRow(m, {"Quiz one", "Quiz", "12/01/2026", "10", "9"});
        key(Qt::Key_Return);
        QCOMPARE(classOf("Quiz one").toInt(), bio); // stored before anything else happens
        QCOMPARE(label(m, "lblCurrentPoints"), QString("19"));
        // Tab out of the last cell (Done) stores the row as well.
        typeRow(m, {"Quiz two", "Quiz", "12/02/2026", "10", "8"});
        key(Qt::Key_Tab);
        key(Qt::Key_Space);
        key(Qt::Key_Tab);
        QCOMPARE(classOf("Quiz two").toInt(), bio);
        QCOMPARE(TestEnv::scalar("SELECT Completed FROM Assignments WHERE AssignmentTitle = 'Quiz two'").toInt(), 1);
        clickNode(m, "Chemistry");
        QCOMPARE(classOf("Quiz one").toInt(), bio);
        QCOMPARE(classOf("Quiz two").toInt(), bio);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {chem}).toInt(), 0);
        QCOMPARE(label(m, "lblCurrentPoints"), QString());
    }

    void aTreeClickStoresThePendingRowUnderItsClass()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int bio = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        const int chem = addClass(sem, "Chemistry", {90, 80, 70, 60, 0});
        addAssignment(chem, "Titration", 20, 18);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        typeRow(m, {"Essay", "Homework", "12/03/2026", "30"});
        QVERIFY(classOf("Essay").isNull()); // still being typed
        clickNode(m, "Chemistry");
        QCOMPARE(classOf("Essay").toInt(), bio);
        QCOMPARE(label(m, "lblMaxPoints"), QString("20")); // Chemistry's totals alone
        // The same for a click on a semester.
        clickNode(m, "Chemistry");
        typeRow(m, {"Buffer lab", "Homework"});
        clickNode(m, "Fall 2026");
        QCOMPARE(classOf("Buffer lab").toInt(), chem);
    }

    void closingTheMainWindowStoresThePendingRow()
    {
        TestEnv::createDatabase();
        const int bio = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        typeRow(m, {"Essay", "Homework", "12/03/2026", "30"}); // the last cell still being typed
        QVERIFY(m->close());
        settle();
        QCOMPARE(classOf("Essay").toInt(), bio);
        QCOMPARE(TestEnv::scalar("SELECT MaxPointsPossible FROM Assignments WHERE AssignmentTitle = 'Essay'").toInt(), 30);
        QVERIFY(!frmError::existing());
        QVERIFY(!frmMain::existing());
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void closingKeepsTheCellStillBeingTyped()
    {
        TestEnv::createDatabase();
        const int bio = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        const int lab = addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        // A stored row's cell changed, its editor still open: closing stores it.
        QTableView *v = view(m);
        QVERIFY(activate(m));
        v->setFocus();
        v->setCurrentIndex(v->model()->index(0, 4));
        keys("7");
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY2(editor && editor->text() == "7", "the cell is not being typed");
        QVERIFY(m->close());
        settle();
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE ID = ?", {lab}).toInt(), 7);

        // A new row whose last typed cell is still open: the row and that cell are stored.
        TestEnv::closeAllWindows();
        m = startWith();
        clickNode(m, "Biology");
        typeRow(m, {"Essay", "Homework", "12/03/2026"});
        QVERIFY(m->close());
        settle();
        QCOMPARE(classOf("Essay").toInt(), bio);
        QCOMPARE(TestEnv::scalar("SELECT DateDue FROM Assignments WHERE AssignmentTitle = 'Essay'").toString(), QString("2026-12-03"));
    }

    void aCellThatCannotBeStoredKeepsTheMainWindowOpen()
    {
        TestEnv::createDatabase();
        const int bio = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        typeRow(m, {"Essay", "Homework", "someday"});
        QVERIFY(!m->close());
        settle();
        QVERIFY(TestEnv::shownLast().text.contains("Type mismatch"));
        QCOMPARE(frmMain::existing(), m);
        QVERIFY(classOf("Essay").isNull()); // nothing stored yet, nothing lost
        QVERIFY(!frmCompactDB::existing());
        // The date put right, the window closes with the whole row.
        QWidget *editor = QApplication::focusWidget();
        auto *line = qobject_cast<QLineEdit *>(editor);
        QVERIFY2(line, "the date's editor is gone");
        QCOMPARE(line->text(), QString("someday"));
        line->selectAll();
        QTest::keyClicks(line, "12/03/2026");
        QVERIFY(m->close());
        QCOMPARE(TestEnv::scalar("SELECT DateDue FROM Assignments WHERE AssignmentTitle = 'Essay' AND Class_ID = ?", {bio}).toString(),
                 QString("2026-12-03"));
    }

    void aPendingRowThatCannotBeStoredKeepsTheMainWindowOpen()
    {
        TestEnv::createDatabase();
        const int bio = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        TestEnv::exec("CREATE TRIGGER refuse BEFORE INSERT ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
        typeRow(m, {"Essay", "Homework"});
        MessageBox::setNextAnswers({MessageBox::Yes}); // keep the window open
        QVERIFY(!m->close());
        settle();
        QVERIFY(TestEnv::shownLast().text.contains("the disk is full"));
        QVERIFY(TestEnv::shownLast().text.contains("Keep the window open to correct the entry?"));
        QCOMPARE(frmMain::existing(), m);
        QVERIFY(m->isVisible());
        QVERIFY(!frmCompactDB::existing());
        QVERIFY(Settings::get(Settings::App, "Settings", "LastCompacted").isEmpty()); // nothing closed yet
        QVERIFY(m->findChild<DataGrid *>("gridAssignments")->model()->hasPendingRow()); // what was typed is still there
        // Once the row can be stored, the window closes with it.
        TestEnv::exec("DROP TRIGGER refuse");
        QVERIFY(m->close());
        QCOMPARE(classOf("Essay").toInt(), bio);
    }

    void theHintLeavesTheFiguresInSight()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology", {100, 80, 70, 60, 0});
        addAssignment(cls, "Exam", 120, 90);
        frmMain *m = startWith();
        // The main window in the middle of the screen, where the assistant
        // opens when it has no place of its own.
        const QRect screen = m->screen()->availableGeometry();
        m->resize(700, 480);
        m->move(screen.center() - QPoint(350, 240));
        clickNode(m, "Biology");
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        frmClassStatus *w = frmClassStatus::existing();
        QVERIFY(w && w->isVisible());
        QVERIFY(MsgForm::existing() && MsgForm::existing()->isVisible());
        const QRect assistant = frmAssist::existing()->frameGeometry();
        const QRect balloon = MsgForm::existing()->frameGeometry();
        for (const char *name : {"Label1", "lblPointsShyOfA", "lblPointsShyOfB", "lblPointsShyOfC", "lblPointsShyOfD", "Command1"}) {
            QWidget *c = w->findChild<QWidget *>(name);
            const QRect r(c->mapToGlobal(QPoint(0, 0)), c->size());
            QVERIFY2(!assistant.intersects(r) && !balloon.intersects(r), qPrintable(QString(name) + " is covered"));
        }
    }

    void aRowThatCannotBeStoredCanBeGivenUpAtClose()
    {
        TestEnv::createDatabase();
        const int bio = addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        TestEnv::exec("CREATE TRIGGER refuse BEFORE UPDATE ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
        QVERIFY(typeWithoutEnter(m, 0, 4, "8"));
        MessageBox::setNextAnswers({MessageBox::No}); // close all the same
        QVERIFY(m->close());
        settle();
        QVERIFY(!frmMain::existing());
        QVERIFY(TestEnv::shownTexts().first().contains("the disk is full"));
        QVERIFY(TestEnv::shownTexts().first().contains("Not stored: Points \"8\""));
        QCOMPARE(TestEnv::shownTexts().filter("Keep the window open").size(), 1); // asked once
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments").toInt(), 10);
    }

    void aRowThatCannotBeStoredIsToldOncePerActivation()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int bio = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        addClass(sem, "Chemistry", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 10);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        TestEnv::exec("CREATE TRIGGER refuse BEFORE INSERT ON Assignments BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
        typeRow(m, {"Essay", "Homework", "12/03/2026", "30"});
        // The remembered class is another one (renamed, say), and the user
        // goes to another window and comes back.
        Settings::save(Settings::App, "Settings", "LastClass", "Chemistry");
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        QVERIFY(frmClassStatus::existing());
        QVERIFY(activate(frmClassStatus::existing()));
        MessageBox::clearShown();
        QVERIFY(activate(m));
        QCOMPARE(TestEnv::shownTexts().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("the disk is full"));
        QVERIFY(!frmError::existing());
        QVERIFY(m->findChild<DataGrid *>("gridAssignments")->model()->hasPendingRow());
        // Once the file takes it, the next return stores it under its class.
        TestEnv::exec("DROP TRIGGER refuse");
        QVERIFY(activate(frmClassStatus::existing()));
        MessageBox::clearShown();
        QVERIFY(activate(m));
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QCOMPARE(classOf("Essay").toInt(), bio);
        QCOMPARE(TestEnv::scalar("SELECT MaxPointsPossible FROM Assignments WHERE AssignmentTitle = 'Essay'").toInt(), 30);
    }

    void aCellBeingEditedIsStoredAtCloseAndAtATreeClick()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int bio = addClass(sem, "Biology", {90, 80, 70, 60, 0});
        const int chem = addClass(sem, "Chemistry", {90, 80, 70, 60, 0});
        addAssignment(bio, "Lab", 10, 7);
        addAssignment(chem, "Titration", 20, 18);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        // The tree takes no focus from the cell editor here: the click itself stores it.
        m->findChild<QTreeWidget *>("SSTree2")->setFocusPolicy(Qt::NoFocus);
        QVERIFY(typeWithoutEnter(m, 0, 4, "9"));
        clickNode(m, "Chemistry");
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Lab'").toInt(), 9);
        QCOMPARE(TestEnv::scalar("SELECT ActualPoints FROM Assignments WHERE AssignmentTitle = 'Titration'").toInt(), 18);
        QCOMPARE(label(m, "lblCurrentPoints"), QString("18"));
        // A title being typed when the main window closes.
        QVERIFY(typeWithoutEnter(m, 0, 0, "Titration, second try"));
        QVERIFY(m->close());
        settle();
        QVERIFY(!frmMain::existing());
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle = 'Titration, second try' AND Class_ID = ?",
                                 {chem})
                     .toInt(),
                 1);
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void theHintFlagWaitsForTheBalloon()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology", {100, 80, 70, 60, 0});
        addAssignment(cls, "Exam", 120, 90);
        frmMain *m = startWith();
        clickNode(m, "Biology");
        // The assistant is closed before its balloon could come up.
        QTimer closer;
        closer.setInterval(0);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (frmAssist *a = frmAssist::existing(); a && a->isVisible()) {
                closer.stop();
                a->Unload();
            }
        });
        closer.start();
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        QVERIFY(!closer.isActive());
        QVERIFY(!MsgForm::existing());
        QVERIFY(Settings::get(Settings::App, "Settings", "asst_SeenClassStatus").isEmpty());
        // The next opening shows the hint, and only then is it marked as seen.
        QTest::mouseClick(frmClassStatus::existing()->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        settle();
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        QVERIFY(MsgForm::existing() && MsgForm::existing()->isVisible());
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenClassStatus"), QString("Y"));
    }
};

TARVELA_TEST_CLASS(GradebookTest)
#include "tst_gradebook.moc"
