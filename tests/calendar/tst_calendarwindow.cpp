#include "CalendarHelpers.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"
#include "platform/Clock.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>

using namespace CalendarHelpers;

// The calendar window: where it opens, the month marks, what the day view
// shows for a date, the to-do grid and its hint, and its closing.
class CalendarWindowTest : public TestCase
{
    Q_OBJECT

    static QTableView *tasks(frmCalendar *c) { return c->findChild<DataGrid *>("gridTasks")->view(); }

    // The colour the month view draws near a day cell's top left corner.
    static QColor cellColour(MonthView *month, int day)
    {
        const QRect cell = dayCell(month, day);
        return month->findChild<QTableView *>()->viewport()->grab().toImage().pixelColor(cell.left() + 3, cell.top() + 3);
    }

    // The month view's marks of these month/day pairs, as one text.
    static QString marks(MonthView *month, const QList<QPair<int, int>> &days)
    {
        QStringList out;
        for (const auto &[m, d] : days)
            out << QStringLiteral("%1/%2 %3").arg(m).arg(d).arg(month->dayStyle(m, d));
        return out.join(", ");
    }

private Q_SLOTS:
    void opensBesideTheMainWindowAndShowsItAgainAtClosing()
    {
        frmMain *m = startWithSemester();
        m->move(0, 40);
        m->resize(820, 560);
        settle();
        frmCalendar *c = openCalendar(m);
        QVERIFY(c);
        QVERIFY(c->isVisible());
        QCOMPARE(c->windowTitle(), QString("Tarvela Calendar"));
        // This screen is narrower than the main window: the calendar stands
        // level with it, as high, whole on the screen.
        const QRect screen = m->screen()->availableGeometry();
        const QRect mainFrame = m->frameGeometry();
        QVERIFY(mainFrame.width() > screen.width() / 2);
        QCOMPARE(c->frameGeometry(), frmCalendar::placeBesideMainWindow(mainFrame, screen));
        QVERIFY(screen.contains(c->frameGeometry()));
        QCOMPARE(c->frameGeometry().top(), mainFrame.top());
        QCOMPARE(c->height(), m->height());
        // Its panes and buttons.
        auto *splitter = c->findChild<QSplitter *>("SSSplitter1");
        QVERIFY(splitter);
        QCOMPARE(splitter->count(), 3);
        QCOMPARE(splitter->widget(0), static_cast<QWidget *>(dayView(c)));
        QCOMPARE(splitter->widget(2), static_cast<QWidget *>(monthView(c)));
        auto *grid = c->findChild<DataGrid *>("gridTasks");
        QCOMPARE(grid->caption(), QString("Tasks/To-Do List"));
        QStringList captions;
        for (int col = 0; col < 3; ++col)
            captions << grid->model()->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(captions, QStringList({"Completed", "Description", "Date"}));
        // The three columns are seen side by side, the captions of Completed
        // and Date whole (drawn bold for the current column); Description
        // takes the rest.
        QTableView *tv = grid->view();
        QFont bold = tv->horizontalHeader()->font();
        bold.setBold(true);
        for (int col : {0, 2})
            QVERIFY2(QFontMetrics(bold).horizontalAdvance(captions[col]) < tv->columnWidth(col), qPrintable(captions[col]));
        QVERIFY(tv->columnWidth(1) > 0);
        QCOMPARE(tv->columnWidth(0) + tv->columnWidth(1) + tv->columnWidth(2), tv->viewport()->width());
        QStringList buttons;
        for (const char *name : {"cmdAddEvent", "SSCommand1", "SSCommand2"})
            buttons << c->findChild<QPushButton *>(name)->text();
        QCOMPARE(buttons, QStringList({"Add Event", "Delete Event", "Exit Calendar"}));
        QCOMPARE(monthView(c)->dayStyleNames(),
                 QStringList({"(Today)", "SemesterEnds", "ClassDay", "ClassStarts", "Sundays", "ClassEnds", "SemesterStarts",
                              "AssignmentDue"}));
        // A second press brings the same window forward.
        click(m, "SSCommand6");
        QCOMPARE(frmCalendar::existing(), c);
        // Exit and the close box show the main window again.
        for (bool closeBox : {false, true}) {
            c = openCalendar(m);
            QVERIFY(c);
            m->hide();
            if (closeBox)
                QVERIFY(c->close());
            else
                click(c, "SSCommand2");
            settle();
            QVERIFY(!frmCalendar::existing());
            QVERIFY(m->isVisible());
        }
    }

