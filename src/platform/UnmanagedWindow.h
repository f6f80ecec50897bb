#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// A top-level window that the window manager leaves alone, as the window system sees it: how it
// is moved while it slides, whether another window went above it, and whether a compositing
// manager draws it. On X11 a move is one request that nothing answers, and the stacking is read
// only when the window manager says it changed; elsewhere the window is placed as Qt places it
// and nothing is reported.
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
    // While on, covered() follows every change of the window manager's stacking that leaves a
    // window above this one.
    void watchStacking(bool on);
    // True while a compositing manager draws the screen and shows the window's transparent
    // pixels as see-through, with nothing drawn around its box, so that its outline may be left
    // out; compositingChanged() follows it starting and stopping.
    bool seeThroughByAlpha() const;

signals:
    void covered();
    void compositingChanged();

private:
    class Native;
    QWidget* m_window;
    Native* m_native = nullptr;
};
