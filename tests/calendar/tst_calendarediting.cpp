#include "CalendarHelpers.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"

#include "store/Database.h"
#include "store/Recordset.h"

#include <QLabel>

using namespace CalendarHelpers;

namespace {
const QDate Day(2026, 3, 12); // a Thursday

// The calendar open on `Day`.
frmCalendar *openOnDay(frmMain *m)
{
    frmCalendar *c = openCalendar(m);
    if (!c)
        return nullptr;
    clickDay(c, Day);
    return c;
}

// Types a new entry at a half hour of the day view and ends it with Enter.
void typeEntry(DayView *v, int row, const QString &text)
{
    v->scrollToRow(row);
    settle();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->freePoint(row));
    QTest::keyClicks(v, text);
    QVERIFY(v->isEditing());
    QTest::keyClick(v->editor(), Qt::Key_Return);
    settle();
}

int entryIndex(DayView *v, const QString &text)
{
    for (int i = 0; i < v->count(); ++i)
        if (v->entry(i).text == text)
            return i;
    return -1;
}

void selectEntry(DayView *v, const QString &text)
{
    const int i = entryIndex(v, text);
    QVERIFY2(i >= 0, qPrintable(text));
    v->scrollToRow(DayLayout::rowsOf(v->entry(i).start, v->entry(i).end).first);
    settle();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->entryRect(i).center());
    settle();
    QCOMPARE(v->selectedIndex(), i);
}

int rowsOf(const QString &text)
{
    return TestEnv::scalar("SELECT count(*) FROM CalItems WHERE ItemText = ?", {text}).toInt();
}

const QString AutoCreated = QStringLiteral("Cannot delete that record, it was automatically created!");
} // namespace

