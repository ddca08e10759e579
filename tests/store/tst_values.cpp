#include "TestEnv.h"

#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/Values.h"

using namespace TestEnv;

namespace {

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
    void valuesForTheirFields_data()
    {
        QTest::addColumn<QString>("field");   // table.field
        QTest::addColumn<bool>("typed");      // typed by the user, or converted as the engine does
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("stored"); // invalid: Null, or refused when `error` is given
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("told"); // what the refusal names
        const auto row = [](const char *name, const char *field, bool typed, const QVariant &value, const QVariant &stored,
                            int error = 0, const QStringList &told = {}) {
            QTest::newRow(name) << QString(field) << typed << value << stored << error << told;
        };
        const int over = Err::Overflow, mismatch = Err::TypeMismatch;
        const char *day = "CalItems.Day", *points = "Assignments.ActualPoints", *hours = "Classes.CreditHours";
        // A 16-bit and a 32-bit field.
        row("day highest", day, false, "32767", 32767);
        row("day lowest", day, false, -32768, -32768);
        row("day above", day, false, "32768", {}, over, {"32768", "Day", "from -32768 to 32767"});
        row("day below", day, false, -32769, {}, over);
        row("points highest", points, false, "2147483647", 2147483647);
        row("points lowest", points, false, "-2147483648", int(-2147483647 - 1));
        row("points above", points, false, "2147483648", {}, over, {"2147483648", "ActualPoints", "from -2147483648 to 2147483647"});
        row("64-bit", points, false, qlonglong(1000000000000), {}, over);
        row("double", points, false, 1e12, {}, over);
        row("long text", points, false, "99999999999999999999999", {}, over);
        row("minus infinity", points, false, "-inf", {}, over);
        row("words", points, false, "ten", {}, mismatch);
        // The engine's own conversion (the class transfer file) rounds.
        row("rounded up", points, false, "3.5", 4);
        row("rounded to even", points, false, "2.5", 2);
        // Typed fractions are refused, not rounded; whole numbers however written are taken.
        row("typed fraction", points, true, "3.5", {}, mismatch, {"ActualPoints takes whole numbers only", "\"3.5\""});
        row("typed day fraction", day, true, " 0.25 ", {}, mismatch);
        row("typed 3.0", points, true, "3.0", 3);
        row("typed 1e3", points, true, " 1e3 ", 1000);
        row("typed -7", points, true, "-7", -7);
        row("typed empty", points, true, "", {});
        row("typed above", points, true, "2147483648", {}, over);
        row("typed hours", hours, true, "3.5", 3.5);
        // Credit hours have a sane range.
        row("no hours", hours, false, "0", 0.0);
        row("most hours", hours, false, "1000", 1000.0);
        row("absurd hours", hours, false, "1e308", {}, over, {"1e308", "CreditHours", "from 0 to 1000"});
        row("hours above", hours, false, "1000.5", {}, over);
        row("hours below", hours, false, -1.0, {}, over);
        row("infinite hours", hours, false, "inf", {}, mismatch);
    }

    void valuesForTheirFields()
    {
        QFETCH(QString, field);
        QFETCH(bool, typed);
        QFETCH(QVariant, value);
        QFETCH(QVariant, stored);
        QFETCH(int, error);
        QFETCH(QStringList, told);
        const QStringList name = field.split('.');
        const Schema::Field *f = Schema::field(name[0], name[1]);
        QVERIFY(f);
        QVariant got;
        QString description;
        QCOMPARE(errorNumber([&] { got = typed ? Values::typedToStorage(f, value) : Values::toStorage(f, value); }, &description),
                 error);
        for (const QString &part : told)
            QVERIFY2(description.contains(part), qPrintable(description));
        if (!error && stored.isValid())
            QCOMPARE(got, stored);
        else if (!error)
            QVERIFY(got.isNull());
    }

    void lengthsAndRangesHoldThroughARecordset()
    {
        QCOMPARE(TextCodec::characterCount(QString()), 0);
        QCOMPARE(TextCodec::characterCount(QStringLiteral("a") + emoji(1) + QStringLiteral("\u00e9")), 3);
        QCOMPARE(TextCodec::characterCount(QString(QChar(0xD83D))), 1); // a lone half counts once

        createDatabase();
        auto db = open();
        // A number outside its field is refused before anything is written.
        auto items = db->openRecordset("CalItems");
        items->AddNew();
        QCOMPARE(errorNumber([&] { items->setValue("Year", 40000); }), int(Err::Overflow));
        items->setValue("Year", 2026);
        items->Update();
        QCOMPARE(scalar("SELECT Year FROM CalItems").toInt(), 2026);

        QCOMPARE(Schema::field("Assignments", "AssignmentTitle")->length, 200);
        const QString fits = QStringLiteral("Essay ") + emoji(150); // 156 characters, 306 UTF-16 units
        auto rs = db->openRecordset("Assignments");
        rs->AddNew();
        rs->setValue("AssignmentTitle", fits);
        rs->Update();
        rs->MoveLast();
        QCOMPARE(rs->value("AssignmentTitle").toString(), fits);
        QCOMPARE(scalar("SELECT length(AssignmentTitle) FROM Assignments").toInt(), 156);
        // At the limit both the store and the file's own check agree.
        rs->Edit();
        rs->setValue("AssignmentTitle", emoji(200));
        rs->Update();
        rs->Edit();
        QString description;
        QCOMPARE(errorNumber([&] { rs->setValue("AssignmentTitle", emoji(201)); }, &description), int(Err::FieldTooSmall));
        QVERIFY2(description.contains("201 characters") && description.contains("at most 200"), qPrintable(description));
        rs->CancelUpdate();
        // The file's own check, reached past the store's, is told as plainly.
        QCOMPARE(errorNumber([&] { exec("UPDATE Assignments SET AssignmentTitle = ?", {emoji(201)}); }, &description),
                 int(Err::FieldTooSmall));
        QCOMPARE(description, QString("The text for AssignmentTitle is too long: at most 200 characters are allowed."));
        QCOMPARE(scalar("SELECT length(AssignmentTitle) FROM Assignments").toInt(), 200);
    }

