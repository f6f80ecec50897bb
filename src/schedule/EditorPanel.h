#pragma once

#include "schedule/CueColour.h"
#include "schedule/EntryEdit.h"
#include "schedule/TimeText.h"

#include <QDate>
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class SettingsStore;

// The editor panel `Picture1`: covers the alarm list while one alarm is being edited.
class EditorPanel : public QWidget
{
    Q_OBJECT
public:
    explicit EditorPanel(QWidget* parent = nullptr);

    // Loads a slot from the store into the controls and remembers what they show.
    void ShowEntry(const SettingsStore& store, int slot);
    // What the controls hold now.
    EntryFields currentFields() const;
    // Today's date, for the blue cue of the date lists.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // A click in the time field with the caret at `caret` picks and sets a spinner.
    void Ttime_Click(int caret);
    void Ttime_LostFocus();
    void VScroll_Change(TimeText::Spinner spinner, int value);
    void applyDateCue(QComboBox* list);
    void applySoundCue();
    static QColor cueColour(CueColour cue);

    std::array<QLabel*, 5> Label1{};
    QLineEdit* Ttime = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QComboBox* Cyy = nullptr;
    QComboBox* Cmm = nullptr;
    QComboBox* Cdd = nullptr;
    QLineEdit* Tslogan = nullptr;
    QLineEdit* Tmus = nullptr;
    QPushButton* Command6 = nullptr;
    QComboBox* Cml = nullptr;
    QCheckBox* Check1 = nullptr;
    std::array<QPushButton*, 7> ToggleButton1{};
    QCheckBox* Check2 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command4 = nullptr;

    // The slot being edited, as decimal text.
    QString editedSlot;
    // The values the controls showed when the slot was loaded.
    EntryTags Tags;

signals:
    // "好", or Enter in the time, text or sound field.
    void saveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectRules();
    QScrollBar* spinnerFor(TimeText::Spinner spinner) const;
};
