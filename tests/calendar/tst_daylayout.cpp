#include "TestEnv.h"

#include "calendar/DayLayout.h"
#include "calendar/DaySchedule.h"
#include "calendar/MonthMarks.h"
#include "platform/DateText.h"

#include <QLocale>

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

QString mark(const std::optional<MonthMarks::MonthDay> &d)
{
    return d ? QStringLiteral("%1/%2").arg(d->month).arg(d->day) : QStringLiteral("none");
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
        // (The calendar window test covers items, to-dos and the usual class times.)
        const auto due = [](const QVariant &from, const QVariant &to) { return line(DaySchedule::assignmentEntry(from, to, "Essay")); };
        // Midnight to a later time is an ordinary pair; either time missing is no entry.
        QCOMPARE(due(QTime(0, 0), QTime(2, 0)), QString("00:00-02:00 Essay #ff0000 made"));
        QCOMPARE(due(QVariant(), QTime(9, 50)), QString("none"));
        QCOMPARE(due(QVariant(), QVariant()), QString("none"));
    }

    void monthMarksComeFromMonthAndDay()
    {
        // (The calendar window test covers a plain item, month 13 and stored due dates.)
        // Whole parts; texts as the engine gives them.
        QCOMPARE(mark(MonthMarks::ofItem(3.7, "15")), QString("3/15"));
        QCOMPARE(mark(MonthMarks::ofItem(2, 29)), QString("2/29"));
        QCOMPARE(mark(MonthMarks::ofItem(QVariant(), 15)), QString("none"));
        QCOMPARE(mark(MonthMarks::ofItem(3, QVariant())), QString("none"));
        QCOMPARE(mark(MonthMarks::ofItem(4, 31)), QString("none"));
        QCOMPARE(mark(MonthMarks::ofItem(0, 0)), QString("none"));
        QCOMPARE(mark(MonthMarks::ofItem("x", 1)), QString("none"));
        QCOMPARE(mark(MonthMarks::ofDueDate(QDate(2026, 10, 1))), QString("10/1"));
        QCOMPARE(mark(MonthMarks::ofDueDate(QDateTime(QDate(2026, 10, 2), QTime(9, 0)))), QString("10/2"));
        QCOMPARE(mark(MonthMarks::ofDueDate(QVariant())), QString("none"));
        QCOMPARE(mark(MonthMarks::ofDueDate("soon")), QString("none"));
    }
};

TARVELA_TEST_CLASS(DayLayoutTest)
#include "tst_daylayout.moc"
