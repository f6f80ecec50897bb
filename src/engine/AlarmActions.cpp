#include "engine/AlarmActions.h"

#include "engine/AlarmHost.h"
#include "engine/CommandRunner.h"
#include "engine/PlatformCommands.h"
#include "schedule/AlarmTable.h"

AlarmActionPlan planAlarmAction(const QString& label)
{
    using Kind = AlarmActionPlan::Kind;
    AlarmActionPlan plan;
    switch (actionFromLabel(label)) {
    case AlarmAction::None:
        break;
    case AlarmAction::ShowMainWindow:
        plan.kind = Kind::RaiseAndFocus;
        break;
    case AlarmAction::ShutDown:
        plan.kind = Kind::ShutDownNow;
        break;
    case AlarmAction::ShutDownAfterCountdown:
        plan.kind = Kind::RaiseAndCountdown;
        plan.countdownWord = Countdown::ShutDownWord;
        break;
    case AlarmAction::Restart:
        plan.kind = Kind::RestartNow;
        break;
    case AlarmAction::RestartAfterCountdown:
        plan.kind = Kind::RaiseAndCountdown;
        plan.countdownWord = Countdown::RestartWord;
        break;
    case AlarmAction::ExitProgram:
        plan.kind = Kind::ExitProgram;
        break;
    case AlarmAction::RunCommand:
        plan.kind = Kind::RunCommand;
        plan.commandLine = commandFromLabel(label);
        break;
    }
    return plan;
}

QString commandFailureMessage(const QString& commandLine)
{
    if (commandLine.trimmed().isEmpty())
        return QStringLiteral("无法运行命令：命令为空");
    return QStringLiteral("无法运行命令：") + commandLine;
}

AlarmActions::AlarmActions(CommandRunner& runner, Countdown& countdown, AlarmHost& host)
    : m_runner(runner), m_countdown(countdown), m_host(host)
{}

bool AlarmActions::PerformAlarmAction(const QString& label)
{
    using Kind = AlarmActionPlan::Kind;
    const AlarmActionPlan plan = planAlarmAction(label);
    switch (plan.kind) {
    case Kind::Nothing:
        break;
    case Kind::ExitProgram:
        return false;
    case Kind::RaiseAndCountdown:
        m_host.RaiseMainWindow();
        m_countdown.start(plan.countdownWord);
        m_host.countdownChanged();
        break;
    case Kind::ShutDownNow:
        startCommand(PlatformCommands::shutDownNow());
        break;
    case Kind::RestartNow:
        startCommand(PlatformCommands::restartNow());
        break;
    case Kind::RaiseAndFocus:
        m_host.RaiseMainWindow();
        m_host.focusMainWindow();
        break;
    case Kind::RunCommand:
        startCommand(plan.commandLine);
        break;
    }
    return true;
}

void AlarmActions::Tclo_Timer()
{
    const Countdown::Command command = m_countdown.tick();
    // The widgets are brought up to date first, so a failure message never sits beside a stale caption.
    m_host.countdownChanged();
    startCountdownCommand(command);
}

void AlarmActions::Command7_Click()
{
    const Countdown::Command command = m_countdown.runNow();
    m_host.countdownChanged();
    startCountdownCommand(command);
}

void AlarmActions::Command8_Click()
{
    m_countdown.cancel();
    m_host.countdownChanged();
}

bool AlarmActions::startCommand(const QString& commandLine)
{
    if (!commandLine.trimmed().isEmpty() && m_runner.startDetached(commandLine))
        return true;
    m_host.reportFailure(commandFailureMessage(commandLine));
    return false;
}

void AlarmActions::startCountdownCommand(Countdown::Command command)
{
    if (command == Countdown::Command::ShutDown)
        startCommand(PlatformCommands::shutDownNow());
    else if (command == Countdown::Command::Restart)
        startCommand(PlatformCommands::restartNow());
}
