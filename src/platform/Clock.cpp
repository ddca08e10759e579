#include "Clock.h"

namespace {
bool g_set = false;
QDateTime g_at;
} // namespace

namespace Clock {

QDateTime now()
{
    if (!g_set)
        return QDateTime::currentDateTime();
    return g_at;
}

QDate today() { return now().date(); }

QTime time() { return now().time(); }

void set(const QDateTime &at)
{
    g_set = true;
    g_at = at;
}

void advance(qint64 msecs)
{
    if (g_set)
        g_at = g_at.addMSecs(msecs);
}

void reset() { g_set = false; }

} // namespace Clock
