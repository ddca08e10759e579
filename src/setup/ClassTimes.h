#pragma once
// Class times: how a time a user types for a weekday is read, the form it is
// shown and re-entered in ("h:mm AM/PM"), and how the arrow keys move through
// the fourteen boxes of a week (Monday start, Monday end, ... Sunday end).
#include <QString>
#include <QTime>
#include <optional>

namespace ClassTimes {

// The time of day a typed text stands for: "3:00 PM", "3:00 pm", "15:00" and
// "3 PM" are times; a date with a time gives its time and a date alone gives
// midnight. Nullopt when the text is no date or time at all ("1500").
std::optional<QTime> read(const QString &text);

// "h:mm AM/PM": hour 1 to 12 without a leading zero, two-digit minutes.
QString show(const QTime &time);

// What a time box holds after it was checked.
struct Checked {
    enum Result { Empty, Valid, Invalid } result;
    QString text; // "" for Empty and Invalid, the time "h:mm AM/PM" for Valid
};
// Blanks only: Empty; a time: Valid, rewritten; anything else: Invalid.
Checked check(const QString &text);

// The fourteen boxes of a week: box 2*d is day d's start, 2*d+1 its end,
// Monday being day 0 and Sunday day 6.
constexpr int BoxCount = 14;
enum class Arrow { Left, Up, Right, Down };
// The box an arrow key moves to from `box`, or -1 when it stays. Left and
// Right go to the same row of the day before or after (no wrap past Monday
// or Sunday); Down goes from a start to its end, Up from an end to its start.
int arrowTarget(int box, Arrow arrow);

} // namespace ClassTimes
