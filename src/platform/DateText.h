#pragma once
// The date and time text forms the program reads and writes, in one place.
// Written: dates "M/d/yyyy" or "mm/dd/yyyy", times "h:mm:ss AM/PM" or
// "h:mm AM/PM". Read: those forms, two-digit years (00-29 are 20xx, 30-99 are
// 19xx), "yyyy-mm-dd", and times such as "3:00 PM", "3:00 pm", "15:00",
// "3 PM". A bare number such as "1500" is not a time.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>
#include <optional>

namespace DateText {

std::optional<QDate> parseDate(const QString &text);
std::optional<QTime> parseTime(const QString &text);
// A date, a time, or both: the result holds a QDate, a QTime or a QDateTime,
// or is invalid when the text is none of these.
QVariant parse(const QString &text);
bool isDate(const QString &text);

// Reads a date value (QDate, QDateTime or a text) as a date; nullopt for none.
std::optional<QDate> toDate(const QVariant &value);
// Reads a value as a time of day; a date without time gives midnight.
std::optional<QTime> toTime(const QVariant &value);
// The time of day a typed text stands for, as the time boxes read it: a
// time, or the time of a date with a time, or midnight for a date alone.
std::optional<QTime> timeOfDay(const QString &text);

QString mmddyyyy(const QDate &d);   // "12/09/2026"
QString shortDate(const QDate &d);  // "12/9/2026"
QString hmmAmPm(const QTime &t);    // "3:05 PM"
QString hhmmAmPm(const QTime &t);   // "03:05 PM"
QString longTime(const QTime &t);   // "3:05:00 PM"
// The English name of the weekday ("Monday"), whatever the machine's language.
QString weekdayName(const QDate &d);
// The ordinary text of a date/time value: a date "M/d/yyyy", a time
// "h:mm:ss AM/PM", both joined by a blank.
QString general(const QVariant &value);

} // namespace DateText
