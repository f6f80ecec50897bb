#include "engine/AlarmActions.h"

#include "engine/Countdown.h"
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
