#pragma once

#include <QString>

// Starts a command line as a separate process that nobody waits for.
class CommandRunner
{
public:
    virtual ~CommandRunner() = default;
    // Program and arguments in one text, split without a shell. Returns false when it could not start.
    virtual bool startDetached(const QString& commandLine) = 0;
};
