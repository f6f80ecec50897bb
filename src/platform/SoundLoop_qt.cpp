#include "platform/SoundLoop.h"

#include <QAudioOutput>
#include <QMediaPlayer>

// Where GStreamer is not at hand, Qt Multimedia plays the file; the loop is ours, restarting the
// player at each end of the file, since the backends' own looping is not to be relied upon.
struct SoundLoop::Private
{
    QMediaPlayer* player = nullptr;
    QAudioOutput* output = nullptr;
    QUrl source;
    int plays = 0;
    int begun = 0;

    void release()
    {
        // Later: this may run inside the player's own signal.
        if (player)
            player->deleteLater();
        if (output)
            output->deleteLater();
        player = nullptr;
        output = nullptr;
    }
};

SoundLoop::SoundLoop(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}

SoundLoop::~SoundLoop()
{
    stop();
}

void SoundLoop::setOutput(const QString&) {} // always the default device

void SoundLoop::start(const QUrl& source, int plays)
{
    stop();
    d->source = source;
    d->plays = plays;
    d->begun = plays > 0 ? 1 : 0;
    resume();
}

void SoundLoop::resume()
{
    d->release();
    if (d->source.isEmpty() || d->begun == 0)
        return;
    d->output = new QAudioOutput(this);
    d->player = new QMediaPlayer(this);
    d->player->setAudioOutput(d->output);
    if (!d->player->isAvailable()) {
        d->release();
        emit startFailed(QStringLiteral("Qt Multimedia"));
        return;
    }
    QMediaPlayer* player = d->player;
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
            [this, player](QMediaPlayer::MediaStatus status) {
                if (player != d->player)
                    return;
                if (status == QMediaPlayer::BufferedMedia) {
                    emit playing();
                } else if (status == QMediaPlayer::EndOfMedia) {
                    if (d->begun >= d->plays) {
                        stop();
                        emit finished();
                        return;
                    }
                    ++d->begun;
                    player->setPosition(0);
                    player->play();
                }
            });
    // Qt does not tell a lost output device from a bad file; both count as the file's failure.
    connect(
        player, &QMediaPlayer::errorOccurred, this,
        [this, player](QMediaPlayer::Error, const QString& text) {
            if (player != d->player)
                return;
            d->release();
            emit fileFailed(text);
        },
        Qt::QueuedConnection);
    player->setSource(d->source);
    player->play();
}

void SoundLoop::stop()
{
    d->source.clear();
    d->begun = 0;
    resume();
}

int SoundLoop::playsBegun() const
{
    return d->begun;
}
