#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// A top-level window that the window manager leaves alone, as the window system sees it: how it
// is moved while it slides, whether another window went above it, and whether a compositing
// manager draws the screen. On X11 all of it comes from the server's own events, so nothing is
// asked or answered per frame; elsewhere the window is moved as Qt moves it, nothing is reported
// and the screen counts as composited.
class UnmanagedWindow : public QObject
{
    Q_OBJECT

public:
    explicit UnmanagedWindow(QWidget* window);
    ~UnmanagedWindow() override;

    // While the window slides, a move is that move alone: the server does not report it back and
    // the widget's own record of its place is brought up to date when the sliding ends. Anything
    // else, a new size among it, is placed as Qt places windows.
    void setSliding(bool on);
    void place(const QRect& geometry);
    // While on, covered() follows every change of the stacking that may have put a window above.
    void watchStacking(bool on);
    // True where the screen is composited: a compositing manager runs, or XWayland hands the
    // windows to a Wayland compositor.
    bool compositing() const;

signals:
    void covered();
    void compositingChanged(bool on);

private:
    class Native;
    QWidget* m_window;
    Native* m_native = nullptr;
};
