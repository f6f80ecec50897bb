#include "app/ProblemReporter.h"

#include "app/NoticePlacement.h"
#include "app/NoticeWindow.h"
#include "engine/Clock.h"
#include "overlay/ScreenLayout.h"
#include "platform/DesktopNotifier.h"

#include <QEvent>
#include <QScreen>

ProblemReporter::ProblemReporter(QWidget& mainWindow, const Clock& clock)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_clock(clock),
      m_notifier(new DesktopNotifier(QStringLiteral("Quorvel"), mainWindow.windowIcon(), this))
{
    connect(m_notifier, &DesktopNotifier::unanswered, this,
            [this](const QString&, const QString& body) { showNotice(body); });
    m_mainWindow.installEventFilter(this);
}

ProblemReporter::~ProblemReporter() = default;

void ProblemReporter::report(const QString& message)
{
    m_notifier->notify(NoticeWindow::title(), message);
}

bool ProblemReporter::eventFilter(QObject* watched, QEvent* event)
{
    // The main window is framed a moment after it shows; by the time it is moved, resized or
    // activated its frame is known.
    const QEvent::Type type = event->type();
    if (!m_mainFrame && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowActivate))
        m_mainFrame = shownFrame(m_mainWindow);
    return QObject::eventFilter(watched, event);
}

std::optional<QMargins> ProblemReporter::shownFrame(const QWidget& window)
{
    if (!window.isVisible() || window.isMinimized())
        return std::nullopt;
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    return margins.isNull() ? std::nullopt : std::optional<QMargins>(margins);
}

QMargins ProblemReporter::frameMargins()
{
    // A hidden window has no frame, so a frame is only measured on a shown one: the notice's own
    // once it has one, else the main window's, as the window manager frames windows alike.
    if (m_notice && !m_noticeFrame)
        m_noticeFrame = shownFrame(*m_notice);
    if (!m_mainFrame)
        m_mainFrame = shownFrame(m_mainWindow);
    return m_noticeFrame.value_or(m_mainFrame.value_or(QMargins()));
}

void ProblemReporter::showNotice(const QString& message)
{
    if (!m_notice)
        m_notice = std::make_unique<NoticeWindow>();
    m_notice->add(m_clock.now().toString(QStringLiteral("HH:mm:ss  ")) + message);

    const QMargins margins = frameMargins();
    const QRect frame = m_mainWindow.geometry().marginsAdded(margins);
    const QScreen* screen = m_mainWindow.screen();
    const QRect area = screen ? screen->availableGeometry() : frame;
    const QRect place =
        NoticePlacement::beside(frame, m_notice->size().grownBy(margins), area, ScreenLayout::stripBand());
    m_notice->move(place.topLeft());
    m_notice->show();
    m_notice->raise();
}
