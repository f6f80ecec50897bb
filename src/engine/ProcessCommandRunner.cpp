#include "engine/ProcessCommandRunner.h"

#include "platform/CommandLineSplit.h"

#include <QProcess>

bool ProcessCommandRunner::startDetached(const QString& commandLine)
{
    std::optional<QStringList> arguments = splitCommandLine(commandLine);
    if (!arguments || arguments->isEmpty() || arguments->first().isEmpty())
        return false;
    const QString program = arguments->takeFirst();
    return QProcess::startDetached(program, *arguments);
}
