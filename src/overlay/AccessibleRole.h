#pragma once

#include <QAccessible>

// Gives every widget of one class a role of its own for assistive technologies, in place of the
// generic one Qt gives a plain widget.
namespace AccessibleRole {
void give(const char* className, QAccessible::Role role);
} // namespace AccessibleRole
