#include "TestEnv.h"

#include "setup/ClassTimes.h"

using ClassTimes::Arrow;
using ClassTimes::Checked;

// Reading and showing class times, and the arrow moves, without a window.
class ClassTimesTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheFormsUsersType_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("h:mm AM") << "3:00 AM" << "3:00 AM";
        QTest::newRow("small letters") << "3:00 pm" << "3:00 PM";
        QTest::newRow("24 hours") << "15:00" << "3:00 PM";
        QTest::newRow("hour only") << "3 PM" << "3:00 PM";
        QTest::newRow("seconds") << "3:05:59 PM" << "3:05 PM";
        QTest::newRow("0:30") << "0:30" << "12:30 AM";
        QTest::newRow("noon") << "12:05 PM" << "12:05 PM";
        QTest::newRow("blanks around") << "  9:15 am  " << "9:15 AM";
        QTest::newRow("date and time") << "10/5/2026 4:30 PM" << "4:30 PM";
        QTest::newRow("date alone") << "10/5/2026" << "12:00 AM";
    }
    void readsTheFormsUsersType()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        const Checked c = ClassTimes::check(typed);
        QCOMPARE(c.result, Checked::Valid);
        QCOMPARE(c.text, shown);
        QVERIFY(ClassTimes::read(typed).has_value());
    }

    void refusesWhatIsNoTime_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("1500") << "1500";
        QTest::newRow("word") << "noon";
        QTest::newRow("25:00") << "25:00";
        QTest::newRow("13 PM") << "13:00 PM";
    }
    void refusesWhatIsNoTime()
    {
        QFETCH(QString, typed);
        const Checked c = ClassTimes::check(typed);
        QCOMPARE(c.result, Checked::Invalid);
        QCOMPARE(c.text, QString());
        QVERIFY(!ClassTimes::read(typed).has_value());
    }

    void blanksAreEmpty()
    {
        for (const QString &typed : {QString(), QString(""), QString("   "), QString("\t")}) {
            const Checked c = ClassTimes::check(typed);
            QCOMPARE(c.result, Checked::Empty);
            QCOMPARE(c.text, QString());
        }
    }


    void arrowMovesStayInTheWeek()
    {
        // Monday start is box 0, Monday end 1, ... Sunday end 13.
        QCOMPARE(ClassTimes::arrowTarget(0, Arrow::Left), -1);
        QCOMPARE(ClassTimes::arrowTarget(0, Arrow::Up), -1);
        QCOMPARE(ClassTimes::arrowTarget(0, Arrow::Right), 2);
        QCOMPARE(ClassTimes::arrowTarget(0, Arrow::Down), 1);
        QCOMPARE(ClassTimes::arrowTarget(1, Arrow::Up), 0);
        QCOMPARE(ClassTimes::arrowTarget(1, Arrow::Down), -1);
        QCOMPARE(ClassTimes::arrowTarget(9, Arrow::Left), 7);
        QCOMPARE(ClassTimes::arrowTarget(9, Arrow::Right), 11);
        QCOMPARE(ClassTimes::arrowTarget(12, Arrow::Right), -1);
        QCOMPARE(ClassTimes::arrowTarget(12, Arrow::Down), 13);
        QCOMPARE(ClassTimes::arrowTarget(13, Arrow::Right), -1);
        QCOMPARE(ClassTimes::arrowTarget(13, Arrow::Left), 11);
        QCOMPARE(ClassTimes::arrowTarget(-1, Arrow::Right), -1);
        QCOMPARE(ClassTimes::arrowTarget(14, Arrow::Left), -1);
    }
};

TARVELA_TEST_CLASS(ClassTimesTest)
#include "tst_classtimes.moc"
