#pragma once

#include <QMargins>
#include <QObject>
#include <memory>
#include <optional>

class Clock;
class DesktopNotifier;
class NoticeWindow;
class QWidget;

// Tells the user about problems without blocking and without covering what rings: through the
// desktop's notification service, or where no service takes a message, in one notice window
// beside the main window, clear of it and of the strip's band.
class ProblemReporter : public QObject
{
    Q_OBJECT
public:
    ProblemReporter(QWidget& mainWindow, const Clock& clock);
    ~ProblemReporter() override;

    void report(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showNotice(const QString& message);
    // The frame the window manager puts around a window, where it is shown and has one.
    static std::optional<QMargins> shownFrame(const QWidget& window);
    QMargins frameMargins();

    QWidget& m_mainWindow;
    const Clock& m_clock;
    DesktopNotifier* m_notifier = nullptr;
    // A window of its own, not the main window's child, so that it shows whether or not that one
    // is hidden in the tray.
    std::unique_ptr<NoticeWindow> m_notice;
    std::optional<QMargins> m_noticeFrame;
    std::optional<QMargins> m_mainFrame;
};
