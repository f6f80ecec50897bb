#pragma once

#include "engine/Countdown.h"

#include <QString>

class AlarmHost;
class CommandRunner;

// What an action label asks for, decided without doing any of it.
struct AlarmActionPlan
{
    enum class Kind
    {
        Nothing,
        ExitProgram,
        RaiseAndCountdown, // countdownWord says which
        ShutDownNow,
        RestartNow,
        RaiseAndFocus,
        RunCommand, // commandLine is the text after "运行："
    };
    Kind kind = Kind::Nothing;
    QString countdownWord;
    QString commandLine;
};

AlarmActionPlan planAlarmAction(const QString& label);

// The text shown to the user when a command line does not start.
QString commandFailureMessage(const QString& commandLine);

// Carries out alarm actions and the countdown's timer and buttons. A command that does not start
// is reported through the host and otherwise ignored, so the rest of a firing still runs.
class AlarmActions
{
public:
    AlarmActions(CommandRunner& runner, Countdown& countdown, AlarmHost& host);

    // Returns false for "退出程序": the caller ends the program and stops everything after it.
    bool PerformAlarmAction(const QString& label);
    void Tclo_Timer();
    void Command7_Click();
    void Command8_Click();

    // Starts a command line; on failure reports it and returns false.
    bool startCommand(const QString& commandLine);

private:
    void startCountdownCommand(Countdown::Command command);

    CommandRunner& m_runner;
    Countdown& m_countdown;
    AlarmHost& m_host;
};
