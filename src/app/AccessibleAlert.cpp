#include "app/AccessibleAlert.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QCoreApplication>

namespace {

// The alert as assistive technologies see it: its text as its name, a child of the application.
class AlertInterface : public QAccessibleObject
{
public:
    explicit AlertInterface(AccessibleAlert* alert) : QAccessibleObject(alert) {}

    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(QCoreApplication::instance());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<AccessibleAlert*>(object())->text() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::AlertMessage; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }
};

QAccessibleInterface* alertFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("AccessibleAlert") && object)
        return new AlertInterface(static_cast<AccessibleAlert*>(object));
    return nullptr;
}

void notify(AccessibleAlert* alert, QAccessible::Event type)
{
    QAccessibleEvent event(alert, type);
    QAccessible::updateAccessibility(&event);
}

} // namespace

AccessibleAlert::AccessibleAlert(QObject* parent) : QObject(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(alertFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void AccessibleAlert::say(const QString& text)
{
    // Hidden and shown again, so that the same text twice is said twice.
    if (!m_text.isEmpty())
        notify(this, QAccessible::ObjectHide);
    m_text = text;
    // Screen readers keep an object's name until they are told it changed.
    notify(this, QAccessible::NameChanged);
    notify(this, QAccessible::ObjectShow);
}
