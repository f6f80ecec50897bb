#pragma once

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <optional>

// One run of the real program in the test desktop, with its own settings, runtime folder and
// stub commands first on PATH, so nothing it starts can touch the machine.
class ProgramSession
{
public:
    ProgramSession();
    ~ProgramSession();

    QString configHome() const { return m_root.path() + QStringLiteral("/config"); }
    QString runtimeDir() const { return m_root.path() + QStringLiteral("/runtime"); }
    QString stubDir() const { return m_root.path() + QStringLiteral("/bin"); }
    QString settingsFile() const { return configHome() + QStringLiteral("/Horalis/Horalis.conf"); }
    QString autostartFile() const { return configHome() + QStringLiteral("/autostart/quorvel.desktop"); }
    QString path(const QString& name) const { return m_root.path() + QLatin1Char('/') + name; }

    void seed(const QString& section, const QString& key, const QString& value);
    // Reads the file afresh; a null string when the key is absent.
    QString setting(const QString& section, const QString& key) const;
    // A shell script named `name` in the stub folder that appends its arguments to `logFile`.
    void addLoggingStub(const QString& name, const QString& logFile);
    // An environment variable for the program's next start.
    void setEnvironment(const QString& name, const QString& value) { m_extraEnvironment.insert(name, value); }

    bool start();
    // Starts another copy with the same folders and waits for it; its exit code, or -1.
    int runSecondCopy();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QProcess& process() { return m_process; }

private:
    QProcessEnvironment environment() const;
    QTemporaryDir m_root;
    QProcessEnvironment m_extraEnvironment;
    QProcess m_process;
};

// Windows of the program as X11 sees them.
namespace XDesktop {
struct Window
{
    QString id;
    QString title;
    QRect geometry; // absolute, of the client area
    bool viewable = false;
};
std::optional<Window> mainWindow();
std::optional<Window> trayIcon();
std::optional<Window> strip();
// Viewable and not minimised.
bool mainShown();
bool iconShown();
// The window that lists problems where no notification service took them.
std::optional<Window> noticeWindow();
// Shown windows that are none of the above: message boxes, the appearance dialog.
QList<Window> otherWindows();
std::optional<Window> otherWindow();
// The window that has the keyboard focus as the window manager reports it, or an empty string.
QString activeWindow();
// The main window shown, not minimised, and active.
bool mainRestored();
// The whole screen as the X server shows it.
QImage screenshot();
void click(const QPoint& global, int button = 1);
// Asks the window manager to close the window, as its close box does.
void closeWindow(const QString& id);
} // namespace XDesktop
