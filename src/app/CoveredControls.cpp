#include "app/CoveredControls.h"

#include <QEvent>
#include <QWidget>

CoveredControls::CoveredControls(QWidget* panel, std::vector<QWidget*> covered, QObject* parent)
    : QObject(parent), m_panel(panel)
{
    for (QWidget* widget : covered)
        m_covered.push_back({widget, widget->focusPolicy()});
    panel->installEventFilter(this);
    follow();
}

bool CoveredControls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        follow();
    return QObject::eventFilter(watched, event);
}

void CoveredControls::follow()
{
    // Hiding the whole window hides the panel too, but it still covers the controls when the window
    // comes back; only the panel's own state counts.
    const bool covering = !m_panel->isHidden();
    if (covering == m_fenced)
        return;
    m_fenced = covering;
    for (Covered& covered : m_covered) {
        QWidget* widget = covered.widget;
        if (!widget)
            continue;
        if (covering) {
            covered.policy = widget->focusPolicy();
            widget->setFocusPolicy(Qt::NoFocus);
            if (widget->hasFocus())
                widget->clearFocus();
        } else {
            widget->setFocusPolicy(covered.policy);
        }
    }
}
