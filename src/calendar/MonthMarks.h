#pragma once
// The days the month view marks: by month and day number only, so that a
// mark shows in every year the view pages to.
#include <QVariant>
#include <QVector>
#include <optional>

class Database;

namespace MonthMarks {

struct MonthDay {
    int month;
    int day;
    bool operator==(const MonthDay &) const = default;
};

// A month and day that some year has (29 February counts; 31 April does not).
bool isDayOfTheYear(int month, int day);

// The mark of a calendar item: its Month and Day fields (their whole parts);
// none when either is empty or they name no day of the year.
std::optional<MonthDay> ofItem(const QVariant &month, const QVariant &day);
// The mark of a due date: its month and day; none for an empty date.
std::optional<MonthDay> ofDueDate(const QVariant &dateDue);

// The marks of every calendar item and of every due date, read as the
// distinct values of those fields only, from their indexes (the marks of
// the rows, each once, without reading the rows).
QVector<MonthDay> ofItems(Database &db);
QVector<MonthDay> ofDueDates(Database &db);

// A key for the pair (month * 100 + day).
inline int key(int month, int day) { return month * 100 + day; }
inline int key(const MonthDay &d) { return key(d.month, d.day); }

} // namespace MonthMarks
