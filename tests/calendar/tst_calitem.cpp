#include "CalendarHelpers.h"

#include "calendar/frmCalItem.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

using namespace CalendarHelpers;

namespace {

int lastId() { return TestEnv::scalar("SELECT max(ID) FROM CalItems").toInt(); }

// The program on 7 March 2024, the calendar open and Add Event pressed.
struct Item {
    frmMain *main = nullptr;
    frmCalendar *calendar = nullptr;
    frmCalItem *window = nullptr;
    int id = 0;
};
Item addEvent()
{
    Clock::set(QDateTime(QDate(2024, 3, 7), QTime(10, 0)));
    Item item;
    item.main = startWithSemester();
    item.calendar = openCalendar(item.main);
    if (!item.calendar)
        return item;
    click(item.calendar, "cmdAddEvent");
    item.window = frmCalItem::existing();
    if (!item.window)
        QTest::qFail("Add Event opened no item window", __FILE__, __LINE__);
    item.id = lastId();
    return item;
}

} // namespace

// Add Event and the item window.
class CalItemTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void addEventStoresARowDatedTodayAndDoneTheDateParts()
    {
        auto [m, c, w, id] = addEvent();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Calendar Item Details"));
        // The row exists before anything is typed.
        QCOMPARE(count("CalItems"), 1);
        QCOMPARE(itemField(id, "ItemDate").toString(), QString("2024-03-07"));
        QCOMPARE(itemField(id, "ItemText").toString(), QString("Event added 03/07/2024"));
        for (const char *empty : {"ItemTime", "ItemDetails", "Day", "Month", "Year"})
            QVERIFY2(itemField(id, empty).isNull(), empty);
        // The yes/no fields, untouched, hold no.
        for (const char *no : {"AlarmEnabledNotice", "AlarmEnabledAudio"})
            QCOMPARE(TestEnv::scalar(QString("SELECT quote(%1) FROM CalItems WHERE ID = ?").arg(no), {id}).toString(), QString("0"));
        // The window shows it, the date as mm/dd/yyyy.
        QCOMPARE(text(w, "txtEventSummary"), QString("Event added 03/07/2024"));
        QCOMPARE(text(w, "cmbEventDate"), QString("03/07/2024"));
        QCOMPARE(text(w, "Text3"), QString());
        QVERIFY(!w->findChild<QCheckBox *>("chkVisual")->isChecked());
        QStringList captions;
        for (const char *name : {"chkVisual", "Label4", "Label2", "Label3", "cmdDone"})
            captions << text(w, name);
        QCOMPARE(captions, QStringList({"Display alarm?", "Time:", "Enter a summary title for the event:",
                                        "Type in more detailed information for this event.", "&Done"}));
        QVERIFY(text(w, "Label1").startsWith("Enter or select the date for this item below."));

        // Done stores what was typed, and the date's parts.
        type(w, "cmbEventDate", "12/25/2024");
        type(w, "Text3", "3:00 pm");
        type(w, "txtEventSummary", "Grandma's dinner");
        type(w, "txtEventDetails", "Bring the pie");
        click(w, "chkVisual");
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QStringList stored;
        for (const char *name : {"Day", "Month", "Year", "ItemDate", "ItemTime", "ItemText", "ItemDetails", "AlarmEnabledNotice"})
            stored << itemField(id, name).toString();
        QCOMPARE(stored, QStringList({"25", "12", "2024", "2024-12-25", "15:00:00", "Grandma's dinner", "Bring the pie", "1"}));
        QCOMPARE(count("CalItems"), 1);
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void theCloseBoxKeepsTheRowWithoutDateParts()
    {
        auto [m, c, w, id] = addEvent();
        QVERIFY(w);
        type(w, "txtEventSummary", "Closed by the box");
        type(w, "Text3", "12/25/2024 4:30 PM"); // read as its time of day
        QVERIFY(w->close());
        settle();
        QVERIFY(!frmCalItem::existing());
        QCOMPARE(itemField(id, "ItemText").toString(), QString("Closed by the box"));
        QCOMPARE(itemField(id, "ItemTime").toString(), QString("16:30:00"));
        QCOMPARE(itemField(id, "ItemDate").toString(), QString("2024-03-07"));
        for (const char *empty : {"Day", "Month", "Year"})
            QVERIFY2(itemField(id, empty).isNull(), empty);
    }

    void whatIsNoDateOrTimeIsRefusedAndKept_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::newRow("date") << "cmbEventDate" << "13/45/2024" << "Invalid date!" << "2024-12-24" << "Day" << "24";
        QTest::newRow("time") << "Text3" << "1500" << "Invalid time!" << "15:00" << "ItemTime" << "15:00:00";
    }

    void whatIsNoDateOrTimeIsRefusedAndKept()
    {
        QFETCH(QString, control);
        QFETCH(QString, bad);
        QFETCH(QString, title);
        QFETCH(QString, good);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        auto [m, c, w, id] = addEvent();
        QVERIFY(w);
        const QByteArray latin = control.toLatin1();
        const char *name = latin.constData();
        type(w, name, bad);
        type(w, "txtEventSummary", "Typed with care");
        // Done and the close box refuse it, and keep what was typed.
        click(w, "cmdDone");
        QVERIFY(!w->close());
        QVERIFY(frmCalItem::existing());
        QCOMPARE(TestEnv::shownTitles(), QStringList({title, title}));
        QVERIFY(TestEnv::shownLast().text.contains(bad));
        QCOMPARE(text(w, name), bad);
        QCOMPARE(text(w, "txtEventSummary"), QString("Typed with care"));
        QVERIFY(itemField(id, field).isNull());
        // Another Add Event keeps this item's entries and adds nothing.
        click(c, "cmdAddEvent");
        QCOMPARE(count("CalItems"), 1);
        QCOMPARE(text(w, name), bad);
        // Put right, Done stores everything.
        type(w, name, good);
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QCOMPARE(itemField(id, field).toString(), stored);
        QCOMPARE(itemField(id, "ItemText").toString(), QString("Typed with care"));
    }

    void anEmptyDateBoxOnlyCloses()
    {
        auto [m, c, w, id] = addEvent();
        QVERIFY(w);
        type(w, "cmbEventDate", "");
        click(w, "cmdDone");
        QVERIFY(!frmCalItem::existing());
        QVERIFY(itemField(id, "Day").isNull());
        QVERIFY(itemField(id, "ItemDate").isNull());
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void addEventTwiceMakesTwoRows()
    {
        auto [m, c, w, first] = addEvent();
        QVERIFY(w);
        type(w, "txtEventSummary", "First one");
        click(c, "cmdAddEvent");
        QCOMPARE(frmCalItem::existing(), w);
        QCOMPARE(count("CalItems"), 2);
        // The first keeps what was typed; the window shows the second.
        QCOMPARE(itemField(first, "ItemText").toString(), QString("First one"));
        QCOMPARE(text(w, "txtEventSummary"), QString("Event added 03/07/2024"));
        click(w, "cmdDone");
        QVERIFY(lastId() != first);
        QCOMPARE(itemField(lastId(), "Day").toInt(), 7);
        QCOMPARE(itemField(lastId(), "Month").toInt(), 3);
        QVERIFY(itemField(first, "Day").isNull());
    }

    void aDoubleClickOnADayOffersToAddAnEvent()
    {
        Clock::set(QDateTime(QDate(2024, 3, 7), QTime(10, 0)));
        auto [m, c, v] = startCalendar();
        QVERIFY(c);
        // A single click asks nothing; No to the double click adds nothing.
        MessageBox::setNextAnswers({MessageBox::No});
        clickDay(c, QDate(2024, 3, 12), true);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(box(MessageBox::shown().first()),
                 box("No item.", "There is no item current there.  Add one?", MessageBox::YesNo, MessageBox::Question));
        QCOMPARE(count("CalItems"), 0);
        QVERIFY(!frmCalItem::existing());
        // Yes adds one, dated today as Add Event dates it.
        MessageBox::setNextAnswers({MessageBox::Yes});
        clickDay(c, QDate(2024, 3, 14), true);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(frmCalItem::existing());
        QCOMPARE(count("CalItems"), 1);
        QCOMPARE(itemField(lastId(), "ItemDate").toString(), QString("2024-03-07"));
    }

    void theArrowsAndTheDropDownCalendarSetTheDate()
    {
        auto [m, c, w, id] = addEvent();
        QVERIFY(w);
        auto *date = w->findChild<QWidget *>("cmbEventDate");
        QVERIFY(date);
        type(w, "cmbEventDate", "2/28/2024");
        QTest::mouseClick(date->findChild<QToolButton *>("up"), Qt::LeftButton);
        QCOMPARE(text(w, "cmbEventDate"), QString("02/29/2024"));
        QTest::mouseClick(date->findChild<QToolButton *>("up"), Qt::LeftButton);
        QCOMPARE(text(w, "cmbEventDate"), QString("03/01/2024"));
        QTest::keyClick(date->findChild<QLineEdit *>("edit"), Qt::Key_Down);
        QCOMPARE(text(w, "cmbEventDate"), QString("02/29/2024"));
        // From a text that is no date: today's neighbour.
        type(w, "cmbEventDate", "nonsense");
        QTest::mouseClick(date->findChild<QToolButton *>("down"), Qt::LeftButton);
        QCOMPARE(text(w, "cmbEventDate"), QString("03/06/2024"));
        // The day chosen in the drop-down calendar is written the same way.
        QTest::mouseClick(date->findChild<QToolButton *>("dropDown"), Qt::LeftButton);
        auto *calendar = qobject_cast<QCalendarWidget *>(QApplication::activePopupWidget());
        QVERIFY(calendar);
        Q_EMIT calendar->clicked(QDate(2024, 3, 5));
        QCOMPARE(text(w, "cmbEventDate"), QString("03/05/2024"));
    }
};

TARVELA_TEST_CLASS(CalItemTest)
#include "tst_calitem.moc"
