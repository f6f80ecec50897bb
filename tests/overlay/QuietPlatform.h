#pragma once

#include <QString>
#include <QtGlobal>

// The offscreen platform warns each time it cannot apply a window mask or a raise, and the strip
// moves its mask on every tick. Drops those warnings and passes everything else on.
inline void silenceUnsupportedPlatformWarnings()
{
    static QtMessageHandler previous = nullptr;
    previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, text);
        });
}
