#include "app/WindowIdPublisher.h"

#include "settings/SettingsValues.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

WindowIdPublisher::WindowIdPublisher(QWidget& window, SettingsStore& store, Report report)
    : QObject(&window), m_window(window), m_store(store), m_report(std::move(report))
{
    window.installEventFilter(this);
}

void WindowIdPublisher::start()
{
    m_started = true;
    publish();
}

bool WindowIdPublisher::eventFilter(QObject* watched, QEvent* event)
{
    // A recreated window is shown again before its id is final; publish it once that is done.
    if (watched == &m_window && event->type() == QEvent::WinIdChange)
        QTimer::singleShot(0, this, &WindowIdPublisher::publish);
    return QObject::eventFilter(watched, event);
}

void WindowIdPublisher::publish()
{
    // The native window's own id: the widget's copy goes stale when the platform recreates the
    // window on its own, as X11 does when the stays-on-top flag changes.
    const QWindow* window = m_window.windowHandle();
    if (!m_started || !window || !window->handle())
        return;
    const QString id = QString::number(quint64(window->winId()));
    if (id == m_published)
        return;
    m_published = id;
    using SettingsLayout::MainWindowId;
    const SaveOutcome outcome = SettingsValues::saveText(m_store, MainWindowId.section, MainWindowId.key, id);
    if (!outcome.saved)
        m_report(SettingsValues::saveFailureMessage(QStringLiteral("主窗口标识"), outcome));
}
