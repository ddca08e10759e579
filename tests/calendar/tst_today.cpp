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

void assignment(const QVariant &title, const QVariant &due)
{
    TestEnv::exec(QStringLiteral("INSERT INTO Assignments (Class_ID, AssignmentTitle, DateDue) VALUES (1, ?, ?)"), {title, due});
}

void item(const QString &text, const QVariant &date, const QVariant &time = QVariant())
{
    TestEnv::exec(QStringLiteral("INSERT INTO CalItems (ItemText, ItemDate, ItemTime) VALUES (?, ?, ?)"), {text, date, time});
}

void task(const QString &details, const QVariant &date)
{
    TestEnv::exec(QStringLiteral("INSERT INTO Tasks (Details, \"Date\") VALUES (?, ?)"), {details, date});
}

} // namespace

// The window of today's events, opened at start-up after the tips window.
class TodayTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void listsTodaysRowsOfTheThreeTablesInTableOrder()
    {
        Clock::set(QDateTime(QDate(2025, 10, 15), QTime(9, 0)));
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2025"), QStringLiteral("2025-09-01"), QStringLiteral("2025-12-20"));
        // A due date with a time of day counts for its day; the table's order
        // stands, not the order of the dates.
        assignment(QStringLiteral("Essay"), QStringLiteral("2025-10-15 14:00:00"));
        assignment(QStringLiteral("Quiz"), QStringLiteral("2025-10-15"));
        assignment(QStringLiteral("Yesterday's work"), QStringLiteral("2025-10-14"));
        assignment(QStringLiteral("Tomorrow's work"), QStringLiteral("2025-10-16 08:00:00"));
        assignment(QStringLiteral("Last year's work"), QStringLiteral("2024-10-15"));
        assignment(QString(), QStringLiteral("2025-10-15"));  // no title: passed over
        assignment(QStringLiteral("Undated"), QVariant());
        item(QStringLiteral("Dentist"), QStringLiteral("2025-10-15"), QStringLiteral("07:30:00"));
        item(QStringLiteral("Gym"), QStringLiteral("2025-10-15"));
        item(QStringLiteral("Career fair"), QStringLiteral("2025-10-14"));
        task(QStringLiteral("Buy pens"), QStringLiteral("2025-10-15"));
        task(QStringLiteral("Pay tuition"), QStringLiteral("2025-11-15"));
        startProgram();
        QCOMPARE(listed(), (QStringList{QStringLiteral("Essay is due today."), QStringLiteral("Quiz is due today."),
                                        QStringLiteral("Dentist"), QStringLiteral("Gym"), QStringLiteral("Buy pens")}));
    }

    void rowsOfOtherDaysShowAnEmptyList()
    {
        Clock::set(QDateTime(QDate(2025, 10, 15), QTime(9, 0)));
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2025"), QStringLiteral("2025-09-01"), QStringLiteral("2025-12-20"));
        item(QStringLiteral("Career fair"), QStringLiteral("2025-10-14"));
        startProgram();
        QCOMPARE(listed(), QStringList());
    }

    void emptyTablesKeepTheWindowClosed()
    {
        Clock::set(QDateTime(QDate(2025, 10, 15), QTime(9, 0)));
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2025"), QStringLiteral("2025-09-01"), QStringLiteral("2025-12-20"));
        frmMain *m = startProgram();
        QVERIFY(!frmToday::existing());
        // File > Today's Events decides again: a task of today now lists.
        task(QStringLiteral("Buy pens"), QStringLiteral("2025-10-15 18:00:00"));
        trigger(m, "mnuFileTodaysEvents");
        QCOMPARE(listed(), QStringList{QStringLiteral("Buy pens")});
    }
};

TARVELA_TEST_CLASS(TodayTest)
#include "tst_today.moc"
