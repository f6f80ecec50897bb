#include "app/NotificationIcon.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>

NotificationIcon::NotificationIcon(const QIcon& icon, QObject* parent) : QObject(parent), m_icon(icon)
{
    m_icon.setToolTip(QStringLiteral("Quorvel"));
    connect(&m_icon, &QSystemTrayIcon::activated, this, &NotificationIcon::onActivated);
}

bool NotificationIcon::trayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void NotificationIcon::add()
{
    m_icon.show();
}

void NotificationIcon::remove()
{
    m_icon.hide();
    m_awaitingRelease = false;
}

void NotificationIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context)
        return;
    // An XEmbed icon reports the press; wait for the release. A status-notifier host reports
    // the finished click, with no button held any more.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        emit restoreRequested();
        return;
    }
    if (!m_awaitingRelease) {
        m_awaitingRelease = true;
        qApp->installEventFilter(this);
    }
}

bool NotificationIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (m_awaitingRelease && event->type() == QEvent::MouseButtonRelease) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton) {
            m_awaitingRelease = false;
            qApp->removeEventFilter(this);
            // The icon's own window handles this event still; restore once it is done.
            QTimer::singleShot(0, this, &NotificationIcon::restoreRequested);
        }
    }
    return QObject::eventFilter(watched, event);
}
