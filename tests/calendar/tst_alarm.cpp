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
        // A database gone missing is told, and the check goes on.
        QFile::remove(TestEnv::databasePath());
        CalendarAlarm::tick(t);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(t->isActive());
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
        // Other minutes: not now (theDueRule holds which items are due).
        const int past = addAlarm("14:29:00", "A minute ago", true, true);
        addAlarm("14:31:00", "In a minute", true, true);
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
        // The next minute's item alarms then; the minute of the one that
        // passed never comes back.
        Clock::set(QDateTime(Today, QTime(14, 31, 0)));
        runTimer(m);
        QCOMPARE(TestEnv::shownTitles(), QStringList({"Dentist's appointment", "In a minute"}));
        QCOMPARE(textOf(past), QString("A minute ago"));
    }

    // Due: an item of today's date, at the present hour and minute, with a
    // text not yet marked.
    void theDueRule_data()
    {
        QTest::addColumn<QVariant>("date");
        QTest::addColumn<QVariant>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("due");
        const QVariant today(Today), now(QTime(14, 30));
        QTest::newRow("this minute") << today << now << "x" << true;
        // A date and time with a part of the other kind count for their own part.
        QTest::newRow("parts of the other kind") << QVariant(QDateTime(Today, QTime(8, 0)))
                                                 << QVariant(QDateTime(QDate(1899, 12, 30), QTime(14, 30, 59))) << "x" << true;
        QTest::newRow("marker first") << today << now << "(NOTIFIED) x" << true;
        QTest::newRow("marked") << today << now << "x(NOTIFIED)" << false;
        QTest::newRow("no text") << today << now << "" << false;
        QTest::newRow("other hour") << today << QVariant(QTime(2, 30)) << "x" << false;
        QTest::newRow("a minute ago") << today << QVariant(QTime(14, 29)) << "x" << false;
        QTest::newRow("in a minute") << today << QVariant(QTime(14, 31)) << "x" << false;
        QTest::newRow("no time") << today << QVariant() << "x" << false;
        QTest::newRow("no date") << QVariant() << now << "x" << false;
        QTest::newRow("yesterday") << QVariant(Today.addDays(-1)) << now << "x" << false;
        QTest::newRow("next year") << QVariant(Today.addYears(1)) << now << "x" << false;
    }

    void theDueRule()
    {
        QFETCH(QVariant, date);
        QFETCH(QVariant, time);
        QFETCH(QString, text);
        QFETCH(bool, due);
        QCOMPARE(CalendarAlarm::isDue(date, time, text, QDateTime(Today, QTime(14, 30, 40))), due);
    }
};

TARVELA_TEST_CLASS(AlarmTest)
#include "tst_alarm.moc"
