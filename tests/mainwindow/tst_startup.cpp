#include "MainDriving.h"

#include "calendar/frmToday.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmError.h"
#include "mainwindow/frmSplash.h"
#include "mainwindow/frmTip.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "platform/ProgramLock.h"
#include "setup/frmAddSemesterWizard.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTimer>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace MainHelpers;

// The road from launching the program to its main window, what keeps a
// start from doing harm (a second copy on the folder, a file that is not
// whole, an error the activation would tell again at every return), the
// window's place kept, and the end.
class StartupTest : public TestCase
{
    Q_OBJECT

    // The files of the program folder and what they hold, the running
    // program's lock file aside.
    static QMap<QString, QByteArray> folder()
    {
        QMap<QString, QByteArray> out;
        const QString lock = QFileInfo(ProgramLock::fileIn(TestEnv::programFolder())).fileName();
        for (const QString &name : QDir(TestEnv::programFolder()).entryList(QDir::Files | QDir::Hidden)) {
            if (name != lock)
                out[name] = fileBytes(TestEnv::programFolder() + "/" + name);
        }
        return out;
    }

    // Makes another window active, then the main window again, as a user's
    // click on the box's OK and back does.
    static bool reactivate(QWidget *elsewhere, frmMain *m)
    {
        if (frmError *e = frmError::existing())
            click(e, "Command1"); // Recover
        if (!activate(elsewhere))
            return false;
        // The report it may show takes the activation away again.
        m->activateWindow();
        const bool back = QTest::qWaitFor([&] { return m->isActiveWindow() || frmError::existing(); }, 2000);
        settle();
        return back;
    }

    // Marks a file immutable (or takes the mark away), as an administrator's
    // chattr does; false when the file system or the user cannot.
    static bool setImmutable(const QString &path, bool on)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    static QString twips(int pixels) { return QString::number(Twips::fromPixels(pixels)); }

    static QByteArray settingsFile() { return fileBytes(Settings::fileFor(Settings::App)); }

private Q_SLOTS:
    void firstStartYesCreatesAndLeadsToTheWizard()
    {
        frmMain *m = start({MessageBox::Yes});
        QVERIFY(QFile::exists(TestEnv::databasePath()));
        const MessageBox::Shown first = MessageBox::shown().value(0);
        QCOMPARE(first.title, QString("No Database"));
        QCOMPARE(first.text, QString("The Tarvela database was not found.\n\nShall I create a new one?"));
        QCOMPARE(first.buttons, MessageBox::YesNo);
        QCOMPARE(first.icon, MessageBox::Information);
        QVERIFY(m->isVisible());
        QVERIFY(!frmTip::existing());
        // The empty file leads to the semester wizard (its road: the set-up tests).
        lastBox("No semesters.");
        QVERIFY(frmAddSemesterWizard::existing() && frmAddSemesterWizard::existing()->isVisible());
        QCOMPARE(setting("TarvelaPath"), TestEnv::programFolder());
    }

