#include "TestEnv.h"

#include <limits>

#include "platform/RuntimeError.h"
#include "store/Database.h"
#include "store/GradeBookQueries.h"
#include "store/Recordset.h"

namespace {

using TestEnv::addAssignment;
using TestEnv::addClass;
using TestEnv::addSemester;
using TestEnv::errorNumber;

const QString ClassWork = QStringLiteral("SELECT * From Assignments WHERE Class_ID = ? ORDER BY DateDue");

// The totals of a class, read anew by the query; the rows a recordset
// holds give the same totals, or fail the same way.
GradeBookQueries::PointsTotals totalsOf(int classId)
{
    auto db = Database::open(TestEnv::databasePath());
    auto held = db->openRecordset(ClassWork, Database::Dynaset, {classId});
    if (!held->isEmpty())
        held->MoveLast(); // wherever the position stands, every row counts
    GradeBookQueries::PointsTotals fromHeld;
    const int heldError = errorNumber([&] { fromHeld = GradeBookQueries::pointsTotals(*held); });
    GradeBookQueries::PointsTotals read;
    const int readError = errorNumber([&] { read = GradeBookQueries::pointsTotals(TestEnv::databasePath(), ClassWork, {classId}); });
    if (heldError != readError)
        throw RuntimeError(Err::General, QStringLiteral("the held rows raise %1, the query %2").arg(heldError).arg(readError));
    if (readError != 0)
        GradeBookQueries::pointsTotals(TestEnv::databasePath(), ClassWork, {classId}); // raises it
    if (fromHeld.hasRows != read.hasRows || fromHeld.possible != read.possible || fromHeld.earned != read.earned)
        throw RuntimeError(Err::General, QStringLiteral("the held rows give other totals than the query"));
    return read;
}

int count(const QString &table) { return TestEnv::scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(); }

} // namespace

