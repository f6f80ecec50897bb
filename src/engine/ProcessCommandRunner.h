#pragma once

#include "engine/CommandRunner.h"

// Starts command lines as processes of their own, split by QProcess's rules and never handed to a
// shell, so nothing in a stored text is interpreted by one.
class ProcessCommandRunner : public CommandRunner
{
public:
    bool startDetached(const QString& commandLine) override;
};
