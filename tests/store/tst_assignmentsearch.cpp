#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "store/AssignmentSearch.h"
#include "store/Database.h"

#include <QFile>

namespace {

int semester(const QString &title)
{
    TestEnv::exec("INSERT INTO Semesters (Title) VALUES (?)", {title});
    return TestEnv::scalar("SELECT max(ID) FROM Semesters").toInt();
}

int klass(int semesterId, const QVariant &name)
{
    TestEnv::exec("INSERT INTO Classes (Semester_ID, ClassName) VALUES (?, ?)", {semesterId, name});
    return TestEnv::scalar("SELECT max(ID) FROM Classes").toInt();
}

int assignment(int classId, const QVariant &title, const QVariant &comments = QVariant())
{
    TestEnv::exec("INSERT INTO Assignments (Class_ID, AssignmentTitle, Comments) VALUES (?, ?, ?)", {classId, title, comments});
    return TestEnv::scalar("SELECT max(ID) FROM Assignments").toInt();
}

QStringList titles(const QString &text)
{
    QStringList out;
    for (const AssignmentSearch::Hit &h : AssignmentSearch::find(TestEnv::databasePath(), text))
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
    void findsAnywhereInTheTitleInAnyLetterCase()
    {
        TestEnv::createDatabase();
        const int c = klass(semester("Fall"), "Biology");
        assignment(c, "Essay on cells");
        assignment(c, "Cell ESSAY draft");
        assignment(c, "Final essay");
        assignment(c, "Lab report");
        const QStringList all = {"Essay on cells", "Cell ESSAY draft", "Final essay"};
        QCOMPARE(titles("essay"), all);
        QCOMPARE(titles("ESSAY"), all);
        QCOMPARE(titles("eSsAy"), all);
        QCOMPARE(titles("Essay on cells"), QStringList{"Essay on cells"});
        QCOMPARE(titles("ay"), all);
        QCOMPARE(titles("report"), QStringList{"Lab report"});
        QCOMPARE(titles("Lab report!"), QStringList{});
        QCOMPARE(titles("nothing like it"), QStringList{});
    }

    void ignoresLetterCaseBeyondAscii()
    {
        TestEnv::createDatabase();
        const int c = klass(semester("Herbst"), "Deutsch");
        assignment(c, "Übung zur Ärztekammer");
        assignment(c, "ΣΟΦΙΑ essay");
        assignment(c, "Déjà vu");
        assignment(c, "Plain");
        QCOMPARE(titles("üBUNG"), QStringList{"Übung zur Ärztekammer"});
        QCOMPARE(titles("ärzte"), QStringList{"Übung zur Ärztekammer"});
        QCOMPARE(titles("σοφια"), QStringList{"ΣΟΦΙΑ essay"});
        QCOMPARE(titles("DÉJÀ"), QStringList{"Déjà vu"});
        QCOMPARE(titles("deja"), QStringList{});
    }

    void searchesTheCommentsToo()
    {
        TestEnv::createDatabase();
        const int c = klass(semester("Fall"), "History");
        assignment(c, "Chapter 3", "Ask about the Treaty of Westphalia\nand the map");
        assignment(c, "Chapter 4", QVariant());
        assignment(c, QVariant(), "treaty notes");
        QCOMPARE(titles("westphalia"), QStringList{"Chapter 3"});
        // A title without value still lists its comment's hit, with an empty title.
        QCOMPARE(titles("TREATY"), (QStringList{"Chapter 3", ""}));
        QCOMPARE(titles("the map"), QStringList{"Chapter 3"});
    }

    void takesPatternCharactersAndApostrophesLiterally()
    {
        TestEnv::createDatabase();
        const int c = klass(semester("Fall"), "O'Brien's Maths");
        assignment(c, "100% effort");
        assignment(c, "1000 effort");
        assignment(c, "a_b");
        assignment(c, "axb");
        assignment(c, "star*");
        assignment(c, "starry");
        assignment(c, "why?");
        assignment(c, "whyy");
        assignment(c, "Teacher's pick");
        assignment(c, "Teachers pick");
        assignment(c, "back\\slash [x] (y) ^$ .+|{1}");
        QCOMPARE(titles("%"), QStringList{"100% effort"});
        QCOMPARE(titles("0%"), QStringList{"100% effort"});
        QCOMPARE(titles("_"), QStringList{"a_b"});
        QCOMPARE(titles("*"), QStringList{"star*"});
        QCOMPARE(titles("?"), QStringList{"why?"});
        QCOMPARE(titles("'"), QStringList{"Teacher's pick"});
        QCOMPARE(titles("teacher's"), QStringList{"Teacher's pick"});
        QCOMPARE(titles("\\slash [x] (y) ^$ .+|{1}"), QStringList{"back\\slash [x] (y) ^$ .+|{1}"});
        QCOMPARE(titles("."), QStringList{"back\\slash [x] (y) ^$ .+|{1}"});
        QCOMPARE(titles("' OR '1'='1"), QStringList{});
        const auto hits = AssignmentSearch::find(TestEnv::databasePath(), "pick");
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits[0].entry(), QString("Teacher's pick [O'Brien's Maths]"));
        QCOMPARE(hits[0].semesterTitle, QString("Fall"));
    }

