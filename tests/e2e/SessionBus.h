#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

// A private D-Bus session bus for one test, on which only the services the test added start on
// demand, optionally with a stand-in notification service that records every Notify call, and a
// screen reader.
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

    // The accessibility bus on this bus, and a screen reader that turns itself on and records
    // every event it would hear.
    bool startScreenReader();
    // Every event so far: time, type, detail1, role, name, description, window.
    QList<QJsonObject> screenReaderEvents() const;
    // The accessible tree of one process: path, role, name, description, states.
    QList<QJsonObject> accessibleTree(qint64 pid) const;

private:
    QProcessEnvironment screenReaderEnvironment() const;

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QProcess m_listener;
    QProcess m_busLauncher;
    QProcess m_reader;
    QString m_address;
};
