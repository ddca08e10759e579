#pragma once
// What the day view shows and where, without a screen: its entries, the
// half-hour rows of a day, and the placing of entries into rows and
// side-by-side columns.
#include <QColor>
#include <QString>
#include <QTime>
#include <QVector>

// One entry of the day view. It carries no key: a stored calendar item is
// found again by its date, start time and text.
struct DayEntry {
    QTime start;
    QTime end;
    QString text;
    QColor colour; // invalid: the day view's default colour
    // Typed or changed by the user in the day view (not made from the database).
    bool typed = false;
};

namespace DayLayout {

constexpr int SlotMinutes = 30;
constexpr int RowCount = 24 * 60 / SlotMinutes; // 12:00 AM to 11:30 PM
constexpr int DefaultFirstRow = 8 * 60 / SlotMinutes; // 8:00 AM

// The minutes since midnight of a time; an invalid time counts as midnight.
int minuteOf(const QTime &time);
// The time at which a row starts.
QTime rowStart(int row);
// The row holding a minute of the day.
int rowOf(int minute);

// The rows an entry covers: from the row of its start to the row holding
// the last minute before its end. An entry that ends at or before its start
// (one past midnight, or with the times the wrong way round) covers the row
// of its start only, as a one-minute entry does.
struct Rows {
    int first;
    int last;
};
Rows rowsOf(const QTime &start, const QTime &end);

// Where an entry is drawn: its rows, and its column among the entries that
// share rows with it (directly or through others), of `columns` columns.
struct Placement {
    int firstRow = 0;
    int lastRow = 0;
    int column = 0;
    int columns = 1;
};
// Places all entries at once; entries sharing rows stand side by side, the
// earlier (and, at the same start, the longer) one further left.
QVector<Placement> place(const QVector<DayEntry> &entries);

// The row to show at the top: the first row of the earliest entry, or
// 8:00 AM for a day without entries.
int firstRowToShow(const QVector<Placement> &placements);

} // namespace DayLayout
