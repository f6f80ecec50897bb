#pragma once

#include "schedule/AlarmTable.h"

#include <QObject>
#include <array>

class AlarmEngine;
class QListWidget;
class QPushButton;
class QTimer;
class QWidget;
class RowBar;

// The alarm list on the main window: its ten rows, the bars that blink over ringing rows, the
// "更改" button and the click rule. It shows what the engine signals and passes clicks back.
class AlarmListView : public QObject
{
    Q_OBJECT
public:
    // The controls are the window's own children, placed in the window's coordinates.
    AlarmListView(AlarmEngine& engine, QWidget& window);

    // Start-up: a row for each slot, its bar laid over it.
    void loadRows();
    // The slot's record changed: its row shows the new line.
    void showRow(int slot);
    void setListFont(const QFont& font);

    // Blinks the bars of the ringing rows.
    void Timer2_Timer();
    // A click or a keyboard selection in the list. A ringing row is dismissed; "更改" opens only
    // for a selected row that does not ring.
    void List1_Click();
    // The list's selected row, or -1.
    int selectedRow() const;

    QListWidget* list() const { return List1; }
    QPushButton* changeButton() const { return Command1; }

signals:
    // The user clicked or selected in the list.
    void clicked();
    // "更改", a double-click or Enter: the user wants to edit the slot.
    void openRequested(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectEngine();
    void connectList();
    void Command1_Click();
    void List1_DblClick();

    AlarmEngine& m_engine;
    QListWidget* List1 = nullptr;
    std::array<RowBar*, kSlotCount> Ptt{};
    QPushButton* Command1 = nullptr;
    QTimer* Timer2 = nullptr;
    // The mouse changed the list's selection and no click has reported it yet.
    bool m_mouseSelected = false;
};
