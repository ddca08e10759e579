#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "store/AssignmentSearch.h"
#include "store/Database.h"

#include <QFile>

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
        QStringList hits;
        for (const AssignmentSearch::Hit &h : AssignmentSearch::find(databasePath(), "quiz"))
            hits << QString("%1 %2 (%3)").arg(h.assignmentId).arg(h.entry(), h.semesterTitle);
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
