#include "CalendarHelpers.h"

#include "calendar/DayLayout.h"
#include "calendar/DaySchedule.h"
#include "calendar/MonthMarks.h"
#include "platform/DateText.h"

#include <QLocale>
#include <QScopeGuard>

using DayLayout::Placement;

namespace {
DayEntry at(int h1, int m1, int h2, int m2)
{
    return DayEntry{QTime(h1, m1), QTime(h2, m2), QString(), QColor(), false};
}

// Rows an entry covers, as "first-last".
QString rows(const QTime &start, const QTime &end)
{
    const DayLayout::Rows r = DayLayout::rowsOf(start, end);
    return QStringLiteral("%1-%2").arg(r.first).arg(r.last);
}

// Placements as "column/columns" each.
QString columns(const QVector<DayEntry> &entries)
{
    QStringList out;
    for (const Placement &p : DayLayout::place(entries))
        out << QStringLiteral("%1/%2").arg(p.column).arg(p.columns);
    return out.join(' ');
}

QString line(const std::optional<DayEntry> &e)
{
    if (!e)
        return QStringLiteral("none");
    return QStringLiteral("%1-%2 %3 %4 %5")
        .arg(e->start.toString("HH:mm"), e->end.toString("HH:mm"), e->text,
             e->colour.isValid() ? e->colour.name() : QStringLiteral("default"), e->typed ? "typed" : "made");
}

// The days the due dates and the calendar items mark, each once, in the
// order of the year.
QString markedDays()
{
    auto db = Database::open(TestEnv::databasePath());
    QMap<int, QString> days;
    for (const MonthMarks::MonthDay &d : MonthMarks::ofDueDates(*db) + MonthMarks::ofItems(*db))
        days.insert(MonthMarks::key(d), QStringLiteral("%1/%2").arg(d.month).arg(d.day));
    return QStringList(days.values()).join(QStringLiteral(", "));
}
} // namespace

