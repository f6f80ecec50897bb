#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

// A private D-Bus session bus for one test, on which only the services the test added start on
// demand, and optionally a stand-in notification service that records every Notify call.
class SessionBus
{
public:
    SessionBus() = default;
    ~SessionBus();

    // A service the bus starts on demand with the command line `exec`; before start().
    bool addService(const QString& name, const QString& exec);
    bool start();
    // For the program's DBUS_SESSION_BUS_ADDRESS.
    QString address() const { return m_address; }
    // A service that answers every call, or with `silent` one that never answers.
    bool startNotificationService(bool silent = false);
    // The Notify calls so far: app_name, app_icon, summary, body, desktop_entry, image ([w, h]).
    QList<QJsonObject> notifications() const;

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QProcess m_listener;
    QString m_address;
};
