#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class AlarmEngine;
class AlarmListView;
class AutostartChoice;
class Clock;
class EditorController;
class EditorPanel;
class NotificationIcon;
class ProblemReporter;
class OverlayPort;
class QPushButton;
class QTimer;
class SettingsStore;
class WindowIdPublisher;

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

// The main window's shell: the tray icon, hiding and coming back, closing and exiting, and the
// published window id. The alarm list and the editor are views of their own inside it.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(const Form1Services& services, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: publishes the window, loads the alarms and hands the stored appearance on.
    void Form_Load();

    void Command2_Click(); // hide into the tray
    void Command3_Click(); // exit at once
    void Ex();             // come back from the tray
    void Timer3_Timer();
    // Shows the window 350 px right of and below the primary screen's corner, above other windows,
    // keeping its size.
    void RaiseMainWindow();
    void SetFont();
    // Tells the user something went wrong without blocking and without covering the list or the
    // strip: through the desktop's notifications, else in a notice window beside this one.
    void notifyUser(const QString& message);

    AlarmListView& alarmList() { return *m_list; }
    EditorController& editor() { return *m_editor; }

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectViews();

    // The controls; each one's objectName is its member name.
    AlarmListView* m_list = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    EditorPanel* Picture1 = nullptr;
    EditorController* m_editor = nullptr;
    QTimer* Timer3 = nullptr;
    NotificationIcon* trayIcon = nullptr;
    ProblemReporter* m_problems = nullptr;

    Form1Services m_services;
    std::unique_ptr<AutostartChoice> m_autostart;
    // The native window's id, stored for a later second copy.
    WindowIdPublisher* m_windowId = nullptr;
};
