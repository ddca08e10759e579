#pragma once
// Conversions between the values the program works with and what the file
// stores: dates as ISO texts, yes/no as 1 and 0, texts within their lengths.
#include "Schema.h"

#include <QVariant>

namespace Values {

// A stored value read back: bool for yes/no, int for whole numbers, double,
// QDate / QTime / QDateTime for date/time, QString for texts; Null stays Null.
QVariant fromStorage(const Schema::Field *field, const QVariant &raw);

// A value to store into a field, converted as the engine would: a text into
// a date/time or number field is read as one, or raises a type mismatch
// (error 13); a number out of range raises an overflow (error 6); a text
// longer than its field raises error 3163 and is never cut.
QVariant toStorage(const Schema::Field *field, const QVariant &value);

// The text a bound text box or label shows for a value.
QString displayText(const QVariant &value);

// True when the value counts as true (yes/no fields and check boxes).
bool isTrue(const QVariant &value);

} // namespace Values
