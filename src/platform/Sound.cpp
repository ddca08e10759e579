#include "Sound.h"

#include "Platform.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>

namespace {
QStringList g_played;
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

const QStringList &Sound::played() { return g_played; }
void Sound::clear() { g_played.clear(); }