    void aYesNoFieldIsNeverNull_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("other"); // a text field of the same table
        QTest::newRow("assignment done") << "Assignments" << "Completed" << "AssignmentTitle";
        QTest::newRow("alarm sound") << "CalItems" << "AlarmEnabledAudio" << "ItemText";
        QTest::newRow("alarm notice") << "CalItems" << "AlarmEnabledNotice" << "ItemText";
        QTest::newRow("class closed") << "Classes" << "ClassClosed" << "ClassName";
        QTest::newRow("applies to GPA") << "Classes" << "AppliesToGPA" << "ClassName";
        QTest::newRow("task done") << "Tasks" << "Completed" << "Details";
    }

    void aYesNoFieldIsNeverNull()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, other);
        const QString stored = QString("SELECT group_concat(v, ';') FROM (SELECT quote(\"%1\") || '|' || \"%2\" AS v FROM %3 ORDER BY 1)")
                                   .arg(field, other, table);
        createDatabase();
        // Rows another program left with Null and with yes: at open the Null
        // becomes no, and nothing else changes.
        exec(QString("INSERT INTO %1 (\"%2\", \"%3\") VALUES (NULL, 'left Null'), (1, 'yes')").arg(table, field, other));
        auto db = Database::open(databasePath());
        QCOMPARE(scalar(stored).toString(), QString("0|left Null;1|yes"));
        // A row added without the field holds no; Null or a blank written into it is no.
        auto rs = db->openRecordset(table);
        rs->AddNew();
        rs->setValue(other, "added");
        rs->Update();
        QCOMPARE(scalar(QString("SELECT quote(\"%1\") FROM %2 WHERE \"%3\" = 'added'").arg(field, table, other)).toString(), QString("0"));
        for (const QVariant &none : {QVariant(), QVariant(QString()), QVariant(QString("  "))}) {
            rs->MoveFirst();
            while (rs->value(other).toString() != "yes")
                rs->MoveNext();
            rs->Edit();
            rs->setValue(field, none);
            rs->Update();
            QCOMPARE(scalar(QString("SELECT quote(\"%1\") FROM %2 WHERE \"%3\" = 'yes'").arg(field, table, other)).toString(), QString("0"));
            QCOMPARE(rs->value(field), QVariant(false));
            exec(QString("UPDATE %1 SET \"%2\" = 1 WHERE \"%3\" = 'yes'").arg(table, field, other));
            rs = db->openRecordset(table);
        }
    }

    void numbersInTheFileAreShownAsStored()
    {
        createDatabase();
        // What another tool may have put into the file.
        exec("INSERT INTO Assignments (AssignmentTitle, MaxPointsPossible, ActualPoints) VALUES ('Big', ?, ?)",
             {qlonglong(1000000000000), qlonglong(-5000000000)});
        exec("INSERT INTO Assignments (AssignmentTitle, MaxPointsPossible, ActualPoints) VALUES ('Odd', 2.5, 'lots')");
        exec("INSERT INTO Classes (ClassName, CreditHours) VALUES ('Text hours', 'three')");
        auto db = open();
        auto rs = db->openRecordset("SELECT * FROM Assignments ORDER BY ID", Database::Snapshot);
        QCOMPARE(rs->value("MaxPointsPossible"), QVariant(qlonglong(1000000000000)));
        QCOMPARE(rs->value("ActualPoints"), QVariant(qlonglong(-5000000000)));
        QCOMPARE(Values::displayText(rs->value("MaxPointsPossible")), QString("1000000000000"));
        QVERIFY(rs->FindFirst("MaxPointsPossible", qlonglong(1000000000000)));
        rs->MoveNext();
        QCOMPARE(rs->value("MaxPointsPossible"), QVariant(2.5));
        QCOMPARE(rs->value("ActualPoints"), QVariant(QString("lots")));
        QCOMPARE(db->openRecordset("Classes", Database::Snapshot)->value("CreditHours"), QVariant(QString("three")));
        // Whole numbers the store wrote come back as 64-bit integers.
        auto semesters = db->openRecordset("Semesters");
        semesters->AddNew();
        semesters->setValue("TotalClasses", 7);
        semesters->Update();
        semesters->MoveLast();
        QCOMPARE(semesters->value("TotalClasses"), QVariant(qlonglong(7)));
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
        const QVariant got = Values::fromStorage(Schema::field("Assignments", "DateDue"), stored);
        QCOMPARE(got.typeId(), value.typeId());
        QCOMPARE(got, value);
        // Read back from the file the same way.
        createDatabase();
        exec("INSERT INTO Assignments (DateDue) VALUES (?)", {stored});
        auto db = open();
        auto rs = db->openRecordset("Assignments", Database::Snapshot);
        QCOMPARE(rs->value("DateDue"), value);
        QCOMPARE(rs->valueAt(0, "DateDue"), value);
    }
};

TARVELA_TEST_CLASS(ValuesTest)
#include "tst_values.moc"
