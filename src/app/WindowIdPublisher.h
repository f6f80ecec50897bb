#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class SettingsStore;

// Stores the id of the main window's native window for a later second copy: once start-up asks
// for it, and again whenever the platform replaces the native window. A failed save is reported.
class WindowIdPublisher : public QObject
{
    Q_OBJECT
public:
    using Report = std::function<void(const QString&)>;
    WindowIdPublisher(QWidget& window, SettingsStore& store, Report report);

    // Start-up: the window is shown; its id is stored now and after every change.
    void start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void publish();

    QWidget& m_window;
    SettingsStore& m_store;
    Report m_report;
    bool m_started = false;
    QString m_published;
};
