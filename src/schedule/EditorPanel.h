#pragma once

#include "schedule/AlarmTable.h"
#include "schedule/CueColour.h"
#include "schedule/TimeText.h"

#include <QDate>
#include <QWidget>
#include <array>
#include <functional>
#include <variant>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The editor panel `Picture1`: covers the alarm list while one alarm is being edited. It shows
// one alarm and applies the editing rules; which slot it shows, and saving, are the window's.
class EditorPanel : public QWidget
{
    Q_OBJECT
public:
    explicit EditorPanel(QWidget* parent = nullptr);

    // Shows an alarm in the controls, each field of the table in its own control, and applies the
    // date and sound cues.
    void load(const AlarmEntry& entry);
    // What the controls hold now, read back through the field table.
    AlarmEntry fields() const;
    // Fills the date and action lists; each keeps the text it showed.
    void setChoices(const QStringList& years, const QStringList& months, const QStringList& days,
                    const QStringList& actions);
    // The font of the time, text and sound fields and of the four lists.
    void setFieldFont(const QFont& font);
    // Selects the whole time and gives it the keyboard focus.
    void focusTime();
    // Shows the time as it was saved, in its five-character form.
    void showSavedTime(const QString& time);
    QString soundFile() const;
    void setSoundFile(const QString& path);
    // The start-with-session box, which lives in the panel but belongs to the window.
    bool startsWithSession() const;
    void setStartsWithSession(bool on);
    // Today's date, for the blue cue of the date lists.
    void setToday(std::function<QDate()> today);

signals:
    // "好", or Enter in the time, text or sound field.
    void saveRequested();
    // "取消", or Esc.
    void cancelRequested();
    // "设定": the user wants to choose the sound file.
    void soundFileRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What shows a field's text: a line, a list or a tick.
    using FieldControl = std::variant<QLineEdit*, QComboBox*, QAbstractButton*>;

    void bindFields();
    void nameFields();
    void connectRules();
    // A click in the time field with the caret at `caret` picks and sets a spinner.
    void Ttime_Click(int caret);
    void Ttime_LostFocus();
    void VScroll_Change(TimeText::Spinner spinner, int value);
    void applyDateCue(QComboBox* list);
    void applySoundCue();
    static QColor cueColour(CueColour cue);
    QScrollBar* spinnerFor(TimeText::Spinner spinner) const;

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
    // Each field's control, in the order of alarmFields().
    std::array<FieldControl, kAlarmFieldCount> m_fieldControls{};

    std::function<QDate()> m_today = [] { return QDate::currentDate(); };
};
