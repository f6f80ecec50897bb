#pragma once

#include <QProcess>
#include <QTemporaryDir>

// A private PulseAudio server whose only sink is a null sink, so a test hears what a program
// plays without any real sound card and without touching the user's own server.
class PrivateSoundServer
{
public:
    PrivateSoundServer();
    ~PrivateSoundServer();

    // Starts the server and waits until it answers; the reason when it does not. Starting it again
    // after kill() serves the same socket.
    QString start();
    // Ends the server at once, as a crash would.
    void kill();
    bool isRunning() const { return m_server.state() != QProcess::NotRunning; }
    // What the server wrote since it started.
    QString log();
    // Why a test hears nothing: the server ended (with its log), or plain silence.
    QString whyNothingIsHeard();
    // What a client needs in its environment to play here.
    QString address() const { return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native")); }
    QString runtimePath() const { return m_dir.filePath(QStringLiteral("client")); }
    QString monitor() const { return QStringLiteral("capture.monitor"); }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QByteArray m_log;
};

// Records the server's sink and measures how loud it is.
class SinkRecorder
{
public:
    static constexpr int kRate = 44100; // mono, 16-bit

    explicit SinkRecorder(const PrivateSoundServer& server);
    ~SinkRecorder();

    bool start();
    bool isRunning() const { return m_recorder.state() != QProcess::NotRunning; }
    // RMS level in dB relative to full scale of the next `ms` milliseconds; -200 for digital silence.
    double level(int ms);
    // Waits, 100 ms blocks at a time, until a block is at least `dB` loud (or, with `quieter`,
    // below it). False at the timeout.
    bool waitForLevel(double dB, int timeoutMs, bool quieter = false);
    // The RMS level of each `blockMs` block of the next `ms` milliseconds.
    QList<double> levels(int ms, int blockMs);

    // What a recording of a looping sound holds: each rise from below `quiet` to `loud` starts a
    // play; blocks in between stay where they are. The longest quiet run is in blocks.
    struct Plays
    {
        int count = 0;
        int longestQuiet = 0;
    };
    static Plays countPlays(const QList<double>& levels, double loud, double quiet);

private:
    QByteArray record(int ms);
    const PrivateSoundServer& m_server;
    QProcess m_recorder;
};
