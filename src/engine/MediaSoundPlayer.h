#pragma once

#include "engine/SoundPlayer.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QUrl;

// The alarm's sound on Qt Multimedia. The player is created by the first setURL, since Qt
// Multimedia holds most of the program's memory and many runs never ring. Files that are missing
// or cannot be played stay silent.
class MediaSoundPlayer : public SoundPlayer
{
public:
    static constexpr int Plays = 255;

    MediaSoundPlayer();
    ~MediaSoundPlayer() override;

    QString URL() const override { return m_url; }
    void setURL(const QString& fileName) override;
    void close() override;

    // Null until the first setURL.
    QMediaPlayer* mediaPlayer() const { return m_player.get(); }

    // A local path becomes a file URL; text with a scheme of two or more letters is taken as a URL.
    static QUrl sourceFor(const QString& fileName);

private:
    void ensurePlayer();

    QString m_url;
    // Declared before the player so that the player goes first.
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};
