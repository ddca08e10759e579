#include "CalendarHelpers.h"

#include "calendar/CalendarAlarm.h"
#include "platform/Clock.h"
#include "platform/Sound.h"

#include <QSignalSpy>
#include <QTimer>

using namespace CalendarHelpers;

namespace {

const QDate Today(2026, 3, 12);

QTimer *alarmTimer(frmMain *m) { return m->findChild<QTimer *>("tmrCheckCalendar"); }

// Lets the enabled timer tick three times within the present minute.
void runTimer(frmMain *m)
{
    QTimer *t = alarmTimer(m);
    QVERIFY(t);
    QSignalSpy ticks(t, &QTimer::timeout);
    t->setInterval(15);
    t->start();
    QTRY_VERIFY(ticks.count() >= 4);
    t->stop();
    settle();
}

int addAlarm(const QString &time, const QString &text, const QVariant &audio, const QVariant &notice,
             const QString &date = Today.toString(Qt::ISODate))
{
    TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemTime, ItemText, ItemDetails, AlarmEnabledAudio, AlarmEnabledNotice) "
                  "VALUES (?, ?, ?, ?, ?, ?)",
                  {date, time, text, text + " details", audio, notice});
    return TestEnv::scalar("SELECT max(ID) FROM CalItems").toInt();
}

QString textOf(int id) { return TestEnv::scalar("SELECT ItemText FROM CalItems WHERE ID = ?", {id}).toString(); }

} // namespace

// The alarm check of the main window's timer, with the timer enabled by the
// test and the clock set.
class AlarmTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void theTimerIsCreatedDisabled()
    {
        frmMain *m = startWithSemester();
        QTimer *t = alarmTimer(m);
        QVERIFY(t);
        QCOMPARE(t->interval(), 10000);
        QVERIFY(!t->isActive());
        settle();
        QVERIFY(!t->isActive());
        // A tick on a timer that is not running only starts it.
        Clock::set(QDateTime(Today, QTime(14, 30, 5)));
        const int id = addAlarm("14:30:00", "Dentist", false, true);
        CalendarAlarm::tick(t);
        QVERIFY(t->isActive());
        QCOMPARE(textOf(id), QString("Dentist"));
        QVERIFY(MessageBox::shown().isEmpty());
        t->stop();
    }

    void theMinutesItemAlarmsOnceAndIsMarked()
    {
        Clock::set(QDateTime(Today, QTime(14, 30, 5)));
        frmMain *m = startWithSemester();
        const int id = addAlarm("14:30:00", "Dentist's appointment", false, true);
        const int beeping = addAlarm("14:30:00", "Take pills", true, false);
        const int silent = addAlarm("14:30:00", "Quiet one", false, false);
        MessageBox::clearShown();
        runTimer(m);
        QCOMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Shown box = MessageBox::shown().first();
        QCOMPARE(box.text, QString("Dentist's appointment details"));
        QCOMPARE(box.title, QString("Dentist's appointment"));
        QCOMPARE(box.buttons, MessageBox::OkOnly);
        QCOMPARE(box.icon, MessageBox::Information);
        QCOMPARE(Sound::beeps(), 1);
        QCOMPARE(textOf(id), QString("Dentist's appointment (NOTIFIED)"));
        QCOMPARE(textOf(beeping), QString("Take pills (NOTIFIED)"));
        // Both flags off: marked without beep or box.
        QCOMPARE(textOf(silent), QString("Quiet one (NOTIFIED)"));
        // More ticks in the same minute: nothing more.
        runTimer(m);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(Sound::beeps(), 1);
    }

    void otherMinutesAndDaysNeverAlarm()
    {
        Clock::set(QDateTime(Today, QTime(14, 30, 5)));
        frmMain *m = startWithSemester();
        const int passed = addAlarm("14:29:00", "A minute ago", true, true);
        const int later = addAlarm("14:31:00", "In a minute", true, true);
        const int otherHour = addAlarm("15:30:00", "Next hour", true, true);
        const int otherDay = addAlarm("14:30:00", "Yesterday", true, true, Today.addDays(-1).toString(Qt::ISODate));
        const int untimed = addAlarm(QString(), "No time", true, true);
        const int marked = addAlarm("14:30:00", "Done before (NOTIFIED)", true, true);
        TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemTime, AlarmEnabledNotice) VALUES (?, ?, 1)",
                      {Today.toString(Qt::ISODate), "14:30:00"});
        runTimer(m);
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(Sound::beeps(), 0);
        QCOMPARE(textOf(passed), QString("A minute ago"));
        QCOMPARE(textOf(later), QString("In a minute"));
        QCOMPARE(textOf(otherHour), QString("Next hour"));
        QCOMPARE(textOf(otherDay), QString("Yesterday"));
        QCOMPARE(textOf(untimed), QString("No time"));
        QCOMPARE(textOf(marked), QString("Done before (NOTIFIED)"));
        // The minute of the item that passed never comes back.
        Clock::set(QDateTime(Today, QTime(14, 31, 0)));
        runTimer(m);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().title, QString("In a minute"));
        QCOMPARE(textOf(passed), QString("A minute ago"));
    }

    void aTextWithNoRoomForTheMarkerAlarmsOnceAndStaysWhole()
    {
        Clock::set(QDateTime(Today, QTime(9, 0, 0)));
        frmMain *m = startWithSemester();
        const QString longText = QString(250, QLatin1Char('z'));
        const int id = addAlarm("09:00:00", longText, false, true);
        runTimer(m);
        runTimer(m);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(textOf(id), longText);
    }

    void aMissingDatabaseIsToldAndTheCheckGoesOn()
    {
        Clock::set(QDateTime(Today, QTime(9, 0, 0)));
        frmMain *m = startWithSemester();
        QFile::remove(TestEnv::databasePath());
        QTimer *t = alarmTimer(m);
        t->start();
        CalendarAlarm::tick(t);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        t->stop();
    }

    void theDueRule()
    {
        const QDateTime now(Today, QTime(14, 30, 40));
        QVERIFY(CalendarAlarm::isDue(Today, QTime(14, 30), "x", now));
        QVERIFY(CalendarAlarm::isDue(QDateTime(Today, QTime(8, 0)), QDateTime(QDate(1899, 12, 30), QTime(14, 30, 59)), "x", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QTime(14, 30), "", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QTime(14, 30), "x (NOTIFIED)", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QTime(14, 30), "x(NOTIFIED)", now));
        QVERIFY(CalendarAlarm::isDue(Today, QTime(14, 30), "(NOTIFIED) x", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QTime(2, 30), "x", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QVariant(), "x", now));
        QVERIFY(!CalendarAlarm::isDue(QVariant(), QTime(14, 30), "x", now));
        QVERIFY(!CalendarAlarm::isDue(Today.addYears(1), QTime(14, 30), "x", now));
    }
};

TARVELA_TEST_CLASS(AlarmTest)
#include "tst_alarm.moc"
