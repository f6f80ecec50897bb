#pragma once

#include <QObject>
#include <QSystemTrayIcon>

// The tray icon that stands for the hidden main window. A left or right button released over it
// asks for the window back; presses and pointer movement do nothing.
class NotificationIcon : public QObject
{
    Q_OBJECT
public:
    explicit NotificationIcon(const QIcon& icon, QObject* parent = nullptr);

    static bool trayAvailable();
    void add();
    void remove();

signals:
    void restoreRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon m_icon;
    bool m_awaitingRelease = false;
};
