#include "CalendarHelpers.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"

#include <QLabel>

using namespace CalendarHelpers;

namespace {
const QDate Day(2026, 3, 12); // a Thursday
const QString DayText = Day.toString(Qt::ISODate);
const QString AutoCreated = QStringLiteral("Cannot delete that record, it was automatically created!");

QString asked(const QString &text) { return "Are you sure you want to delete, \n'" + text + "?'"; }

// Deletes the selected entry with the Delete Event button, answering the question.
void deleteEvent(frmCalendar *c, MessageBox::Answer answer)
{
    MessageBox::setNextAnswers({answer});
    click(c, "SSCommand1");
}

// Shows another day and this one again: the entries as made from the file.
void reselect(frmCalendar *c)
{
    clickDay(c, Day.addDays(1));
    clickDay(c, Day);
}
} // namespace

// Storing what is typed into the day view, and deleting entries.
class CalendarEditingTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void aNewEntryAtThreeIsStoredOnce()
    {
        auto [m, c, v] = startCalendar(Day);
        QVERIFY(c);
        QVERIFY(activate(c));
        typeEntry(v, 30, "Study group");
        QCOMPARE(count("CalItems"), 1);
        const int id = TestEnv::scalar("SELECT max(ID) FROM CalItems").toInt();
        QCOMPARE(itemField(id, "ItemDate").toDate(), Day);
        QCOMPARE(itemField(id, "ItemTime").toString(), QString("15:00:00"));
        QCOMPARE(itemField(id, "AlarmEnabledNotice").toInt(), 1);
        QCOMPARE(itemField(id, "ItemText").toString(), QString("Study group"));
        QCOMPARE(itemField(id, "ItemDetails").toString(), QString("Study group"));
        for (const char *empty : {"Day", "Month", "Year"})
            QVERIFY2(itemField(id, empty).isNull(), empty);
        QCOMPARE(itemField(id, "AlarmEnabledAudio").toString(), QString("0"));
        // Ending or cancelling an edit gives the focus back to the day view:
        // the to-do list's first-use hint is not shown on the way.
        QVERIFY(v->hasFocus());
        QTest::keyClicks(v, "dropped");
        QTest::keyClick(v->editor(), Qt::Key_Escape);
        settle();
        QVERIFY(v->hasFocus());
        QVERIFY(!MsgForm::existing());
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenToDo"), QString());

        // Another edit on the day stores only its own entry.
        typeEntry(v, 32, "Gym");
        QCOMPARE(storedItems(), QStringList({"Study group", "Gym"}));
        // Ending an edit without a change stores nothing more.
        selectEntry(v, "Gym");
        QTest::keyClick(v, Qt::Key_F2);
        QTest::keyClick(v->editor(), Qt::Key_Return);
        settle();
        QCOMPARE(storedItems().size(), 2);
        QVERIFY(MessageBox::shown().isEmpty());

        // Shown from its row the next time the day is selected, and not
        // stored again by a later edit.
        reselect(c);
        QCOMPARE(entryLines(v), QStringList({"15:00-15:01 Study group #ff0000", "16:00-16:01 Gym #ff0000"}));
        typeEntry(v, 20, "Coffee");
        QCOMPARE(storedItems(), QStringList({"Study group", "Gym", "Coffee"}));
    }

    void textsWithApostrophesAreStoredAndDeletedByTheDayView()
    {
        semesterId();
        addCalItem(DayText, "14:15:00", "Dentist");
        auto [m, c, v] = startCalendar(Day);
        QVERIFY(c);
        const QString odd = "Mom's \"big\" party; DROP TABLE CalItems";
        typeEntry(v, 30, odd);
        QCOMPARE(storedItems(), QStringList({"Dentist", odd}));
        reselect(c);
        // The view's own prompt is suppressed: nothing is asked.
        for (const QString &text : {odd, QString("Dentist")}) {
            selectEntry(v, text);
            QTest::keyClick(v, Qt::Key_Delete);
            settle();
            QVERIFY(!storedItems().contains(text));
            QCOMPARE(entryIndex(v, text), -1);
        }
        typeEntry(v, 31, "Another");
        QCOMPARE(entryLines(v), QStringList({"15:30-16:00 Another default"}));
        QCOMPARE(storedItems(), QStringList{"Another"});
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void generatedEntriesAreNeitherStoredNorDeleted()
    {
        const int cls = addClass(semesterId(), "Biology");
        setClassTimes(cls, "Thursday", "09:00:00", "09:50:00");
        addAssignment(cls, "Essay", 10, QVariant(), DayText);
        addAssignment(cls, "Lab report", 10, QVariant(), "2026-09-30");
        addTask(DayText, "Call the dean");
        addCalItem(DayText, QVariant(), "Open day");
        auto [m, c, v] = startCalendar(Day);
        QVERIFY(c);
        QCOMPARE(v->count(), 3);
        typeEntry(v, 30, "Typed");
        typeEntry(v, 31, "Typed too");
        // Any assignment's title, in any letter case, is not stored.
        typeEntry(v, 32, "LAB REPORT");
        typeEntry(v, 33, "Lab report draft");
        QCOMPARE(storedItems(), QStringList({"Open day", "Typed", "Typed too", "Lab report draft"}));

        // Deleting what was made, not stored: told, and it stays.
        for (const QString &text : {QString("Essay"), QString("(To-Do) Call the dean")}) {
            MessageBox::clearShown();
            selectEntry(v, text);
            QTest::keyClick(v, Qt::Key_Delete);
            settle();
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(box(TestEnv::shownLast()), box("Tarvela Desk", AutoCreated, MessageBox::OkOnly, MessageBox::NoIcon));
            QVERIFY(entryIndex(v, text) >= 0);
        }
        // Through the button: the same message after the question.
        MessageBox::clearShown();
        selectEntry(v, "Essay");
        deleteEvent(c, MessageBox::Yes);
        QCOMPARE(TestEnv::shownTexts(), QStringList({asked("Essay"), AutoCreated}));
        QCOMPARE(count("Assignments"), 2);
        QCOMPARE(count("Tasks"), 1);

        // Changing a to-do's entry in the day view makes it the user's.
        appendToEntry(v, "(To-Do) Call the dean", " at 9");
        QCOMPARE(storedItems(), QStringList({"Open day", "Typed", "Typed too", "Lab report draft", "(To-Do) Call the dean at 9"}));
        QCOMPARE(count("Tasks"), 1);
    }

    void whatCannotBeStoredStaysInTheDayView()
    {
        auto [m, c, v] = startCalendar(Day);
        QVERIFY(c);
        QFile::remove(TestEnv::databasePath());
        MessageBox::clearShown();
        typeEntry(v, 30, "Nowhere to go");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(TestEnv::shownLast().text.contains("tarvela.mdb"));
        QCOMPARE(entryIndex(v, "Nowhere to go"), 0);
        QVERIFY(v->entry(0).typed);
        // Stored with the next edit, which takes no more than an item's text holds.
        TestEnv::createDatabase();
        MessageBox::clearShown();
        typeEntry(v, 32, QString(300, QLatin1Char('x')));
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(storedItems(), QStringList({"Nowhere to go", QString(255, QLatin1Char('x'))}));
    }

    void anEditOpenWhenTheWindowClosesIsStored()
    {
        auto [m, c, v] = startCalendar(Day);
        QVERIFY(c);
        typeEntry(v, 30, "Half typed", false);
        click(c, "SSCommand2");
        QVERIFY(!frmCalendar::existing());
        QCOMPARE(storedItems(), QStringList{"Half typed"});
        // And one open when another day is chosen is stored on its own day.
        c = openCalendar(m);
        QVERIFY(c);
        clickDay(c, Day);
        typeEntry(dayView(c), 20, "Before switching", false);
        clickDay(c, Day.addDays(2));
        QCOMPARE(TestEnv::scalar("SELECT ItemDate FROM CalItems WHERE ItemText = ?", {"Before switching"}).toString(), DayText);
    }

    void deleteEventAsksAndDeletesTheFirstMatchingRowOnce()
    {
        semesterId();
        addCalItem(DayText, "14:15:00", "Dentist");
        const int second = addCalItem(DayText, "14:15:00", "Dentist");
        addCalItem(Day.addDays(1).toString(Qt::ISODate), "14:15:00", "Dentist");
        addCalItem(DayText, QVariant(), "Open day");
        auto [m, c, v] = startCalendar(Day);
        QVERIFY(c);
        QCOMPARE(v->count(), 3);
        // Nothing selected: the hint, each time.
        QCOMPARE(v->selectedIndex(), -1);
        for (int round = 0; round < 2; ++round) {
            click(c, "SSCommand1");
            QVERIFY(MsgForm::existing());
            QCOMPARE(MsgForm::existing()->msgText()->text(),
                     QString("In order to delete an event, you'll need to select one first.  Some events cannot be deleted, "
                             "for example any events that have been added by Tarvela automatically based upon your assignment "
                             "due dates."));
            frmAssist::existing()->Unload();
            settle();
            QVERIFY(!MsgForm::existing());
        }
        QVERIFY(MessageBox::shown().isEmpty());

        // No and Cancel delete nothing.
        for (MessageBox::Answer answer : {MessageBox::No, MessageBox::Cancel}) {
            selectEntry(v, "Dentist");
            MessageBox::clearShown();
            deleteEvent(c, answer);
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(count("CalItems"), 4);
        }
        QCOMPARE(box(TestEnv::shownLast()), box("Confirm event deletion", asked("Dentist"), MessageBox::YesNoCancel, MessageBox::Question));

        // Yes: the first of the matching rows goes; the entry stays shown.
        selectEntry(v, "Dentist");
        deleteEvent(c, MessageBox::Yes);
        QCOMPARE(TestEnv::scalar("SELECT group_concat(ID) FROM CalItems WHERE ItemText = 'Dentist' AND ItemDate = ?", {DayText})
                     .toString(),
                 QString::number(second));
        QCOMPARE(v->count(), 3);
        // An item without a time, shown at 1:00 PM, is found and deleted too.
        selectEntry(v, "Open day");
        QCOMPARE(v->entry(v->selectedIndex()).start, QTime(13, 0));
        MessageBox::clearShown();
        deleteEvent(c, MessageBox::Yes);
        QCOMPARE(TestEnv::shownTexts(), QStringList({asked("Open day")}));
        QCOMPARE(count("CalItems"), 2);
        // Gone from sight when the day is selected again.
        reselect(c);
        QCOMPARE(v->count(), 1);

        // A typed entry deleted stays in sight until the day is selected
        // again, but the next edit of the day does not bring its row back.
        typeEntry(v, 32, "Gym");
        selectEntry(v, "Gym");
        deleteEvent(c, MessageBox::Yes);
        QCOMPARE(storedItems(), QStringList({"Dentist", "Dentist"}));
        QVERIFY(entryIndex(v, "Gym") >= 0);
        typeEntry(v, 34, "Swim");
        QCOMPARE(storedItems(), QStringList({"Dentist", "Dentist", "Swim"}));
        // Typed again, it is the user's again.
        appendToEntry(v, "Gym", "!");
        QCOMPARE(storedItems(), QStringList({"Dentist", "Dentist", "Swim", "Gym!"}));
    }
};

TARVELA_TEST_CLASS(CalendarEditingTest)
#include "tst_calendarediting.moc"
