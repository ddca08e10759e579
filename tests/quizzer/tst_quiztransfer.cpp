#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/RuntimeError.h"
#include "quizzer/QuizTransfer.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

// The quiz transfer file without a window: what is written, byte for byte,
// and what is read back from good, odd and broken files.
class QuizTransferTest : public TestCase
{
    Q_OBJECT

    using Pairs = QVector<QPair<QVariant, QVariant>>;

    static QByteArray golden()
    {
        QFile f(QFINDTESTDATA("quizzer/data/quiz-export.out"));
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }

    static QuizTransfer::Quiz decoded(const QByteArray &bytes, bool *ok = nullptr)
    {
        QuizTransfer::Quiz quiz;
        const bool read = QuizTransfer::decode(bytes, quiz);
        if (ok)
            *ok = read;
        return quiz;
    }

    static void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }

private Q_SLOTS:
    void writtenByteForByte()
    {
        const QByteArray expected = golden();
        QVERIFY(!expected.isEmpty());
        const Pairs pairs = {
            {QString("Capital of France?"), QString("Paris")},
            {QString("Say \"hi\""), QString("\"hi\"")},
            {QString("Line one\r\nline two"), QString("a\nb")},
            {QString::fromUtf8("Größe – café €"), QVariant()},
            {QVariant(), QString("orphan answer")},
            {QString("#NULL#"), QString("x")},
        };
        const QByteArray written = QuizTransfer::encode(QString("Rivers & \"Capitals\""), QDate(2026, 3, 7), pairs);
        QCOMPARE(written, expected);
        // Every line ends CR LF, and the file ends after the last answer line.
        QVERIFY(written.endsWith("\"x\"\r\n"));
        QCOMPARE(written.count("\r\n"), 14);
        QCOMPARE(written.count('\n'), 14);
    }

    void valuesAreQuotedAndFlattened()
    {
        QCOMPARE(QuizTransfer::encodeValue(QString("plain")), QString("\"plain\""));
        QCOMPARE(QuizTransfer::encodeValue(QString()), QString("\"\""));
        QCOMPARE(QuizTransfer::encodeValue(QVariant()), QString("#NULL#"));
        QCOMPARE(QuizTransfer::encodeValue(QString("a\r\n\r\nb\rc\nd")), QString("\"a  b c d\""));
        QCOMPARE(QuizTransfer::encodeValue(QString("\"\"")), QString("\"\"\"\""));
        // A date is written mm/dd/yyyy with leading zeros.
        QVERIFY(QuizTransfer::encode(QString("T"), QDate(2027, 12, 1), {}).startsWith("\"T\"\r\n\"12/01/2027\"\r\n"));
    }

    void readBackWhole()
    {
        bool ok = false;
        const QuizTransfer::Quiz quiz = decoded(golden(), &ok);
        QVERIFY(ok);
        QCOMPARE(quiz.title, QString("Rivers & \"Capitals\""));
        QCOMPARE(quiz.date, QString("03/07/2026"));
        // Pairs with an empty side are left out; quotes inside values come back.
        QCOMPARE(quiz.pairs.size(), 4);
        QCOMPARE(quiz.pairs[0], qMakePair(QString("Capital of France?"), QString("Paris")));
        QCOMPARE(quiz.pairs[1], qMakePair(QString("Say \"hi\""), QString("\"hi\"")));
        QCOMPARE(quiz.pairs[2], qMakePair(QString("Line one line two"), QString("a b")));
        QCOMPARE(quiz.pairs[3], qMakePair(QString("#NULL#"), QString("x")));
        QCOMPARE(quiz.emptyPairs, 2);
        QVERIFY(!quiz.danglingQuestion);
    }

    void linesAndValues()
    {
        QCOMPARE(QuizTransfer::splitLines("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(QuizTransfer::splitLines("a\r\n"), QStringList({"a"}));
        QCOMPARE(QuizTransfer::splitLines("a\r\n\r\n"), QStringList({"a", ""}));
        QCOMPARE(QuizTransfer::splitLines("a\n\rb"), QStringList({"a", "", "b"}));
        QCOMPARE(QuizTransfer::splitLines(""), QStringList());
        // Only the outermost quotes go; blanks outside them too.
        QCOMPARE(QuizTransfer::decodeValue("\"\"quoted\"\""), QString("\"quoted\""));
        QCOMPARE(QuizTransfer::decodeValue("  \" spaced \"  "), QString(" spaced "));
        QCOMPARE(QuizTransfer::decodeValue("\""), QString("\""));
        QCOMPARE(QuizTransfer::decodeValue("\"\""), QString());
        QCOMPARE(QuizTransfer::decodeValue("bare words"), QString("bare words"));
        QCOMPARE(QuizTransfer::decodeValue("\"half"), QString("\"half"));
        QCOMPARE(QuizTransfer::decodeValue("#NULL#"), QString());
        QCOMPARE(QuizTransfer::decodeValue(" #NULL# "), QString());
        QCOMPARE(QuizTransfer::decodeValue("\"#NULL#\""), QString("#NULL#"));
        QCOMPARE(QuizTransfer::decodeValue("#null#"), QString("#null#"));
    }

    void oddFiles()
    {
        bool ok = true;
        // No line at all: no quiz.
        decoded("", &ok);
        QVERIFY(!ok);
        // A title alone, or a title and a date, is a quiz without questions.
        QuizTransfer::Quiz quiz = decoded("\"Only a title\"", &ok);
        QVERIFY(ok);
        QCOMPARE(quiz.title, QString("Only a title"));
        QVERIFY(quiz.pairs.isEmpty());
        quiz = decoded("\"T\"\n\"01/02/2026\"\n", &ok);
        QVERIFY(ok && quiz.pairs.isEmpty() && !quiz.danglingQuestion);
        // A file ending after a question keeps the complete pairs.
        quiz = decoded("\"T\"\r\n\"d\"\r\n\"Q1\"\r\n\"A1\"\r\n\"Q2\"\r\n");
        QCOMPARE(quiz.pairs.size(), 1);
        QCOMPARE(quiz.pairs[0].first, QString("Q1"));
        QVERIFY(quiz.danglingQuestion);
        // No line end after the last answer; LF-only and CR-only files.
        quiz = decoded("\"T\"\n\"d\"\n\"Q1\"\n\"A1\"");
        QCOMPARE(quiz.pairs.size(), 1);
        QCOMPARE(quiz.pairs[0].second, QString("A1"));
        quiz = decoded("\"T\"\r\"d\"\r\"Q1\"\r\"A1\"\r");
        QCOMPARE(quiz.pairs.size(), 1);
        // Empty lines and #NULL# count as empty values, whichever side.
        quiz = decoded("\"T\"\r\n\"d\"\r\n\r\n\"A\"\r\n\"Q\"\r\n\r\n\"Q\"\r\n#NULL#\r\n\"\"\r\n\"A\"\r\n\"Q3\"\r\n\"A3\"\r\n");
        QCOMPARE(quiz.pairs.size(), 1);
        QCOMPARE(quiz.emptyPairs, 4);
        QCOMPARE(quiz.pairs[0], qMakePair(QString("Q3"), QString("A3")));
        // A byte-order mark before the title is no part of it.
        quiz = decoded("\xEF\xBB\xBF\"T\"\r\n");
        QCOMPARE(quiz.title, QString("T"));
    }

    void windows1252File()
    {
        // Written by an old editor: not valid UTF-8, so read as Windows-1252.
        const QByteArray bytes = "\"Gr\xF6\xDF" "e\"\r\n\"03/07/2026\"\r\n\"\x93Quoted\x94 \x80 5\"\r\n\"caf\xE9 \x85\"\r\n";
        const QuizTransfer::Quiz quiz = decoded(bytes);
        QCOMPARE(quiz.title, QString::fromUtf8("Größe"));
        QCOMPARE(quiz.pairs.size(), 1);
        QCOMPARE(quiz.pairs[0].first, QString::fromUtf8("“Quoted” € 5"));
        QCOMPARE(quiz.pairs[0].second, QString::fromUtf8("café …"));
        // Every byte has a character; the undefined ones keep their code.
        const QString all = QuizTransfer::fromWindows1252(QByteArray("\x81\x8D\x8F\x90\x9D\xFF", 6));
        QCOMPARE(all, QString::fromUtf8("\u0081\u008D\u008F\u0090\u009Dÿ"));
        // A valid UTF-8 file is read as UTF-8.
        QCOMPARE(decoded("\"Gr\xC3\xB6\xC3\x9F" "e\"").title, QString::fromUtf8("Größe"));
    }

    void missingOrUnreadableFile()
    {
        const QString path = TestEnv::driveA() + "/quiz.out";
        try {
            QuizTransfer::read(path);
            QFAIL("a missing file was read");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), int(Err::FileNotFound));
            QVERIFY(e.description().contains("quiz.out"));
            QVERIFY(e.description().contains("not found"));
        }
        QVERIFY(QDir().mkpath(path));
        try {
            QuizTransfer::read(path);
            QFAIL("a folder was read as a file");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), int(Err::PathFileAccess));
        }
        QVERIFY(QDir().rmdir(path));
        writeBytes(path, "");
        try {
            QuizTransfer::read(path);
            QFAIL("an empty file gave a quiz");
        } catch (const RuntimeError &e) {
            QVERIFY(e.description().contains("empty"));
        }
        writeBytes(path, golden());
        QCOMPARE(QuizTransfer::read(path).pairs.size(), 4);
    }

    void writingReplacesWholeOrNothing()
    {
        const QString path = QuizTransfer::filePath();
        QCOMPARE(path, TestEnv::driveA() + "/quiz.out");
        writeBytes(path, "an earlier export");
        QuizTransfer::write(path, "new");
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("new"));
        f.close();
        // A folder that cannot be written keeps the earlier file and leaves no
        // temporary file behind.
        FileOps::denyChanges(TestEnv::driveA());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, QuizTransfer::write(path, "newer"));
        FileOps::clearDenied();
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("new"));
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList({"quiz.out"}));
        // A drive A: folder that is not there.
        QVERIFY_THROWS_EXCEPTION(RuntimeError, QuizTransfer::write(TestEnv::driveA() + "/missing/quiz.out", "x"));
    }

    // Thousands of generated files, well-formed and broken: the reader never
    // crashes or hangs, every pair it returns is complete, the counts add up,
    // and whatever the writer writes comes back as written.
    void fuzzedReader()
    {
        QRandomGenerator random(20260307);
        const QString path = TestEnv::driveA() + "/quiz.out";
        const QList<QByteArray> pieces = {"\"", "\"\"", "#NULL#", "\r\n", "\n", "\r", " ", "\t", "\xEF\xBB\xBF", "\xC3", "\xA9",
                                          "\x80", "\xFF", QByteArray(1, '\0'), "abc", "Q?", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
        auto text = [&](int maxLength) {
            static const QString alphabet = QString::fromUtf8("abcXYZ 0189\"'#,;\\/äöüß€…“”–\t");
            QString s;
            const int n = random.bounded(maxLength + 1);
            for (int i = 0; i < n; ++i)
                s += alphabet.at(random.bounded(alphabet.size()));
            return s;
        };
        int files = 0, roundTrips = 0;
        for (int round = 0; round < 3000; ++round) {
            if (round % 2 == 0) {
                // A quiz the writer writes: read back the same, less empty pairs.
                Pairs pairs;
                QVector<QPair<QString, QString>> expected;
                const int count = random.bounded(12);
                for (int i = 0; i < count; ++i) {
                    const QVariant q = random.bounded(8) == 0 ? QVariant() : QVariant(text(40));
                    const QVariant a = random.bounded(8) == 0 ? QVariant() : QVariant(text(40));
                    pairs.append({q, a});
                    if (!q.toString().isEmpty() && !a.toString().isEmpty())
                        expected.append({q.toString(), a.toString()});
                }
                const QString title = text(30);
                const QDate date(2000 + random.bounded(40), 1 + random.bounded(12), 1 + random.bounded(28));
                writeBytes(path, QuizTransfer::encode(title, date, pairs));
                const QuizTransfer::Quiz quiz = QuizTransfer::read(path);
                QCOMPARE(quiz.title, title);
                QCOMPARE(quiz.date, date.toString("MM/dd/yyyy"));
                QCOMPARE(quiz.pairs, expected);
                QCOMPARE(quiz.emptyPairs, count - int(expected.size()));
                ++roundTrips;
            } else {
                // Any bytes at all.
                QByteArray bytes;
                const int count = random.bounded(60);
                for (int i = 0; i < count; ++i) {
                    if (random.bounded(4) == 0)
                        bytes += char(random.bounded(256));
                    else
                        bytes += pieces.at(random.bounded(pieces.size()));
                }
                if (round % 97 == 1)
                    bytes += QByteArray(70000, 'x'); // one very long line
                writeBytes(path, bytes);
                try {
                    const QuizTransfer::Quiz quiz = QuizTransfer::read(path);
                    const QStringList lines = QuizTransfer::splitLines(QuizTransfer::decodeText(bytes));
                    QVERIFY(!lines.isEmpty());
                    const int valueLines = qMax(0, int(lines.size()) - 2);
                    QCOMPARE(int(quiz.pairs.size()) + quiz.emptyPairs, valueLines / 2);
                    QCOMPARE(quiz.danglingQuestion, valueLines % 2 == 1);
                    for (const auto &pair : quiz.pairs)
                        QVERIFY(!pair.first.isEmpty() && !pair.second.isEmpty());
                } catch (const RuntimeError &e) {
                    // Only a file without any line holds no quiz.
                    QVERIFY2(QuizTransfer::splitLines(QuizTransfer::decodeText(bytes)).isEmpty(), qPrintable(e.description()));
                }
            }
            if (QTest::currentTestFailed())
                return;
            ++files;
        }
        QCOMPARE(files, 3000);
        QCOMPARE(roundTrips, 1500);
    }
};

TARVELA_TEST_CLASS(QuizTransferTest)
#include "tst_quiztransfer.moc"