// The grade book's queries without a window: totals, closed classes,
// assignment types and the deletions with their dependent rows.
class GradeBookQueriesTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void pointsTotalsSkipEmptyValuesAndOtherClasses()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall");
        const int bio = addClass(sem, "Biology");
        const int art = addClass(sem, "Art");
        const int empty = addClass(sem, "Empty");
        addAssignment(bio, "Test 1", 50, 40);
        addAssignment(bio, "Test 2", 50, QVariant());
        addAssignment(bio, "Ungraded", QVariant(), QVariant());
        addAssignment(bio, "Bonus", QVariant(), 7);
        addAssignment(art, "Sketch", 1000, 999);
        const auto t = totalsOf(bio);
        QVERIFY(t.hasRows);
        QCOMPARE(t.possible, qint64(100));
        QCOMPARE(t.earned, qint64(47));
        const auto none = totalsOf(empty);
        QVERIFY(!none.hasRows);
        QCOMPARE(none.possible, qint64(0));
        QCOMPARE(none.earned, qint64(0));
        // A class whose rows hold no points at all has rows and zero totals.
        const int blank = addClass(sem, "Blank");
        addAssignment(blank, "Reading", QVariant(), QVariant());
        const auto zero = totalsOf(blank);
        QVERIFY(zero.hasRows);
        QCOMPARE(zero.possible, qint64(0));
    }

    void pointsTotalsAreCarriedInSixtyFourBits()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall");
        const int big = addClass(sem, "Big");
        addAssignment(big, "Part 1", 2000000000, 1);
        addAssignment(big, "Part 2", 147483647, 1);
        addAssignment(big, "Part 3", 1, 1);
        QCOMPARE(totalsOf(big).possible, qint64(2147483648LL)); // beyond 32 bits, as it is
        const int owed = addClass(sem, "Owed");
        addAssignment(owed, "Fine 1", 0, qlonglong(-9000000000000000000LL));
        addAssignment(owed, "Fine 2", 0, qlonglong(-223372036854775808LL));
        QCOMPARE(totalsOf(owed).earned, std::numeric_limits<qint64>::min()); // the smallest sum still fits
        addAssignment(owed, "Fine 3", 0, -1);
        QCOMPARE(errorNumber([&] { totalsOf(owed); }), Err::Overflow);
        // A value that is no whole number is no total.
        const int odd = addClass(sem, "Odd");
        addAssignment(odd, "Half", 2.5, 1);
        QCOMPARE(errorNumber([&] { totalsOf(odd); }), Err::TypeMismatch);
    }

    void closedClassesInTableOrder()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall");
        TestEnv::exec("INSERT INTO Classes (Semester_ID, ClassName, ClassClosed, CreditHours, FinalLetterGrade) VALUES "
                      "(?, 'Open', 0, 3, 'A'), (?, 'History', 1, 3, 'b'), (?, 'Unknown hours', 1, NULL, 'A'), "
                      "(?, 'Math', 1, 4.5, NULL)",
                      {sem, sem, sem, sem});
        const auto closed = GradeBookQueries::closedClasses(TestEnv::databasePath());
        QCOMPARE(closed.size(), 3);
        QCOMPARE(closed.at(0).finalLetterGrade, QString("b"));
        QCOMPARE(closed.at(0).creditHours.toDouble(), 3.0);
        QVERIFY(closed.at(1).creditHours.isNull());
        QCOMPARE(closed.at(2).creditHours.toDouble(), 4.5);
        QCOMPARE(closed.at(2).finalLetterGrade, QString());
        TestEnv::exec("DELETE FROM Classes");
        QVERIFY(GradeBookQueries::closedClasses(TestEnv::databasePath()).isEmpty());
    }

    void assignmentTypesAreKeptAsWritten()
    {
        TestEnv::createDatabase();
        const QString db = TestEnv::databasePath();
        const QStringList seeded = GradeBookQueries::assignmentTypes(db);
        QVERIFY(!seeded.isEmpty());
        GradeBookQueries::addAssignmentType(db, "quiz");
        GradeBookQueries::addAssignmentType(db, "Teacher's pick");
        GradeBookQueries::addAssignmentType(db, "quiz");
        QCOMPARE(GradeBookQueries::assignmentTypes(db), seeded + QStringList({"quiz", "Teacher's pick", "quiz"}));
        // Removal matches letter case exactly and takes one row only.
        QVERIFY(GradeBookQueries::removeAssignmentType(db, "quiz"));
        QCOMPARE(GradeBookQueries::assignmentTypes(db), seeded + QStringList({"Teacher's pick", "quiz"}));
        QVERIFY(GradeBookQueries::removeAssignmentType(db, "Teacher's pick"));
        QVERIFY(!GradeBookQueries::removeAssignmentType(db, "QUIZ"));
        QCOMPARE(GradeBookQueries::assignmentTypes(db), seeded + QStringList{"quiz"});
    }

    void deletionsTakeTheirDependentsOnly()
    {
        TestEnv::createDatabase();
        const QString db = TestEnv::databasePath();
        const int spring = addSemester("Spring");
        const int fall = addSemester("Fall");
        const int art = addClass(spring, "Art");
        const int bio = addClass(fall, "Biology");
        const int music = addClass(spring, "Music");
        for (const int cls : {art, bio, music, bio})
            addAssignment(cls, QString("Work of %1").arg(cls), 10, 9);
        addAssignment(999, "Stray", 1, 1); // of no class at all
        GradeBookQueries::deleteClass(db, bio);
        QCOMPARE(TestEnv::scalar("SELECT group_concat(ClassName) FROM Classes").toString(), QString("Art,Music"));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {bio}).toInt(), 0);
        QCOMPARE(count("Assignments"), 3);
        GradeBookQueries::deleteSemester(db, spring);
        QCOMPARE(TestEnv::scalar("SELECT group_concat(Title) FROM Semesters").toString(), QString("Fall"));
        QCOMPARE(count("Classes"), 0);
        QCOMPARE(TestEnv::scalar("SELECT group_concat(AssignmentTitle) FROM Assignments").toString(), QString("Stray"));
        // Nothing left to take: the deletions do no harm.
        GradeBookQueries::deleteSemester(db, spring);
        GradeBookQueries::deleteClass(db, bio);
        QCOMPARE(count("Semesters"), 1);
        QCOMPARE(count("Assignments"), 1);
    }

    void aDeletionThatFailsChangesNothing()
    {
        TestEnv::createDatabase();
        const QString db = TestEnv::databasePath();
        const int fall = addSemester("Fall");
        const int bio = addClass(fall, "Biology");
        addAssignment(bio, "Lab", 10, 9);
        // The last statement of each deletion fails after the others ran.
        TestEnv::exec("CREATE TRIGGER keepClasses BEFORE DELETE ON Classes BEGIN SELECT RAISE(ABORT, 'kept'); END");
        QVERIFY(errorNumber([&] { GradeBookQueries::deleteClass(db, bio); }) != 0);
        QCOMPARE(count("Assignments"), 1);
        QCOMPARE(count("Classes"), 1);
        TestEnv::exec("DROP TRIGGER keepClasses");
        TestEnv::exec("CREATE TRIGGER keepSemesters BEFORE DELETE ON Semesters BEGIN SELECT RAISE(ABORT, 'kept'); END");
        QVERIFY(errorNumber([&] { GradeBookQueries::deleteSemester(db, fall); }) != 0);
        QCOMPARE(count("Assignments"), 1);
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(count("Semesters"), 1);
    }

    void aMissingFileRaisesAndMakesNone()
    {
        const QString db = TestEnv::databasePath();
        QVERIFY(errorNumber([&] { GradeBookQueries::assignmentTypes(db); }) != 0);
        QVERIFY(errorNumber([&] { GradeBookQueries::closedClasses(db); }) != 0);
        QVERIFY(errorNumber([&] { GradeBookQueries::deleteClass(db, 1); }) != 0);
        QVERIFY(!QFile::exists(db));
    }
};

TARVELA_TEST_CLASS(GradeBookQueriesTest)
#include "tst_gradebookqueries.moc"
