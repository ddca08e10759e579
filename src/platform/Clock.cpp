#include "Clock.h"

#include <QElapsedTimer>

namespace {
bool g_set = false;
QDateTime g_at;
QElapsedTimer g_since;
} // namespace

namespace Clock {

QDateTime now()
{
    if (!g_set)
        return QDateTime::currentDateTime();
    return g_at.addMSecs(g_since.elapsed());
}

QDate today() { return now().date(); }

QTime time() { return now().time(); }

void set(const QDateTime &at)
{
    g_set = true;
    g_at = at;
    g_since.start();
}

void reset() { g_set = false; }

} // namespace Clock
