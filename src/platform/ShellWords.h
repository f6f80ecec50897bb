#pragma once

#include <QStringList>
#include <optional>

// Splits a command line into words the way a POSIX shell groups them, without any of a shell's
// expansions: blanks separate words; single quotes keep everything literal; double quotes keep
// everything literal except a backslash before $, `, ", \ or a line break; outside quotes a
// backslash takes the next character literally. Every other character (; | & $ ` ~ * # ...) is
// ordinary text. Empty when a quote is never closed.
std::optional<QStringList> splitShellWords(const QString& commandLine);
