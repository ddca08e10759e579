#pragma once
// What the day view holds for a date: the calendar items of that date, the
// assignments due that date at the times their class meets on that weekday,
// and the to-dos of that date. Only the first kind comes from stored rows;
// the other two are made anew at every selection.
#include "DayLayout.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

class Database;

namespace DaySchedule {

// The colour of calendar items and due assignments.
QColor red();

// The class fields holding the times of a weekday, for the English weekday
// name ("Monday"); nullopt for any other text. Names are compared exactly.
struct ClassTimeFields {
    QString from;
    QString to;
};
std::optional<ClassTimeFields> classTimeFields(const QString &weekday);

// The entry of a calendar item: at its time for one minute, or from 1:00 PM
// to 1:01 PM when it has none; red.
DayEntry itemEntry(const QVariant &itemTime, const QString &text);
// The entry of an assignment due that day, from its class's two times for
// the weekday: 12:00 AM to 12:30 AM when both are midnight, none when either
// is empty; red.
std::optional<DayEntry> assignmentEntry(const QVariant &from, const QVariant &to, const QString &title);
// The entry of a to-do: "(To-Do) " and its details, 12:00 AM to 1:00 AM, in
// the day view's default colour.
DayEntry todoEntry(const QString &details);

struct Content {
    QVector<DayEntry> entries;
    // The details of the last calendar item with a time and details: the
    // window's caption then names them.
    std::optional<QString> details;
};
// The entries of a date, in this order: calendar items, due assignments,
// to-dos, each in the order they were stored. Items and assignments
// without a text are passed over.
Content build(Database &db, const QDate &date);

} // namespace DaySchedule
