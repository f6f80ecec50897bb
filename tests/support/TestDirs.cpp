#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

TestDirs::TestDirs()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldRuntime(qgetenv("XDG_RUNTIME_DIR"))
{
    QDir(m_root.path()).mkpath(QStringLiteral("config"));
    QDir(m_root.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtimeDir().toUtf8());
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