    void listsInTableOrderWithClassAndSemester()
    {
        TestEnv::createDatabase();
        const int fall = semester("Fall 2026");
        const int spring = semester("Spring 2027");
        const int bio = klass(fall, "Biology");
        const int chem = klass(spring, "Chemistry");
        const int a1 = assignment(chem, "Quiz 1");
        const int a2 = assignment(bio, "Quiz 2");
        const int a3 = assignment(chem, "Quiz 3");
        const auto hits = AssignmentSearch::find(TestEnv::databasePath(), "quiz");
        QCOMPARE(hits.size(), 3);
        QCOMPARE(hits[0].assignmentId, a1);
        QCOMPARE(hits[1].assignmentId, a2);
        QCOMPARE(hits[2].assignmentId, a3);
        QCOMPARE(hits[0].entry(), QString("Quiz 1 [Chemistry]"));
        QCOMPARE(hits[1].entry(), QString("Quiz 2 [Biology]"));
        QCOMPARE(hits[1].semesterTitle, QString("Fall 2026"));
        QCOMPARE(hits[2].semesterTitle, QString("Spring 2027"));
        QCOMPARE(AssignmentSearch::countText(hits.size()), QString("Found 3 results."));
        QCOMPARE(AssignmentSearch::countText(0), QString("Found 0 results."));
    }

    void leavesOutHitsWithNowhereToGo()
    {
        TestEnv::createDatabase();
        const int fall = semester("Fall");
        const int good = klass(fall, "Biology");
        assignment(good, "Essay kept");
        assignment(9999, "Essay of a deleted class");
        assignment(klass(4242, "Orphan class"), "Essay of a deleted semester");
        assignment(klass(fall, QVariant()), "Essay of a class being made");
        assignment(klass(fall, ""), "Essay of a nameless class");
        assignment(klass(semester(""), "Untitled term class"), "Essay of an untitled semester");
        QCOMPARE(titles("essay"), QStringList{"Essay kept"});
    }

    void emptyTextFindsNothing()
    {
        TestEnv::createDatabase();
        assignment(klass(semester("Fall"), "Biology"), "Anything");
        QVERIFY(AssignmentSearch::find(TestEnv::databasePath(), QString()).isEmpty());
        QCOMPARE(titles(" "), QStringList{});
    }

    void hasNoLimitOnTheNumberOfHits()
    {
        TestEnv::createDatabase();
        const int c = klass(semester("Fall"), "Biology");
        QList<QPair<QString, QVariantList>> rows;
        for (int i = 0; i < 1500; ++i)
            rows.append({"INSERT INTO Assignments (Class_ID, AssignmentTitle) VALUES (?, ?)", {c, QString("Reading %1").arg(i)}});
        auto db = TestEnv::open();
        db->executeTogether(rows);
        db->close();
        const auto hits = AssignmentSearch::find(TestEnv::databasePath(), "reading");
        QCOMPARE(hits.size(), 1500);
        QCOMPARE(hits.last().assignmentTitle, QString("Reading 1499"));
    }

    void aMissingOrBrokenFileRaises()
    {
        auto errorOfSearch = [] { return TestEnv::errorNumber([] { AssignmentSearch::find(TestEnv::databasePath(), "x"); }); };
        QCOMPARE(errorOfSearch(), Err::CannotOpen);
        QFile f(TestEnv::databasePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database file at all, only text");
        f.close();
        QCOMPARE(errorOfSearch(), Err::NotADatabase);
    }
};

TARVELA_TEST_CLASS(AssignmentSearchTest)
#include "tst_assignmentsearch.moc"
