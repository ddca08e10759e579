#pragma once
// Calendar items behind the day view's entries. An entry carries no key: its
// row is the first one of the same date, start time and text. All values
// are bound, so texts with apostrophes are stored, found and deleted alike.
#include "DayLayout.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>

class Database;

namespace CalendarItems {

// A row of that date, start time and text exists.
bool isStored(Database &db, const QDate &date, const QTime &start, const QString &text);
// Some assignment, of any class and date, has that title.
bool isAssignmentTitle(Database &db, const QString &text);
// Stores an entry typed into the day view: its date and start time, the
// text as summary and details, the notice alarm on.
void store(Database &db, const QDate &date, const QTime &start, const QString &text);
// Deletes the first row of the entry; false when it has none (it was made
// from an assignment, a to-do or an item without a time).
bool deleteFirst(Database &db, const QDate &date, const QTime &start, const QString &text);

// What an ended edit stores: each entry the user typed or changed that has
// a text, no row yet and is no assignment's title. Entries made from the
// database are never stored again. Returns the number of rows stored; the
// first failure is raised.
int storeTyped(Database &db, const QDate &date, const QVector<DayEntry> &entries);

} // namespace CalendarItems
