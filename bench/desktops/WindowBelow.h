#pragma once

// A plain application window lying under the strip's band, in a process of its own, that counts
// what the strip costs it: the X Expose events it gets, and the repaints they cause. Without a
// compositor every move of the shaped strip uncovers a part of it, which it must paint again.
#include <QProcess>

class WindowBelow
{
public:
    struct Counts
    {
        long exposures = 0;
        long repaints = 0;
    };

    // Starts this program again as the window below, and waits until it is shown.
    bool start();
    ~WindowBelow();
    Counts counts();
    qint64 pid() const { return m_process.processId(); }

    // The window below's own main(), chosen by the environment.
    static bool isWindowBelow();
    static int run(int argc, char* argv[]);

private:
    QProcess m_process;
};
