#include "CalendarHelpers.h"

#include "calendar/frmCalItem.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

using namespace CalendarHelpers;

namespace {

QVariant field(int id, const QString &name)
{
    return TestEnv::scalar(QStringLiteral("SELECT \"%1\" FROM CalItems WHERE ID = ?").arg(name), {id});
}

int lastId() { return TestEnv::scalar("SELECT max(ID) FROM CalItems").toInt(); }

// The program on 7 March 2024 with the calendar open.
frmCalendar *openOnMarch7(frmMain *&m)
{
    Clock::set(QDateTime(QDate(2024, 3, 7), QTime(10, 0)));
    m = startWithSemester();
    return openCalendar(m);
}

frmCalItem *addEvent(frmCalendar *c)
{
    click(c, "cmdAddEvent");
    return frmCalItem::existing();
}

} // namespace

// Add Event and the item window.
class CalItemTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void addEventStoresARowDatedToday()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        QVERIFY(c);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Calendar Item Details"));
        // The row exists before anything is typed.
        QCOMPARE(count("CalItems"), 1);
        const int id = lastId();
        QCOMPARE(field(id, "ItemDate").toString(), QString("2024-03-07"));
        QCOMPARE(field(id, "ItemText").toString(), QString("Event added 03/07/2024"));
        for (const char *empty : {"ItemTime", "ItemDetails", "Day", "Month", "Year"})
            QVERIFY2(field(id, empty).isNull(), empty);
        // The window shows it.
        QCOMPARE(text(w, "txtEventSummary"), QString("Event added 03/07/2024"));
        QCOMPARE(DateText::parseDate(text(w, "cmbEventDate")), std::optional<QDate>(QDate(2024, 3, 7)));
        QCOMPARE(text(w, "Text3"), QString());
        QVERIFY(!w->findChild<QCheckBox *>("chkVisual")->isChecked());
        QCOMPARE(w->findChild<QCheckBox *>("chkVisual")->text(), QString("Display alarm?"));
        QCOMPARE(w->findChild<QLabel *>("Label4")->text(), QString("Time:"));
        QCOMPARE(w->findChild<QLabel *>("Label2")->text(), QString("Enter a summary title for the event:"));
        QCOMPARE(w->findChild<QLabel *>("Label3")->text(), QString("Type in more detailed information for this event."));
        QVERIFY(w->findChild<QLabel *>("Label1")->text().startsWith("Enter or select the date for this item below."));
        QCOMPARE(w->findChild<QPushButton *>("cmdDone")->text(), QString("&Done"));
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void doneStoresTheDateParts()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        const int id = lastId();
        type(w, "cmbEventDate", "12/25/2024");
        type(w, "Text3", "3:00 pm");
        type(w, "txtEventSummary", "Grandma's dinner");
        type(w, "txtEventDetails", "Bring the pie");
        click(w, "chkVisual");
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QCOMPARE(field(id, "Day").toInt(), 25);
        QCOMPARE(field(id, "Month").toInt(), 12);
        QCOMPARE(field(id, "Year").toInt(), 2024);
        QCOMPARE(field(id, "ItemDate").toString(), QString("2024-12-25"));
        QCOMPARE(field(id, "ItemTime").toString(), QString("15:00:00"));
        QCOMPARE(field(id, "ItemText").toString(), QString("Grandma's dinner"));
        QCOMPARE(field(id, "ItemDetails").toString(), QString("Bring the pie"));
        QCOMPARE(field(id, "AlarmEnabledNotice").toInt(), 1);
        QCOMPARE(count("CalItems"), 1);
        QVERIFY(MessageBox::shown().isEmpty());

        // Marked in the month view at the next opening, and shown on its day.
        click(c, "SSCommand2");
        c = openCalendar(m);
        QCOMPARE(monthView(c)->dayStyle(12, 25), QString("AssignmentDue"));
        clickDay(c, QDate(2024, 12, 25));
        QCOMPARE(entryLines(dayView(c)), QStringList({"15:00-15:01 Grandma's dinner #ff0000"}));
        QCOMPARE(c->windowTitle(), QString("Tarvela Calendar - Bring the pie"));
    }

    void theCloseBoxKeepsTheRowWithoutDateParts()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        const int id = lastId();
        type(w, "txtEventSummary", "Closed by the box");
        type(w, "Text3", "12/25/2024 4:30 PM"); // read as its time of day
        QVERIFY(w->close());
        settle();
        QVERIFY(!frmCalItem::existing());
        QCOMPARE(field(id, "ItemText").toString(), QString("Closed by the box"));
        QCOMPARE(field(id, "ItemTime").toString(), QString("16:30:00"));
        QCOMPARE(field(id, "ItemDate").toString(), QString("2024-03-07"));
        QVERIFY(field(id, "Day").isNull());
        QVERIFY(field(id, "Month").isNull());
        QVERIFY(field(id, "Year").isNull());
    }

    void aDateThatIsNoneIsRefusedAndKept()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        const int id = lastId();
        type(w, "cmbEventDate", "13/45/2024");
        type(w, "txtEventSummary", "Typed with care");
        click(w, "cmdDone");
        QVERIFY(frmCalItem::existing());
        QCOMPARE(TestEnv::shownLast().title, QString("Invalid date!"));
        QVERIFY(TestEnv::shownLast().text.contains("13/45/2024"));
        QCOMPARE(text(w, "cmbEventDate"), QString("13/45/2024"));
        QCOMPARE(text(w, "txtEventSummary"), QString("Typed with care"));
        QVERIFY(field(id, "Day").isNull());
        // The close box refuses it too.
        MessageBox::clearShown();
        QVERIFY(!w->close());
        QCOMPARE(TestEnv::shownLast().title, QString("Invalid date!"));
        QVERIFY(frmCalItem::existing());
        // Put right, Done stores everything.
        type(w, "cmbEventDate", "2024-12-24");
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QCOMPARE(field(id, "Day").toInt(), 24);
        QCOMPARE(field(id, "ItemText").toString(), QString("Typed with care"));
    }

    void aTimeThatIsNoneIsRefusedAndKept()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        const int id = lastId();
        type(w, "Text3", "1500");
        click(w, "cmdDone");
        QVERIFY(frmCalItem::existing());
        QCOMPARE(TestEnv::shownLast().title, QString("Invalid time!"));
        QCOMPARE(text(w, "Text3"), QString("1500"));
        QVERIFY(field(id, "ItemTime").isNull());
        QVERIFY(!w->close());
        // Another Add Event keeps this item's entries and adds nothing.
        click(c, "cmdAddEvent");
        QCOMPARE(count("CalItems"), 1);
        QCOMPARE(text(w, "Text3"), QString("1500"));
        type(w, "Text3", "15:00");
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QCOMPARE(field(id, "ItemTime").toString(), QString("15:00:00"));
    }

    void anEmptyDateBoxOnlyCloses()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        const int id = lastId();
        type(w, "cmbEventDate", "");
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QVERIFY(field(id, "Day").isNull());
        QVERIFY(field(id, "ItemDate").isNull());
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void addEventTwiceMakesTwoRows()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        const int first = lastId();
        type(w, "txtEventSummary", "First one");
        QCOMPARE(addEvent(c), w);
        QCOMPARE(count("CalItems"), 2);
        QVERIFY(lastId() != first);
        // The first keeps what was typed; the window shows the second.
        QCOMPARE(field(first, "ItemText").toString(), QString("First one"));
        QCOMPARE(text(w, "txtEventSummary"), QString("Event added 03/07/2024"));
        click(w, "cmdDone");
        QCOMPARE(field(lastId(), "Day").toInt(), 7);
        QCOMPARE(field(lastId(), "Month").toInt(), 3);
        QVERIFY(field(first, "Day").isNull());
    }

    void yesToTheDoubleClickAddsAnEvent()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        QVERIFY(c);
        MessageBox::setNextAnswers({MessageBox::Yes});
        doubleClickDay(c, QDate(2024, 3, 14));
        QCOMPARE(TestEnv::shownTexts(), QStringList({"There is no item current there.  Add one?"}));
        QVERIFY(frmCalItem::existing());
        QCOMPARE(count("CalItems"), 1);
        // Dated today, as Add Event dates it.
        QCOMPARE(field(lastId(), "ItemDate").toString(), QString("2024-03-07"));
    }

    void theArrowsStepTheDate()
    {
        frmMain *m = nullptr;
        frmCalendar *c = openOnMarch7(m);
        frmCalItem *w = addEvent(c);
        QVERIFY(w);
        auto *box = w->findChild<QWidget *>("cmbEventDate");
        QVERIFY(box);
        type(w, "cmbEventDate", "2/28/2024");
        QTest::mouseClick(box->findChild<QToolButton *>("up"), Qt::LeftButton);
        QCOMPARE(text(w, "cmbEventDate"), QString("02/29/2024"));
        QTest::mouseClick(box->findChild<QToolButton *>("up"), Qt::LeftButton);
        QCOMPARE(text(w, "cmbEventDate"), QString("03/01/2024"));
        QTest::keyClick(box->findChild<QLineEdit *>("edit"), Qt::Key_Down);
        QCOMPARE(text(w, "cmbEventDate"), QString("02/29/2024"));
        type(w, "cmbEventDate", "nonsense");
        QTest::mouseClick(box->findChild<QToolButton *>("down"), Qt::LeftButton);
        QCOMPARE(text(w, "cmbEventDate"), QString("03/06/2024"));
    }
};

TARVELA_TEST_CLASS(CalItemTest)
#include "tst_calitem.moc"
