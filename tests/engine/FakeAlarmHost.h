#pragma once

#include "engine/AlarmHost.h"

#include <QStringList>

// Records what the engine asks of the main window: "raise", "focus", "countdown", "blink",
// "paint:<slot>", "fired:<slot>", "failure:<message>".
class FakeAlarmHost : public AlarmHost
{
public:
    void RaiseMainWindow() override { calls.append(QStringLiteral("raise")); }
    void focusMainWindow() override { calls.append(QStringLiteral("focus")); }
    void countdownChanged() override { calls.append(QStringLiteral("countdown")); }
    void startBlinking() override { calls.append(QStringLiteral("blink")); }
    void paintRingingBar(int slot) override { calls.append(QStringLiteral("paint:%1").arg(slot)); }
    void slotFired(int slot) override { calls.append(QStringLiteral("fired:%1").arg(slot)); }
    void reportFailure(const QString& message) override
    {
        calls.append(QStringLiteral("failure:") + message);
    }

    QStringList failures() const
    {
        QStringList result;
        for (const QString& call : calls) {
            if (call.startsWith(QStringLiteral("failure:")))
                result.append(call.mid(8));
        }
        return result;
    }

    QStringList calls;
};