    void besideTheMainWindowOnScreen()
    {
        const QRect screen(0, 0, 1280, 1024);
        // As far from the screen's left edge as the main window is wide,
        // level with it and as large, when the screen has room for it.
        QCOMPARE(frmCalendar::placeBesideMainWindow(QRect(0, 0, 600, 400), screen), QRect(600, 0, 600, 400));
        QCOMPARE(frmCalendar::placeBesideMainWindow(QRect(50, 100, 500, 400), screen), QRect(500, 100, 500, 400));
        // Otherwise moved left (and up) until it is whole on the screen.
        QCOMPARE(frmCalendar::placeBesideMainWindow(QRect(191, 239, 904, 630), screen), QRect(376, 239, 904, 630));
        QCOMPARE(frmCalendar::placeBesideMainWindow(QRect(0, 900, 700, 400), screen), QRect(580, 624, 700, 400));
        // And no larger than the screen.
        QCOMPARE(frmCalendar::placeBesideMainWindow(QRect(0, 0, 1400, 1100), screen), QRect(0, 0, 1280, 1024));
        // A screen that does not start at 0.
        QCOMPARE(frmCalendar::placeBesideMainWindow(QRect(1300, 30, 600, 400), QRect(1280, 20, 1920, 1060)),
                 QRect(1280, 30, 600, 400));
    }

    void marksShowInEveryYearAndAreComputedAtOpening()
    {
        // (tst_daylayout reads the marks of every form a due date or an item may be stored in.)
        const int cls = addClass(semesterId(), "Biology");
        Clock::set(QDateTime(QDate(2026, 3, 20), QTime(10, 0)));
        addCalItem("2026-03-15", QVariant(), "Exam day", QVariant(), 3, 15);
        addCalItem("2026-04-10", "10:00:00", "Typed in the day view"); // no Month/Day
        addAssignment(cls, "Lab report", 10, QVariant(), "2026-10-08");
        frmMain *m = startQuiet();
        frmCalendar *c = openCalendar(m);
        QVERIFY(c);
        MonthView *month = monthView(c);
        for (int year : {2025, 2026, 2031})
            QCOMPARE(month->dayStyleOf(QDate(year, 3, 15)), QString("AssignmentDue"));
        QCOMPARE(marks(month, {{10, 8}, {4, 10}, {3, 16}}), QString("10/8 AssignmentDue, 4/10 , 3/16 "));
        QCOMPARE(month->dayStyleText("AssignmentDue"), QString());

        // The marked day is drawn so, in whichever year is paged to.
        const QColor marked(255, 222, 173);
        for (int year : {2025, 2031}) {
            month->setCurrentPage(year, 3);
            settle();
            QCOMPARE(cellColour(month, 15), marked);
            QVERIFY(cellColour(month, 16) != marked);
        }
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // A second activation does not compute the marks again; the next opening does.
        QVERIFY(activate(c));
        addCalItem("2026-05-12", QVariant(), "Later", QVariant(), 5, 12);
        QVERIFY(activate(m));
        QVERIFY(activate(c));
        QCOMPARE(monthView(c)->dayStyle(5, 12), QString());
        click(c, "SSCommand2");
        c = openCalendar(m);
        QVERIFY(c);
        QCOMPARE(monthView(c)->dayStyle(5, 12), QString("AssignmentDue"));
    }

