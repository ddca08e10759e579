#pragma once
// The alarm check of the main window's timer: a calendar item falls due
// during the minute of its date and time; it beeps when its sound alarm is
// on, shows its details when its notice alarm is on, and is marked
// " (NOTIFIED)" so that it alarms once. An item whose minute passed while
// the check was not running never alarms.
#include <QDateTime>
#include <QString>
#include <QVariant>

class QTimer;

namespace CalendarAlarm {

// The marker an alarmed item's text ends with.
QString marker();

// The item falls due at `now`: dated today, its hour and minute now, a text
// that is not empty and not yet marked.
bool isDue(const QVariant &itemDate, const QVariant &itemTime, const QString &text, const QDateTime &now);

// One pass over the calendar items at the clock's present minute.
void check();

// The timer's tick: a timer that is not running is started (and nothing
// more happens); a running one checks. Errors are told, not raised.
void tick(QTimer *timer);

} // namespace CalendarAlarm
