#include "TestEnv.h"

#include "mainwindow/frmMain.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>

using namespace TestEnv;

// The store works on the connections Qt's SQLite driver makes with the
// engine the program links: a driver working with another copy of the
// engine is refused before any file is opened, and the start says why.
class DriverEngineTest : public TestCase
{
    Q_OBJECT

    static QMap<QString, QByteArray> folderFiles()
    {
        QMap<QString, QByteArray> out;
        for (const QString &name : QDir(programFolder()).entryList(QDir::Files | QDir::Hidden)) {
            QFile f(programFolder() + "/" + name);
            out[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
        }
        return out;
    }

    static void checkTold(const QString &description)
    {
        QVERIFY2(description.contains("Qt's SQLite driver on this computer works with another copy of SQLite than Tarvela Desk")
                     && description.contains("no database was opened")
                     && description.contains("Install the Qt SQLite driver of your system's packages (libqt6sql6-sqlite)"),
                 qPrintable(description));
    }

private Q_SLOTS:
    void initTestCase()
    {
        addResetHook([] { Database::pretendForeignDriverEngine(false); });
    }

    void theProgramsOwnEngineIsAccepted()
    {
        createDatabase();
        QCOMPARE(errorNumber([] { Database::checkDriverEngine(); }), 0);
        auto db = Database::open(databasePath());
        QCOMPARE(db->readRows("SELECT count(*) FROM Semesters").rows.value(0).value(0).toInt(), 0);
        db->close();
    }

    void anotherEngineOpensAndMakesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("open") << "open";
        QTest::newRow("open separate") << "separate";
        QTest::newRow("create") << "create";
    }

    void anotherEngineOpensAndMakesNothing()
    {
        QFETCH(QString, how);
        const QString file = how == "create" ? programFolder() + "/new.mdb" : databasePath();
        createDatabase();
        exec("DROP INDEX " + Schema::indexes().first().name); // an open would otherwise add it back
        const QMap<QString, QByteArray> before = folderFiles();
        Database::pretendForeignDriverEngine(true);
        QString description;
        QCOMPARE(errorNumber(
                     [&] {
                         if (how == "open")
                             Database::open(file);
                         else if (how == "separate")
                             Database::openSeparate(file);
                         else
                             Database::create(file);
                     },
                     &description),
                 Err::CannotOpen);
        checkTold(description);
        QVERIFY(folderFiles() == before);
        // Nothing is left half open: with the program's own engine the file opens.
        Database::pretendForeignDriverEngine(false);
        Database::open(databasePath())->close();
    }

    // One message, then the end: no offer of a new file, no lock, no settings.
    void theStartSaysWhyAndEnds_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::newRow("a database") << true;
        QTest::newRow("no database") << false;
    }

    void theStartSaysWhyAndEnds()
    {
        QFETCH(bool, withFile);
        if (withFile)
            createDatabase();
        const QMap<QString, QByteArray> before = folderFiles();
        Database::pretendForeignDriverEngine(true);
        frmMain::splashMilliseconds = 0;
        MessageBox::setNextAnswers({MessageBox::Yes});
        frmMain *m = frmMain::instance();
        QCoreApplication::processEvents();
        QCOMPARE(shownTitles(), QStringList{"Database Driver Mismatch"});
        checkTold(shownLast().text);
        QCOMPARE(shownLast().icon, MessageBox::Critical);
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(folderFiles() == before);
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::App)));
    }
};

TARVELA_TEST_CLASS(DriverEngineTest)
#include "tst_driverengine.moc"
