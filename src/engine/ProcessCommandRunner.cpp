#include "engine/ProcessCommandRunner.h"

#include <QProcess>
#include <QStringList>

bool ProcessCommandRunner::startDetached(const QString& commandLine)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments);
}
