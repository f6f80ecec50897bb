// Start-up time, resident memory in the tray and idle wake-ups of the real program, measured
// in the running X session. Prints a table with each budget beside its figure.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <xcb/xcb.h>

namespace {

constexpr int kRuns = 7;

QProcessEnvironment isolatedEnvironment(const QTemporaryDir& root)
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
        total += statusValue(file, "voluntary_ctxt_switches:") + statusValue(file, "nonvoluntary_ctxt_switches:");
    }
    return total;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
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

    QList<double> startups;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir root;
        QProcess process;
        process.setProgram(QStringLiteral(QUORVEL_PROGRAM));
        process.setProcessEnvironment(isolatedEnvironment(root));
        process.setStandardErrorFile(QProcess::nullDevice());
        const double ms = timeToWindow(connection, process);
        if (ms >= 0)
            startups.append(ms);
        stop(process);
    }

    QTemporaryDir root;
    QProcess process;
    process.setProgram(QStringLiteral(QUORVEL_PROGRAM));
    process.setProcessEnvironment(isolatedEnvironment(root));
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    process.waitForStarted();
    // The window hides into the tray 3 s after start.
    QThread::sleep(5);
    const qint64 pid = process.processId();
    const double rssMiB = statusValue(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:") / 1024.0;
    const qint64 before = contextSwitches(pid);
    QThread::sleep(60);
    const qint64 wakeups = contextSwitches(pid) - before;
    stop(process);
    xcb_disconnect(connection);

    std::printf("%-44s %12s %12s\n", "figure", "measured", "budget");
    std::printf("%-44s %9.1f ms %9d ms\n", "start-up to main window shown (median of 7)", median(startups), 150);
    std::printf("%-44s %8.1f MiB %8d MiB\n", "resident memory, hidden in the tray", rssMiB, 45);
    std::printf("%-44s %9lld /m %9d /m\n", "idle wake-ups (context switches) per minute", wakeups, 10);
    return startups.size() == kRuns ? 0 : 1;
}
