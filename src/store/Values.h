#pragma once
// Conversions between the values the program works with and what the file
// stores: dates as ISO texts, yes/no as 1 and 0, texts within their lengths.
#include "Schema.h"

#include <QVariant>

namespace Values {

// A stored value read back: bool for yes/no, a 64-bit integer for whole
// numbers (as stored, never cut to the field's width), double, QDate / QTime
// / QDateTime for date/time, QString for texts; Null stays Null, but for a
// yes/no field, which reads as no (it is never Null). Dates and
// times in the forms the store writes are read on a fast path.
QVariant fromStorage(const Schema::Field *field, const QVariant &raw);

// A value to store into a field, converted as the engine would: a text into
// a date/time or number field is read as one, or raises a type mismatch
// (error 13); a fraction for a whole-number field is rounded as the engine
// rounds (a half to the even number); a number out of the field's range
// raises an overflow (error 6); a text longer than its field (counted in
// characters, as the database counts) raises error 3163 and is never cut.
// Null (or a blank text) for a yes/no field is stored as no.
QVariant toStorage(const Schema::Field *field, const QVariant &value);

// As toStorage, for what the user typed into a box or a grid cell: a number
// with a fraction for a whole-number field is refused with a type mismatch
// that says so, never rounded behind the user's back.
QVariant typedToStorage(const Schema::Field *field, const QVariant &value);

// The text a bound text box or label shows for a value.
QString displayText(const QVariant &value);

// True when the value counts as true (yes/no fields and check boxes).
bool isTrue(const QVariant &value);

} // namespace Values
