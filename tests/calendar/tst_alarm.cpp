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

// Lets the enabled timer tick a few times within the present minute.
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

int addAlarm(const QString &time, const QString &text, bool audio, bool notice, const QDate &date = Today)
{
    TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemTime, ItemText, ItemDetails, AlarmEnabledAudio, AlarmEnabledNotice) "
                  "VALUES (?, ?, ?, ?, ?, ?)",
                  {date.toString(Qt::ISODate), time, text, text + " details", audio, notice});
    return TestEnv::scalar("SELECT max(ID) FROM CalItems").toInt();
}

QString textOf(int id) { return itemField(id, "ItemText").toString(); }

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

    void theMinutesItemsAlarmOnceAndAreMarked()
    {
        Clock::set(QDateTime(Today, QTime(14, 30, 5)));
        frmMain *m = startWithSemester();
        const int notice = addAlarm("14:30:00", "Dentist's appointment", false, true);
        const int beeping = addAlarm("14:30:00", "Take pills", true, false);
        const int silent = addAlarm("14:30:00", "Quiet one", false, false);
        // No room left for the marker: alarmed once all the same, kept whole.
        const QString longText(250, QLatin1Char('z'));
        const int whole = addAlarm("14:30:00", longText, true, false);
        runTimer(m);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(box(MessageBox::shown().first()),
                 box("Dentist's appointment", "Dentist's appointment details", MessageBox::OkOnly, MessageBox::Information));
        QCOMPARE(Sound::beeps(), 2);
        QCOMPARE(textOf(notice), QString("Dentist's appointment (NOTIFIED)"));
        QCOMPARE(textOf(beeping), QString("Take pills (NOTIFIED)"));
        QCOMPARE(textOf(silent), QString("Quiet one (NOTIFIED)"));
        QCOMPARE(textOf(whole), longText);
        // More ticks in the same minute: nothing more.
        runTimer(m);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(Sound::beeps(), 2);
    }

    void otherMinutesAndDaysNeverAlarm()
    {
        Clock::set(QDateTime(Today, QTime(14, 30, 5)));
        frmMain *m = startWithSemester();
        const QList<int> ids = {addAlarm("14:29:00", "A minute ago", true, true), addAlarm("14:31:00", "In a minute", true, true),
                                addAlarm("15:30:00", "Next hour", true, true),
                                addAlarm("14:30:00", "Yesterday", true, true, Today.addDays(-1)),
                                addAlarm(QString(), "No time", true, true),
                                addAlarm("14:30:00", "Done before (NOTIFIED)", true, true)};
        TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemTime, AlarmEnabledNotice) VALUES (?, ?, 1)",
                      {Today.toString(Qt::ISODate), "14:30:00"});
        const auto texts = [&] {
            QStringList out;
            for (int id : ids)
                out << textOf(id);
            return out.join(", ");
        };
        const QString before = texts();
        runTimer(m);
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(Sound::beeps(), 0);
        QCOMPARE(texts(), before);
        // The minute of the item that passed never comes back.
        Clock::set(QDateTime(Today, QTime(14, 31, 0)));
        runTimer(m);
        QCOMPARE(TestEnv::shownTitles(), QStringList{"In a minute"});
        QCOMPARE(textOf(ids[0]), QString("A minute ago"));
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
        // A date and time with a part of the other kind count for their own part.
        QVERIFY(CalendarAlarm::isDue(QDateTime(Today, QTime(8, 0)), QDateTime(QDate(1899, 12, 30), QTime(14, 30, 59)), "x", now));
        QVERIFY(CalendarAlarm::isDue(Today, QTime(14, 30), "(NOTIFIED) x", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QTime(14, 30), "x(NOTIFIED)", now));
        QVERIFY(!CalendarAlarm::isDue(Today, QTime(2, 30), "x", now));
        QVERIFY(!CalendarAlarm::isDue(QVariant(), QTime(14, 30), "x", now));
        QVERIFY(!CalendarAlarm::isDue(Today.addYears(1), QTime(14, 30), "x", now));
    }
};

TARVELA_TEST_CLASS(AlarmTest)
#include "tst_alarm.moc"
