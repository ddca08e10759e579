#pragma once
// "Now" for the whole program: today's date and the time of day. Windows ask
// this clock, never the system's directly, so that tests can set the date and
// time they need (today's events, the 30 days between compactions, the clock
// panel, the calendar's alarm check).
#include <QDate>
#include <QDateTime>
#include <QTime>

namespace Clock {

QDateTime now();
QDate today();
QTime time();

// Test support: from now on the clock reads `at`, and stands there until the
// test sets it again or moves it on.
void set(const QDateTime &at);
// Test support: a set clock moves on by `msecs`.
void advance(qint64 msecs);
// Back to the system's clock.
void reset();

} // namespace Clock
