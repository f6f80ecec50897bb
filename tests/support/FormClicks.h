#pragma once

// Mouse clicks go through the window system, as a real click does: they reach the widget under
// the point (a shown row bar covers its row), the caret and the focus follow the press, and
// QGuiApplication::mouseButtons() is set while a button is down.
#if defined(QTESTMOUSE_H) && !defined(QTEST_QPA_MOUSE_HANDLING)
#error "include support/FormClicks.h before <QTest>"
#endif
#ifndef QTEST_QPA_MOUSE_HANDLING
#define QTEST_QPA_MOUSE_HANDLING
#endif

#include "schedule/EditorPanel.h"
#include "support/FindChild.h"
#include "support/FormHarness.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace FormClicks {

inline void clickRow(Form1& form, int row)
{
    auto* list = child<QListWidget>(form, QStringLiteral("List1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Loads the main window and waits until it is exposed and active, so focus moves as for a user.
inline Form1& loadActive(Harness& h)
{
    Form1& form = h.load();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("main window not active");
    return form;
}

// Selects the row and clicks "更改".
inline EditorPanel& openEditor(Form1& form, int row)
{
    clickRow(form, row);
    QTest::mouseClick(child<QPushButton>(form, QStringLiteral("Command1")), Qt::LeftButton);
    return *child<EditorPanel>(form, QStringLiteral("Picture1"));
}

} // namespace FormClicks
