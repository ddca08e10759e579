#include "CalendarHelpers.h"

#include "calendar/frmToday.h"
#include "platform/Clock.h"

#include <QListWidget>

using namespace CalendarHelpers;

namespace {

// The lines the window of today's events lists; a marker when it is not up.
QStringList listed()
{
    frmToday *w = frmToday::existing();
    if (!w || !w->isVisible())
        return {QStringLiteral("<not shown>")};
    auto *list = w->findChild<QListWidget *>(QStringLiteral("lstToday"));
    if (!list)
        return {QStringLiteral("<no list>")};
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The database on 15 October 2025, with a semester.
void onTheFifteenth()
{
    Clock::set(QDateTime(QDate(2025, 10, 15), QTime(9, 0)));
    semesterId();
}

} // namespace

// The window of today's events, opened at start-up after the tips window.
class TodayTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void listsTodaysRowsOfTheThreeTablesInTableOrder()
    {
        onTheFifteenth();
        // A due date with a time of day counts for its day; the table's order
        // stands, not the order of the dates.
        for (const QVariant &due : {QVariant("2025-10-15 14:00:00"), QVariant("2025-10-15"), QVariant("2025-10-14"),
                                    QVariant("2025-10-16 08:00:00"), QVariant("2024-10-15"), QVariant()})
            addAssignment(1, "Due " + due.toString(), 10, QVariant(), due.toString());
        addAssignment(1, QString(), 10, QVariant(), "2025-10-15"); // no title: passed over
        addCalItem("2025-10-15", "07:30:00", "Dentist");
        addCalItem("2025-10-15", QVariant(), "Gym");
        addCalItem("2025-10-14", QVariant(), "Career fair");
        addTask("2025-10-15", "Buy pens");
        addTask("2025-11-15", "Pay tuition");
        startQuiet();
        QCOMPARE(listed(), QStringList({"Due 2025-10-15 14:00:00 is due today.", "Due 2025-10-15 is due today.", "Dentist",
                                        "Gym", "Buy pens"}));
    }

    void emptyTablesKeepTheWindowClosed()
    {
        onTheFifteenth();
        frmMain *m = startQuiet();
        QVERIFY(!frmToday::existing());
        // File > Today's Events decides again: rows of other days show an
        // empty list; a task of today lists.
        addCalItem("2025-10-14", QVariant(), "Career fair");
        trigger(m, "mnuFileTodaysEvents");
        QCOMPARE(listed(), QStringList());
        click(frmToday::existing(), "cmdOK");
        addTask("2025-10-15 18:00:00", "Buy pens");
        trigger(m, "mnuFileTodaysEvents");
        QCOMPARE(listed(), QStringList{"Buy pens"});
    }
};

TARVELA_TEST_CLASS(TodayTest)
#include "tst_today.moc"
