#pragma once

#include <QIcon>
#include <QObject>

// Hands short messages to the desktop's notification service without waiting for it. A message
// that no service takes (no session bus, no service on it, an error or no answer in time) comes
// back through unanswered(), from the event loop, so the caller can show it some other way.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    DesktopNotifier(const QString& appName, const QIcon& icon, QObject* parent = nullptr);

    void notify(const QString& summary, const QString& body);

    // How long a service may take to answer before the message counts as unanswered.
    static constexpr int kAnswerTimeoutMs = 5000;

signals:
    void unanswered(const QString& summary, const QString& body);

private:
    QString m_appName;
    QIcon m_icon;
};
