#pragma once
// Readable test failures for the balloon's rectangles, the animation log as
// text, and a user's sound scheme.
#include "balloons/BalloonMath.h"
#include "balloons/rg.h"

#include "platform/Settings.h"

#include <QtTest>

namespace Balloon {
inline QString text(const ScreenRect &r) { return QString("(%1, %2, %3, %4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom); }
inline char *toString(const ScreenRect &r) { return QTest::toString(text(r)); }
inline char *toString(const Placement &p) { return QTest::toString(QString("top %1, left %2").arg(p.top).arg(p.left)); }
} // namespace Balloon

// What the animations did, one line a step: the kind, then its rectangles,
// its count and its name as far as the kind has them.
inline QStringList animationLog()
{
    static const char *kinds[] = {"Caption", "Explode", "ShowWindow", "ShowBalloon", "Sound", "HideWindow", "UnloadWindow"};
    QStringList out;
    for (const AnimationLog::Entry &e : AnimationLog::entries()) {
        QString line = kinds[e.kind];
        if (e.kind == AnimationLog::Caption || e.kind == AnimationLog::Explode)
            line += " " + Balloon::text(e.from) + " to " + Balloon::text(e.to);
        if (e.kind == AnimationLog::Explode || e.kind == AnimationLog::Sound)
            line += " " + QString::number(e.count);
        if (e.kind != AnimationLog::Caption && e.kind != AnimationLog::Explode)
            line += " " + e.name;
        out << line;
    }
    return out;
}

// A user's sound scheme with sounds for the assistant's two events.
inline void userScheme()
{
    Settings::save("AppEvents", "RestoreUp", "Current", "/sounds/up.wav");
    Settings::save("AppEvents", "RestoreDown", "Current", "/sounds/down.wav");
}
