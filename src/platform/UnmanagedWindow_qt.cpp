#include "platform/UnmanagedWindow.h"

#include <QWidget>

class UnmanagedWindow::Native
{};

UnmanagedWindow::UnmanagedWindow(QWidget* window) : QObject(window), m_window(window) {}

UnmanagedWindow::~UnmanagedWindow() = default;

void UnmanagedWindow::setSliding(bool) {}

void UnmanagedWindow::place(const QRect& geometry)
{
    m_window->setGeometry(geometry);
}

void UnmanagedWindow::watchStacking(bool) {}

bool UnmanagedWindow::seeThroughByAlpha() const
{
    return false;
}
