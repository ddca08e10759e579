#include "TestEnv.h"

#include "store/Grades.h"

#include <limits>

using Letter = std::optional<QString>;
using Points = std::optional<double>;
using Shy = std::optional<qint64>;
Q_DECLARE_METATYPE(Letter)
Q_DECLARE_METATYPE(Points)
Q_DECLARE_METATYPE(Shy)

// The grade book's arithmetic, row by row: the letter a total reaches, the
// grade points of a final letter, the GPA's text and totals, points shy.
class GradesTest : public TestCase
{
    Q_OBJECT

    static constexpr double Inf = std::numeric_limits<double>::infinity();
    static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

private Q_SLOTS:
    void letterFor_data()
    {
        QTest::addColumn<qint64>("earned");
        QTest::addColumn<QVariantList>("thresholds"); // A, B, C, D, F
        QTest::addColumn<Letter>("letter");
        const QVariantList scale{90, 80, 70, 60, 0};
        const QVariant none;
        QTest::newRow("A at its threshold") << qint64(90) << scale << Letter("(A)");
        QTest::newRow("B at its threshold") << qint64(80) << scale << Letter("(B)");
        QTest::newRow("D just under C") << qint64(69) << scale << Letter("(D)");
        QTest::newRow("F") << qint64(10) << scale << Letter("(F)");
        QTest::newRow("no F threshold: no letter") << qint64(10) << QVariantList{90, 80, 70, 60, none} << Letter();
        QTest::newRow("an empty A blocks A and B") << qint64(95) << QVariantList{none, 80, 70, 60, 0} << Letter("(F)");
        QTest::newRow("an empty B blocks B and C") << qint64(75) << QVariantList{90, none, 70, 60, 0} << Letter("(F)");
    }
    void letterFor()
    {
        QFETCH(qint64, earned);
        QFETCH(QVariantList, thresholds);
        QFETCH(Letter, letter);
        QCOMPARE(Grades::letterFor(earned, thresholds[0], thresholds[1], thresholds[2], thresholds[3], thresholds[4]), letter);
    }

    void gradePoints_data()
    {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<Points>("points");
        QTest::newRow("A+") << "A+" << Points(4);
        QTest::newRow("a-, small letters") << "a-" << Points(3.66);
        QTest::newRow("b+") << "b+" << Points(3.33);
        QTest::newRow("C") << "C" << Points(2);
        QTest::newRow("D-") << "D-" << Points(0.66);
        QTest::newRow("F") << "F" << Points(0);
        QTest::newRow("a blank before: none") << " B" << Points();
        QTest::newRow("no letter") << "E" << Points();
    }
    void gradePoints()
    {
        QFETCH(QString, letter);
        QFETCH(Points, points);
        QCOMPARE(Grades::gradePoints(letter), points);
    }

    void gpaText_data()
    {
        QTest::addColumn<double>("gpa");
        QTest::addColumn<QString>("text");
        QTest::newRow("two decimals") << 25.0 / 7.0 << "3.57";
        QTest::newRow("whole") << 3.0 << "3";
        QTest::newRow("infinite") << Inf << "";
        QTest::newRow("no number") << NaN << "";
    }
    void gpaText()
    {
        QFETCH(double, gpa);
        QFETCH(QString, text);
        QCOMPARE(Grades::gpaText(gpa), text);
    }

    void pointsShy_data()
    {
        QTest::addColumn<QVariant>("threshold");
        QTest::addColumn<QString>("earned");
        QTest::addColumn<Shy>("shy");
        QTest::newRow("short of it") << QVariant(100) << "90" << Shy(10);
        QTest::newRow("past it") << QVariant(60) << "90" << Shy(-30);
        QTest::newRow("nothing earned yet") << QVariant(60) << "" << Shy();
        QTest::newRow("beyond 64 bits") << QVariant(qlonglong(9000000000000000000)) << "-9000000000000000000" << Shy();
        QTest::newRow("large figures") << QVariant(qlonglong(1000000000000)) << "1000000000005" << Shy(-5);
        QTest::newRow("no finite number") << QVariant(100) << "1e400" << Shy();
    }
    void pointsShy()
    {
        QFETCH(QVariant, threshold);
        QFETCH(QString, earned);
        QFETCH(Shy, shy);
        QCOMPARE(Grades::pointsShy(threshold, earned), shy);
    }

    // The GPA's totals take what a class can carry, nothing else.
    void gpaTotals()
    {
        QVERIFY(!Grades::GpaTotals().gpa());
        Grades::GpaTotals t;
        QVERIFY(t.add(3, "B"));
        QVERIFY(t.add(4, "a"));
        for (double absurd : {1e308, -1.0, NaN, Inf})
            QVERIFY(!t.add(absurd, "A"));
        QCOMPARE(t.gpa(), Points(25.0 / 7.0));
        QVERIFY(t.add(1000, "A"));
        QVERIFY(t.add(0, "A")); // counts, adds nothing
        QVERIFY(*t.gpa() <= 4);
    }
};

TARVELA_TEST_CLASS(GradesTest)
#include "tst_grades.moc"
