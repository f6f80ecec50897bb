#pragma once

#include <QString>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME and XDG_RUNTIME_DIR at fresh temporary folders for as long as it lives,
// so a test never touches the user's settings, autostart entries or running copy.
class TestDirs
{
public:
    TestDirs();
    ~TestDirs();
    QString configHome() const;
    QString runtimeDir() const;
    // The settings file the program writes under configHome().
    QString settingsFile() const;

private:
    QTemporaryDir m_root;
    QByteArray m_oldConfig;
    QByteArray m_oldRuntime;
};
