#pragma once
// Readable test failures for the balloon's rectangles.
#include "balloons/BalloonMath.h"

#include "platform/Settings.h"

#include <QtTest>

namespace Balloon {
inline char *toString(const ScreenRect &r)
{
    return QTest::toString(QString("(%1, %2, %3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom));
}
inline char *toString(const Placement &p)
{
    return QTest::toString(QString("top %1, left %2").arg(p.top).arg(p.left));
}
} // namespace Balloon

// A user's sound scheme with sounds for the assistant's two events.
inline void userScheme()
{
    Settings::save("AppEvents", "RestoreUp", "Current", "/sounds/up.wav");
    Settings::save("AppEvents", "RestoreDown", "Current", "/sounds/down.wav");
}
