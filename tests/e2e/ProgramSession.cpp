#include "ProgramSession.h"

#include "SoundCard.h"
#include "support/DesktopShot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>

namespace {

QString buildDir()
{
    return qEnvironmentVariable("QUORVEL_BUILD_DIR");
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A desktop has a sound server, so the test desktop has one too: a private one with a null sink,
// shared by the test's program runs, ended with the test.
const PrivateSoundServer* desktopSoundServer()
{
    static PrivateSoundServer* server = nullptr;
    static bool running = false;
    if (!server) {
        server = new PrivateSoundServer;
        const QString problem = server->start();
        running = problem.isEmpty();
        if (!running)
            qWarning("no sound server for the program: %s", qPrintable(problem));
        qAddPostRoutine([] { delete server; });
    }
    return running ? server : nullptr;
}

} // namespace

ProgramSession::ProgramSession()
{
    QDir root(m_root.path());
    root.mkpath(QStringLiteral("config"));
    root.mkpath(QStringLiteral("runtime"));
    root.mkpath(QStringLiteral("bin"));
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Never the real thing, whatever an alarm asks for.
    for (const char* command : {"systemctl", "shutdown", "reboot", "poweroff"})
        addLoggingStub(QLatin1String(command), path(QStringLiteral("%1.log").arg(QLatin1String(command))));
}

ProgramSession::~ProgramSession()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void ProgramSession::seed(const QString& section, const QString& key, const QString& value)
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
}

QString ProgramSession::setting(const QString& section, const QString& key) const
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : QString();
}

void ProgramSession::addLoggingStub(const QString& name, const QString& logFile)
{
    const QString file = stubDir() + QLatin1Char('/') + name;
    QFile script(file);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(logFile).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

QProcessEnvironment ProgramSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    env.insert(QStringLiteral("PATH"), stubDir() + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!m_extraEnvironment.contains(QStringLiteral("PULSE_SERVER"))) {
        if (const PrivateSoundServer* sound = desktopSoundServer()) {
            env.insert(QStringLiteral("PULSE_SERVER"), sound->address());
            env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), sound->runtimePath());
        }
    }
    env.insert(m_extraEnvironment);
    return env;
}

bool ProgramSession::start()
{
    m_process.setProcessEnvironment(environment());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(buildDir() + QStringLiteral("/quorvel"), {});
    return m_process.waitForStarted(5000);
}

int ProgramSession::runSecondCopy()
{
    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(buildDir() + QStringLiteral("/quorvel"), {});
    if (!second.waitForFinished(10000))
        return -1;
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

namespace XDesktop {

namespace {

QList<Window> programWindows()
{
    static const QRegularExpression line(QStringLiteral(
        R"re((0x[0-9a-f]+) "([^"]*)": \("quorvel" "[^"]*"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))re"));
    QList<Window> windows;
    const QString tree = run(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    auto it = line.globalMatch(tree);
    while (it.hasNext()) {
        const auto match = it.next();
        Window window;
        window.id = match.captured(1);
        window.title = match.captured(2);
        window.geometry = QRect(match.captured(5).toInt(), match.captured(6).toInt(),
                                match.captured(3).toInt(), match.captured(4).toInt());
        window.viewable = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.id})
                              .contains(QLatin1String("IsViewable"));
        windows.append(window);
    }
    return windows;
}

std::optional<Window> find(const std::function<bool(const QRect&)>& matches)
{
    for (const Window& window : programWindows()) {
        if (matches(window.geometry))
            return window;
    }
    return std::nullopt;
}

bool isNotice(const Window& window)
{
    return window.title == QStringLiteral("Quorvel 提示");
}

} // namespace

std::optional<Window> mainWindow()
{
    return find([](const QRect& r) { return r.size() == QSize(337, 169); });
}

std::optional<Window> trayIcon()
{
    return find([](const QRect& r) {
        return r.width() > 1 && r.width() <= 64 && r.height() > 1 && r.height() <= 64;
    });
}

std::optional<Window> strip()
{
    return find([](const QRect& r) { return r.height() == 80; });
}

// Minimised: some window managers keep a minimised window mapped and only stop drawing it.
bool minimised(const QString& id)
{
    return run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_STATE")})
        .contains(QLatin1String("_NET_WM_STATE_HIDDEN"));
}

bool mainShown()
{
    const auto window = mainWindow();
    return window && window->viewable && !minimised(window->id);
}

bool iconShown()
{
    const auto icon = trayIcon();
    return icon && icon->viewable;
}

std::optional<Window> noticeWindow()
{
    for (const Window& window : programWindows()) {
        if (window.viewable && isNotice(window))
            return window;
    }
    return std::nullopt;
}

QList<Window> otherWindows()
{
    QList<Window> others;
    for (const Window& window : programWindows()) {
        const QSize size = window.geometry.size();
        const bool known =
            size == QSize(337, 169) || size.height() == 80 || size.width() <= 64 || isNotice(window);
        if (window.viewable && !known)
            others.append(window);
    }
    return others;
}

std::optional<Window> otherWindow()
{
    const QList<Window> others = otherWindows();
    return others.isEmpty() ? std::nullopt : std::optional<Window>(others.first());
}

QString activeWindow()
{
    static const QRegularExpression id(QStringLiteral("window id # (0x[0-9a-f]+)"));
    const auto match = id.match(
        run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
    return match.hasMatch() ? match.captured(1) : QString();
}

bool mainRestored()
{
    const auto window = mainWindow();
    return mainShown() && window && activeWindow().toUInt(nullptr, 16) == window->id.toUInt(nullptr, 16);
}

QImage screenshot()
{
    return shootDesktop().convertToFormat(QImage::Format_RGB32);
}

void click(const QPoint& global, int button)
{
    // Under a nested compositor the pointer is the outer display's: the compositor passes it on.
    const QString display = qEnvironmentVariable("QUORVEL_POINTER_DISPLAY");
    const auto pointer = [&display](const QStringList& arguments) {
        QProcess process;
        if (!display.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DISPLAY"), display);
            process.setProcessEnvironment(environment);
        }
        process.start(QStringLiteral("xdotool"), arguments);
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    // "mousemove --sync" waits for a motion that never comes when the pointer is there already.
    const QString at = pointer({QStringLiteral("getmouselocation")});
    if (!at.startsWith(QStringLiteral("x:%1 y:%2 ").arg(global.x()).arg(global.y())))
        pointer({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(global.x()),
                 QString::number(global.y())});
    pointer({QStringLiteral("click"), QString::number(button)});
}

void closeWindow(const QString& id)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+F4")});
}

} // namespace XDesktop
