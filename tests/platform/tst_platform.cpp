#include "TestEnv.h"

#include "platform/DateText.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    void programFolderChoice_data()
    {
        QTest::addColumn<QString>("tarvelaHome");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("TARVELA_HOME") << "/srv/desk/" << false << "/x" << "/srv/desk";
        QTest::newRow("TARVELA_HOME, writable") << "/srv/desk" << true << "" << "/srv/desk";
        QTest::newRow("writable") << "" << true << "/x" << "/opt/td/bin";
        QTest::newRow("read-only") << "" << false << "/x/data" << "/x/data/tarvela-desk";
        QTest::newRow("read-only, no XDG_DATA_HOME") << "" << false << "" << "/home/ann/.local/share/tarvela-desk";
        QTest::newRow("read-only, relative XDG_DATA_HOME") << "" << false << "data" << "/home/ann/.local/share/tarvela-desk";
    }
    void programFolderChoice()
    {
        QFETCH(QString, tarvelaHome);
        QFETCH(bool, writable);
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        QCOMPARE(Platform::chooseProgramFolder(tarvelaHome, "/opt/td/bin", writable, xdgDataHome, "/home/ann"), expected);
    }

    void readOnlyProgramKeepsItsDataInTheUsersFolder()
    {
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        TestEnv::addResetHook([dataHome] {
            if (dataHome.isEmpty())
                qunsetenv("XDG_DATA_HOME");
            else
                qputenv("XDG_DATA_HOME", dataHome);
        });
        qunsetenv("TARVELA_HOME");
        qputenv("XDG_DATA_HOME", (TestEnv::root() + "/data").toUtf8());
        QCOMPARE(Platform::programFolder(), QCoreApplication::applicationDirPath());
        FileOps::denyChanges(QCoreApplication::applicationDirPath());
        QCOMPARE(Platform::programFolder(), TestEnv::root() + "/data/tarvela-desk");
        QVERIFY(QFileInfo(TestEnv::root() + "/data/tarvela-desk").isDir());
    }

    void programFilesFromTheProgramFolderElseTheInstalledOnes_data()
    {
        QTest::addColumn<QStringList>("inProgramFolder");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both") << QStringList{"TIPOFDAY.TXT"} << QStringList{"TIPOFDAY.TXT"} << "program/TIPOFDAY.TXT";
        QTest::newRow("installed only") << QStringList{} << QStringList{"TIPOFDAY.TXT"} << "installed/TIPOFDAY.TXT";
        QTest::newRow("installed, other case") << QStringList{"tipofday.bak"} << QStringList{"tipofday.txt"} << "installed/tipofday.txt";
        QTest::newRow("neither") << QStringList{} << QStringList{} << "program/TIPOFDAY.TXT";
    }
    void programFilesFromTheProgramFolderElseTheInstalledOnes()
    {
        QFETCH(QStringList, inProgramFolder);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        const QString root = TestEnv::root();
        QVERIFY(QDir().mkpath(root + "/installed"));
        for (const auto &[folder, names] : {std::pair{QString("program"), inProgramFolder}, std::pair{QString("installed"), installed}}) {
            for (const QString &name : names) {
                QFile f(root + "/" + folder + "/" + name);
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }
        QCOMPARE(Platform::programFilePath("TIPOFDAY.TXT", root + "/program", root + "/installed"), root + "/" + expected);
    }
};

TARVELA_TEST_CLASS(PlatformTest)
#include "tst_platform.moc"
