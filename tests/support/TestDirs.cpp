#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QSettings>

TestDirs::TestDirs() : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldRuntime(qgetenv("XDG_RUNTIME_DIR"))
{
    QDir(m_root.path()).mkpath(QStringLiteral("config"));
    QDir(m_root.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtimeDir().toUtf8());
    // QSettings reads XDG_CONFIG_HOME only once per process, so a second TestDirs, or a QSettings made
    // before the first, would otherwise still write elsewhere (perhaps the user's own settings).
    // Not restored afterwards: a stale temporary folder is safer than the user's configuration.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome());
}

TestDirs::~TestDirs()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
}

QString TestDirs::configHome() const
{
    return m_root.path() + QStringLiteral("/config");
}

QString TestDirs::runtimeDir() const
{
    return m_root.path() + QStringLiteral("/runtime");
}

QString TestDirs::settingsFile() const
{
    return configHome() + QStringLiteral("/Horalis/Horalis.conf");
}
