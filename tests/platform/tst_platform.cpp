#include "TestEnv.h"

#include "platform/DateText.h"
#include "platform/Platform.h"

#include <QFile>
#include <QGuiApplication>

// The program's name, folders, and the date and time forms it reads and writes.
class PlatformTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void windowTitlesCarryNoProgramName()
    {
        // The platform would add a display name to every window title
        // ("No Database — Tarvela Desk"): none is set.
        Platform::nameApplication();
        QCOMPARE(QCoreApplication::applicationName(), QString("TarvelaDesk"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    }

    void datesInTheFormsUsersType_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("M/d/yyyy") << "12/9/2026" << QVariant(QDate(2026, 12, 9));
        QTest::newRow("mm/dd/yyyy") << "02/03/2027" << QVariant(QDate(2027, 2, 3));
        QTest::newRow("two-digit 29") << "1/2/29" << QVariant(QDate(2029, 1, 2));
        QTest::newRow("two-digit 30") << "1/2/30" << QVariant(QDate(1930, 1, 2));
        QTest::newRow("iso") << "2026-12-09" << QVariant(QDate(2026, 12, 9));
        QTest::newRow("3:00 PM") << "3:00 PM" << QVariant(QTime(15, 0));
        QTest::newRow("3:00 pm") << "3:00 pm" << QVariant(QTime(15, 0));
        QTest::newRow("15:00") << "15:00" << QVariant(QTime(15, 0));
        QTest::newRow("3 PM") << "3 PM" << QVariant(QTime(15, 0));
        QTest::newRow("12:30 AM") << "12:30 AM" << QVariant(QTime(0, 30));
        QTest::newRow("12:05 PM") << "12:05 PM" << QVariant(QTime(12, 5));
        QTest::newRow("long time") << "3:05:09 AM" << QVariant(QTime(3, 5, 9));
        QTest::newRow("both") << "12/9/2026 3:00 PM" << QVariant(QDateTime(QDate(2026, 12, 9), QTime(15, 0)));
        QTest::newRow("1500") << "1500" << QVariant();
        QTest::newRow("13 PM") << "13 PM" << QVariant();
        QTest::newRow("2/30/2026") << "2/30/2026" << QVariant();
        QTest::newRow("empty") << "" << QVariant();
        QTest::newRow("words") << "tomorrow" << QVariant();
    }
    void datesInTheFormsUsersType()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        QCOMPARE(DateText::parse(text), expected);
    }

    void writtenForms()
    {
        QCOMPARE(DateText::mmddyyyy(QDate(2026, 3, 4)), QString("03/04/2026"));
        QCOMPARE(DateText::shortDate(QDate(2026, 3, 4)), QString("3/4/2026"));
        QCOMPARE(DateText::hmmAmPm(QTime(0, 5)), QString("12:05 AM"));
        QCOMPARE(DateText::hmmAmPm(QTime(15, 0)), QString("3:00 PM"));
        QCOMPARE(DateText::hhmmAmPm(QTime(9, 7)), QString("09:07 AM"));
        QCOMPARE(DateText::general(QVariant(QTime(15, 0))), QString("3:00:00 PM"));
    }

    void programFolderAndDriveA()
    {
        QCOMPARE(Platform::programFolder(), TestEnv::programFolder());
        QCOMPARE(Platform::driveAFolder(), TestEnv::driveA());
        QVERIFY(!Platform::fileExistsNoCase(TestEnv::programFolder(), "tarvela.mdb"));
        QFile f(TestEnv::programFolder() + "/TARVELA.MDB");
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(Platform::fileExistsNoCase(TestEnv::programFolder(), "tarvela.mdb"));
        QCOMPARE(Platform::findFileNoCase(TestEnv::programFolder(), "tarvela.mdb"), f.fileName());
    }
};

TARVELA_TEST_CLASS(PlatformTest)
#include "tst_platform.moc"
