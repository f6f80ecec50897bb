#pragma once

#include "engine/CommandRunner.h"

// Starts command lines as processes of their own, split into words as the platform's users type
// them and never handed to a shell, so nothing in a stored text is interpreted by one.
class ProcessCommandRunner : public CommandRunner
{
public:
    bool startDetached(const QString& commandLine) override;
};
