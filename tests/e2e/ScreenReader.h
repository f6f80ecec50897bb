#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

// A screen reader's view of the desktop: the accessibility bus on a test's own session bus, and
// a listener that turns the screen reader on and records every event it would hear.
class ScreenReader
{
public:
    ~ScreenReader();

    // Starts the accessibility bus and the listener on that session bus.
    bool start(const QString& sessionBusAddress);
    // Every event so far: type, detail1, role, name, description, window.
    QList<QJsonObject> events() const;
    // The accessible tree of one process: path, role, name, description, states.
    QList<QJsonObject> tree(qint64 pid) const;

private:
    QProcessEnvironment environment() const;
    QTemporaryDir m_dir;
    QString m_address;
    QProcess m_busLauncher;
    QProcess m_listener;
};
