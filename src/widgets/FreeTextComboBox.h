#pragma once

#include <QComboBox>

// An editable list whose text stays exactly as the user typed it: no inline completion, no case
// folding, and no item is chosen on the user's behalf when typing ends. `picked` reports only the
// items the user chose, from the popup, with the arrow keys or with the wheel.
class FreeTextComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit FreeTextComboBox(QWidget* parent = nullptr);

signals:
    void picked(int index);
};
