#pragma once

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

inline constexpr int kSlotCount = 10;
inline constexpr int kWeekdayCount = 7;

enum class AlarmAction
{
    None,
    ShowMainWindow,
    ShutDown,
    ShutDownAfterCountdown,
    Restart,
    RestartAfterCountdown,
    ExitProgram,
    RunCommand,
};

// The action list's labels, in the order the editor offers them.
const QStringList& actionLabels();
QString actionLabel(AlarmAction action);
// Whole-text comparison; any text beginning with "运行：" is RunCommand; anything else is None.
AlarmAction actionFromLabel(const QString& label);
// The command line of a RunCommand label: everything after "运行：".
QString commandFromLabel(const QString& label);

QString SlotKey(int slot);
QString BuildListLine(bool on, const QString& time, const QString& slogan);

// "elect" is on exactly when it reads as the number 1; anything else is off.
bool electIsOn(const QString& storedText);
// A weekday flag is set unless it reads as the number 0; missing or malformed flags count as set.
bool weekdayFlagIsSet(const QString& storedText);

// One alarm as stored. A new record holds every field's default from the field table below.
struct AlarmEntry
{
    AlarmEntry();

    QString time;
    QString year;
    QString month;
    QString day;
    QString slogan;
    QString music;
    QString action;
    bool on = false;
    std::array<bool, kWeekdayCount> weekdays{};

    static AlarmEntry read(const SettingsStore& store, int slot);
    // The slot's row in the alarm list.
    QString listLine() const { return BuildListLine(on, time, slogan); }
};

// One field of the record: where it is stored, what a missing value reads as, and how the record
// takes it from text and gives it back as text (ticks as "1" or "0"). The editor shows each field
// in a control of its own, bound to the field's place in the table.
struct AlarmField
{
    QString section;
    QString defaultText;
    void (*read)(AlarmEntry& entry, const QString& text);
    QString (*write)(const AlarmEntry& entry);
};

inline constexpr int kAlarmFieldCount = 8 + kWeekdayCount;
// Every field of the record, in the order a save writes them. Reading, saving, the list line and
// the editor all go through this table.
const std::array<AlarmField, kAlarmFieldCount>& alarmFields();