// Placing day-view entries, the weekday's class times, the entries a day is
// made of and the month marks, all without a window.
class DayLayoutTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void entriesCoverTheirHalfHours()
    {
        QCOMPARE(rows(QTime(9, 0), QTime(9, 50)), QString("18-19"));
        // Ending on the half hour does not take the next row.
        QCOMPARE(rows(QTime(9, 0), QTime(9, 30)), QString("18-18"));
        QCOMPARE(rows(QTime(0, 0), QTime(1, 0)), QString("0-1"));
        // One minute is one row high.
        QCOMPARE(rows(QTime(14, 15), QTime(14, 16)), QString("28-28"));
        // Past midnight, the wrong way round, or no length: the start's row.
        QCOMPARE(rows(QTime(23, 59), QTime(0, 0)), QString("47-47"));
        QCOMPARE(rows(QTime(10, 0), QTime(9, 0)), QString("20-20"));
        QCOMPARE(rows(QTime(0, 0), QTime(0, 0)), QString("0-0"));
        QCOMPARE(DayLayout::rowStart(30), QTime(15, 0));
        QCOMPARE(DayLayout::rowStart(47), QTime(23, 30));
    }

    void overlappingEntriesStandSideBySide()
    {
        // 9:00-10:00 and 9:30-11:00 share a row; 10:30 shares with the
        // second only, and takes the first column again; 1:00 PM stands alone.
        QCOMPARE(columns({at(9, 0, 10, 0), at(9, 30, 11, 0), at(10, 30, 10, 45), at(13, 0, 13, 1)}), QString("0/2 1/2 0/2 0/1"));
        // At one start the longer entry stands left.
        QCOMPARE(columns({at(8, 0, 8, 1), at(8, 0, 9, 0), at(8, 10, 8, 20)}), QString("1/3 0/3 2/3"));
        const Placement alone = DayLayout::place({at(13, 0, 13, 1)}).first();
        QCOMPARE(QString("%1-%2").arg(alone.firstRow).arg(alone.lastRow), QString("26-26"));
    }

    void aHundredEntriesAreAllPlaced()
    {
        QVector<DayEntry> entries;
        for (int i = 0; i < 100; ++i)
            entries.push_back(at(8 + i % 10, (i * 7) % 60, 9 + i % 10, 0));
        const QVector<Placement> p = DayLayout::place(entries);
        QCOMPARE(p.size(), 100);
        // No two entries sharing a row share a column.
        for (int a = 0; a < 100; ++a) {
            QVERIFY(p[a].column < p[a].columns);
            for (int b = a + 1; b < 100; ++b) {
                if (p[a].firstRow <= p[b].lastRow && p[b].firstRow <= p[a].lastRow) {
                    QVERIFY2(p[a].column != p[b].column, qPrintable(QStringLiteral("%1 and %2").arg(a).arg(b)));
                    QCOMPARE(p[a].columns, p[b].columns);
                }
            }
        }
    }

    void theFirstRowShownIsTheEarliestEntryOrEight()
    {
        QCOMPARE(DayLayout::firstRowToShow({}), 16);
        QCOMPARE(DayLayout::firstRowToShow(DayLayout::place({at(14, 0, 15, 0), at(6, 30, 7, 0)})), 13);
    }

    void weekdaysAreEnglishAndPairWithTheirClassFields()
    {
        for (const QString day : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}) {
            const auto f = DaySchedule::classTimeFields(day);
            QVERIFY(f);
            QCOMPARE(f->from + " " + f->to, day + "From " + day + "To");
        }
        // Compared exactly, letter case included.
        for (const char *other : {"monday", "Montag", ""})
            QVERIFY2(!DaySchedule::classTimeFields(other), other);
        // The names are English whatever the locale.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString names = DateText::weekdayName(QDate(2026, 3, 16)) + " " + DateText::weekdayName(QDate(2026, 3, 15));
        QLocale::setDefault(before);
        QCOMPARE(names, QString("Monday Sunday"));
        QCOMPARE(DateText::weekdayName(QDate()), QString());
    }

    void assignmentEntriesOfOtherClassTimes()
    {
        // (theEntriesOfADay covers items, to-dos and the usual class times.)
        const auto due = [](const QVariant &from, const QVariant &to) { return line(DaySchedule::assignmentEntry(from, to, "Essay")); };
        // Midnight to a later time is an ordinary pair; either time missing is no entry.
        QCOMPARE(due(QTime(0, 0), QTime(2, 0)), QString("00:00-02:00 Essay #ff0000 made"));
        QCOMPARE(due(QVariant(), QTime(9, 50)), QString("none"));
        QCOMPARE(due(QVariant(), QVariant()), QString("none"));
    }

    // Whatever form a due date or an item's month and day are stored in
    // (another program may write any), the days marked are those the
    // store's reading of the value gives.
    void marksOfEveryStoredForm_data()
    {
        QTest::addColumn<QVariant>("dateDue");
        QTest::addColumn<QVariant>("month");
        QTest::addColumn<QVariant>("day");
        QTest::addColumn<QString>("marked");
        const QVariant none;
        QTest::newRow("date") << QVariant("2026-10-08") << none << none << "10/8";
        QTest::newRow("date and time") << QVariant("2026-11-02 08:00:00") << none << none << "11/2";
        QTest::newRow("last second of a day") << QVariant("2026-07-02 23:59:59") << none << none << "7/2";
        QTest::newRow("no such hour") << QVariant("2026-07-01 25:00:00") << none << none << "";
        QTest::newRow("parts of a second") << QVariant("2026-07-03 08:00:00.000") << none << none << "";
        QTest::newRow("no such day") << QVariant("2026-02-30") << none << none << "";
        QTest::newRow("no such month") << QVariant("2026-13-01") << none << none << "";
        QTest::newRow("leap day") << QVariant("2024-02-29") << none << none << "2/29";
        QTest::newRow("leap day of no leap year") << QVariant("2023-02-29") << none << none << "";
        QTest::newRow("year 0") << QVariant("0000-01-05") << none << none << "";
        QTest::newRow("month first") << QVariant("10/15/2025") << none << none << "10/15";
        QTest::newRow("two-digit year") << QVariant("12/31/99") << none << none << "12/31";
        QTest::newRow("blank before") << QVariant(" 2026-04-01") << none << none << "4/1";
        QTest::newRow("one digit") << QVariant("2026-4-5") << none << none << "4/5";
        QTest::newRow("T between") << QVariant("2026-05-06T08:00") << none << none << "5/6";
        QTest::newRow("short time after") << QVariant("2026-12-30 8:00") << none << none << "12/30";
        QTest::newRow("letters after") << QVariant("2026-08-09xyz") << none << none << "";
        QTest::newRow("a time only") << QVariant("08:00:00") << none << none << "12/30";
        QTest::newRow("a whole number") << QVariant(qlonglong(20260101)) << none << none << "";
        QTest::newRow("a fraction") << QVariant(2460963.5) << none << none << "";
        QTest::newRow("empty") << QVariant("") << none << none << "";
        QTest::newRow("item") << none << QVariant(3) << QVariant(15) << "3/15";
        QTest::newRow("item on a leap day") << none << QVariant(2) << QVariant(29) << "2/29";
        QTest::newRow("item in text") << none << QVariant("4") << QVariant(" 10") << "4/10";
        QTest::newRow("item in fractions") << none << QVariant(5.7) << QVariant(6.2) << "5/6";
        QTest::newRow("item of no day") << none << QVariant(4) << QVariant(31) << "";
        QTest::newRow("item of month 13") << none << QVariant(13) << QVariant(1) << "";
        QTest::newRow("item of month 0") << none << QVariant(0) << QVariant(0) << "";
        QTest::newRow("item with letters") << none << QVariant("x") << QVariant(1) << "";
        QTest::newRow("item without month") << none << none << QVariant(5) << "";
    }

    void marksOfEveryStoredForm()
    {
        QFETCH(QVariant, dateDue);
        QFETCH(QVariant, month);
        QFETCH(QVariant, day);
        QFETCH(QString, marked);
        TestEnv::createDatabase();
        TestEnv::exec("INSERT INTO Assignments (Class_ID, AssignmentTitle, DateDue) VALUES (1, 'Work', ?)", {dateDue});
        TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemText, Month, Day) VALUES ('2026-01-01', 'Item', ?, ?)", {month, day});
        QCOMPARE(markedDays(), marked);
    }

    // Many items, with empty halves and the same pair written in several
    // ways among them: none is passed over.
    void marksOfManyItems()
    {
        TestEnv::createDatabase();
        const QList<QPair<QVariant, QVariant>> items = {{3, 15}, {4, QVariant()}, {4, 5}, {4, "6"}, {QVariant(), 7}, {5.5, 1},
                                                        {5, 1}, {4, 5.0}, {12, 31}, {"x", 2}, {6, QVariant()}, {6, 30}, {4, 5}};
        for (const auto &[month, day] : items)
            TestEnv::exec("INSERT INTO CalItems (ItemDate, ItemText, Month, Day) VALUES ('2026-01-01', 'Item', ?, ?)", {month, day});
        QCOMPARE(markedDays(), QString("3/15, 4/5, 4/6, 5/1, 6/30, 12/31"));
    }

    // What a day is made of: its items (at 1:00 PM when they have no time),
    // the work due that day at the times its class meets on that weekday,
    // and its to-dos; the details of its last item with a time and details.
    void theEntriesOfADay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("details");
        QTest::newRow("monday") << QDate(2026, 3, 16)
                                << QStringList{"14:15-14:16 Dentist #ff0000", "13:00-13:01 Mom's party #ff0000",
                                               "08:00-08:01 Review #ff0000", "13:00-13:01 Untimed #ff0000",
                                               "09:00-09:50 Essay #ff0000", "00:00-00:30 Sketch #ff0000",
                                               "00:00-01:00 (To-Do) Buy milk default"}
                                << "Chapter 4";
        QTest::newRow("tuesday") << QDate(2026, 3, 17)
                                 << QStringList{"08:00-08:01 Other day #ff0000", "11:00-12:00 Lab quiz #ff0000",
                                                "00:00-01:00 (To-Do) Tomorrow's task default"}
                                 << "none";
    }

    void theEntriesOfADay()
    {
        QFETCH(QDate, date);
        QFETCH(QStringList, entries);
        QFETCH(QString, details);
        using namespace CalendarHelpers;
        // The weekday's class times are found whatever the machine's language.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        const int sem = semesterId();
        const int biology = addClass(sem, "Biology");
        setClassTimes(biology, "Monday", "09:00:00", "09:50:00");
        const int art = addClass(sem, "Women's Art");
        setClassTimes(art, "Monday", "00:00:00", "00:00:00");
        const int music = addClass(sem, "Music");
        setClassTimes(music, "Monday", "10:00:00", QVariant());
        const int chemistry = addClass(sem, "Chemistry");
        setClassTimes(chemistry, "Tuesday", "11:00:00", "12:00:00");
        const QString monday = "2026-03-16";
        addCalItem(monday, "14:15:00", "Dentist", "Bring the card");
        addCalItem(monday, QVariant(), "Mom's party");
        // The last stored of those with a time and details is named, not the latest in the day.
        addCalItem(monday, "08:00:00", "Review", "Chapter 4");
        addCalItem(monday, QVariant(), "Untimed", "Untimed details");
        addCalItem(monday, "12:00:00", QString(), "No text"); // passed over
        addCalItem("2026-03-17", "08:00:00", "Other day");
        addAssignment(biology, "Essay", 10, QVariant(), monday);
        addAssignment(art, "Sketch", 10, QVariant(), monday);
        addAssignment(music, "Scales", 10, QVariant(), monday);
        addAssignment(chemistry, "Titration", 10, QVariant(), monday);
        addAssignment(999, "Orphan", 10, QVariant(), monday);
        addAssignment(biology, QString(), 10, QVariant(), monday); // no title: passed over
        addAssignment(chemistry, "Lab quiz", 10, QVariant(), "2026-03-17");
        addTask(monday, "Buy milk");
        addTask("2026-03-17", "Tomorrow's task");
        auto db = Database::open(TestEnv::databasePath());
        const DaySchedule::Content day = DaySchedule::build(*db, date);
        QStringList lines;
        for (const DayEntry &e : day.entries)
            lines << line(e).remove(QStringLiteral(" made")); // made anew, none typed
        QCOMPARE(lines, entries);
        QCOMPARE(day.details.value_or("none"), details);
    }
};

TARVELA_TEST_CLASS(DayLayoutTest)
#include "tst_daylayout.moc"