    void aStartThatCannotGoOnEndsAfterOneMessage_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("create"); // the answer to "No Database"
        QTest::addColumn<QStringList>("says"); // {folder} the program folder, {file} the database file
        QTest::newRow("no database, not created") << "" << false << QStringList{"Tarvela cannot continue to load without a database."};
        QTest::newRow("read-only folder") << "read-only" << true << QStringList{"{folder}"};
        QTest::newRow("creation fails halfway") << "no journal" << true
                                                << QStringList{"The Tarvela database could not be created in\n{folder}"};
        QTest::newRow("not a database") << "garbage" << false << QStringList{"is not a Tarvela database"};
        QTest::newRow("locked") << "locked" << false << QStringList{"locked by another program"};
        // A folder where the file belongs: told once, never offered to be replaced.
        QTest::newRow("a folder in its place") << "folder tarvela.mdb" << true
                                               << QStringList{"{folder}/tarvela.mdb is a folder, not a database file."};
        QTest::newRow("a folder in its place, capitals") << "folder TARVELA.MDB" << true
                                                         << QStringList{"{folder}/TARVELA.MDB is a folder, not a database file."};
        const QStringList open = {"Tarvela cannot open its database:\n{file}\n\n", "\n\nThe file has been left as it is."};
        QTest::newRow("damaged") << "damaged" << false << (QStringList(open) << "is damaged");
        for (const char *table : {"Classes", "Assignments", "AssignmentTypes"})
            QTest::newRow(table) << QString("DROP TABLE %1").arg(table) << false
                                 << (QStringList(open) << QString("the table %1 is missing").arg(table));
        for (const auto &[table, field] : {std::pair{"Semesters", "Title"}, {"Classes", "ClassName"}, {"Assignments", "DateDue"}})
            QTest::newRow(qPrintable(QString("%1.%2").arg(table, field)))
                << QString("ALTER TABLE %1 RENAME COLUMN %2 TO Other").arg(table, field) << false
                << (QStringList(open) << QString("the field %2 of the table %1 is missing").arg(table, field));
    }

    // The file and the folder are left exactly as they were, nothing is
    // written, and the program ends after saying why.
    void aStartThatCannotGoOnEndsAfterOneMessage()
    {
        QFETCH(QString, situation);
        QFETCH(bool, create);
        QFETCH(QStringList, says);
        std::shared_ptr<Database> other;
        if (situation == "read-only") {
            FileOps::denyChanges(TestEnv::programFolder());
        } else if (situation == "no journal") {
            // The file can be made, but nothing written into it: the
            // engine's journal has no room beside it.
            QVERIFY(QDir().mkpath(TestEnv::programFolder() + "/tarvela.mdb-journal"));
        } else if (situation == "garbage") {
            QVERIFY(writeBytes(TestEnv::databasePath(), QByteArray(2048, 'x')));
        } else if (situation.startsWith("folder ")) {
            QVERIFY(QDir().mkpath(TestEnv::programFolder() + "/" + situation.mid(7)));
        } else if (situation == "locked") {
            newFile();
            other = TestEnv::open(); // another program writing the file
            other->execute("BEGIN EXCLUSIVE");
            Database::setBusyTimeout(20); // no need to wait for the other program here
        } else if (!situation.isEmpty()) {
            addClass(newFile(), "Biology 101");
            TestEnv::addRowsAndGaps(90);
            if (situation == "damaged")
                QVERIFY(TestEnv::damagePage(TestEnv::databasePath(), 4));
            else
                TestEnv::exec(situation);
        }
        const QMap<QString, QByteArray> before = folder();
        frmMain *m = startQuiet({create ? MessageBox::Yes : MessageBox::No});
        const QMap<QString, QByteArray> after = folder();
        if (other) {
            other->rollback();
            other->close();
        }
        const bool standing = before.contains("tarvela.mdb") || situation.startsWith("folder ");
        QCOMPARE(TestEnv::shownTitles(), standing ? QStringList{"Cannot continue"} : (QStringList{"No Database", "Cannot continue"}));
        const QString text = TestEnv::shownLast().text;
        for (QString part : says)
            QVERIFY2(text.contains(part.replace("{folder}", TestEnv::programFolder()).replace("{file}", TestEnv::databasePath())),
                     qPrintable(text));
        if (create || standing) // not the user's own choice
            QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!frmError::existing());
        QCOMPARE(after.keys(), before.keys());
        QVERIFY(after == before);
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::App))); // nothing written
    }

    void aSecondCopyOnTheSameFolderEndsUntouched()
    {
        newFile();
        const QMap<QString, QByteArray> before = folder();
        QProcess running;
        running.start(TestEnv::helperProgram(), {"lock", TestEnv::programFolder()});
        QVERIFY(running.waitForStarted(20000) && running.waitForReadyRead(20000));
        QCOMPARE(running.readLine().trimmed(), QByteArray("taken"));

        frmMain *m = start({MessageBox::Yes});
        lastBox("Tarvela Desk", QString("Tarvela Desk is already running with the folder %1.\n\n"
                                        "Use the copy that is running; this one ends now.").arg(TestEnv::programFolder()));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::App))); // nothing written
        QVERIFY(folder() == before);

        // The first copy is killed: the lock it leaves is taken over.
        running.kill();
        QVERIFY(running.waitForFinished(20000));
        QVERIFY(QFile::exists(ProgramLock::fileIn(TestEnv::programFolder())));
        TestEnv::closeAllWindows();
        Platform::resetProgramEnded();
        MessageBox::clearShown();
        m = startQuiet();
        QVERIFY(!Platform::programEnded());
        QVERIFY(m->isVisible());
        QCOMPARE(treeText(m), QStringList{"Fall 2026"});
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void aLockFileNobodyHoldsNeverBlocksTheStart_data()
    {
        QTest::addColumn<QString>("left");     // what is left where the lock file goes
        QTest::addColumn<QString>("title");    // "" for a start that goes on
        QTest::addColumn<QStringList>("says"); // {file} the lock file, {folder} the program folder
        // Nothing holds these: the start takes them over.
        for (const char *left : {"an empty file", "random bytes", "a process that ended", "a running program that holds no lock"})
            QTest::newRow(left) << left << "" << QStringList();
        // These are told for what they are, and left as they are.
        QTest::newRow("another computer's")
            << "another computer's" << "Tarvela Desk"
            << QStringList{"The folder {folder} is marked as in use by Tarvela Desk on the computer \"far-away-pc\".",
                           "delete the file {file}, then start Tarvela Desk again."};
        const QString cannot = "Tarvela Desk cannot take over the lock file {file}, which keeps a second copy of the program "
                               "from working with the folder at the same time: ";
        QTest::newRow("a folder in its place")
            << "a folder in its place" << "Cannot continue"
            << QStringList{cannot + "a folder of that name stands where the file should be. Move or delete the folder {file}"};
        QTest::newRow("an immutable file") << "an immutable file" << "Cannot continue"
                                           << QStringList{cannot + "the file is marked as unchangeable (immutable)."};
        QTest::newRow("a file in a folder without permission")
            << "no permission" << "Cannot continue" << QStringList{cannot + "you have no permission to change it or its folder."};
    }

    // What a crash, a kill or a power cut leaves of the lock never keeps the
    // program from starting; what another computer or the file system keeps
    // is told, with what to do, and the start ends leaving it as it is.
    void aLockFileNobodyHoldsNeverBlocksTheStart()
    {
        QFETCH(QString, left);
        QFETCH(QString, title);
        QFETCH(QStringList, says);
        newFile();
        const QString lock = ProgramLock::fileIn(TestEnv::programFolder());
        const auto lockLine = [](const QByteArray &pid, const QByteArray &host, const QByteArray &machine) {
            return pid + "\ntst_startup\n" + host + "\n" + machine + "\n" + QSysInfo::bootUniqueId() + "\n";
        };
        QByteArray bytes;
        if (left == "random bytes") {
            QRandomGenerator random(24);
            for (int i = 0; i < 600; ++i)
                bytes.append(char(random.bounded(256)));
        } else if (left == "a process that ended") {
            QProcess ended;
            ended.start(TestEnv::helperProgram(), {"usage"});
            QVERIFY(ended.waitForStarted(20000));
            const qint64 pid = ended.processId();
            QVERIFY(ended.waitForFinished(20000));
            bytes = lockLine(QByteArray::number(pid), QSysInfo::machineHostName().toUtf8(), QSysInfo::machineUniqueId());
        } else if (left == "a running program that holds no lock") {
            bytes = lockLine(QByteArray::number(QCoreApplication::applicationPid()), QSysInfo::machineHostName().toUtf8(),
                             QSysInfo::machineUniqueId());
        } else if (left == "another computer's") {
            bytes = lockLine("4242", "far-away-pc", "0123456789abcdef0123456789abcdef");
        }
        struct Immutable {
            QString path;
            ~Immutable()
            {
                if (!path.isEmpty())
                    setImmutable(path, false);
            }
        } immutable;
        if (left == "a folder in its place") {
            QVERIFY(QDir().mkpath(lock));
        } else {
            QVERIFY(writeBytes(lock, bytes));
        }
        if (left == "an immutable file") {
            if (!setImmutable(lock, true))
                QSKIP("this file system or user cannot mark a file immutable");
            immutable.path = lock;
        } else if (left == "no permission") {
            FileOps::denyChanges(TestEnv::programFolder());
        }
        const QMap<QString, QByteArray> before = folder();
        const QByteArray lockBefore = QFileInfo(lock).isFile() ? fileBytes(lock) : QByteArray();

        frmMain *m = startQuiet();
        if (title.isEmpty()) {
            QVERIFY(TestEnv::shownTexts().isEmpty());
            QVERIFY(!Platform::programEnded());
            QVERIFY(m->isVisible());
            QCOMPARE(treeText(m), QStringList{"Fall 2026"});
            // The file now tells who holds it, and holds the folder against
            // a second copy.
            QVERIFY(fileBytes(lock).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + "\n"));
            QProcess second;
            second.start(TestEnv::helperProgram(), {"lock", TestEnv::programFolder()});
            QVERIFY(second.waitForFinished(20000));
            QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("held"));
            return;
        }
        QCOMPARE(TestEnv::shownTitles(), QStringList{title});
        const QString text = TestEnv::shownLast().text;
        for (QString part : says)
            QVERIFY2(text.contains(part.replace("{folder}", TestEnv::programFolder()).replace("{file}", lock)), qPrintable(text));
        QVERIFY2(!text.contains("already running"), qPrintable(text));
        QVERIFY(text.endsWith("This copy ends now."));
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!QFile::exists(Settings::fileFor(Settings::App))); // nothing written
        QVERIFY(folder() == before);
        QCOMPARE(QFileInfo(lock).isFile() ? fileBytes(lock) : QByteArray(), lockBefore);
    }

    void copiesStartedAtOnceLeaveOneRunning_data()
    {
        QTest::addColumn<bool>("leftBehind"); // an empty lock file left by a power cut
        QTest::newRow("no lock file") << false;
        QTest::newRow("an empty lock file left behind") << true;
    }

    void copiesStartedAtOnceLeaveOneRunning()
    {
        QFETCH(bool, leftBehind);
        if (leftBehind) {
            QFile f(ProgramLock::fileIn(TestEnv::programFolder()));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 10; ++i) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->start(TestEnv::helperProgram(), {"lock", TestEnv::programFolder()});
        }
        QMap<QByteArray, int> told;
        for (auto &copy : copies) {
            QVERIFY(copy->waitForStarted(20000));
            QVERIFY(copy->canReadLine() || copy->waitForReadyRead(20000));
            told[copy->readLine().trimmed()] += 1;
        }
        QCOMPARE(told, (QMap<QByteArray, int>{{"taken", 1}, {"held", 9}}));
        for (auto &copy : copies) {
            copy->closeWriteChannel();
            QVERIFY(copy->state() == QProcess::NotRunning || copy->waitForFinished(20000));
        }
    }

    void damageIsFoundWholeAndIndexesAreMended_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("mend");   // the answer to the offer, when one is made
        QTest::addColumn<bool>("offered"); // the damage lies in the indexes only
        QTest::newRow("a row missing from an index") << "missing row" << true << true;
        QTest::newRow("a deleted row left in an index") << "deleted row" << true << true;
        QTest::newRow("an index page overwritten") << "index page" << true << true;
        QTest::newRow("a row missing from an index, not mended") << "missing row" << false << true;
        QTest::newRow("a row missing from an index among texts too long") << "missing row among long texts" << true << true;
        QTest::newRow("a table page overwritten") << "table page" << true << false;
    }

    // Every damage the engine's full check finds stops the start. Damage in
    // the indexes only is mended when the user agrees, after a copy of the
    // file as it was has been kept: every row stays. Other damage, or a mend
    // refused, ends the start with the file left exactly as it was.
    void damageIsFoundWholeAndIndexesAreMended()
    {
        QFETCH(QString, damage);
        QFETCH(bool, mend);
        QFETCH(bool, offered);
        addClass(newFile(), "Biology 101");
        TestEnv::exec("UPDATE Classes SET ClassClosed = 0, AppliesToGPA = 0"); // as the program writes them
        TestEnv::addRowsAndGaps(90);
        const QString file = TestEnv::databasePath();
        const QString index = "idxAssignmentsTitle";
        if (damage.endsWith("among long texts")) { // written by another program past the fields' rules: no damage
            auto other = TestEnv::open();
            other->execute("PRAGMA ignore_check_constraints = ON");
            for (int i = 0; i < 150; ++i)
                other->execute("INSERT INTO Assignments (Class_ID, AssignmentTitle, Completed) VALUES (1, ?, 0)", {QString(250, 'T')});
            other->close();
        }
        if (damage.startsWith("missing row"))
            QVERIFY(TestEnv::changeBehindIndex(file, index, "INSERT INTO Assignments (Class_ID, AssignmentTitle, Completed) VALUES (1, 'Essay', 0)"));
        else if (damage == "deleted row")
            QVERIFY(TestEnv::changeBehindIndex(file, index, "DELETE FROM Assignments WHERE ID = (SELECT max(ID) FROM Assignments)"));
        else
            QVERIFY(TestEnv::damagePage(file, TestEnv::rootPage(file, damage == "index page" ? index : "Assignments")));
        const QString rows = offered ? TestEnv::contents(file) : QString(); // a damaged table cannot be read
        const QMap<QString, QByteArray> before = folder();

        frmMain *m = startQuiet({mend ? MessageBox::Yes : MessageBox::No});
        const QMap<QString, QByteArray> after = folder();
        const QStringList titles = TestEnv::shownTitles();
        if (offered) {
            const MessageBox::Shown offer = MessageBox::shown().value(0);
            QCOMPARE(offer.title, QString("Database Damaged"));
            QCOMPARE(offer.buttons, MessageBox::YesNo);
            for (const QString &part : {"The database file " + file + " is damaged (", QString("Only the indexes of the file are "
                                                                                                "damaged"),
                                        QString("A copy of the file as it is now is kept first, as\n")})
                QVERIFY2(offer.text.contains(part), qPrintable(offer.text));
        }
        if (offered && mend) {
            QCOMPARE(titles, (QStringList{"Database Damaged", "Database Repaired"}));
            // The copy kept is the file as it was; the file holds every row
            // it held and passes the full check.
            QStringList added = after.keys();
            for (const QString &name : before.keys())
                added.removeAll(name);
            QCOMPARE(added.size(), 1);
            QVERIFY2(added.first().startsWith("tarvela-damaged-20261014-103000"), qPrintable(added.first()));
            QCOMPARE(after.value(added.first()), before.value("tarvela.mdb"));
            QVERIFY(TestEnv::shownLast().text.contains(TestEnv::programFolder() + "/" + added.first()));
            QVERIFY(MessageBox::shown().value(0).text.contains(TestEnv::programFolder() + "/" + added.first()));
            auto check = TestEnv::open(); // texts too long are no damage
            check->execute("PRAGMA ignore_check_constraints = ON");
            QCOMPARE(check->readRows("PRAGMA integrity_check").rows.value(0).value(0).toString(), QString("ok"));
            check->close();
            QCOMPARE(TestEnv::contents(file), rows);
            QVERIFY(!Platform::programEnded());
            QVERIFY(m->isVisible());
            QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
            return;
        }
        QCOMPARE(titles, offered ? (QStringList{"Database Damaged", "Cannot continue"}) : QStringList{"Cannot continue"});
        QVERIFY2(TestEnv::shownLast().text.contains("is damaged (") && TestEnv::shownLast().text.endsWith("The file has been left as it is."),
                 qPrintable(TestEnv::shownLast().text));
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(after == before);
    }

    // Rows another program wrote past the file's own checks (texts longer
    // than their fields) do not stop the start: the program starts without a
    // word and shows them.
    // The settings store reports a file it cannot write; the program tells
    // the user once per run.
    void settingsThatCannotBeSavedAreToldOnce()
    {
        newFile();
        startQuiet();
        const QString file = Settings::fileFor(Settings::App);
        QVERIFY(QFile::remove(file) && QDir().mkpath(file));
        MessageBox::clearShown();
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastClass", "Chemistry"));
        QVERIFY(!Settings::save(Settings::App, "Settings", "LastClass", "Physics"));
        QCOMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Shown told = TestEnv::shownLast();
        QCOMPARE(told.title, QString("Settings Not Saved"));
        QCOMPARE(told.icon, MessageBox::Exclamation);
        for (const QString &part : {file, QString("A folder of that name stands where the file should be."),
                                    QString("will not be kept when it closes.")})
            QVERIFY2(told.text.contains(part), qPrintable(told.text));
    }

    void textsLongerThanTheirFieldsDoNotStopTheStart()
    {
        const int cls = addClass(newFile(), "Biology 101");
        const QString title = QString(250, 'T');
        auto other = TestEnv::open();
        other->execute("PRAGMA ignore_check_constraints = ON");
        for (int i = 0; i < 6; ++i)
            other->execute("INSERT INTO Assignments (Class_ID, AssignmentTitle, Completed) VALUES (?, ?, 0)", {cls, title});
        other->close();
        frmMain *m = startQuiet();
        QVERIFY(!Platform::programEnded());
        QVERIFY(m->isVisible());
        QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(TestEnv::shownTexts().join('\n')));
        clickNode(m, "Biology 101");
        QCOMPARE(grid(m)->view()->model()->rowCount(), 7); // with the new row
        QCOMPARE(grid(m)->view()->model()->index(0, 0).data().toString(), title);
    }

    void anActivationErrorIsToldOncePerCause()
    {
        addClass(newFile(), "Biology 101");
        frmMain *m = startQuiet();
        QVERIFY(activate(m));
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
        Form elsewhere; // any other window of the program
        elsewhere.resize(100, 100);
        elsewhere.show();
        MessageBox::clearShown();
        // Another program takes a field away while the program runs.
        TestEnv::exec("ALTER TABLE Classes RENAME COLUMN ClassName TO Name");
        int reports = 0;
        for (int i = 0; i < 5; ++i) {
            reports += frmError::existing() ? 1 : 0;
            QVERIFY(reactivate(&elsewhere, m));
        }
        reports += frmError::existing() ? 1 : 0;
        QCOMPARE(reports, 1);
        QCOMPARE(TestEnv::shownTexts(), QStringList{"Item not found in this collection (field ClassName)."});
        // The cause goes away: nothing is told, the tree is whole again.
        TestEnv::exec("ALTER TABLE Classes RENAME COLUMN Name TO ClassName");
        QVERIFY(reactivate(&elsewhere, m));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
        // It comes back: told once more.
        TestEnv::exec("ALTER TABLE Classes RENAME COLUMN ClassName TO Name");
        QVERIFY(reactivate(&elsewhere, m));
        QVERIFY(reactivate(&elsewhere, m));
        QCOMPARE(MessageBox::shown().size(), 2);
    }

    void capitalNameCountsAsPresent()
    {
        newFile();
        QVERIFY(QFile::rename(TestEnv::databasePath(), TestEnv::programFolder() + "/TARVELA.MDB"));
        frmMain *m = start();
        QVERIFY(!TestEnv::shownTitles().contains("No Database"));
        QVERIFY(m->isVisible());
        QCOMPARE(treeText(m), QStringList{"Fall 2026"});
        // An existing database opens the tips window, tips being on by default.
        QVERIFY(frmTip::existing() && frmTip::existing()->isVisible());
    }

    void splashShowsVersionForItsTime()
    {
        QCOMPARE(frmSplash::versionText(), "    Release Version " + QString(TARVELA_VERSION));
        TestEnv::createDatabase();
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        // While the splash's time runs, the splash is up and the main window
        // waits hidden; then the main window comes and the splash goes.
        frmMain::splashMilliseconds = 200;
        bool splashSeen = false, mainHidden = false;
        QTimer::singleShot(0, [&] {
            splashSeen = frmSplash::existing() && frmSplash::existing()->isVisible();
            mainHidden = frmMain::existing() && !frmMain::existing()->isVisible();
        });
        frmMain *m = frmMain::instance();
        QVERIFY(splashSeen && mainHidden);
        QVERIFY(m->isVisible());
        QVERIFY(!frmSplash::existing());
    }

    void tipsOffOpensTodaysEventsWhenAnyRowExists()
    {
        const QDate day(2026, 10, 5);
        Clock::set(QDateTime(day, QTime(9, 0)));
        addAssignment(addClass(newFile(), "Biology 101"), "Lab report", 10, QVariant(), day.toString(Qt::ISODate));
        TestEnv::exec("INSERT INTO Tasks (Date, Details) VALUES (?, 'Buy pens')", {day.addDays(-1).toString(Qt::ISODate)});
        startQuiet();
        QVERIFY(!frmTip::existing());
        QVERIFY(frmToday::existing() && frmToday::existing()->isVisible());
        QCOMPARE(items(find<QListWidget>(frmToday::existing(), "lstToday")), QStringList{"Lab report is due today."});
    }

    void todaysEventsStaysClosedOnAnEmptyDatabase()
    {
        newFile();
        start();
        QVERIFY(frmTip::existing());
        click(frmTip::existing(), "cmdOK");
        QVERIFY(!frmTip::existing());
        QVERIFY(!frmToday::existing());
    }

    // The main window keeps its position in the settings: one write of the
    // settings file per resize, none when the window comes back unchanged.
    void oneWritePerResize()
    {
        addClass(newFile(), "Biology");
        frmMain *m = startQuiet();
        QVERIFY(activate(m));
        for (int step = 1; step <= 3; ++step) {
            const int writes = Settings::fileWrites();
            const QSize size(640 + 40 * step, 480 + 30 * step);
            m->resize(size);
            QTRY_COMPARE(m->size(), size);
            settle();
            QCOMPARE(Settings::fileWrites(), writes + 1);
            const QRect g = m->frameGeometry();
            const QString expected = QString("\nfrmMainTop=%1\nfrmMainLeft=%2\nfrmMainWidth=%3\nfrmMainHeight=%4\n")
                                         .arg(twips(g.y()), twips(g.x()), twips(g.width()), twips(g.height()));
            QVERIFY2(settingsFile().contains(expected.toLatin1()), settingsFile().constData());
        }
    }

    void activationWithoutChangeWritesNothing()
    {
        addClass(newFile(), "Biology");
        frmMain *m = startQuiet();
        QVERIFY(activate(m));
        m->resize(700, 500);
        QTRY_COMPARE(m->size(), QSize(700, 500));
        settle();
        QVERIFY(!setting("frmMainWidth").isEmpty());
        // An add-in configured by hand while the program runs: the next
        // activation shows it, and writes nothing.
        const QByteArray text = settingsFile() + "[AddIns]\nAddIn1Desc=Notes\n";
        QVERIFY(writeBytes(Settings::fileFor(Settings::App), text));
        QAction *addIn = find<QAction>(m, "mnuAddIn1Desc");
        QVERIFY(addIn && !addIn->isVisible());
        const int writes = Settings::fileWrites();
        m->mnuHelpAbout_Click();
        settle();
        QVERIFY(frmAbout::existing() && activate(frmAbout::existing()));
        QVERIFY(activate(m));
        QCOMPARE(Settings::fileWrites(), writes);
        QVERIFY(addIn->isVisible());
        QCOMPARE(addIn->text(), QString("Notes"));
    }
};

TARVELA_TEST_CLASS(StartupTest)
#include "tst_startup.moc"
