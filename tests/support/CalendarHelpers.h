#pragma once
// Opening the calendar from the main window and driving it as a user does.
#include "SetupHelpers.h"

#include "calendar/DayView.h"
#include "calendar/MonthView.h"
#include "calendar/frmCalendar.h"
#include "store/Database.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTableView>

namespace CalendarHelpers {

using namespace SetupHelpers;

// The toolbar's Calendar button.
inline frmCalendar *openCalendar(frmMain *m)
{
    click(m, "SSCommand6");
    frmCalendar *c = frmCalendar::existing();
    if (!c)
        QTest::qFail("the calendar did not open", __FILE__, __LINE__);
    return c;
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

// Shows the month of `date` and clicks its day (twice for a double click).
inline void clickDay(frmCalendar *c, const QDate &date, bool twice = false)
{
    MonthView *month = monthView(c);
    QVERIFY(month);
    month->setCurrentPage(date.year(), date.month());
    settle();
    const QRect cell = dayCell(month, date.day());
    QVERIFY(cell.isValid());
    QWidget *viewport = month->findChild<QTableView *>()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, cell.center());
    settle();
    QCOMPARE(month->selectedDate(), date);
    if (twice) {
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, cell.center());
        settle();
    }
}

// The program started with the calendar open, on `day` when one is given.
struct Calendar {
    frmMain *main = nullptr;
    frmCalendar *window = nullptr;
    DayView *view = nullptr;
};
inline Calendar startCalendar(const QDate &day = QDate())
{
    Calendar cal;
    cal.main = startWithSemester();
    cal.window = openCalendar(cal.main);
    if (!cal.window)
        return cal;
    cal.view = dayView(cal.window);
    if (day.isValid())
        clickDay(cal.window, day);
    return cal;
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

inline int entryIndex(DayView *v, const QString &text)
{
    for (int i = 0; i < v->count(); ++i)
        if (v->entry(i).text == text)
            return i;
    return -1;
}

// Clicks a free half hour of the day view, scrolled into sight first, and
// types there (a new entry); Enter ends it unless `enter` is false.
inline void typeEntry(DayView *v, int row, const QString &text, bool enter = true)
{
    v->scrollToRow(row);
    settle();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->freePoint(row));
    QTest::keyClicks(v, text);
    QVERIFY(v->isEditing());
    if (enter) {
        QTest::keyClick(v->editor(), Qt::Key_Return);
        settle();
    }
}

// Clicks the entry of that text.
inline void selectEntry(DayView *v, const QString &text)
{
    const int i = entryIndex(v, text);
    QVERIFY2(i >= 0, qPrintable(text));
    v->scrollToRow(DayLayout::rowsOf(v->entry(i).start, v->entry(i).end).first);
    settle();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->entryRect(i).center());
    settle();
    QCOMPARE(v->selectedIndex(), i);
}

// Selects the entry of that text and types on to it.
inline void appendToEntry(DayView *v, const QString &text, const QString &more)
{
    selectEntry(v, text);
    QTest::keyClicks(v, more);
    QVERIFY(v->isEditing());
    QTest::keyClick(v->editor(), Qt::Key_Return);
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

inline QVariant itemField(int id, const QString &name)
{
    return TestEnv::scalar(QStringLiteral("SELECT \"%1\" FROM CalItems WHERE ID = ?").arg(name), {id});
}

// The texts of the calendar items, in the order they were stored.
inline QStringList storedItems()
{
    QStringList out;
    auto db = TestEnv::open();
    for (const QVector<QVariant> &row : db->readRows(QStringLiteral("SELECT ItemText FROM CalItems ORDER BY ID")).rows)
        out << row.first().toString();
    db->close();
    return out;
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

// A message box as one comparable line.
inline QString box(const QString &title, const QString &text, int buttons, int icon)
{
    return QStringLiteral("%1 | %2 | buttons %3 | icon %4").arg(title, text).arg(buttons).arg(icon);
}
inline QString box(const MessageBox::Shown &s) { return box(s.title, s.text, s.buttons, s.icon); }

} // namespace CalendarHelpers
