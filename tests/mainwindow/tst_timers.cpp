#include "MainDriving.h"

#include "platform/Clock.h"
#include "platform/Controls.h"

using namespace MainHelpers;

// The main window's two timers, made to tick by the test with the clock set:
// the clock panel each second, the GPA recalculated every ten.
class TimersTest : public TestCase
{
    Q_OBJECT

    // The clock panel as it reads, and as much of it as can be seen.
    static QString panel(frmMain *m) { return find<Panel>(m, "SSPanel3")->text(); }
    static QString panelShown(frmMain *m) { return find<Panel>(m, "SSPanel3")->shownText(); }

private Q_SLOTS:
    void theClockPanelShowsDateAndTimeAndFollowsTheClock_data()
    {
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint64>("later"); // milliseconds the clock then moves on
        QTest::addColumn<QString>("then");
        QTest::newRow("a minute on") << TestEnv::StartOfTest << "10/14/2026 10:30 AM" << qint64(60000) << "10/14/2026 10:31 AM";
        QTest::newRow("to the afternoon") << QDateTime(QDate(2026, 3, 5), QTime(11, 59, 30)) << "03/05/2026 11:59 AM" << qint64(30000)
                                          << "03/05/2026 12:00 PM";
        QTest::newRow("a day on") << QDateTime(QDate(2026, 10, 14), QTime(21, 5)) << "10/14/2026 09:05 PM" << qint64(86400000)
                                  << "10/15/2026 09:05 PM";
        QTest::newRow("past midnight into a new year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << "12/31/2026 11:59 PM"
                                                       << qint64(1000) << "01/01/2027 12:00 AM";
    }

    void theClockPanelShowsDateAndTimeAndFollowsTheClock()
    {
        QFETCH(QDateTime, at);
        QFETCH(QString, shown);
        QFETCH(qint64, later);
        QFETCH(QString, then);
        newFile();
        Clock::set(at);
        frmMain *m = startQuiet();
        QTimer *clock = heldTimer(m, "tmrTimeDate", 1000);
        tick(clock);
        QCOMPARE(panel(m), shown);
        QCOMPARE(panelShown(m), shown); // whole, not shortened
        Clock::advance(later);
        QCOMPARE(panel(m), shown); // until the next second's tick
        tick(clock);
        QCOMPARE(panel(m), then);
        QCOMPARE(panelShown(m), then);
    }

    // A grade changed behind the window (by another program, or a window
    // that does not recalculate) reaches the GPA at the next ten-second
    // tick, and not before; the tick shows no box.
    void theGpaFollowsTheFileAtTheTenSecondTick()
    {
        const int fall = newFile();
        closedClass(fall, "History", "B", 3);
        frmMain *m = startQuiet();
        QTimer *gpa = heldTimer(m, "tmrCalculateGPA", 10000);
        QTimer *clock = heldTimer(m, "tmrTimeDate", 1000);
        tick(gpa);
        QCOMPARE(label(m, "lblGPA"), QString("3"));
        TestEnv::exec("UPDATE Classes SET FinalLetterGrade = 'A' WHERE ClassName = 'History'");
        closedClass(fall, "Math", "C", 1);
        Clock::advance(9000);
        tick(clock);
        QCOMPARE(label(m, "lblGPA"), QString("3"));
        tick(gpa);
        QCOMPARE(label(m, "lblGPA"), QString("3.50")); // (3 x 4 + 1 x 2) / 4
        QVERIFY(MessageBox::shown().isEmpty());
    }
};

TARVELA_TEST_CLASS(TimersTest)
#include "tst_timers.moc"
