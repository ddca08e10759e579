#include "SetupHelpers.h"
#include "TransferSample.h"

#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "setup/ClassTransfer.h"
#include "store/Schema.h"

#include <QLocale>
#include <QStringEncoder>
#include <QRandomGenerator>

using namespace ClassTransfer;

// The class transfer file without a window: the value-to-line rule, the
// writer, the line-to-value rule and the reader.
class TransferFormatTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void transferTextOfEveryKindOfValue_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("line");
        QTest::newRow("the word Null") << QVariant(QString("Null")) << "Null";
        QTest::newRow("blanks stay") << QVariant(QString("  ")) << "  ";
        QTest::newRow("comma") << QVariant(QString("a,b")) << "a b";
        QTest::newRow("only a comma") << QVariant(QString(",")) << " ";
        QTest::newRow("LF and CR") << QVariant(QString("a\nb\rc")) << "a b c";
        QTest::newRow("two breaks") << QVariant(QString("a\r\n\r\nb")) << "a  b";
        QTest::newRow("control characters") << QVariant(QString("a%1b%2%3c%4d").arg(QChar(1), QChar(0x1b), QChar(0x7f), QChar(0)))
                                            << "a b  c d";
        QTest::newRow("tab and form feed stay") << QVariant(QString("a\tb\fc\vd")) << "a\tb\fc\vd";
        QTest::newRow("date at midnight") << QVariant(QDateTime(QDate(2026, 12, 18), QTime(0, 0))) << "12/18/2026";
        QTest::newRow("date and time") << QVariant(QDateTime(QDate(2026, 12, 18), QTime(15, 5, 7))) << "12/18/2026 3:05:07 PM";
        QTest::newRow("negative") << QVariant(-32769) << "-32769";
        QTest::newRow("double") << QVariant(3.5) << "3.5";
    }
    void transferTextOfEveryKindOfValue()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, line);
        QCOMPARE(TransferText(value), line);
    }

    void readsTheGoldenFileWhateverTheLocale()
    {
        for (const QLocale &locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Arabic, QLocale::Egypt)}) {
            QLocale::setDefault(locale);
            const ReadFile file = read(TransferSample::golden());
            QLocale::setDefault(QLocale::c());
            QCOMPARE(file.classRow.values.value("StartDate"), QVariant(QDate(2026, 9, 1)));
            QCOMPARE(file.classRow.values.value("SundayTo"), QVariant(QTime(21, 5)));
            QCOMPARE(file.classRow.values.value("PointsPossible"), QVariant(40000));
        }
    }

    void splitsLinesAtEveryKindOfBreak_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("no break at the end") << "a" << QStringList{"a"};
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("LF") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty lines") << "\r\n\r\n" << QStringList{"", ""};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    }
    void splitsLinesAtEveryKindOfBreak()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TextCodec::splitLines(text), lines);
    }

    // A line read into a field: its value (none for no value), or the error it raises.
    void lineToValue_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("error");
        const auto row = [](const char *name, const char *table, const char *field, const QString &line, const QVariant &value,
                            int error = 0) { QTest::newRow(name) << table << field << line << value << error; };
        const QVariant none;
        row("Null", "Classes", "TeacherName", "Null", none);
        row("empty", "Classes", "TeacherName", "", none);
        row("blanks", "Classes", "TeacherName", "  \t ", none);
        row("Null with more", "Classes", "TeacherName", "Nullity", "Nullity");
        row("leading blanks lost", "Classes", "TeacherName", "  Mr. Smith ", "Mr. Smith ");
        row("quote as it stands", "Assignments", "AssignmentTitle", "\"Ghosts\", said he", "\"Ghosts\", said he");
        row("lone quote", "Assignments", "AssignmentTitle", "\"", "\"");
        row("apostrophe", "Classes", "ClassName", "Children's Lit", "Children's Lit");
        row("date", "Classes", "StartDate", "9/1/2026", QDate(2026, 9, 1));
        row("date mm/dd/yyyy", "Classes", "StartDate", "09/01/2026", QDate(2026, 9, 1));
        row("ISO date", "Assignments", "DateDue", "2026-10-01", QDate(2026, 10, 1));
        row("date and time", "Assignments", "DateDue", "10/1/2026 3:00:00 PM", QDateTime(QDate(2026, 10, 1), QTime(15, 0)));
        row("time", "Classes", "MondayFrom", "9:00:00 AM", QTime(9, 0));
        row("time, other form", "Classes", "MondayFrom", "3:00 pm", QTime(15, 0));
        row("24-hour time", "Classes", "MondayTo", "15:45", QTime(15, 45));
        row("negative points", "Classes", "Points_Grade_F", "-40000", qlonglong(-40000));
        row("half to even, down", "Classes", "Points_Grade_A", "2.5", qlonglong(2));
        row("half to even, up", "Classes", "Points_Grade_A", "3.5", qlonglong(4));
        row("fraction", "Assignments", "MaxPointsPossible", "9.6", qlonglong(10));
        row("largest", "Classes", "Points_Grade_B", "2147483647", qlonglong(2147483647));
        row("blank after number", "Classes", "Points_Grade_B", "12 ", qlonglong(12));
        row("comments, long", "Assignments", "Comments", QString(40000, 'x'), QString(40000, 'x'));
        row("e-mail at its length", "Classes", "TeacherEMail", QString(50, 'e'), QString(50, 'e'));
        row("no such day", "Classes", "EndDate", "2/30/2026", none, Err::TypeMismatch);
        row("null date", "Assignments", "DateDue", "null", none, Err::TypeMismatch);
        row("no time", "Classes", "MondayFrom", "1500", none, Err::TypeMismatch);
        row("no number", "Classes", "PointsPossible", "lots", none, Err::TypeMismatch);
        row("nan", "Classes", "PointsPossible", "nan", none, Err::TypeMismatch);
        row("thousands", "Classes", "PointsPossible", "1 000", none, Err::TypeMismatch);
        row("infinite", "Assignments", "MaxPointsPossible", "inf", none, Err::Overflow);
        row("name too long", "Classes", "ClassName", QString(256, 'n'), none, Err::FieldTooSmall);
    }
    void lineToValue()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, line);
        QFETCH(QVariant, value);
        QFETCH(int, error);
        QVariant got;
        QCOMPARE(TestEnv::errorNumber([&] { got = lineValue(line, table, field); }), error);
        QCOMPARE(got.isValid(), value.isValid());
        if (value.isValid()) {
            QCOMPARE(got.typeId(), value.typeId());
            QCOMPARE(got, value);
        }
    }

    // Bytes that make no class transfer file, and why not, as the message
    // that names the file ends.
    void whyAFileIsNoTransferFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("wrong");
        const QStringList good = TransferSample::classLines();
        const auto named = [&](const QString &name) {
            QStringList lines = good;
            lines[0] = name;
            return encode(lines);
        };
        const QString noName = "its first line holds no class name";
        const QString nul = "it holds NUL bytes, so it is not text";
        QByteArray withNul = TransferSample::golden();
        withNul.replace("Sonnets", QByteArray("Son\0nets", 8));
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);

        QTest::newRow("good") << TransferSample::golden() << "";
        QTest::newRow("empty") << QByteArray() << "it is empty";
        QTest::newRow("one line") << QByteArray("Biology") << "it has 1 line, and a class alone takes 26";
        QTest::newRow("line breaks only") << QByteArray("\r\n\r\n") << "it has 2 lines, and a class alone takes 26";
        QTest::newRow("cut after ten lines") << encode(good.mid(0, 10)) << "it has 10 lines, and a class alone takes 26";
        QTest::newRow("no class name") << named("") << noName;
        QTest::newRow("class name Null") << named("Null") << noName;
        QTest::newRow("class name of blanks") << named(" \t ") << noName;
        QTest::newRow("blank lines only") << QByteArray("\r\n").repeated(30) << noName;
        QTest::newRow("class name too long") << named(QString(256, 'n'))
                                             << "its first line is too long for a class name: 256 characters, at most 255";
        QTest::newRow("NUL bytes") << withNul << nul;
        QTest::newRow("UTF-16") << QByteArray(utf16(QString::fromUtf8(TransferSample::golden()))) << nul;
        QTest::newRow("a picture") << SetupHelpers::pictureBytes() << nul;
        QTest::newRow("control character in the class name")
            << named(QString("Bio%1[1mlogy").arg(QChar(0x1b))) << "line 1 holds the control character 0x1B, so it is not text";
        QTest::newRow("control character in a comment")
            << TransferSample::golden() + "Essay\r\n10/1/2026\r\n20\r\nbell \x07\r\nTitle\r\n"
            << "line 45 holds the control character 0x07, so it is not text";
    }
    void whyAFileIsNoTransferFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, wrong);
        QCOMPARE(read(bytes).notATransferFile, wrong);
    }

    void emptyLinesAfterTheLastBlockAreNoBlock()
    {
        QStringList lines = TransferSample::classLines();
        lines << "Homework" << "9/10/2026" << "10" << "Null" << "First" << "" << "";
        const ReadFile file = read(encode(lines));
        QCOMPARE(file.assignments.size(), 1);
        QVERIFY(file.assignments[0].complete);
        // A last value of blanks is a value: its block is whole.
        QStringList blankTitle = TransferSample::classLines();
        blankTitle << "Homework" << "9/10/2026" << "10" << "Null" << "   ";
        const ReadFile withBlankTitle = read(encode(blankTitle) + "\r\n");
        QCOMPARE(withBlankTitle.assignments.size(), 1);
        QVERIFY(withBlankTitle.assignments[0].complete);
        QVERIFY(withBlankTitle.assignments[0].problems.isEmpty());
        QVERIFY(!withBlankTitle.assignments[0].values.contains("AssignmentTitle"));
    }

    void readsWindows1252WhenTheBytesAreNoUtf8()
    {
        QByteArray bytes = encode(TransferSample::classLines());
        bytes.replace("M\xc3\xbcller  J\xc3\xbcrgen", "M\xfcller  J\xfcrgen \x80 \x93quoted\x94 \x81");
        const ReadFile file = read(bytes);
        QVERIFY(file.classRow.problems.isEmpty());
        QCOMPARE(file.classRow.values.value("TeacherName").toString(),
                 QString::fromUtf8("Müller  Jürgen € “quoted” \xc2\x81"));
        // Valid UTF-8 is UTF-8, and a byte-order mark is no part of the name.
        const ReadFile utf8 = read("\xef\xbb\xbf" + encode(TransferSample::classLines()));
        QCOMPARE(utf8.classRow.values.value("ClassName"), QVariant("O'Neill's Drama  Modern"));
        QCOMPARE(utf8.classRow.values.value("TeacherName"), QVariant(QString::fromUtf8("Müller  Jürgen")));
        // Half a UTF-8 letter at the very end is no UTF-8.
        const ReadFile cut = read(encode(TransferSample::classLines()) + "\xc3");
        QCOMPARE(cut.classRow.values.value("TeacherName"), QVariant(QString::fromUtf8("MÃ¼ller  JÃ¼rgen")));
    }

    // Random classes written and read back give what was written, as the
    // rules say: commas and breaks as blanks, leading blanks lost.
    void randomClassesReadBackAsWritten()
    {
        QRandomGenerator rng(20260901);
        const QString alphabet = QString::fromUtf8("abcXYZ 019,'\"-éüß€—\r\n\t");
        auto randomText = [&](int maxLength) {
            QString s;
            const int n = rng.bounded(maxLength + 1);
            for (int i = 0; i < n; ++i)
                s += alphabet.at(rng.bounded(alphabet.size()));
            return s;
        };
        auto expectedText = [](const QString &written) -> QVariant {
            QString s = written;
            s.replace("\r\n", " ").replace(',', ' ').replace('\r', ' ').replace('\n', ' ');
            while (!s.isEmpty() && (s[0] == ' ' || s[0] == '\t'))
                s.remove(0, 1);
            return s.isEmpty() || s == "Null" ? QVariant() : QVariant(s);
        };
        auto randomValue = [&](const Schema::Field *f) -> QVariant {
            if (rng.bounded(8) == 0)
                return QVariant();
            switch (f->type) {
            case Schema::Type::DateTime:
                if (f->name.endsWith("From") || f->name.endsWith("To"))
                    return QTime(rng.bounded(24), rng.bounded(60), rng.bounded(60));
                return QDate(1930 + rng.bounded(200), 1 + rng.bounded(12), 1 + rng.bounded(28));
            case Schema::Type::Long: return int(rng.generate());
            case Schema::Type::Memo: return randomText(300);
            default: return randomText(std::min(f->length, 60));
            }
        };
        for (int round = 0; round < 300; ++round) {
            Content c;
            for (const QString &name : classFields())
                c.classValues << randomValue(Schema::field("Classes", name));
            c.classValues[0] = "Class " + randomText(40); // a file names its class
            const int blocks = rng.bounded(4);
            for (int b = 0; b < blocks; ++b) {
                QVariantList a;
                for (const QString &name : assignmentFields())
                    a << randomValue(Schema::field("Assignments", name));
                c.assignments << a;
            }
            const QByteArray bytes = encode(lines(c));
            QCOMPARE(bytes.count("\r\n"), 26 + 5 * blocks);
            const ReadFile file = read(bytes);
            auto check = [&](const Row &row, const QVariantList &written, const QStringList &fields) {
                QVERIFY(row.complete);
                QVERIFY2(row.problems.isEmpty(), qPrintable(row.problems.isEmpty() ? QString() : row.problems[0].description));
                for (int i = 0; i < fields.size(); ++i) {
                    const QVariant w = written[i];
                    const QVariant want = w.typeId() == QMetaType::QString ? expectedText(w.toString()) : w;
                    const QVariant got = row.values.value(fields[i]);
                    QVERIFY2(got == want && got.isValid() == want.isValid(),
                             qPrintable(QString("round %1, %2: wrote \"%3\", read \"%4\"").arg(round).arg(fields[i], w.toString(), got.toString())));
                }
            };
            check(file.classRow, c.classValues, classFields());
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(file.assignments.size(), blocks);
            for (int b = 0; b < blocks; ++b) {
                check(file.assignments[b], c.assignments[b], assignmentFields());
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    // Malformed files of every sort: the reader always ends, and what it
    // gives keeps to its rules.
    void readsThousandsOfMalformedFiles()
    {
        QRandomGenerator rng(13);
        const QList<QByteArray> pieces = {"Null", "null", "", " ", "9/1/2026", "13/45/2026", "2026-10-01", "3:00 PM",
                                          "25:99", "40000", "2147483648", "-1.5", "nan", "inf", "1e400", "\"", "\"a,b\"",
                                          ",", "Mr. O'Hara", "\xc3\xa9t\xc3\xa9", "\xff\xfe", "\x80\x81\x9d", "\0\0",
                                          "9/1/2026 \t\t 3:00 PM", "T", "12/31/99", QByteArray(300, 'x')};
        const QList<QByteArray> breaks = {"\r\n", "\n", "\r", "\n\r"};
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes;
            switch (round % 5) {
            case 0: { // random bytes
                const int n = rng.bounded(2000);
                for (int i = 0; i < n; ++i)
                    bytes += char(rng.bounded(256));
                break;
            }
            case 1: { // pieces of plausible lines
                const int n = rng.bounded(60);
                for (int i = 0; i < n; ++i)
                    bytes += pieces.at(rng.bounded(pieces.size())) + breaks.at(rng.bounded(breaks.size()));
                break;
            }
            case 2: { // a good file, cut anywhere, with a byte changed
                bytes = TransferSample::golden().left(rng.bounded(TransferSample::golden().size() + 1));
                if (!bytes.isEmpty())
                    bytes[rng.bounded(bytes.size())] = char(rng.bounded(256));
                break;
            }
            case 3: { // very long lines
                const int n = 1 + rng.bounded(4);
                for (int i = 0; i < n; ++i) {
                    const char c = "x9/: ,\xe9"[rng.bounded(7)];
                    bytes += QByteArray(1 + rng.bounded(200000), c) + "\r\n";
                }
                break;
            }
            default: // breaks only, or nothing at all
                bytes = breaks.at(rng.bounded(breaks.size())).repeated(rng.bounded(80));
                break;
            }
            const ReadFile file = read(bytes);
            // A file that is none gives nothing; one that is names its class.
            if (!file.notATransferFile.isEmpty())
                QVERIFY(file.classRow.values.isEmpty() && file.classRow.problems.isEmpty() && file.assignments.isEmpty());
            else
                QVERIFY(!file.classRow.values.value("ClassName").toString().isEmpty());
            auto checkRow = [&](const Row &row, const QString &table, const QStringList &fields, int first) {
                int previous = 0;
                for (const Problem &p : row.problems) {
                    QVERIFY(p.line > previous);
                    QVERIFY(p.line >= first && p.line < first + fields.size());
                    QCOMPARE(p.field, fields[p.line - first]);
                    QVERIFY(!row.values.contains(p.field));
                    QVERIFY(p.number == Err::TypeMismatch || p.number == Err::Overflow || p.number == Err::FieldTooSmall
                            || p.number == InputPastEndOfFile);
                    previous = p.line;
                }
                // Missing lines are the row's last ones, each reported.
                int missing = 0;
                for (const Problem &p : row.problems)
                    missing += p.number == InputPastEndOfFile ? 1 : 0;
                QCOMPARE(missing > 0, !row.complete);
                for (int i = 0; i < missing; ++i) {
                    const Problem &p = row.problems[row.problems.size() - 1 - i];
                    QCOMPARE(p.number, InputPastEndOfFile);
                    QCOMPARE(p.line, first + int(fields.size()) - 1 - i);
                }
                for (auto it = row.values.cbegin(); it != row.values.cend(); ++it) {
                    QVERIFY(fields.contains(it.key()));
                    const Schema::Field *f = Schema::field(table, it.key());
                    const int type = it.value().typeId();
                    switch (f->type) {
                    case Schema::Type::Long: QCOMPARE(type, int(QMetaType::LongLong)); break;
                    case Schema::Type::DateTime:
                        QVERIFY(type == QMetaType::QDate || type == QMetaType::QTime || type == QMetaType::QDateTime);
                        break;
                    default:
                        QCOMPARE(type, int(QMetaType::QString));
                        QVERIFY(f->type == Schema::Type::Memo || it.value().toString().size() <= f->length);
                        QVERIFY(it.value().toString() != "Null");
                        QVERIFY(!it.value().toString().isEmpty());
                    }
                }
            };
            checkRow(file.classRow, "Classes", classFields(), 1);
            for (int b = 0; b < file.assignments.size(); ++b) {
                checkRow(file.assignments[b], "Assignments", assignmentFields(), 27 + 5 * b);
                // Only the last block can be short of lines.
                QVERIFY(file.assignments[b].complete || b == file.assignments.size() - 1);
            }
            if (QTest::currentTestFailed()) {
                qWarning("round %d failed", round);
                return;
            }
        }
    }
};

TARVELA_TEST_CLASS(TransferFormatTest)
#include "tst_transferformat.moc"
