#include "app/ProblemReporter.h"

#include "app/NoticePlacement.h"
#include "app/NoticeWindow.h"
#include "engine/Clock.h"
#include "overlay/ScreenLayout.h"
#include "platform/DesktopNotifier.h"

#include <QScreen>

ProblemReporter::ProblemReporter(QWidget& mainWindow, const Clock& clock)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_clock(clock),
      m_notifier(new DesktopNotifier(QStringLiteral("Quorvel"), mainWindow.windowIcon(), this))
{
    connect(m_notifier, &DesktopNotifier::unanswered, this,
            [this](const QString&, const QString& body) { showNotice(body); });
}

ProblemReporter::~ProblemReporter() = default;

void ProblemReporter::report(const QString& message)
{
    m_notifier->notify(NoticeWindow::title(), message);
}

void ProblemReporter::showNotice(const QString& message)
{
    if (!m_notice)
        m_notice = std::make_unique<NoticeWindow>();
    m_notice->add(m_clock.now().toString(QStringLiteral("HH:mm:ss  ")) + message);

    // The notice's frame is taken to be as wide as the main window's; move() places the frame.
    const QRect frame = m_mainWindow.frameGeometry();
    const QRect client = m_mainWindow.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QScreen* screen = m_mainWindow.screen();
    const QRect area = screen ? screen->availableGeometry() : frame;
    const QRect place =
        NoticePlacement::beside(frame, m_notice->size().grownBy(margins), area, ScreenLayout::stripBand());
    m_notice->move(place.topLeft());
    m_notice->show();
    m_notice->raise();
}
