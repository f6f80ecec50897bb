#pragma once

#include <QString>

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
