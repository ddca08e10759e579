#include "Sound.h"

#include "Platform.h"

#include <QApplication>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>

namespace {
QStringList g_played;
int g_beeps = 0;
QPointer<QMediaPlayer> g_player;
}

void Sound::play(const QString &path)
{
    g_played.append(path);
    if (path.isEmpty() || Platform::testMode())
        return;
    if (!QFileInfo(path).isFile())
        return;
    if (!g_player) {
        g_player = new QMediaPlayer(QCoreApplication::instance());
        auto *output = new QAudioOutput(g_player);
        g_player->setAudioOutput(output);
        // A file that cannot be played ends in silence.
        QObject::connect(g_player, &QMediaPlayer::errorOccurred, g_player, [](QMediaPlayer::Error, const QString &) {
            if (g_player)
                g_player->stop();
        });
    }
    g_player->stop();
    g_player->setSource(QUrl::fromLocalFile(path));
    g_player->play();
}

void Sound::beep()
{
    ++g_beeps;
    if (!Platform::testMode())
        QApplication::beep();
}

const QStringList &Sound::played() { return g_played; }
int Sound::beeps() { return g_beeps; }
void Sound::clear()
{
    g_played.clear();
    g_beeps = 0;
}
