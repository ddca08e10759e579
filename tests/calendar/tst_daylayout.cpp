#include "TestEnv.h"

#include "calendar/DayLayout.h"
#include "calendar/DaySchedule.h"
#include "calendar/MonthMarks.h"
#include "platform/DateText.h"

#include <QLocale>

using DayLayout::Placement;

namespace {
DayEntry at(int h1, int m1, int h2, int m2, const QString &text = QString())
{
    return DayEntry{QTime(h1, m1), QTime(h2, m2), text, QColor(), false};
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
        const auto r1 = DayLayout::rowsOf(QTime(9, 0), QTime(9, 50));
        QCOMPARE(r1.first, 18);
        QCOMPARE(r1.last, 19);
        // Ending on the half hour does not take the next row.
        const auto r2 = DayLayout::rowsOf(QTime(9, 0), QTime(9, 30));
        QCOMPARE(r2.first, 18);
        QCOMPARE(r2.last, 18);
        // One minute is one row high.
        const auto r3 = DayLayout::rowsOf(QTime(14, 15), QTime(14, 16));
        QCOMPARE(r3.first, 28);
        QCOMPARE(r3.last, 28);
        // Past midnight, the wrong way round, or no length: the start's row.
        const auto r4 = DayLayout::rowsOf(QTime(23, 59), QTime(0, 0));
        QCOMPARE(r4.first, 47);
        QCOMPARE(r4.last, 47);
        const auto r5 = DayLayout::rowsOf(QTime(10, 0), QTime(9, 0));
        QCOMPARE(r5.first, 20);
        QCOMPARE(r5.last, 20);
        const auto r6 = DayLayout::rowsOf(QTime(0, 0), QTime(0, 0));
        QCOMPARE(r6.first, 0);
        QCOMPARE(r6.last, 0);
        const auto r7 = DayLayout::rowsOf(QTime(0, 0), QTime(1, 0));
        QCOMPARE(r7.first, 0);
        QCOMPARE(r7.last, 1);
        QCOMPARE(DayLayout::rowStart(30), QTime(15, 0));
        QCOMPARE(DayLayout::rowStart(47), QTime(23, 30));
    }

    void overlappingEntriesStandSideBySide()
    {
        // 9:00-10:00 and 9:30-11:00 share a row; 10:30 shares with the
        // second only, and takes the first column again; 1:00 PM stands alone.
        const QVector<DayEntry> entries = {at(9, 0, 10, 0), at(9, 30, 11, 0), at(10, 30, 10, 45), at(13, 0, 13, 1)};
        const QVector<Placement> p = DayLayout::place(entries);
        QCOMPARE(p.size(), 4);
        QCOMPARE(p[0].column, 0);
        QCOMPARE(p[1].column, 1);
        QCOMPARE(p[2].column, 0);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(p[i].columns, 2);
        QCOMPARE(p[3].column, 0);
        QCOMPARE(p[3].columns, 1);
        QCOMPARE(p[3].firstRow, 26);
        QCOMPARE(p[3].lastRow, 26);
    }

