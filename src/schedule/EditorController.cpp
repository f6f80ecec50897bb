#include "schedule/EditorController.h"

#include "schedule/DateCue.h"
#include "schedule/EditorPanel.h"
#include "schedule/EntryEdit.h"
#include "settings/SettingsValues.h"
#include "widgets/SoundFileChooser.h"

namespace {
// The sound-file chooser's types, "description|pattern|...".
const QString kSoundFileFilter =
    QStringLiteral("压缩音频(*.mp3)|*.mp3|波型声音(*.wav)|*.wav|合成音乐(*.mid)|*.mid|所有类型(*.*)|*.*");
} // namespace

EditorController::EditorController(EditorPanel& panel, QWidget& returnFocus, SettingsStore& store)
    : QObject(&panel), m_panel(panel), m_returnFocus(returnFocus), m_store(store)
{
    m_chooseSoundFile = [this](const QString& preset, const QString& filter) {
        return SoundFileChooser::choose(m_panel.window(), preset, filter);
    };
    connect(&panel, &EditorPanel::saveRequested, this, &EditorController::Command4_Click);
    connect(&panel, &EditorPanel::cancelRequested, this, &EditorController::Command5_Click);
    connect(&panel, &EditorPanel::soundFileRequested, this, &EditorController::Command6_Click);
}

void EditorController::fillChoiceLists()
{
    using DateCue::Field;
    m_panel.setChoices(DateCue::items(Field::Year), DateCue::items(Field::Month), DateCue::items(Field::Day),
                       actionLabels());
}

void EditorController::open(int slot, const AlarmEntry& entry)
{
    m_loadedEntry = entry;
    m_panel.load(m_loadedEntry);
    m_panel.show();
    m_editedSlot = slot;
    m_panel.focusTime();
}

void EditorController::Command4_Click()
{
    if (!m_editedSlot)
        return;
    const int slot = *m_editedSlot;
    const EntrySave save = EntryEdit::save(m_loadedEntry, m_panel.fields());
    // Enter saves what leaving the field would show: the time in its five-character form.
    m_panel.showSavedTime(save.fields.time);
    // Called even with nothing changed, so values a failed save left in memory are tried again.
    const SaveOutcome outcome = EntryEdit::apply(m_store, SlotKey(slot), save.writes);
    // A save that did not reach the disk still holds for this run, and the user hears of it.
    emit entrySaved(slot, save.fields);
    Command5_Click();
    if (!outcome.saved)
        emit saveFailed(SettingsValues::saveFailureMessage(QStringLiteral("闹钟"), outcome));
}

void EditorController::Command5_Click()
{
    // The keyboard goes back to the row the editor was opened on, not to whatever follows it.
    const bool editing = m_panel.isAncestorOf(m_panel.window()->focusWidget());
    m_panel.hide();
    if (editing)
        m_returnFocus.setFocus();
}

void EditorController::Command6_Click()
{
    m_panel.setSoundFile(
        m_chooseSoundFile(m_panel.soundFile(), SoundFileChooser::nameFilters(kSoundFileFilter)));
}
