#include "QuizzerHelpers.h"

#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QRandomGenerator>

using namespace QuizzerHelpers;

// The quiz transfer file without a window: values written and read, odd and
// broken files read. (The builder's tests check whole files byte for byte.)
class QuizTransferTest : public TestCase
{
    Q_OBJECT

    using Pairs = QVector<QPair<QVariant, QVariant>>;

    static QuizTransfer::Quiz decoded(const QByteArray &bytes, bool *ok = nullptr)
    {
        QuizTransfer::Quiz quiz;
        const bool read = QuizTransfer::decode(bytes, quiz);
        if (ok)
            *ok = read;
        return quiz;
    }

private Q_SLOTS:
    void valuesAreQuotedAndUnquoted()
    {
        QCOMPARE(QuizTransfer::encodeValue(QString()), QString("\"\""));
        QCOMPARE(QuizTransfer::encodeValue(QString("a\r\n\r\nb\rc\nd")), QString("\"a  b c d\""));
        QCOMPARE(QuizTransfer::encodeValue(QString("a%1b%2c\td").arg(QChar(0), QChar(0x1a))), QString("\"a b c\td\""));
        // Only the outermost quotes go; blanks outside them too.
        QCOMPARE(QuizTransfer::decodeValue("  \" spaced \"  "), QString(" spaced "));
        QCOMPARE(QuizTransfer::decodeValue("\""), QString("\""));
        QCOMPARE(QuizTransfer::decodeValue("\"\""), QString());
        QCOMPARE(QuizTransfer::decodeValue("bare words"), QString("bare words"));
        QCOMPARE(QuizTransfer::decodeValue("\"half"), QString("\"half"));
        QCOMPARE(QuizTransfer::decodeValue(" #NULL# "), QString());
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
        QCOMPARE(quiz.pairs, (QVector<QPair<QString, QString>>{{"Q1", "A1"}}));
        QVERIFY(quiz.danglingQuestion);
        // No line end after the last answer; LF-only and CR-only files.
        quiz = decoded("\"T\"\n\"d\"\n\"Q1\"\n\"A1\"");
        QCOMPARE(quiz.pairs, (QVector<QPair<QString, QString>>{{"Q1", "A1"}}));
        quiz = decoded("\"T\"\r\"d\"\r\"Q1\"\r\"A1\"\r");
        QCOMPARE(quiz.pairs.size(), 1);
        // Empty lines and #NULL# count as empty values, whichever side.
        quiz = decoded("\"T\"\r\n\"d\"\r\n\r\n\"A\"\r\n\"Q\"\r\n\r\n\"Q\"\r\n#NULL#\r\n\"\"\r\n\"A\"\r\n\"Q3\"\r\n\"A3\"\r\n");
        QCOMPARE(quiz.pairs, (QVector<QPair<QString, QString>>{{"Q3", "A3"}}));
        QCOMPARE(quiz.emptyPairs, 4);
        // A byte-order mark before the title is no part of it.
        QCOMPARE(decoded("\xEF\xBB\xBF\"T\"\r\n").title, QString("T"));
    }

    void aFolderIsNoFile()
    {
        const QString path = TestEnv::driveA() + "/quiz.out";
        QVERIFY(QDir().mkpath(path));
        QCOMPARE(TestEnv::errorNumber([&] { QuizTransfer::read(path); }), int(Err::PathFileAccess));
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
