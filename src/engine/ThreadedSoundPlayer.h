#pragma once

#include "engine/SoundPlayer.h"

#include <QSet>
#include <QThread>

class QUrl;
class SoundWorker;

// The alarm's sound. The player lives on a thread of its own, so starting, replacing and closing a
// sound never holds up the event loop, whatever the file. That thread and the player start with
// the first sound, since the media framework holds much of the program's memory and many runs
// never ring. A file that cannot be played is replaced by the fallback sound, and the user is
// told once per file; a lost sound server is told once and tried again until it is back.
class MediaSoundPlayer : public SoundPlayer
{
    Q_OBJECT
public:
    // `output`: where the sound goes (SoundLoop::setOutput); "" is the sound server.
    explicit MediaSoundPlayer(const QString& fallbackFile, QObject* parent = nullptr,
                              const QString& output = QString());
    MediaSoundPlayer();
    ~MediaSoundPlayer() override;

    // The chosen file, exactly as set: the fallback never shows here.
    QString URL() const override { return m_url; }
    void setURL(const QString& fileName) override;
    void close() override;

    // The file last reported as heard: the chosen one, the fallback, or "" when silent.
    QString soundingFile() const { return m_sounding; }
    bool started() const { return m_thread.isRunning(); }

    // A local path becomes a file URL; text with a scheme of two or more letters is taken as a URL.
    static QUrl sourceFor(const QString& fileName);

signals:
    void soundingChanged(const QString& file);

    // To the sound thread.
    void playRequested(const QString& fileName);
    void stopRequested();

private:
    void ensureThread();
    void onCannotPlay(const QString& fileName, const QString& message);
    void onSounding(const QString& file);

    const QString m_fallbackFile;
    const QString m_output;
    QString m_url;
    QString m_sounding;
    QSet<QString> m_reported;
    QThread m_thread;
    SoundWorker* m_worker = nullptr; // lives on m_thread, deleted when it finishes
};
