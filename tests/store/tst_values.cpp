#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/Values.h"

namespace {

// The error a conversion raises: its number and description (0 when none).
struct Raised {
    int number = 0;
    QString description;
};

Raised raised(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return Raised{e.number(), e.description()};
    }
    return Raised{};
}

const Schema::Field *field(const char *table, const char *name)
{
    return Schema::field(QString::fromLatin1(table), QString::fromLatin1(name));
}

QString emoji(int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units
    return s;
}

} // namespace

// What the store takes and gives back: number ranges, fractions typed by
// the user, lengths in characters, and values read as the file holds them.
class ValuesTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void numbersOutsideTheirFieldAreRefusedClearly()
    {
        const Schema::Field *day = field("CalItems", "Day");       // 16-bit
        const Schema::Field *points = field("Assignments", "ActualPoints"); // 32-bit
        QCOMPARE(Values::toStorage(day, "32767"), QVariant(32767));
        QCOMPARE(Values::toStorage(day, -32768), QVariant(-32768));
        Raised r = raised([&] { Values::toStorage(day, "32768"); });
        QCOMPARE(r.number, int(Err::Overflow));
        QVERIFY2(r.description.contains("32768") && r.description.contains("Day")
                     && r.description.contains("from -32768 to 32767"),
                 qPrintable(r.description));
        QCOMPARE(raised([&] { Values::toStorage(day, -32769); }).number, int(Err::Overflow));

        QCOMPARE(Values::toStorage(points, "2147483647"), QVariant(2147483647));
        QCOMPARE(Values::toStorage(points, "-2147483648"), QVariant(int(-2147483647 - 1)));
        r = raised([&] { Values::toStorage(points, "2147483648"); });
        QCOMPARE(r.number, int(Err::Overflow));
        QVERIFY2(r.description.contains("2147483648") && r.description.contains("ActualPoints")
                     && r.description.contains("from -2147483648 to 2147483647"),
                 qPrintable(r.description));
        QCOMPARE(raised([&] { Values::toStorage(points, qlonglong(1000000000000)); }).number, int(Err::Overflow));
        QCOMPARE(raised([&] { Values::toStorage(points, 1e12); }).number, int(Err::Overflow));
        QCOMPARE(raised([&] { Values::toStorage(points, "99999999999999999999999"); }).number, int(Err::Overflow));
        QCOMPARE(raised([&] { Values::toStorage(points, "-inf"); }).number, int(Err::Overflow));
        QCOMPARE(raised([&] { Values::toStorage(points, "ten"); }).number, int(Err::TypeMismatch));

        // Through a recordset: refused before anything is written.
        TestEnv::createDatabase();
        auto db = TestEnv::open();
        auto rs = db->openRecordset("CalItems");
        rs->AddNew();
        QCOMPARE(raised([&] { rs->setValue("Year", 40000); }).number, int(Err::Overflow));
        rs->setValue("Year", 2026);
        rs->Update();
        QCOMPARE(TestEnv::scalar("SELECT Year FROM CalItems").toInt(), 2026);
    }

    void typedFractionsAreRefusedNotRounded()
    {
        const Schema::Field *points = field("Assignments", "ActualPoints");
        const Raised r = raised([&] { Values::typedToStorage(points, "3.5"); });
        QCOMPARE(r.number, int(Err::TypeMismatch));
        QVERIFY2(r.description.contains("ActualPoints takes whole numbers only") && r.description.contains("\"3.5\""),
                 qPrintable(r.description));
        QCOMPARE(raised([&] { Values::typedToStorage(field("CalItems", "Day"), " 0.25 "); }).number, int(Err::TypeMismatch));
        // Whole numbers however written are taken; empty is Null.
        QCOMPARE(Values::typedToStorage(points, "3.0"), QVariant(3));
        QCOMPARE(Values::typedToStorage(points, " 1e3 "), QVariant(1000));
        QCOMPARE(Values::typedToStorage(points, "-7"), QVariant(-7));
        QVERIFY(Values::typedToStorage(points, "").isNull());
        QCOMPARE(raised([&] { Values::typedToStorage(points, "2147483648"); }).number, int(Err::Overflow));
        // A double field takes its fraction.
        QCOMPARE(Values::typedToStorage(field("Classes", "CreditHours"), "3.5"), QVariant(3.5));
        // The engine's own conversion (the class transfer file) still rounds.
        QCOMPARE(Values::toStorage(points, "3.5"), QVariant(4));
        QCOMPARE(Values::toStorage(points, "2.5"), QVariant(2));
    }

    void creditHoursHaveASaneRange()
    {
        const Schema::Field *hours = field("Classes", "CreditHours");
        QCOMPARE(Values::toStorage(hours, "0"), QVariant(0.0));
        QCOMPARE(Values::toStorage(hours, "1000"), QVariant(1000.0));
        Raised r = raised([&] { Values::toStorage(hours, "1e308"); });
        QCOMPARE(r.number, int(Err::Overflow));
        QVERIFY2(r.description.contains("1e308") && r.description.contains("CreditHours") && r.description.contains("from 0 to 1000"),
                 qPrintable(r.description));
        QCOMPARE(raised([&] { Values::toStorage(hours, "1000.5"); }).number, int(Err::Overflow));
        QCOMPARE(raised([&] { Values::toStorage(hours, -1.0); }).number, int(Err::Overflow));
        QCOMPARE(raised([&] { Values::toStorage(hours, "inf"); }).number, int(Err::TypeMismatch));
    }

    void lengthsCountCharactersAsTheDatabaseDoes()
    {
        QCOMPARE(TextCodec::characterCount(QString()), 0);
        QCOMPARE(TextCodec::characterCount(emoji(3)), 3);
        QCOMPARE(TextCodec::characterCount(QStringLiteral("a") + emoji(1) + QStringLiteral("\u00e9")), 3);
        QCOMPARE(TextCodec::characterCount(QString(QChar(0xD83D))), 1); // a lone half counts once

        TestEnv::createDatabase();
        const Schema::Field *title = field("Assignments", "AssignmentTitle");
        QCOMPARE(title->length, 200);
        const QString fits = QStringLiteral("Essay ") + emoji(150); // 156 characters, 306 UTF-16 units
        auto db = TestEnv::open();
        auto rs = db->openRecordset("Assignments");
        rs->AddNew();
        rs->setValue("AssignmentTitle", fits);
        rs->Update();
        rs->MoveLast();
        QCOMPARE(rs->value("AssignmentTitle").toString(), fits);
        QCOMPARE(TestEnv::scalar("SELECT length(AssignmentTitle) FROM Assignments").toInt(), 156);

        // At the limit both the store and the file's own check agree.
        rs->Edit();
        rs->setValue("AssignmentTitle", emoji(200));
        rs->Update();
        QCOMPARE(TestEnv::scalar("SELECT length(AssignmentTitle) FROM Assignments").toInt(), 200);
        rs->Edit();
        const Raised r = raised([&] { rs->setValue("AssignmentTitle", emoji(201)); });
        QCOMPARE(r.number, int(Err::FieldTooSmall));
        QVERIFY2(r.description.contains("201 characters") && r.description.contains("at most 200"), qPrintable(r.description));
        rs->CancelUpdate();
        QVERIFY(raised([&] { TestEnv::exec("UPDATE Assignments SET AssignmentTitle = ?", {emoji(201)}); }).number != 0);
        QCOMPARE(TestEnv::scalar("SELECT length(AssignmentTitle) FROM Assignments").toInt(), 200);
    }

    void numbersInTheFileAreShownAsStored()
    {
        TestEnv::createDatabase();
        // What another tool may have put into the file.
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, MaxPointsPossible, ActualPoints) VALUES ('Big', ?, ?)",
                      {qlonglong(1000000000000), qlonglong(-5000000000)});
        TestEnv::exec("INSERT INTO Assignments (AssignmentTitle, MaxPointsPossible, ActualPoints) VALUES ('Odd', 2.5, 'lots')");
        TestEnv::exec("INSERT INTO Classes (ClassName, CreditHours) VALUES ('Text hours', 'three')");
        auto db = TestEnv::open();
        auto rs = db->openRecordset("SELECT * FROM Assignments ORDER BY ID", Database::Snapshot);
        QCOMPARE(rs->value("MaxPointsPossible"), QVariant(qlonglong(1000000000000)));
        QCOMPARE(rs->value("ActualPoints"), QVariant(qlonglong(-5000000000)));
        QCOMPARE(Values::displayText(rs->value("MaxPointsPossible")), QString("1000000000000"));
        QVERIFY(rs->FindFirst("MaxPointsPossible", qlonglong(1000000000000)));
        rs->MoveNext();
        QCOMPARE(rs->value("MaxPointsPossible"), QVariant(2.5));
        QCOMPARE(rs->value("ActualPoints"), QVariant(QString("lots")));
        auto classes = db->openRecordset("Classes", Database::Snapshot);
        QCOMPARE(classes->value("CreditHours"), QVariant(QString("three")));
        // Whole numbers the store wrote come back as 64-bit integers.
        auto types = db->openRecordset("Semesters");
        types->AddNew();
        types->setValue("TotalClasses", 7);
        types->Update();
        types->MoveLast();
        QCOMPARE(types->value("TotalClasses"), QVariant(qlonglong(7)));
    }

    void storedDatesAndTimesReadAsBefore_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("date") << "2026-10-01" << QVariant(QDate(2026, 10, 1));
        QTest::newRow("leap day") << "2028-02-29" << QVariant(QDate(2028, 2, 29));
        QTest::newRow("time") << "15:30:05" << QVariant(QTime(15, 30, 5));
        QTest::newRow("midnight") << "00:00:00" << QVariant(QTime(0, 0));
        QTest::newRow("both") << "2026-12-09 08:05:00" << QVariant(QDateTime(QDate(2026, 12, 9), QTime(8, 5)));
        QTest::newRow("time on the zero day") << "1899-12-30 15:30:00" << QVariant(QDateTime(QDate(1899, 12, 30), QTime(15, 30)));
        // Forms the store does not write go the general way.
        QTest::newRow("typed date") << "10/1/2026" << QVariant(QDate(2026, 10, 1));
        QTest::newRow("typed time") << "3:00 PM" << QVariant(QTime(15, 0));
        QTest::newRow("ISO with T") << "2026-10-01T09:00:00" << QVariant(QDateTime(QDate(2026, 10, 1), QTime(9, 0)));
        QTest::newRow("no such day") << "2026-02-30" << QVariant(QString("2026-02-30"));
        QTest::newRow("no such hour") << "25:00:00" << QVariant(QString("25:00:00"));
        QTest::newRow("not a date") << "someday" << QVariant(QString("someday"));
    }
    void storedDatesAndTimesReadAsBefore()
    {
        QFETCH(QString, stored);
        QFETCH(QVariant, value);
        const QVariant got = Values::fromStorage(field("Assignments", "DateDue"), stored);
        QCOMPARE(got.typeId(), value.typeId());
        QCOMPARE(got, value);
        // Read back from the file the same way.
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (DateDue) VALUES (?)", {stored});
        auto db = TestEnv::open();
        auto rs = db->openRecordset("Assignments", Database::Snapshot);
        QCOMPARE(rs->value("DateDue"), value);
        QCOMPARE(rs->valueAt(0, "DateDue"), value);
    }
};

TARVELA_TEST_CLASS(ValuesTest)
#include "tst_values.moc"
