#include "platform/DesktopNotifier.h"

#include <QTimer>

DesktopNotifier::DesktopNotifier(const QString& appName, const QIcon& icon, QObject* parent)
    : QObject(parent), m_appName(appName), m_icon(icon)
{}

// No notification service here: every message goes back to the caller.
void DesktopNotifier::notify(const QString& summary, const QString& body)
{
    QTimer::singleShot(0, this, [this, summary, body] { emit unanswered(summary, body); });
}