    void theDayViewShowsItemsDueWorkAndToDos()
    {
        // (tst_daylayout checks what each day is made of.)
        const int biology = addClass(semesterId(), "Biology");
        setClassTimes(biology, "Monday", "09:00:00", "09:50:00");
        const QString monday = "2026-03-16";
        addCalItem(monday, "14:15:00", "Dentist", "Bring the card");
        addAssignment(biology, "Essay", 10, QVariant(), monday);
        addTask(monday, "Buy milk");
        addCalItem("2026-03-17", "08:00:00", "Other day");
        // Opened on today, shown at once.
        Clock::set(QDateTime(QDate(2026, 3, 19), QTime(8, 0)));
        addCalItem("2026-03-19", "15:00:00", "Today's item");

        auto [m, c, day] = startCalendar();
        QVERIFY(c);
        QCOMPARE(monthView(c)->selectedDate(), QDate(2026, 3, 19));
        QCOMPARE(day->caption(), QString("3/19/2026"));
        QCOMPARE(entryLines(day), QStringList({"15:00-15:01 Today's item #ff0000"}));

        // The caption names the details of the day's last item with a time.
        clickDay(c, QDate(2026, 3, 16));
        QCOMPARE(entryLines(day), QStringList({"14:15-14:16 Dentist #ff0000", "09:00-09:50 Essay #ff0000",
                                               "00:00-01:00 (To-Do) Buy milk default"}));
        QCOMPARE(day->caption(), QString("3/16/2026"));
        QCOMPARE(c->windowTitle(), QString("Tarvela Calendar - Bring the card"));
        for (const DayEntry &e : day->entries())
            QVERIFY(!e.typed);

        // The next day: only its own; the caption keeps its text.
        clickDay(c, QDate(2026, 3, 17));
        QCOMPARE(entryLines(day), QStringList({"08:00-08:01 Other day #ff0000"}));
        QCOMPARE(day->caption(), QString("3/17/2026"));
        QCOMPARE(c->windowTitle(), QString("Tarvela Calendar - Bring the card"));
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void theToDoHintShowsOnceEver()
    {
        frmMain *m = startWithSemester();
        frmCalendar *c = openCalendar(m);
        QVERIFY(c);
        QVERIFY(activate(c));
        clickDay(c, QDate(2026, 10, 20));
        QVERIFY(!MsgForm::existing());
        // A quick click on a cell: its release is already waiting while its
        // press gives the grid the focus and brings the hint up. That click
        // does not take the balloon away again, however late its press
        // reaches the grid.
        QWidget *cells = tasks(c)->viewport();
        QTimer::singleShot(0, cells, [cells] { QTest::mouseRelease(cells, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); });
        QTest::mousePress(cells, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        settle();
        QVERIFY(tasks(c)->hasFocus());
        QVERIFY(MsgForm::existing() && MsgForm::existing()->isVisible());
        QVERIFY(frmAssist::existing() && frmAssist::existing()->isVisible());
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenToDo"), QString("Y"));
        // The next click in the window does.
        QTest::mouseClick(tasks(c)->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        settle();
        QVERIFY(MsgForm::existing() && !MsgForm::existing()->isVisible());
        QCOMPARE(MsgForm::existing()->msgText()->text(),
                 QString("The To-Do list is where you can add items that you don't want displayed on the calendar.  "
                         "Think of it as a note pad rather than a day-timer."));
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenToDo"), QString("Y"));
        frmAssist::existing()->Unload();
        settle();
        QVERIFY(!MsgForm::existing());
        // Again in this opening, and in a later one: no hint.
        for (int opening = 0; opening < 2; ++opening) {
            QVERIFY(activate(c));
            dayView(c)->setFocus();
            settle();
            tasks(c)->setFocus();
            settle();
            QVERIFY(tasks(c)->hasFocus());
            QVERIFY(!MsgForm::existing());
            click(c, "SSCommand2");
            c = openCalendar(m);
            QVERIFY(c);
        }
    }

    void theToDoGridEditsTasks()
    {
        semesterId();
        Settings::save(Settings::App, "Settings", "asst_SeenToDo", "Y");
        addTask("2026-03-16", "Buy milk");
        frmMain *m = startQuiet();
        frmCalendar *c = openCalendar(m);
        QVERIFY(c);
        QTableView *v = tasks(c);
        const auto cell = [v](int row, int column) { return v->model()->index(row, column).data().toString(); };
        QCOMPARE(v->model()->rowCount(), 2); // the task and the new row
        QCOMPARE(cell(0, 1) + " " + cell(0, 2), QString("Buy milk 3/16/2026"));
        // A typed row is stored, dates typed as a user does.
        typeCell(v, 1, 1, "Return Sam's book");
        typeCell(v, 1, 2, "03/20/26");
        v->setCurrentIndex(v->model()->index(0, 1));
        settle();
        QCOMPARE(count("Tasks"), 2);
        QCOMPARE(TestEnv::scalar("SELECT \"Date\" FROM Tasks WHERE Details = ?", {"Return Sam's book"}).toString(),
                 QString("2026-03-20"));
        // Its Completed box, untouched, is stored as no.
        QCOMPARE(TestEnv::scalar("SELECT quote(Completed) FROM Tasks WHERE Details = ?", {"Return Sam's book"}).toString(),
                 QString("0"));
        // A date that is none is refused with a message, the old one kept.
        typeCell(v, 0, 2, "someday");
        QVERIFY(TestEnv::shownLast().text.contains("someday"));
        QCOMPARE(TestEnv::scalar("SELECT \"Date\" FROM Tasks WHERE TaskID = 1").toString(), QString("2026-03-16"));
        // The Completed box toggles.
        v->setCurrentIndex(v->model()->index(0, 0));
        for (int completed : {1, 0}) {
            QTest::keyClick(v, Qt::Key_Space);
            settle();
            QCOMPARE(TestEnv::scalar("SELECT Completed FROM Tasks WHERE TaskID = 1").toInt(), completed);
        }
        // A task still being typed when the close box is pressed is stored
        // (the editor keeps the focus to the end).
        MessageBox::clearShown();
        const QModelIndex details = v->model()->index(0, 1);
        v->setCurrentIndex(details);
        v->edit(details);
        auto *line = qobject_cast<QLineEdit *>(v->indexWidget(details));
        QVERIFY(line);
        line->clear();
        QTest::keyClicks(line, "Buy oat milk");
        QVERIFY(c->close());
        QVERIFY(!frmCalendar::existing());
        QCOMPARE(TestEnv::scalar("SELECT Details FROM Tasks WHERE TaskID = 1").toString(), QString("Buy oat milk"));
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void aMissingDatabaseIsToldNotFatal()
    {
        frmMain *m = startWithSemester();
        QFile::remove(TestEnv::databasePath());
        MessageBox::clearShown();
        frmCalendar *c = openCalendar(m);
        QVERIFY(c);
        QVERIFY(!MessageBox::shown().isEmpty());
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        // Selecting a day tells it again and leaves an empty day.
        MessageBox::clearShown();
        clickDay(c, QDate(2026, 3, 12));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(dayView(c)->count(), 0);
        click(c, "SSCommand2");
        QVERIFY(!frmCalendar::existing());
    }
};

TARVELA_TEST_CLASS(CalendarWindowTest)
#include "tst_calendarwindow.moc"
