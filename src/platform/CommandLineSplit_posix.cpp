#include "platform/CommandLineSplit.h"

#include "platform/ShellWords.h"

std::optional<QStringList> splitCommandLine(const QString& commandLine)
{
    return splitShellWords(commandLine);
}
