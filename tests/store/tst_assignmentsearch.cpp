#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "store/AssignmentSearch.h"
#include "store/Compaction.h"
#include "store/Database.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>

using namespace TestEnv;

namespace {

int assignment(int classId, const QVariant &title, const QVariant &comments = QVariant())
{
    exec("INSERT INTO Assignments (Class_ID, AssignmentTitle, Comments) VALUES (?, ?, ?)", {classId, title, comments});
    return scalar("SELECT max(ID) FROM Assignments").toInt();
}

QStringList titles(const QString &text)
{
    QStringList out;
    for (const AssignmentSearch::Hit &h : AssignmentSearch::find(databasePath(), text))
        out << h.assignmentTitle;
    return out;
}

// What the search finds, read the plain way: every title and comment of the
// file searched for the text taken literally, letter case folded by the
// engine's FOLDED(), hits without a named class and semester left out.
QStringList readEveryRow(Database &db, const QString &text)
{
    QSqlQuery q = db.run("SELECT a.ID, a.AssignmentTitle, c.ClassName, s.Title FROM Assignments AS a "
                         "JOIN Classes AS c ON c.ID = a.Class_ID JOIN Semesters AS s ON s.ID = c.Semester_ID "
                         "WHERE (instr(FOLDED(a.AssignmentTitle), FOLDED(?)) > 0 OR instr(FOLDED(a.Comments), FOLDED(?)) > 0) "
                         "AND c.ClassName <> '' AND s.Title <> '' ORDER BY a.ID",
                         {text, text});
    QStringList out;
    while (q.next())
        out << QString("%1 %2 [%3] (%4)").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                              q.value(3).toString());
    return out;
}

QStringList found(const QString &text)
{
    QStringList out;
    for (const AssignmentSearch::Hit &h : AssignmentSearch::find(databasePath(), text))
        out << QString("%1 %2 (%3)").arg(h.assignmentId).arg(h.entry(), h.semesterTitle);
    return out;
}

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

} // namespace

