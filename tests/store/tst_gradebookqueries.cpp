#include "TestEnv.h"

#include <limits>

#include "platform/RuntimeError.h"
#include "store/Database.h"
#include "store/GradeBookQueries.h"
#include "store/Recordset.h"

using namespace TestEnv;

namespace {

const QString ClassWork = QStringLiteral("SELECT * From Assignments WHERE Class_ID = ? ORDER BY DateDue");

// The totals of a class as "rows possible earned", read anew by the query;
// the rows a recordset holds give the same totals, or fail the same way.
QString totalsOf(int classId)
{
    auto db = Database::open(databasePath());
    auto held = db->openRecordset(ClassWork, Database::Dynaset, {classId});
    if (!held->isEmpty())
        held->MoveLast(); // wherever the position stands, every row counts
    GradeBookQueries::PointsTotals fromHeld, read;
    const int heldError = errorNumber([&] { fromHeld = GradeBookQueries::pointsTotals(*held); });
    const int readError = errorNumber([&] { read = GradeBookQueries::pointsTotals(databasePath(), ClassWork, {classId}); });
    if (heldError != readError)
        throw RuntimeError(Err::General, QStringLiteral("the held rows raise %1, the query %2").arg(heldError).arg(readError));
    if (readError != 0)
        GradeBookQueries::pointsTotals(databasePath(), ClassWork, {classId}); // raises it
    if (fromHeld.hasRows != read.hasRows || fromHeld.possible != read.possible || fromHeld.earned != read.earned)
        throw RuntimeError(Err::General, QStringLiteral("the held rows give other totals than the query"));
    return QStringLiteral("%1 %2 %3").arg(read.hasRows ? "rows" : "none").arg(read.possible).arg(read.earned);
}

int count(const QString &table) { return scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(); }

} // namespace

