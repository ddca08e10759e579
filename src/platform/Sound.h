#pragma once
// Plays a sound file without holding the caller up. A new sound replaces one
// still playing; an empty, missing or unplayable file is silence.
// In test mode nothing is played; the paths asked for are recorded.
#include <QString>
#include <QStringList>

class Sound
{
public:
    static void play(const QString &path);

    static const QStringList &played();
    static void clear();
};
