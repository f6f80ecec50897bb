// Start-up time, resident memory in the tray and idle wake-ups of the real program, measured
// in the running X session, each a median: of several starts, and of several copies idling together.
#include "BenchReport.h"
#include "IsolatedRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr int kRuns = 7;
constexpr int kIdleCopies = 3;

// True when the window, or a window inside it (a window manager's frame), is the 337 × 169 main window.
bool holdsMainWindow(xcb_connection_t* connection, xcb_window_t window, int depth = 0)
{
    auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const bool match = geometry && geometry->width == 337 && geometry->height == 169;
    free(geometry);
    if (match || depth > 2)
        return match;
    auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    bool found = false;
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
            found = holdsMainWindow(connection, children[i], depth + 1);
        free(tree);
    }
    return found;
}

// Milliseconds from starting the process to the main window being mapped, or -1.
double timeToWindow(xcb_connection_t* connection, QProcess& process)
{
    QElapsedTimer clock;
    clock.start();
    process.start();
    while (clock.elapsed() < 10000) {
        xcb_generic_event_t* event = xcb_wait_for_event(connection);
        if (!event)
            return -1;
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
        free(event);
        if (mapped && holdsMainWindow(connection, window))
            return clock.nsecsElapsed() / 1e6;
    }
    return -1;
}

qint64 statusValue(const QString& file, const QByteArray& key)
{
    QFile status(file);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// Context switches of every thread of the process.
qint64 contextSwitches(qint64 pid)
{
    qint64 total = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = tasks + QLatin1Char('/') + task + QStringLiteral("/status");
        total +=
            statusValue(file, "voluntary_ctxt_switches:") + statusValue(file, "nonvoluntary_ctxt_switches:");
    }
    return total;
}

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_startup: no X display (run it through make bench)\n");
        return 1;
    }
    const xcb_window_t rootWindow = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, rootWindow, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> startups;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir root;
        QProcess process;
        process.setProgram(QStringLiteral(QUORVEL_PROGRAM));
        process.setProcessEnvironment(isolatedEnvironment(root));
        process.setStandardErrorFile(QProcess::nullDevice());
        const double ms = timeToWindow(connection, process);
        if (ms >= 0)
            startups.push_back(ms);
        stop(process);
    }

    // Several copies idle side by side, each with its own settings and runtime folder, so memory and
    // wake-ups are medians too without making the minute longer.
    std::vector<std::unique_ptr<QTemporaryDir>> roots;
    std::vector<std::unique_ptr<QProcess>> idlers;
    for (int copy = 0; copy < kIdleCopies; ++copy) {
        roots.push_back(std::make_unique<QTemporaryDir>());
        idlers.push_back(std::make_unique<QProcess>());
        QProcess& process = *idlers.back();
        process.setProgram(QStringLiteral(QUORVEL_PROGRAM));
        process.setProcessEnvironment(isolatedEnvironment(*roots.back()));
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start();
        process.waitForStarted();
    }
    // The window hides into the tray 3 s after start.
    QThread::sleep(5);
    std::vector<double> rssMiB;
    std::vector<qint64> before;
    for (const auto& process : idlers) {
        const qint64 pid = process->processId();
        rssMiB.push_back(statusValue(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:") / 1024.0);
        before.push_back(contextSwitches(pid));
    }
    QThread::sleep(60);
    std::vector<double> wakeups;
    bool allAlive = true;
    for (size_t i = 0; i < idlers.size(); ++i) {
        allAlive = allAlive && idlers[i]->state() == QProcess::Running;
        wakeups.push_back(double(contextSwitches(idlers[i]->processId()) - before[i]));
        stop(*idlers[i]);
    }
    xcb_disconnect(connection);

    std::printf("start-up: %lld of %d runs showed the window; idle: %d copies for 60 s\n",
                static_cast<long long>(startups.size()), kRuns, kIdleCopies);
    BenchReport::figure("start-up to main window shown", BenchReport::median(startups), 1, "ms", 150);
    BenchReport::figure("resident memory, hidden in the tray", BenchReport::median(rssMiB), 1, "MiB", 45);
    BenchReport::figure("idle wake-ups per minute (context switches)", BenchReport::median(wakeups), 0,
                        "/min", 10);
    if (!allAlive)
        std::fprintf(stderr, "bench_startup: an idle copy ended by itself\n");
    return int(startups.size()) == kRuns && allAlive ? 0 : 1;
}
