#include "overlay/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>

namespace {

QHash<QString, QAccessible::Role>& roles()
{
    static QHash<QString, QAccessible::Role> table;
    return table;
}

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    const auto found = roles().constFind(className);
    if (found == roles().constEnd() || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), *found);
}

} // namespace

void AccessibleRole::give(const char* className, QAccessible::Role role)
{
    if (roles().isEmpty())
        QAccessible::installFactory(factory);
    roles().insert(QString::fromLatin1(className), role);
}
