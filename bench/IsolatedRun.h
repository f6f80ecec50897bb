#pragma once

// The real program started as a first start would: settings and runtime folder of its own, on
// the display the benchmark runs in.
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

inline QProcessEnvironment isolatedEnvironment(const QTemporaryDir& root)
{
    QDir(root.path()).mkpath(QStringLiteral("config"));
    QDir(root.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(root.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path() + QStringLiteral("/runtime"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}
