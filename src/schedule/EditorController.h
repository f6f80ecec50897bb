#pragma once

#include "schedule/AlarmTable.h"

#include <QObject>
#include <functional>
#include <optional>

class EditorPanel;
class QWidget;
class SettingsStore;

// Opening, saving and cancelling the editor panel: which slot it shows, what it showed when it
// was opened, and the save of what changed since.
class EditorController : public QObject
{
    Q_OBJECT
public:
    // `returnFocus` gets the keyboard back when the panel closes while it had it.
    EditorController(EditorPanel& panel, QWidget& returnFocus, SettingsStore& store);

    // Start-up: the date and action lists' items.
    void fillChoiceLists();
    // Shows the slot's record in the panel and gives the time field the keyboard.
    void open(int slot, const AlarmEntry& entry);
    // Saves the panel into its slot and closes it.
    void Command4_Click();
    // Closes the panel without saving.
    void Command5_Click();
    // Chooses the sound file into Tmus; cancelling leaves it as it was.
    void Command6_Click();

    // The file chooser: (preset file, filter) -> the chosen file, or the preset when cancelled.
    using SoundFileChoice = std::function<QString(const QString&, const QString&)>;
    // Replaces the real chooser, so tests can answer it.
    void setSoundFileChooser(SoundFileChoice chooser) { m_chooseSoundFile = std::move(chooser); }

signals:
    // The slot's record as saved; it holds for this run even when the store could not write it.
    void entrySaved(int slot, const AlarmEntry& entry);
    // The save did not reach the disk; what the user is told.
    void saveFailed(const QString& message);

private:
    EditorPanel& m_panel;
    QWidget& m_returnFocus;
    SettingsStore& m_store;
    SoundFileChoice m_chooseSoundFile;
    // The slot the editor shows, once it has been opened, and the values it showed when loaded.
    std::optional<int> m_editedSlot;
    AlarmEntry m_loadedEntry;
};