// The assignment search without its window: what is found, in which order,
// and what is taken literally.
class AssignmentSearchTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void findsInTitlesAndCommentsLiterallyInAnyLetterCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const QStringList essays = {"Essay on cells", "Cell ESSAY draft", "Final essay", "ΣΟΦΙΑ essay"};
        const QString odd = "back\\slash [x] (y) ^$ .+|{1}";
        QTest::newRow("small") << "essay" << essays;
        QTest::newRow("capitals") << "ESSAY" << essays;
        QTest::newRow("mixed") << "eSsAy" << essays;
        QTest::newRow("inside a word") << "ay" << essays;
        QTest::newRow("whole title") << "Essay on cells" << QStringList{"Essay on cells"};
        QTest::newRow("longer than any") << "Lab report!" << QStringList{};
        QTest::newRow("umlaut") << "üBUNG" << QStringList{"Übung zur Ärztekammer"};
        QTest::newRow("umlaut inside") << "ärzte" << QStringList{"Übung zur Ärztekammer"};
        QTest::newRow("greek") << "σοφια" << QStringList{"ΣΟΦΙΑ essay"};
        QTest::newRow("accents") << "DÉJÀ" << QStringList{"Déjà vu"};
        QTest::newRow("accents count") << "deja" << QStringList{};
        QTest::newRow("comment") << "westphalia" << QStringList{"Chapter 3"};
        QTest::newRow("comment over a line break") << "the map" << QStringList{"Chapter 3"};
        // A title without value still lists its comment's hit, with an empty title.
        QTest::newRow("comment of no title") << "TREATY" << QStringList{"Chapter 3", ""};
        QTest::newRow("percent") << "0%" << QStringList{"100% effort"};
        QTest::newRow("underscore") << "_" << QStringList{"a_b"};
        QTest::newRow("star") << "*" << QStringList{"star*"};
        QTest::newRow("question mark") << "?" << QStringList{"why?"};
        QTest::newRow("apostrophe") << "teacher's" << QStringList{"Teacher's pick"};
        QTest::newRow("expression characters") << "\\slash [x] (y) ^$ .+|{1}" << QStringList{odd};
        QTest::newRow("dot") << "." << QStringList{odd};
        QTest::newRow("quoted condition") << "' OR '1'='1" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void findsInTitlesAndCommentsLiterallyInAnyLetterCase()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        createDatabase();
        const int c = addClass(addSemester("Fall"), "O'Brien's Maths");
        for (const char *title : {"Essay on cells", "Cell ESSAY draft", "Final essay", "Lab report", "Übung zur Ärztekammer",
                                  "ΣΟΦΙΑ essay", "Déjà vu", "100% effort", "1000 effort", "a_b", "axb", "star*", "starry",
                                  "why?", "whyy", "Teacher's pick", "Teachers pick", "back\\slash [x] (y) ^$ .+|{1}"})
            assignment(c, QString::fromUtf8(title));
        assignment(c, "Chapter 3", "Ask about the Treaty of Westphalia\nand the map");
        assignment(c, "Chapter 4");
        assignment(c, QVariant(), "treaty notes");
        QCOMPARE(titles(text), found);
    }

    // Letter case as every script has it: each letter matches the letters it
    // is the other case of, one for one (no letter stands for two), and
    // nothing else; what looks alike but is written otherwise is not found.
    void lettersOfEveryScript_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("kelvin sign") << "scale 5 k" << QStringList{u("Kelvin scale 5 \u212A")};
        QTest::newRow("kelvin sign typed") << u("SCALE 5 \u212A") << QStringList{u("Kelvin scale 5 \u212A")};
        QTest::newRow("long s") << "CAST" << QStringList{u("Ca\u017Ftle notes")};
        QTest::newRow("sharp s") << u("GROSSE") << QStringList{"GROSSE Welle"};
        QTest::newRow("sharp s, one letter") << u("gro\u00DFe") << QStringList{u("GRO\u1E9EE Pause"), u("gro\u00DFe Zahl")};
        QTest::newRow("sigma") << u("\u03BF\u03B4\u03BF\u03C3") << QStringList{u("\u039F\u0394\u039F\u03A3 map"), u("\u03BF\u03B4\u03BF\u03C2 trip")};
        QTest::newRow("final sigma") << u("\u039F\u0394\u039F\u03C2") << QStringList{u("\u039F\u0394\u039F\u03A3 map"), u("\u03BF\u03B4\u03BF\u03C2 trip")};
        QTest::newRow("theta") << u("\u03D1\u03B5\u03C9\u03C1") << QStringList{u("\u0398\u0395\u03A9\u03A1\u0399\u0391"), u("\u03D1\u03B5\u03C9\u03C1\u03B9\u03B1 notes")};
        QTest::newRow("dotted capital i") << "istanbul" << QStringList{"Istanbul essay"};
        QTest::newRow("dotted capital i typed") << u("\u0130STANBUL") << QStringList{u("\u0130stanbul trip")};
        QTest::newRow("dotless i") << u("\u0131SPANAK") << QStringList{u("\u0131spanak recipe")};
        QTest::newRow("dotless i not i") << u("ispanak") << QStringList{};
        QTest::newRow("cyrillic") << u("\u0414\u041E\u041C\u0410\u0428\u041D\u0415\u0415") << QStringList{u("\u0414\u043E\u043C\u0430\u0448\u043D\u0435\u0435 \u0437\u0430\u0434\u0430\u043D\u0438\u0435")};
        QTest::newRow("beyond the first plane") << u("\U00010428\U00010429\U0001042A") << QStringList{u("\U00010400\U00010401\U00010402 capitals"), u("\U00010428\U00010429\U0001042A small")};
        QTest::newRow("title case") << u("\u01C6emal") << QStringList{u("\u01C5emal")};
        QTest::newRow("micro sign") << u("\u039CM CELLS") << QStringList{u("5 \u00B5m cells")};
        QTest::newRow("angstrom sign") << u("\u00E5 units") << QStringList{u("\u212B units")};
        QTest::newRow("composed") << u("caf\u00E9") << QStringList{u("Caf\u00E9 composed")};
        QTest::newRow("decomposed") << u("cafe\u0301") << QStringList{u("Cafe\u0301 decomposed")};
        QTest::newRow("emoji") << u("\U0001F600 TIME") << QStringList{u("Party \U0001F600 time")};
        QTest::newRow("replacement character") << u("n \uFFFD c") << QStringList{u("Broken \uFFFD char")};
        // Half of a pair of UTF-16 units takes the unit after it as its other half.
        QTest::newRow("half a pair") << QString("n ") + QChar(0xD800) + " c" << QStringList{u("Odd n \U00010020cells")};
        QTest::newRow("title and comments do not join") << "bc de" << QStringList{};
        QTest::newRow("comments alone") << "DEF" << QStringList{"abc"};
        QTest::newRow("pieces apart") << "photosynthesis" << QStringList{"Photosynthesis lab"};
        QTest::newRow("two letters") << "ab" << QStringList{"Photosynthesis lab", "abc"};
        QTest::newRow("a number in the comments") << "234" << QStringList{"Numbered"};
        QTest::newRow("double quotes") << "\"double\" and" << QStringList{"Quote \"double\" and 'single'"};
        QTest::newRow("single quotes") << "'SINGLE'" << QStringList{"Quote \"double\" and 'single'"};
        QTest::newRow("percent and underscore") << "5%_" << QStringList{"Up 5%_ now"};
        QTest::newRow("wildcards are characters") << "5%" << QStringList{"Up 5%_ now"};
        QTest::newRow("star and question mark") << "*?" << QStringList{};
    }

    void lettersOfEveryScript()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        createDatabase();
        const int c = addClass(addSemester("Fall"), "Languages");
        for (const char *title :
             {"Kelvin scale 5 \u212A", "Ca\u017Ftle notes", "GROSSE Welle", "GRO\u1E9EE Pause", "gro\u00DFe Zahl",
              "\u039F\u0394\u039F\u03A3 map", "\u03BF\u03B4\u03BF\u03C2 trip", "\u0398\u0395\u03A9\u03A1\u0399\u0391",
              "\u03D1\u03B5\u03C9\u03C1\u03B9\u03B1 notes", "\u0130stanbul trip", "Istanbul essay", "\u0131spanak recipe",
              "\u0414\u043E\u043C\u0430\u0448\u043D\u0435\u0435 \u0437\u0430\u0434\u0430\u043D\u0438\u0435",
              "\U00010400\U00010401\U00010402 capitals", "\U00010428\U00010429\U0001042A small", "\u01C5emal", "5 \u00B5m cells",
              "\u212B units", "Caf\u00E9 composed", "Cafe\u0301 decomposed", "Party \U0001F600 time", "Broken \uFFFD char", "Odd n \U00010020cells",
              "photo synthesis", "Photosynthesis lab", "Quote \"double\" and 'single'", "Up 5%_ now", "Up 5x now"})
            assignment(c, u(title));
        assignment(c, "abc", "def");
        exec("INSERT INTO Assignments (Class_ID, AssignmentTitle, Comments) VALUES (?, 'Numbered', 12345)", {c});
        QCOMPARE(titles(text), found);
    }

    // However many rows and whatever they hold, and after any change made to
    // the file by another program: what the search finds is what reading
    // every title and comment finds, in the same order.
    void findsWhatReadingEveryRowFinds()
    {
        createDatabase();
        QRandomGenerator random(20261014);
        // Few and alike letters, so that texts share many pieces.
        const QString letters = u("aAbBsS\u017FkK\u212A\u03C3\u03C2\u03A3\u00DF\u1E9E iI\u0130\u0131%_'\"\u00E9e\u0301\U00010400\U00010428");
        QVector<uint> alphabet;
        for (const uint c : letters.toUcs4())
            alphabet << c;
        auto text = [&](int from, int to) {
            QString t;
            const int n = random.bounded(from, to + 1);
            for (int i = 0; i < n; ++i) {
                const char32_t c = alphabet.at(random.bounded(int(alphabet.size())));
                t += QString::fromUcs4(&c, 1);
            }
            return t;
        };
        const QList<int> semesters = {addSemester("Fall"), addSemester("Spring"), addSemester("")};
        QList<int> classes;
        for (int i = 0; i < 8; ++i)
            classes << addClass(semesters.at(i % 3), i == 5 ? QString() : QString("Class %1").arg(i));
        classes << 4242; // none such
        auto db = open();
        auto addRows = [&](int count) {
            db->beginTrans();
            for (int i = 0; i < count; ++i)
                db->execute("INSERT INTO Assignments (Class_ID, AssignmentTitle, Comments) VALUES (?, ?, ?)",
                            {classes.at(random.bounded(int(classes.size()))), random.bounded(8) ? QVariant(text(0, 12)) : QVariant(),
                             random.bounded(3) ? QVariant(text(0, 30)) : QVariant()});
            db->commitTrans();
        };
        // Texts to look for: pieces of what the rows hold, with their letters
        // changed to other cases, and texts made up.
        auto searches = [&] {
            QStringList out;
            const Database::Rows rows = db->readRows("SELECT AssignmentTitle || ' ' || Comments FROM Assignments WHERE AssignmentTitle "
                                                     "IS NOT NULL AND Comments IS NOT NULL");
            for (int i = 0; i < 120 && !rows.rows.isEmpty(); ++i) {
                const QString whole = rows.rows.at(random.bounded(int(rows.rows.size()))).first().toString();
                const int length = random.bounded(1, 8);
                QString piece = whole.mid(random.bounded(int(std::max<qsizetype>(1, whole.size() - length))), length);
                for (QChar &ch : piece)
                    if (random.bounded(2))
                        ch = random.bounded(2) ? ch.toUpper() : ch.toLower();
                out << piece;
            }
            for (int i = 0; i < 60; ++i)
                out << text(1, 6);
            out.removeAll(QString());
            return out;
        };
        auto compare = [&](const char *stage) {
            int finding = 0;
            const QStringList texts = searches();
            for (const QString &t : texts) {
                const QStringList expected = readEveryRow(*db, t);
                finding += expected.isEmpty() ? 0 : 1;
                const QStringList actual = found(t);
                QVERIFY2(actual == expected, qPrintable(QString("%1, \"%2\": %3 found, %4 expected")
                                                            .arg(stage, t).arg(actual.size()).arg(expected.size())));
            }
            // Most texts find something.
            QVERIFY2(finding > texts.size() / 2, qPrintable(QString("%1: %2 of %3 found something").arg(stage).arg(finding).arg(texts.size())));
        };
        // A file as an earlier version of the program left it: its nine
        // tables, their rows and their indexes only.
        addRows(1500);
        const Database::Rows extras = db->readRows("SELECT type, name FROM sqlite_master WHERE type = 'trigger' "
                                                   "OR sql LIKE 'CREATE VIRTUAL TABLE%'");
        for (const QVector<QVariant> &row : extras.rows)
            db->execute(QString("DROP %1 \"%2\"").arg(row[0].toString() == "trigger" ? "TRIGGER" : "TABLE", row[1].toString()));
        compare("rows of an earlier file");
        if (QTest::currentTestFailed())
            return;
        // Another program changes titles and comments, deletes rows, moves a
        // row to another key and adds rows in one piece.
        db->execute("UPDATE Assignments SET AssignmentTitle = upper(AssignmentTitle) WHERE ID % 5 = 0");
        db->execute("UPDATE Assignments SET Comments = AssignmentTitle || Comments WHERE ID % 7 = 1");
        db->execute("UPDATE Assignments SET AssignmentTitle = NULL WHERE ID % 11 = 2");
        db->execute("DELETE FROM Assignments WHERE ID % 13 = 3");
        db->execute("UPDATE Assignments SET ID = ID + 100000 WHERE ID % 17 = 4");
        db->execute("UPDATE Assignments SET Class_ID = ? WHERE ID % 19 = 5", {classes.first()});
        addRows(300);
        compare("rows changed by another program");
        if (QTest::currentTestFailed())
            return;
        // The program's own writes, then a compaction.
        auto own = Database::open(databasePath());
        own->execute("UPDATE Assignments SET Comments = 'k' || Comments WHERE ID % 3 = 0");
        own->execute("DELETE FROM Assignments WHERE ID % 23 = 6");
        own->close();
        db->close();
        QStringList leftovers;
        Compaction::run(databasePath(), databasePath(), programFolder() + "/tarvelac.mdb", &leftovers);
        db = open();
        compare("a compacted file");
        if (QTest::currentTestFailed())
            return;
        addRows(100);
        compare("rows added to a compacted file");
        db->close();
    }

    void listsInTableOrderWithClassAndSemester()
    {
        createDatabase();
        const int fall = addSemester("Fall 2026");
        const int bio = addClass(fall, "Biology");
        const int chem = addClass(addSemester("Spring 2027"), "O'Brien's Chemistry");
        const QList<int> ids = {assignment(chem, "Quiz 1"), assignment(bio, "Quiz 2"), assignment(chem, "Quiz 3")};
        // Left out: what has nowhere to go.
        assignment(9999, "Quiz of a deleted class");
        assignment(addClass(4242, "Orphan class"), "Quiz of a deleted semester");
        assignment(addClass(fall, QString()), "Quiz of a class being made");
        assignment(addClass(fall, ""), "Quiz of a nameless class");
        assignment(addClass(addSemester(""), "Untitled term class"), "Quiz of an untitled semester");
        const QStringList hits = found("quiz");
        QCOMPARE(hits, QStringList({QString("%1 Quiz 1 [O'Brien's Chemistry] (Spring 2027)").arg(ids[0]),
                                    QString("%1 Quiz 2 [Biology] (Fall 2026)").arg(ids[1]),
                                    QString("%1 Quiz 3 [O'Brien's Chemistry] (Spring 2027)").arg(ids[2])}));
        QCOMPARE(AssignmentSearch::countText(hits.size()), QString("Found 3 results."));
        QCOMPARE(AssignmentSearch::countText(0), QString("Found 0 results."));
    }

    void hasNoLimitOnTheNumberOfHits()
    {
        createDatabase();
        const int c = addClass(addSemester("Fall"), "Biology");
        exec("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1499) "
             "INSERT INTO Assignments (Class_ID, AssignmentTitle) SELECT ?, 'Reading ' || i FROM n",
             {c});
        const QStringList found = titles("reading");
        QCOMPARE(found.size(), 1500);
        QCOMPARE(found.last(), QString("Reading 1499"));
    }

    void aMissingOrBrokenFileRaises()
    {
        auto errorOfSearch = [] { return errorNumber([] { AssignmentSearch::find(databasePath(), "x"); }); };
        QCOMPARE(errorOfSearch(), Err::CannotOpen);
        QFile f(databasePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database file at all, only text");
        f.close();
        QCOMPARE(errorOfSearch(), Err::NotADatabase);
    }
};

TARVELA_TEST_CLASS(AssignmentSearchTest)
#include "tst_assignmentsearch.moc"
