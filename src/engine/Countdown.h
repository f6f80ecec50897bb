#pragma once

#include <QString>
#include <QtGlobal>

// What a countdown button shows; the main window copies it onto Command7 or Command8.
struct CountdownButton
{
    QString caption;
    bool visible = false;
    bool enabled = true;
};

// The cancellable countdown before shutting down or restarting. It holds the state of the timer
// Tclo (running) and of its two buttons; the main window only applies that state to its widgets.
class Countdown
{
public:
    enum class Command
    {
        None,
        ShutDown,
        Restart
    };

    static const QString ShutDownWord; // "关机"
    static const QString RestartWord;  // "重启"
    static constexpr quint8 StartSeconds = 50;

    // Starts afresh, also while a countdown runs: 50 seconds, the new word, both buttons shown.
    void start(const QString& word);
    // Tclo_Timer: counts one second down, or at 0 stops and names the command to start now.
    Command tick();
    // Command7_Click: starts the command at once and disables both buttons for the rest of the run.
    Command runNow();
    // Command8_Click: stops and hides both buttons; seconds and word stay as they were.
    void cancel();

    bool running() const { return m_running; }
    quint8 countdownSeconds() const { return m_seconds; }
    const QString& word() const { return m_word; }
    const CountdownButton& Command7() const { return m_command7; }
    const CountdownButton& Command8() const { return m_command8; }

private:
    quint8 m_seconds = 0;
    QString m_word;
    bool m_running = false;
    CountdownButton m_command7;
    CountdownButton m_command8;
};
