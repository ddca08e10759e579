#include "QuizzerHelpers.h"

#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>

using namespace QuizzerHelpers;

// The quiz transfer file without a window: values written and read, odd and
// broken files read. (The builder's tests check whole files byte for byte.)
class QuizTransferTest : public TestCase
{
    Q_OBJECT

    using Pairs = QVector<QPair<QVariant, QVariant>>;

    // A quiz as read, in one line: "title|q=a;q=a|left out|dangling", or
    // "<no quiz>".
    static QString summary(const QByteArray &bytes)
    {
        QuizTransfer::Quiz quiz;
        if (!QuizTransfer::decode(bytes, quiz))
            return "<no quiz>";
        QStringList pairs;
        for (const auto &[q, a] : quiz.pairs)
            pairs << q + "=" + a;
        return QString("%1|%2|%3|%4").arg(quiz.title, pairs.join(';')).arg(quiz.emptyPairs).arg(quiz.danglingQuestion);
    }

private Q_SLOTS:
    void valuesAreQuotedAndUnquoted()
    {
        QCOMPARE(QuizTransfer::encodeValue(QString()), QString("\"\""));
        QCOMPARE(QuizTransfer::encodeValue(QString("a\r\n\r\nb\rc\nd")), QString("\"a  b c d\""));
        QCOMPARE(QuizTransfer::encodeValue(QString("a%1b%2c\td").arg(QChar(0), QChar(0x1a))), QString("\"a b c\td\""));
        // Only the outermost quotes go; blanks outside them too.
        const QList<std::pair<QString, QString>> read = {{"  \" spaced \"  ", " spaced "}, {"\"", "\""},     {"\"\"", ""},
                                                         {"bare words", "bare words"},  {"\"half", "\"half"}, {" #NULL# ", ""},
                                                         {"#null#", "#null#"}};
        for (const auto &[line, value] : read)
            QCOMPARE(QuizTransfer::decodeValue(line), value);
    }

    void oddFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read");
        QTest::newRow("no line at all") << QByteArray("") << "<no quiz>";
        QTest::newRow("a title alone") << QByteArray("\"Only a title\"") << "Only a title||0|0";
        QTest::newRow("title and date") << QByteArray("\"T\"\n\"01/02/2026\"\n") << "T||0|0";
        QTest::newRow("ends after a question") << QByteArray("\"T\"\r\n\"d\"\r\n\"Q1\"\r\n\"A1\"\r\n\"Q2\"\r\n") << "T|Q1=A1|0|1";
        QTest::newRow("no line end at the end") << QByteArray("\"T\"\n\"d\"\n\"Q1\"\n\"A1\"") << "T|Q1=A1|0|0";
        QTest::newRow("CR only") << QByteArray("\"T\"\r\"d\"\r\"Q1\"\r\"A1\"\r") << "T|Q1=A1|0|0";
        // Empty lines and #NULL# count as empty values, whichever side.
        QTest::newRow("empty values") << QByteArray("\"T\"\r\n\"d\"\r\n\r\n\"A\"\r\n\"Q\"\r\n\r\n\"Q\"\r\n#NULL#\r\n\"\"\r\n\"A\"\r\n\"Q3\"\r\n\"A3\"\r\n")
                                      << "T|Q3=A3|4|0";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF\"T\"\r\n") << "T||0|0";
        QTest::newRow("Windows-1252") << QByteArray("\"Fran\xE7" "ais\"\r\n\"d\"\r\n\"caf\xE9\"\r\n\"l\x92" "eau\"\r\n")
                                      << QString::fromUtf8("Français|café=l’eau|0|0");
    }
    void oddFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        QCOMPARE(summary(bytes), read);
    }

    // A file that holds no quiz: the error and its description (%1: the file).
    void aFileThatHoldsNoQuiz_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a null array: no file at all
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        const QString notText = "The file %1 is not a quiz transfer file: %2.";
        const QString nul = notText.arg("%1", "it holds NUL bytes, so it is not text");
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        static const char withNul[] = "\"Rivers\"\r\n\"03/07/2026\"\r\n\"Capital\0 of France?\"\r\n\"Paris\"\r\n";
        QTest::newRow("no file") << QByteArray() << int(Err::FileNotFound) << "The quiz file %1 was not found.";
        QTest::newRow("empty") << QByteArray("") << int(Err::General) << "The quiz file %1 is empty: it holds no quiz.";
        QTest::newRow("a picture") << pictureBytes() << int(Err::General) << nul;
        QTest::newRow("NUL in a question") << QByteArray(withNul, sizeof withNul - 1) << int(Err::General) << nul;
        QTest::newRow("UTF-16") << QByteArray(utf16(QString("\"Rivers\"\r\n\"03/07/2026\"\r\n\"Capital of France?\"\r\n")))
                                << int(Err::General) << nul;
        QTest::newRow("control characters") << QByteArray("\"Rivers\"\r\n\"03/07/2026\"\r\n\"\x1b[1mCapital\"\r\n\"Paris\"\r\n")
                                            << int(Err::General)
                                            << notText.arg("%1", "line 3 holds the control character 0x1B, so it is not text");
    }
    void aFileThatHoldsNoQuiz()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(QString, description);
        if (!bytes.isNull())
            writeBytes(quizFile(), bytes);
        QString told;
        QCOMPARE(TestEnv::errorNumber([] { QuizTransfer::read(quizFile()); }, &told), number);
        QCOMPARE(told, description.arg(quizFile()));
    }

    void aFolderIsNoFile()
    {
        QVERIFY(QDir().mkpath(quizFile()));
        QCOMPARE(TestEnv::errorNumber([] { QuizTransfer::read(quizFile()); }), int(Err::PathFileAccess));
    }

    // Thousands of generated files, well-formed and broken: the reader never
    // crashes or hangs, every pair it returns is complete, the counts add up,
    // and whatever the writer writes comes back as written.
    void fuzzedReader()
    {
        QRandomGenerator random(20260307);
        const QString path = quizFile();
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
                    // Only a file that is not text, or one without any line, holds no quiz.
                    QVERIFY2(!TextCodec::whyNotText(bytes).isEmpty() || QuizTransfer::splitLines(QuizTransfer::decodeText(bytes)).isEmpty(),
                             qPrintable(e.description()));
                }
            }
            if (QTest::currentTestFailed())
                return;
        }
    }
};

TARVELA_TEST_CLASS(QuizTransferTest)
#include "tst_quiztransfer.moc"
