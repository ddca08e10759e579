#include "TestEnv.h"

#include "platform/MessageBox.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/clsTarvelaDB.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

// Compaction against other processes: one that writes rows all the while,
// and one that is killed at any moment of its own compaction. No row that
// was committed is ever lost.
class CompactionRaceTest : public TestCase
{
    Q_OBJECT

    // Waits for the next whole line of the process; empty when none comes.
    static QByteArray nextLine(QProcess &p)
    {
        while (!p.canReadLine()) {
            if (!p.waitForReadyRead(20000))
                return QByteArray();
        }
        return p.readLine().trimmed();
    }

    struct Writer {
        QProcess process;
        QStringList committed;
        int moved = 0;   // writes refused because the file was replaced
        int refused = 0; // every write refused, for any cause
        bool done = false;

        bool start(const QString &file)
        {
            process.start(TestEnv::helperProgram(), {"write", file, "Other "});
            return process.waitForStarted(20000);
        }
        // Reads what the writer told until it has committed `rows` rows and
        // found the file replaced `replaced` times, in all.
        bool waitFor(int rows, int replaced = 0)
        {
            while ((committed.size() < rows || moved < replaced) && !done) {
                const QByteArray line = nextLine(process);
                if (line.isEmpty())
                    return false;
                take(line);
            }
            return committed.size() >= rows && moved >= replaced;
        }
        void take(const QByteArray &line)
        {
            if (line.startsWith("committed "))
                committed << QString::fromUtf8(line.mid(10));
            else if (line.startsWith("refused ")) {
                ++refused;
                if (line.mid(8).toInt() == 1032) // the engine's "database moved"
                    ++moved;
            } else if (line == "done")
                done = true;
        }
        bool finish()
        {
            process.closeWriteChannel();
            while (!done) {
                const QByteArray line = nextLine(process);
                if (line.isEmpty())
                    return false;
                take(line);
            }
            return process.waitForFinished(20000) && process.exitCode() == 0;
        }
    };

    static QStringList titles(const QString &prefix)
    {
        auto db = TestEnv::open();
        auto rs = db->openRecordset("SELECT * FROM Assignments WHERE AssignmentTitle LIKE ? ORDER BY ID", Database::Snapshot,
                                    {prefix + "%"});
        QStringList out;
        while (!rs->isEOF()) {
            out << rs->value("AssignmentTitle").toString();
            rs->MoveNext();
        }
        db->close();
        return out;
    }

private Q_SLOTS:
    void rowsAnotherProcessCommitsDuringCompactionAreKept()
    {
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(300);
        auto own = Database::open(TestEnv::databasePath()); // the program's connection, as when it runs
        Writer writer;
        QVERIFY(writer.start(TestEnv::databasePath()));
        QVERIFY(writer.waitFor(20));
        const int rounds = 5;
        for (int round = 1; round <= rounds; ++round) {
            clsTarvelaDB compactor;
            QVERIFY2(compactor.Compact_Tarvela_DB(TestEnv::programFolder()), qPrintable(TestEnv::shownTexts().join('\n')));
            // The writer finds its file replaced at its next write, and goes
            // on with the new one before the next round.
            QVERIFY(writer.waitFor(0, round));
            QVERIFY(writer.waitFor(writer.committed.size() + 10));
        }
        QVERIFY(writer.finish());
        // Each compaction replaced the file under the writer once, and its
        // write then was refused: nothing went into the old file.
        QCOMPARE(writer.moved, rounds);
        const QStringList stored = titles("Other ");
        QCOMPARE(stored.size(), writer.committed.size());
        QCOMPARE(QSet<QString>(stored.begin(), stored.end()), QSet<QString>(writer.committed.begin(), writer.committed.end()));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle LIKE 'Work %'").toInt(), 100);
        // The program's connection carries on with the file now in place.
        own->execute("INSERT INTO Semesters (Title) VALUES ('Still here')");
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters WHERE Title = 'Still here'").toInt(), 1);
        QVERIFY(!QFile::exists(TestEnv::programFolder() + "/tarvelac.mdb"));
    }

    void aCompactionKilledAtAnyMomentLosesNothing()
    {
        TestEnv::createDatabase();
        TestEnv::addRowsAndGaps(600);
        TestEnv::exec("INSERT INTO Semesters (Title) VALUES ('Fall')");
        const QString before = TestEnv::contents(TestEnv::databasePath());
        const QString copy = TestEnv::programFolder() + "/tarvelac.mdb";
        int copiesLeft = 0;
        QRandomGenerator random(20260301);
        for (int run = 0; run < 30; ++run) {
            QProcess helper;
            helper.start(TestEnv::helperProgram(), {"compact", TestEnv::programFolder()});
            QVERIFY(helper.waitForStarted(20000));
            // One whole compaction first, then a kill at a random moment of
            // one of the next ones.
            const QByteArray first = nextLine(helper);
            QVERIFY2(first.startsWith("compacted"), first.constData());
            QThread::usleep(random.bounded(150000));
            helper.kill();
            QVERIFY(helper.waitForFinished(20000));
            if (QFile::exists(copy))
                ++copiesLeft;
            QVERIFY(QFile::exists(TestEnv::databasePath()));
            QCOMPARE(TestEnv::contents(TestEnv::databasePath()), before);
        }
        // Some kills fell in the middle of a compaction.
        QVERIFY(copiesLeft > 0);
        // The file is whole, and the next compaction is not blocked.
        QCOMPARE(TestEnv::scalar("PRAGMA integrity_check").toString(), QString("ok"));
        clsTarvelaDB compactor;
        QVERIFY(compactor.Compact_Tarvela_DB(TestEnv::programFolder()));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(TestEnv::contents(TestEnv::databasePath()), before);
    }
};

TARVELA_TEST_CLASS(CompactionRaceTest)
#include "tst_compactionrace.moc"
