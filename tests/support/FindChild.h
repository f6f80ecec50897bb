#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

// A window's control found by its objectName, as a user would know it; a missing one ends the test.
template <typename Control = QWidget> Control* child(const QObject& root, const QString& name)
{
    auto* control = root.findChild<Control*>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}
