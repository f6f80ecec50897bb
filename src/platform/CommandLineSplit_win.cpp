#include "platform/CommandLineSplit.h"

#include <QProcess>

std::optional<QStringList> splitCommandLine(const QString& commandLine)
{
    return QProcess::splitCommand(commandLine);
}
