#pragma once
// Opening the calendar from the main window and driving it as a user does.
#include "../setup/SetupHelpers.h"

#include "calendar/DayView.h"
#include "calendar/MonthView.h"
#include "calendar/frmCalendar.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTableView>

namespace CalendarHelpers {

using namespace SetupHelpers;

// A database with one semester (so that no wizard opens), the program up.
inline frmMain *startWithSemester()
{
    if (!QFile::exists(TestEnv::databasePath()))
        TestEnv::createDatabase();
    if (count("Semesters") == 0)
        addSemester(QStringLiteral("Spring 2026"), QStringLiteral("2026-01-10"), QStringLiteral("2026-05-20"));
    return startProgram();
}

// The toolbar's Calendar button.
inline frmCalendar *openCalendar(frmMain *m)
{
    click(m, "SSCommand6");
    settle();
    return frmCalendar::existing();
}

inline DayView *dayView(frmCalendar *c) { return c->findChild<DayView *>(QStringLiteral("SSDay1")); }
inline MonthView *monthView(frmCalendar *c) { return c->findChild<MonthView *>(QStringLiteral("SSMonth1")); }

// The month view's cell of a day of the month shown. A page shows at most
// seven days (22 and above) of the month before and fourteen (14 and below)
// of the month after: a low day's first cell and a high day's last one are
// the month's own.
inline QRect dayCell(MonthView *month, int day)
{
    auto *view = month->findChild<QTableView *>();
    if (!view)
        return QRect();
    QAbstractItemModel *model = view->model();
    QRect found;
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex i = model->index(r, c);
            if (model->data(i, Qt::DisplayRole).toString() == QString::number(day)) {
                found = view->visualRect(i);
                if (day <= 14)
                    return found;
            }
        }
    return found;
}

// Shows the month of `date` and clicks its day, as a user does.
inline void clickDay(frmCalendar *c, const QDate &date)
{
    MonthView *month = monthView(c);
    QVERIFY(month);
    month->setCurrentPage(date.year(), date.month());
    settle();
    const QRect cell = dayCell(month, date.day());
    QVERIFY(cell.isValid());
    QTest::mouseClick(month->findChild<QTableView *>()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    settle();
    QCOMPARE(month->selectedDate(), date);
}

inline void doubleClickDay(frmCalendar *c, const QDate &date)
{
    clickDay(c, date);
    if (QTest::currentTestFailed())
        return;
    MonthView *month = monthView(c);
    QTest::mouseDClick(month->findChild<QTableView *>()->viewport(), Qt::LeftButton, Qt::NoModifier,
                       dayCell(month, date.day()).center());
    settle();
}

// The day view's entries as "start-end text colour" lines.
inline QStringList entryLines(DayView *v)
{
    QStringList out;
    for (int i = 0; i < v->count(); ++i) {
        const DayEntry &e = v->entry(i);
        out << QStringLiteral("%1-%2 %3 %4")
                   .arg(e.start.toString(QStringLiteral("HH:mm")), e.end.toString(QStringLiteral("HH:mm")), e.text,
                        e.colour.isValid() ? e.colour.name() : QStringLiteral("default"));
    }
    return out;
}

// Types a cell of a grid as the user does: edit, type, Enter.
inline void typeCell(QTableView *v, int row, int column, const QString &text)
{
    const QModelIndex idx = v->model()->index(row, column);
    QVERIFY(idx.isValid());
    v->setCurrentIndex(idx);
    v->edit(idx);
    QLineEdit *line = nullptr;
    for (QLineEdit *w : v->viewport()->findChildren<QLineEdit *>())
        if (w->isVisible())
            line = w;
    QVERIFY2(line, "no cell editor");
    line->clear();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
    settle();
}

inline int addCalItem(const QVariant &date, const QVariant &time, const QString &text, const QVariant &details = QVariant(),
                      const QVariant &month = QVariant(), const QVariant &day = QVariant())
{
    TestEnv::exec(QStringLiteral("INSERT INTO CalItems (ItemDate, ItemTime, ItemText, ItemDetails, Month, Day) "
                                 "VALUES (?, ?, ?, ?, ?, ?)"),
                  {date, time, text, details, month, day});
    return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM CalItems")).toInt();
}

inline int addTask(const QVariant &date, const QString &details)
{
    TestEnv::exec(QStringLiteral("INSERT INTO Tasks (\"Date\", Details) VALUES (?, ?)"), {date, details});
    return TestEnv::scalar(QStringLiteral("SELECT max(TaskID) FROM Tasks")).toInt();
}

inline void setClassTimes(int classId, const QString &day, const QVariant &from, const QVariant &to)
{
    TestEnv::exec(QStringLiteral("UPDATE Classes SET %1From = ?, %1To = ? WHERE ID = ?").arg(day), {from, to, classId});
}

} // namespace CalendarHelpers
