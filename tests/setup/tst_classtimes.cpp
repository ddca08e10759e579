#include "TestEnv.h"

#include "setup/ClassTimes.h"

using ClassTimes::Checked;

// Reading and showing class times without a window.
class ClassTimesTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheFormsUsersType_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("shown");
        const int valid = Checked::Valid, invalid = Checked::Invalid, empty = Checked::Empty;
        QTest::newRow("h:mm AM") << "3:00 AM" << valid << "3:00 AM";
        QTest::newRow("small letters") << "3:00 pm" << valid << "3:00 PM";
        QTest::newRow("24 hours") << "15:00" << valid << "3:00 PM";
        QTest::newRow("hour only") << "3 PM" << valid << "3:00 PM";
        QTest::newRow("seconds") << "3:05:59 PM" << valid << "3:05 PM";
        QTest::newRow("0:30") << "0:30" << valid << "12:30 AM";
        QTest::newRow("noon") << "12:05 PM" << valid << "12:05 PM";
        QTest::newRow("blanks around") << "  9:15 am  " << valid << "9:15 AM";
        QTest::newRow("date and time") << "10/5/2026 4:30 PM" << valid << "4:30 PM";
        QTest::newRow("date alone") << "10/5/2026" << valid << "12:00 AM";
        QTest::newRow("1500") << "1500" << invalid << "";
        QTest::newRow("word") << "noon" << invalid << "";
        QTest::newRow("25:00") << "25:00" << invalid << "";
        QTest::newRow("13 PM") << "13:00 PM" << invalid << "";
        QTest::newRow("null") << QString() << empty << "";
        QTest::newRow("blanks") << "   " << empty << "";
        QTest::newRow("tab") << "\t" << empty << "";
    }
    void readsTheFormsUsersType()
    {
        QFETCH(QString, typed);
        QFETCH(int, result);
        QFETCH(QString, shown);
        const Checked c = ClassTimes::check(typed);
        QCOMPARE(int(c.result), result);
        QCOMPARE(c.text, shown);
        if (result != Checked::Empty)
            QCOMPARE(ClassTimes::read(typed).has_value(), result == Checked::Valid);
    }
};

TARVELA_TEST_CLASS(ClassTimesTest)
#include "tst_classtimes.moc"
