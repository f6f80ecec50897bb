#include "engine/CommandLineSplit.h"

#include "engine/ShellWords.h"

std::optional<QStringList> splitCommandLine(const QString& commandLine)
{
    return splitShellWords(commandLine);
}
