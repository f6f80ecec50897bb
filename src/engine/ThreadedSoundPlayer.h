#pragma once

#include "engine/SoundPlayer.h"

#include <QSet>
#include <QThread>

class SoundWorker;

// The alarm's sound, handed to a thread of its own, so starting, replacing and closing a sound
// never holds up the event loop, whatever the file. The thread and its player start with the
// first sound, since the media framework holds much of the program's memory and many runs never
// ring. A file that cannot be played is replaced by the fallback sound, and the user is told once
// per file; a lost sound server is told once and tried again until it is back.
class ThreadedSoundPlayer : public SoundPlayer
{
    Q_OBJECT
public:
    // `quietDefault`: the slots' default file, which means the desktop's alarm sound (SoundWorker).
    // `output`: where the sound goes (SoundLoop::setOutput); "" is the sound server.
    ThreadedSoundPlayer(const QString& fallbackFile, const QString& quietDefault, QObject* parent = nullptr,
                        const QString& output = QString());
    ~ThreadedSoundPlayer() override;

    // The chosen file, exactly as set: the fallback never shows here.
    QString URL() const override { return m_url; }
    void setURL(const QString& fileName) override;
    void close() override;

    // The file last reported as heard: the chosen one, the fallback, or "" when silent.
    QString soundingFile() const { return m_sounding; }
    bool started() const { return m_thread.isRunning(); }

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
    const QString m_quietDefault;
    const QString m_output;
    QString m_url;
    QString m_sounding;
    QSet<QString> m_reported;
    QThread m_thread;
    SoundWorker* m_worker = nullptr; // lives on m_thread, deleted when it finishes
};