    void theLongerEntryOfOneStartStandsLeft()
    {
        const QVector<DayEntry> entries = {at(8, 0, 8, 1), at(8, 0, 9, 0), at(8, 10, 8, 20)};
        const QVector<Placement> p = DayLayout::place(entries);
        QCOMPARE(p[1].column, 0);
        QCOMPARE(p[0].column, 1);
        QCOMPARE(p[2].column, 2);
        QCOMPARE(p[0].columns, 3);
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
                const bool share = p[a].firstRow <= p[b].lastRow && p[b].firstRow <= p[a].lastRow;
                if (share) {
                    QVERIFY2(p[a].column != p[b].column, qPrintable(QStringLiteral("%1 and %2").arg(a).arg(b)));
                    QCOMPARE(p[a].columns, p[b].columns);
                }
            }
        }
    }

    void theFirstRowShownIsTheEarliestEntryOrEight()
    {
        QCOMPARE(DayLayout::firstRowToShow({}), 16);
        const QVector<DayEntry> entries = {at(14, 0, 15, 0), at(6, 30, 7, 0)};
        QCOMPARE(DayLayout::firstRowToShow(DayLayout::place(entries)), 13);
    }

    void weekdaysPairWithTheirClassFields()
    {
        const QStringList days = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
        for (const QString &day : days) {
            const auto f = DaySchedule::classTimeFields(day);
            QVERIFY(f);
            QCOMPARE(f->from, day + "From");
            QCOMPARE(f->to, day + "To");
        }
        // Compared exactly, letter case included.
        QVERIFY(!DaySchedule::classTimeFields("monday"));
        QVERIFY(!DaySchedule::classTimeFields("Montag"));
        QVERIFY(!DaySchedule::classTimeFields(""));
    }

    void weekdayNamesAreEnglishWhateverTheLocale()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString monday = DateText::weekdayName(QDate(2026, 3, 16));
        const QString sunday = DateText::weekdayName(QDate(2026, 3, 15));
        QLocale::setDefault(before);
        QCOMPARE(monday, QString("Monday"));
        QCOMPARE(sunday, QString("Sunday"));
        QCOMPARE(DateText::weekdayName(QDate(2024, 3, 7)), QString("Thursday"));
        QCOMPARE(DateText::weekdayName(QDate()), QString());
    }

    void itemsShowAtTheirMinuteOrAtOne()
    {
        const DayEntry timed = DaySchedule::itemEntry(QVariant(QTime(14, 15)), "Dentist");
        QCOMPARE(timed.start, QTime(14, 15));
        QCOMPARE(timed.end, QTime(14, 16));
        QCOMPARE(timed.text, QString("Dentist"));
        QCOMPARE(timed.colour, QColor(255, 0, 0));
        QVERIFY(!timed.typed);
        const DayEntry untimed = DaySchedule::itemEntry(QVariant(), "Party");
        QCOMPARE(untimed.start, QTime(13, 0));
        QCOMPARE(untimed.end, QTime(13, 1));
        QCOMPARE(untimed.colour, QColor(255, 0, 0));
    }

    void assignmentsShowAtTheirClassTimes()
    {
        auto e = DaySchedule::assignmentEntry(QVariant(QTime(9, 0)), QVariant(QTime(9, 50)), "Essay");
        QVERIFY(e);
        QCOMPARE(e->start, QTime(9, 0));
        QCOMPARE(e->end, QTime(9, 50));
        QCOMPARE(e->text, QString("Essay"));
        QCOMPARE(e->colour, QColor(255, 0, 0));
        e = DaySchedule::assignmentEntry(QVariant(QTime(0, 0)), QVariant(QTime(0, 0)), "Essay");
        QVERIFY(e);
        QCOMPARE(e->start, QTime(0, 0));
        QCOMPARE(e->end, QTime(0, 30));
        QVERIFY(!DaySchedule::assignmentEntry(QVariant(), QVariant(QTime(9, 50)), "Essay"));
        QVERIFY(!DaySchedule::assignmentEntry(QVariant(QTime(9, 0)), QVariant(), "Essay"));
        QVERIFY(!DaySchedule::assignmentEntry(QVariant(), QVariant(), "Essay"));
        // Midnight to a later time is an ordinary pair.
        e = DaySchedule::assignmentEntry(QVariant(QTime(0, 0)), QVariant(QTime(2, 0)), "Essay");
        QCOMPARE(e->end, QTime(2, 0));
    }

    void todosShowFromMidnightToOne()
    {
        const DayEntry e = DaySchedule::todoEntry("Buy milk");
        QCOMPARE(e.text, QString("(To-Do) Buy milk"));
        QCOMPARE(e.start, QTime(0, 0));
        QCOMPARE(e.end, QTime(1, 0));
        QVERIFY(!e.colour.isValid());
    }

    void monthMarksComeFromMonthAndDay()
    {
        auto md = MonthMarks::ofItem(QVariant(3), QVariant(15));
        QVERIFY(md);
        QCOMPARE(md->month, 3);
        QCOMPARE(md->day, 15);
        // Whole parts; texts as the engine gives them.
        md = MonthMarks::ofItem(QVariant(3.7), QVariant("15"));
        QVERIFY(md);
        QCOMPARE(md->month, 3);
        QVERIFY(MonthMarks::ofItem(QVariant(2), QVariant(29)));
        QVERIFY(!MonthMarks::ofItem(QVariant(), QVariant(15)));
        QVERIFY(!MonthMarks::ofItem(QVariant(3), QVariant()));
        QVERIFY(!MonthMarks::ofItem(QVariant(4), QVariant(31)));
        QVERIFY(!MonthMarks::ofItem(QVariant(13), QVariant(1)));
        QVERIFY(!MonthMarks::ofItem(QVariant(0), QVariant(0)));
        QVERIFY(!MonthMarks::ofItem(QVariant("x"), QVariant(1)));

        md = MonthMarks::ofDueDate(QVariant(QDate(2026, 10, 1)));
        QVERIFY(md);
        QCOMPARE(md->month, 10);
        QCOMPARE(md->day, 1);
        QVERIFY(MonthMarks::ofDueDate(QVariant(QDateTime(QDate(2026, 10, 2), QTime(9, 0)))));
        QVERIFY(!MonthMarks::ofDueDate(QVariant()));
        QVERIFY(!MonthMarks::ofDueDate(QVariant("soon")));
    }
};

TARVELA_TEST_CLASS(DayLayoutTest)
#include "tst_daylayout.moc"
