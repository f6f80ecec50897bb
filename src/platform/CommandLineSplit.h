#pragma once

#include <QStringList>
#include <optional>

// Program and arguments of a command line, by the rules users of the platform type them in.
// Empty when the text cannot be split (a quote left open). Each platform has its own source file.
std::optional<QStringList> splitCommandLine(const QString& commandLine);
