#pragma once
// Plays a sound file without holding the caller up. A new sound replaces one
// still playing; an empty, missing or unplayable file is silence. Also the
// system beep. In test mode nothing is played; the paths asked for and the
// beeps are recorded.
#include <QString>
#include <QStringList>

class Sound
{
public:
    static void play(const QString &path);
    static void beep();

    static const QStringList &played();
    static int beeps();
    static void clear();
};
