#include "TestEnv.h"

#include "store/Database.h"
#include "store/clsTarvelaDB.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <climits>

using namespace TestEnv;

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

    // The helper writing rows, and what it told.
    struct Writer {
        QProcess process;
        QStringList committed;
        int moved = 0; // writes refused because the file was replaced
        bool done = false;

        // Reads what the writer tells until it has committed `rows` rows and
        // found the file replaced `replaced` times in all, or has ended.
        bool readUntil(int rows, int replaced)
        {
            while ((committed.size() < rows || moved < replaced) && !done) {
                const QByteArray line = nextLine(process);
                if (line.isEmpty())
                    return false;
                if (line.startsWith("committed "))
                    committed << QString::fromUtf8(line.mid(10));
                else if (line == "refused 1032") // the engine's "database moved"
                    ++moved;
                else
                    done = line == "done";
            }
            return committed.size() >= rows && moved >= replaced;
        }
    };

private Q_SLOTS:
    void rowsAnotherProcessCommitsDuringCompactionAreKept()
    {
        createDatabase();
        addRowsAndGaps(300);
        auto own = Database::open(databasePath()); // the program's connection, as when it runs
        Writer writer;
        writer.process.start(helperProgram(), {"write", databasePath(), "Other "});
        QVERIFY(writer.process.waitForStarted(20000));
        QVERIFY(writer.readUntil(20, 0));
        const int rounds = 5;
        for (int round = 1; round <= rounds; ++round) {
            clsTarvelaDB compactor;
            QVERIFY2(compactor.Compact_Tarvela_DB(programFolder()), qPrintable(shownTexts().join('\n')));
            // The writer finds its file replaced at its next write, and goes
            // on with the new one before the next round.
            QVERIFY(writer.readUntil(0, round));
            QVERIFY(writer.readUntil(writer.committed.size() + 10, round));
        }
        writer.process.closeWriteChannel();
        QVERIFY(writer.readUntil(INT_MAX, rounds) || writer.done); // read to its end
        QVERIFY(writer.process.waitForFinished(20000) && writer.process.exitCode() == 0);
        // Each compaction replaced the file under the writer once, and its
        // write then was refused: nothing went into the old file.
        QCOMPARE(writer.moved, rounds);
        writer.committed.sort();
        QCOMPARE(scalar("SELECT group_concat(AssignmentTitle, '|') FROM (SELECT AssignmentTitle FROM Assignments "
                        "WHERE AssignmentTitle LIKE 'Other %' ORDER BY AssignmentTitle)")
                     .toString(),
                 writer.committed.join('|'));
        QCOMPARE(scalar("SELECT count(*) FROM Assignments WHERE AssignmentTitle LIKE 'Work %'").toInt(), 100);
        // The program's connection carries on with the file now in place.
        own->execute("INSERT INTO Semesters (Title) VALUES ('Still here')");
        QCOMPARE(scalar("SELECT count(*) FROM Semesters WHERE Title = 'Still here'").toInt(), 1);
        QVERIFY(!QFile::exists(programFolder() + "/tarvelac.mdb"));
    }

    void aCompactionKilledAtAnyMomentLosesNothing()
    {
        createDatabase();
        addRowsAndGaps(600);
        exec("INSERT INTO Semesters (Title) VALUES ('Fall')");
        const QString before = contents(databasePath());
        const QString copy = programFolder() + "/tarvelac.mdb";
        int copiesLeft = 0;
        QRandomGenerator random(20260301);
        for (int run = 0; run < 30; ++run) {
            QProcess helper;
            helper.start(helperProgram(), {"compact", programFolder()});
            QVERIFY(helper.waitForStarted(20000));
            // One whole compaction first, then a kill at a random moment of
            // one of the next ones.
            const QByteArray first = nextLine(helper);
            QVERIFY2(first.startsWith("compacted"), first.constData());
            QThread::usleep(random.bounded(150000));
            helper.kill();
            QVERIFY(helper.waitForFinished(20000));
            copiesLeft += QFile::exists(copy);
            QCOMPARE(contents(databasePath()), before);
        }
        // Some kills fell in the middle of a compaction.
        QVERIFY(copiesLeft > 0);
        // The file is whole, and the next compaction is not blocked.
        QCOMPARE(scalar("PRAGMA integrity_check").toString(), QString("ok"));
        clsTarvelaDB compactor;
        QVERIFY(compactor.Compact_Tarvela_DB(programFolder()));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(contents(databasePath()), before);
    }
};

TARVELA_TEST_CLASS(CompactionRaceTest)
#include "tst_compactionrace.moc"