// Storing what is typed into the day view, and deleting entries.
class CalendarEditingTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void aNewEntryAtThreeIsStoredOnce()
    {
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        typeEntry(v, 30, "Study group");
        QCOMPARE(count("CalItems"), 1);
        auto db = TestEnv::open();
        auto rs = db->openRecordset("CalItems", Database::Snapshot);
        QCOMPARE(rs->value("ItemDate").toDate(), Day);
        QCOMPARE(rs->value("ItemTime").toTime(), QTime(15, 0));
        QCOMPARE(rs->value("AlarmEnabledNotice").toBool(), true);
        QCOMPARE(rs->value("ItemText").toString(), QString("Study group"));
        QCOMPARE(rs->value("ItemDetails").toString(), QString("Study group"));
        QVERIFY(rs->value("Day").isNull());
        QVERIFY(rs->value("Month").isNull());
        QVERIFY(rs->value("Year").isNull());
        QVERIFY(rs->value("AlarmEnabledAudio").isNull());
        rs->Close();
        db->close();

        // Another edit on the day stores only its own entry.
        typeEntry(v, 32, "Gym");
        QCOMPARE(count("CalItems"), 2);
        QCOMPARE(rowsOf("Study group"), 1);
        // Ending an edit without a change stores nothing more.
        selectEntry(v, "Gym");
        QTest::keyClick(v, Qt::Key_F2);
        QTest::keyClick(v->editor(), Qt::Key_Return);
        settle();
        QCOMPARE(count("CalItems"), 2);
        QVERIFY(MessageBox::shown().isEmpty());

        // Shown from its row the next time the day is selected, and not
        // stored again by a later edit.
        clickDay(c, Day.addDays(1));
        clickDay(c, Day);
        QCOMPARE(entryLines(v), QStringList({"15:00-15:01 Study group #ff0000", "16:00-16:01 Gym #ff0000"}));
        typeEntry(v, 20, "Coffee");
        QCOMPARE(count("CalItems"), 3);
    }

    void typingInTheDayViewLeavesTheToDoListAlone()
    {
        // Ending or cancelling an edit gives the focus back to the day view:
        // the to-do list's first-use hint is not shown on the way.
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        QVERIFY(activate(c));
        DayView *v = dayView(c);
        typeEntry(v, 30, "Study group");
        QVERIFY(v->hasFocus());
        QTest::keyClicks(v, "dropped");
        QTest::keyClick(v->editor(), Qt::Key_Escape);
        settle();
        QVERIFY(v->hasFocus());
        QCOMPARE(count("CalItems"), 1);
        QVERIFY(!MsgForm::existing());
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenToDo"), QString());
    }

    void anAssignmentsTitleIsNotStored()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Spring 2026"), "Biology");
        addAssignment(cls, "Lab report", 10, QVariant(), "2026-09-30");
        frmMain *m = startProgram();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        typeEntry(dayView(c), 30, "Lab report");
        QCOMPARE(count("CalItems"), 0);
        // Letter case is not a difference, as in every comparison of texts.
        typeEntry(dayView(c), 31, "LAB REPORT");
        QCOMPARE(count("CalItems"), 0);
        typeEntry(dayView(c), 32, "Lab report draft");
        QCOMPARE(count("CalItems"), 1);
    }

    void aTextWithAnApostropheIsStoredAndDeleted()
    {
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        typeEntry(v, 30, "Mom's \"big\" party; DROP TABLE CalItems");
        QCOMPARE(rowsOf("Mom's \"big\" party; DROP TABLE CalItems"), 1);
        typeEntry(v, 31, "Another");
        QCOMPARE(count("CalItems"), 2);
        clickDay(c, Day.addDays(1));
        clickDay(c, Day);
        selectEntry(v, "Mom's \"big\" party; DROP TABLE CalItems");
        QTest::keyClick(v, Qt::Key_Delete);
        settle();
        QCOMPARE(count("CalItems"), 1);
        QCOMPARE(entryIndex(v, "Mom's \"big\" party; DROP TABLE CalItems"), -1);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void generatedEntriesAreNeverStored()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Spring 2026"), "Biology");
        setClassTimes(cls, "Thursday", "09:00:00", "09:50:00");
        addAssignment(cls, "Essay", 10, QVariant(), Day.toString(Qt::ISODate));
        addTask(Day.toString(Qt::ISODate), "Call the dean");
        addCalItem(Day.toString(Qt::ISODate), QVariant(), "Open day");
        frmMain *m = startProgram();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        QCOMPARE(v->count(), 3);
        typeEntry(v, 30, "Typed");
        typeEntry(v, 31, "Typed too");
        QCOMPARE(count("CalItems"), 3);
        QCOMPARE(rowsOf("Typed"), 1);
        QCOMPARE(rowsOf("Typed too"), 1);
        QCOMPARE(rowsOf("(To-Do) Call the dean"), 0);
        QCOMPARE(rowsOf("Open day"), 1);
        QCOMPARE(rowsOf("Essay"), 0);
        // Changing a to-do's entry in the day view makes it the user's.
        selectEntry(v, "(To-Do) Call the dean");
        QTest::keyClicks(v, " at 9");
        QTest::keyClick(v->editor(), Qt::Key_Return);
        settle();
        QCOMPARE(rowsOf("(To-Do) Call the dean at 9"), 1);
        QCOMPARE(count("Tasks"), 1);
    }

    void whatCannotBeStoredStaysInTheDayView()
    {
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        QFile::remove(TestEnv::databasePath());
        MessageBox::clearShown();
        typeEntry(v, 30, "Nowhere to go");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(TestEnv::shownLast().text.contains("tarvela.mdb"));
        QCOMPARE(entryIndex(v, "Nowhere to go"), 0);
        QVERIFY(v->entry(0).typed);
        // The entry takes no more than an item's text holds.
        TestEnv::createDatabase();
        MessageBox::clearShown();
        typeEntry(v, 32, QString(300, QLatin1Char('x')));
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(count("CalItems"), 2);
        QCOMPARE(TestEnv::scalar("SELECT max(length(ItemText)) FROM CalItems").toInt(), 255);
        QCOMPARE(rowsOf("Nowhere to go"), 1);
    }

    void anEditOpenWhenTheWindowClosesIsStored()
    {
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        v->scrollToRow(30);
        settle();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->freePoint(30));
        QTest::keyClicks(v, "Half typed");
        QVERIFY(v->isEditing());
        click(c, "SSCommand2");
        QVERIFY(!frmCalendar::existing());
        QCOMPARE(rowsOf("Half typed"), 1);
        // And one open when another day is chosen is stored on its own day.
        c = openOnDay(m);
        v = dayView(c);
        v->scrollToRow(20);
        settle();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->freePoint(20));
        QTest::keyClicks(v, "Before switching");
        clickDay(c, Day.addDays(2));
        QCOMPARE(TestEnv::scalar("SELECT ItemDate FROM CalItems WHERE ItemText = ?", {"Before switching"}).toString(),
                 Day.toString(Qt::ISODate));
    }

    void theDayViewsDeleteRemovesAStoredEntry()
    {
        TestEnv::createDatabase();
        addSemester("Spring 2026");
        addCalItem(Day.toString(Qt::ISODate), "14:15:00", "Dentist");
        addCalItem(Day.toString(Qt::ISODate), "16:00:00", "Piano");
        frmMain *m = startProgram();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        selectEntry(v, "Dentist");
        QTest::keyClick(v, Qt::Key_Delete);
        settle();
        QCOMPARE(rowsOf("Dentist"), 0);
        QCOMPARE(rowsOf("Piano"), 1);
        QCOMPARE(entryLines(v), QStringList({"16:00-16:01 Piano #ff0000"}));
        QVERIFY(MessageBox::shown().isEmpty()); // the view's own prompt is suppressed
    }

    void generatedEntriesCannotBeDeleted()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Spring 2026"), "Biology");
        setClassTimes(cls, "Thursday", "09:00:00", "09:50:00");
        addAssignment(cls, "Essay", 10, QVariant(), Day.toString(Qt::ISODate));
        addTask(Day.toString(Qt::ISODate), "Call the dean");
        frmMain *m = startProgram();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        for (const QString &text : {QString("Essay"), QString("(To-Do) Call the dean")}) {
            MessageBox::clearShown();
            selectEntry(v, text);
            QTest::keyClick(v, Qt::Key_Delete);
            settle();
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(TestEnv::shownLast().text, AutoCreated);
            QCOMPARE(TestEnv::shownLast().title, QString("Tarvela Desk"));
            QCOMPARE(TestEnv::shownLast().buttons, MessageBox::OkOnly);
            QCOMPARE(TestEnv::shownLast().icon, MessageBox::NoIcon);
            QVERIFY(entryIndex(v, text) >= 0);
        }
        QCOMPARE(count("Assignments"), 1);
        QCOMPARE(count("Tasks"), 1);
        // Through the button: the same message after the question.
        MessageBox::clearShown();
        selectEntry(v, "Essay");
        MessageBox::setNextAnswers({MessageBox::Yes});
        click(c, "SSCommand1");
        QCOMPARE(TestEnv::shownTexts(), QStringList({"Are you sure you want to delete, \n'Essay?'", AutoCreated}));
        QCOMPARE(count("Assignments"), 1);
    }

    void anEventDeletedWithTheButtonIsNotStoredAgain()
    {
        // The entry stays in sight until the day is selected again, but the
        // next edit of the day does not bring its row back.
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        typeEntry(v, 32, "Gym");
        QCOMPARE(rowsOf("Gym"), 1);
        selectEntry(v, "Gym");
        MessageBox::setNextAnswers({MessageBox::Yes});
        click(c, "SSCommand1");
        QCOMPARE(rowsOf("Gym"), 0);
        QVERIFY(entryIndex(v, "Gym") >= 0);
        typeEntry(v, 34, "Swim");
        QCOMPARE(rowsOf("Swim"), 1);
        QCOMPARE(rowsOf("Gym"), 0);
        // Typed again, it is the user's again.
        selectEntry(v, "Gym");
        QTest::keyClicks(v, "!");
        QTest::keyClick(v->editor(), Qt::Key_Return);
        settle();
        QCOMPARE(rowsOf("Gym!"), 1);
        QCOMPARE(count("CalItems"), 2);
    }

    void deleteEventAsksAndDeletesTheFirstMatchingRow()
    {
        TestEnv::createDatabase();
        addSemester("Spring 2026");
        const int first = addCalItem(Day.toString(Qt::ISODate), "14:15:00", "Dentist");
        const int second = addCalItem(Day.toString(Qt::ISODate), "14:15:00", "Dentist");
        addCalItem(Day.addDays(1).toString(Qt::ISODate), "14:15:00", "Dentist");
        frmMain *m = startProgram();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        QCOMPARE(v->count(), 2);

        // No and Cancel delete nothing.
        for (MessageBox::Answer answer : {MessageBox::No, MessageBox::Cancel}) {
            selectEntry(v, "Dentist");
            MessageBox::clearShown();
            MessageBox::setNextAnswers({answer});
            click(c, "SSCommand1");
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(count("CalItems"), 3);
        }
        const MessageBox::Shown asked = MessageBox::shown().first();
        QCOMPARE(asked.text, QString("Are you sure you want to delete, \n'Dentist?'"));
        QCOMPARE(asked.title, QString("Confirm event deletion"));
        QCOMPARE(asked.buttons, MessageBox::YesNoCancel);
        QCOMPARE(asked.icon, MessageBox::Question);

        // Yes: the first of the matching rows goes; the entry stays shown.
        selectEntry(v, "Dentist");
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        click(c, "SSCommand1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(count("CalItems"), 2);
        QVERIFY(TestEnv::scalar("SELECT count(*) FROM CalItems WHERE ID = ?", {first}).toInt() == 0);
        QVERIFY(TestEnv::scalar("SELECT count(*) FROM CalItems WHERE ID = ?", {second}).toInt() == 1);
        QCOMPARE(v->count(), 2);
        // Until the day is selected again.
        clickDay(c, Day.addDays(2));
        clickDay(c, Day);
        QCOMPARE(v->count(), 1);
    }

    void anItemWithoutATimeCanBeDeleted()
    {
        TestEnv::createDatabase();
        addSemester("Spring 2026");
        TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemText) VALUES (?, 'Open day')", {Day.toString(Qt::ISODate)});
        frmMain *m = startProgram();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        DayView *v = dayView(c);
        selectEntry(v, "Open day");
        QCOMPARE(v->entry(v->selectedIndex()).start, QTime(13, 0));
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes});
        click(c, "SSCommand1");
        QCOMPARE(TestEnv::shownTexts(), QStringList({"Are you sure you want to delete, \n'Open day?'"}));
        QCOMPARE(count("CalItems"), 0);
    }

    void deleteEventWithNothingSelectedGivesTheHintEachTime()
    {
        frmMain *m = startWithSemester();
        frmCalendar *c = openOnDay(m);
        QVERIFY(c);
        QCOMPARE(dayView(c)->selectedIndex(), -1);
        const QString hint = "In order to delete an event, you'll need to select one first.  Some events cannot be deleted, "
                             "for example any events that have been added by Tarvela automatically based upon your assignment "
                             "due dates.";
        for (int round = 0; round < 2; ++round) {
            click(c, "SSCommand1");
            QVERIFY(MsgForm::existing());
            QCOMPARE(MsgForm::existing()->msgText()->text(), hint);
            frmAssist::existing()->Unload();
            settle();
            QVERIFY(!MsgForm::existing());
        }
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(count("CalItems"), 0);
    }
};

TARVELA_TEST_CLASS(CalendarEditingTest)
#include "tst_calendarediting.moc"
