#pragma once

#include "schedule/AlarmTable.h"
#include "schedule/EntryEdit.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class AlarmEngine;
class Clock;
class EditorPanel;
class NotificationIcon;
class ProblemReporter;
class OverlayPort;
class QListWidget;
class QPushButton;
class QTimer;
class RowBar;
class SettingsStore;

// What the main window works with; the application provides the real ones, tests their fakes.
struct Form1Services
{
    SettingsStore& store;
    Clock& clock;
    // The alarms; the window shows what it signals and passes on the user's clicks.
    AlarmEngine& engine;
    OverlayPort& overlay;
    // Loads the stored appearance into the appearance dialog and its model.
    std::function<void()> loadAppearance;
    // Ends the program at once, without the window's unload steps.
    std::function<void()> exitProgram;
    // Turns starting with the desktop session on or off; false when it could not.
    std::function<bool(bool)> setAutostart;
};

// The main window: the alarm list, its buttons, the editor panel and the tray icon.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(const Form1Services& services, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: publishes the window, loads the alarms and hands the stored appearance on.
    void Form_Load();
    // The alarm check, every 20 s and once at start.
    void Timer1_Timer();
    // Blinks the bars of the ringing rows.
    void Timer2_Timer();

    void Command2_Click(); // hide into the tray
    void Command3_Click(); // exit at once
    void Command5_Click(); // close the editor without saving
    void Ex();             // come back from the tray
    void Timer3_Timer();
    void List1_Click();
    void Command1_Click(); // open the editor on the selected row
    void List1_DblClick();
    void Command4_Click(); // save the editor into its slot
    // Chooses the sound file into Tmus; cancelling leaves it as it was.
    void Command6_Click();
    // Shows the window 350 px right of and below the primary screen's corner, above other windows,
    // keeping its size.
    void RaiseMainWindow();
    void SetFont();
    // Tells the user something went wrong without blocking and without covering the list or the
    // strip: through the desktop's notifications, else in a notice window beside this one.
    void notifyUser(const QString& message);
    // The list's selected row, or -1.
    int selectedRow() const;

    // The file chooser: (preset file, filter) -> the chosen file, or the preset when cancelled.
    using SoundFileChoice = std::function<QString(const QString&, const QString&)>;
    // Replaces the real chooser, so tests can answer it.
    void setSoundFileChooser(SoundFileChoice chooser) { m_chooseSoundFile = std::move(chooser); }

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectEngine();
    void applyCountdown();
    void loadSlots();
    void fillChoiceLists();
    // Stores the id of the native window on screen for a later second copy.
    void publishWindowId();

    // The controls; each one's objectName is its member name.
    QListWidget* List1 = nullptr;
    std::array<RowBar*, kSlotCount> Ptt{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    EditorPanel* Picture1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* Tclo = nullptr;
    NotificationIcon* trayIcon = nullptr;
    ProblemReporter* m_problems = nullptr;

    Form1Services m_services;
    SoundFileChoice m_chooseSoundFile;
    // The slot the editor shows, once it has been opened, and the values it showed when loaded.
    std::optional<int> m_editedSlot;
    AlarmEntry m_loadedEntry;
    // Check2's value at start-up, as decimal text.
    QString m_check2Tag;
    // The mouse changed the list's selection and no click has reported it yet.
    bool m_mouseSelected = false;
    // Start-up has published the window; later native windows replace the stored id.
    bool m_publishWindowId = false;
    QString m_publishedWindowId;
};