// The grade book's queries without a window: totals, closed classes,
// assignment types and the deletions with their dependent rows.
class GradeBookQueriesTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void pointsTotals()
    {
        createDatabase();
        const int sem = addSemester("Fall");
        const int bio = addClass(sem, "Biology");
        addAssignment(bio, "Test 1", 50, 40);
        addAssignment(bio, "Test 2", 50, QVariant());
        addAssignment(bio, "Ungraded", QVariant(), QVariant());
        addAssignment(bio, "Bonus", QVariant(), 7);
        addAssignment(addClass(sem, "Art"), "Sketch", 1000, 999);
        // Empty values and other classes are skipped.
        QCOMPARE(totalsOf(bio), QString("rows 100 47"));
        QCOMPARE(totalsOf(addClass(sem, "Empty")), QString("none 0 0"));
        // A class whose rows hold no points at all has rows and zero totals.
        const int blank = addClass(sem, "Blank");
        addAssignment(blank, "Reading", QVariant(), QVariant());
        QCOMPARE(totalsOf(blank), QString("rows 0 0"));
        // Carried in 64 bits, beyond 32 as they are.
        const int big = addClass(sem, "Big");
        for (const qlonglong points : {2000000000LL, 147483647LL, 1LL})
            addAssignment(big, "Part", points, 1);
        QCOMPARE(totalsOf(big), QString("rows 2147483648 3"));
        // The smallest sum still fits; one less overflows.
        const int owed = addClass(sem, "Owed");
        addAssignment(owed, "Fine 1", 0, qlonglong(-9000000000000000000LL));
        addAssignment(owed, "Fine 2", 0, qlonglong(-223372036854775808LL));
        QCOMPARE(totalsOf(owed), QString("rows 0 %1").arg(std::numeric_limits<qint64>::min()));
        addAssignment(owed, "Fine 3", 0, -1);
        QCOMPARE(errorNumber([&] { totalsOf(owed); }), Err::Overflow);
        // A value that is no whole number is no total.
        const int odd = addClass(sem, "Odd");
        addAssignment(odd, "Half", 2.5, 1);
        QCOMPARE(errorNumber([&] { totalsOf(odd); }), Err::TypeMismatch);
    }

    void closedClassesInTableOrder()
    {
        createDatabase();
        const int sem = addSemester("Fall");
        exec("INSERT INTO Classes (Semester_ID, ClassName, ClassClosed, CreditHours, FinalLetterGrade) VALUES "
             "(?, 'Open', 0, 3, 'A'), (?, 'History', 1, 3, 'b'), (?, 'Unknown hours', 1, NULL, 'A'), (?, 'Math', 1, 4.5, NULL)",
             {sem, sem, sem, sem});
        QStringList closed;
        for (const auto &c : GradeBookQueries::closedClasses(databasePath()))
            closed << (c.creditHours.isNull() ? "null" : c.creditHours.toString()) + " " + c.finalLetterGrade;
        QCOMPARE(closed, QStringList({"3 b", "null A", "4.5 "}));
        exec("DELETE FROM Classes");
        QVERIFY(GradeBookQueries::closedClasses(databasePath()).isEmpty());
    }

    void assignmentTypesAreKeptAsWritten()
    {
        createDatabase();
        const QString db = databasePath();
        const QStringList seeded = GradeBookQueries::assignmentTypes(db);
        QVERIFY(!seeded.isEmpty());
        for (const char *type : {"quiz", "Teacher's pick", "quiz"})
            GradeBookQueries::addAssignmentType(db, type);
        QCOMPARE(GradeBookQueries::assignmentTypes(db), seeded + QStringList({"quiz", "Teacher's pick", "quiz"}));
        // Removal matches letter case exactly and takes one row only.
        QVERIFY(GradeBookQueries::removeAssignmentType(db, "quiz"));
        QVERIFY(GradeBookQueries::removeAssignmentType(db, "Teacher's pick"));
        QVERIFY(!GradeBookQueries::removeAssignmentType(db, "QUIZ"));
        QCOMPARE(GradeBookQueries::assignmentTypes(db), seeded + QStringList{"quiz"});
    }

    void deletionsTakeTheirDependentsOnly()
    {
        createDatabase();
        const QString db = databasePath();
        const int spring = addSemester("Spring");
        const int art = addClass(spring, "Art");
        const int bio = addClass(addSemester("Fall"), "Biology");
        const int music = addClass(spring, "Music");
        for (const int cls : {art, bio, music, bio})
            addAssignment(cls, QString("Work of %1").arg(cls), 10, 9);
        addAssignment(999, "Stray", 1, 1); // of no class at all
        const auto left = [] {
            QStringList out;
            for (const char *field : {"Semesters.Title", "Classes.ClassName", "Assignments.AssignmentTitle"}) {
                const QStringList f = QString(field).split('.');
                out << scalar(QString("SELECT group_concat(%2) FROM (SELECT %2 FROM %1 ORDER BY ID)").arg(f[0], f[1])).toString();
            }
            return out.join(" / ");
        };
        GradeBookQueries::deleteClass(db, bio);
        QCOMPARE(left(), QString("Spring,Fall / Art,Music / Work of %1,Work of %2,Stray").arg(art).arg(music));
        GradeBookQueries::deleteSemester(db, spring);
        QCOMPARE(left(), QString("Fall /  / Stray"));
        // Nothing left to take: the deletions do no harm.
        GradeBookQueries::deleteSemester(db, spring);
        GradeBookQueries::deleteClass(db, bio);
        QCOMPARE(left(), QString("Fall /  / Stray"));
    }

    void aDeletionThatFailsChangesNothing()
    {
        createDatabase();
        const QString db = databasePath();
        const int fall = addSemester("Fall");
        const int bio = addClass(fall, "Biology");
        addAssignment(bio, "Lab", 10, 9);
        // The last statement of each deletion fails after the others ran.
        for (const char *table : {"Classes", "Semesters"}) {
            exec(QString("CREATE TRIGGER keep%1 BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'kept'); END").arg(table));
            QVERIFY(errorNumber([&] { QString(table) == "Classes" ? GradeBookQueries::deleteClass(db, bio)
                                                                  : GradeBookQueries::deleteSemester(db, fall); }) != 0);
            QCOMPARE(count("Assignments") + count("Classes") + count("Semesters"), 3);
            exec(QString("DROP TRIGGER keep%1").arg(table));
        }
    }

    void aMissingFileRaisesAndMakesNone()
    {
        const QString db = databasePath();
        QVERIFY(errorNumber([&] { GradeBookQueries::assignmentTypes(db); }) != 0);
        QVERIFY(errorNumber([&] { GradeBookQueries::closedClasses(db); }) != 0);
        QVERIFY(errorNumber([&] { GradeBookQueries::deleteClass(db, 1); }) != 0);
        QVERIFY(!QFile::exists(db));
    }
};

TARVELA_TEST_CLASS(GradeBookQueriesTest)
#include "tst_gradebookqueries.moc"
