#pragma once

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QString>

// Readers that turn stored text into values. Text that is missing, malformed or out of range
// yields the default, so an edited or damaged store never stops the program.
namespace SettingsValues {

QString readText(const SettingsStore& store, const QString& section, const QString& key,
                 const QString& defaultValue);
// Plain decimal integer within [minimum, maximum]; anything else gives the default.
int readInt(const SettingsStore& store, const QString& section, const QString& key, int defaultValue,
            int minimum, int maximum);
// "True" or "False", or a decimal number where non-zero is true; anything else gives the default.
bool readBool(const SettingsStore& store, const QString& section, const QString& key, bool defaultValue);
SaveOutcome saveText(SettingsStore& store, const QString& section, const QString& key, const QString& value);
// Writes every value in one save.
SaveOutcome saveAll(SettingsStore& store, const QList<SettingsWrite>& writes);
// What the user is told when a save of `what` ("闹钟") did not reach the disk: the file and why.
QString saveFailureMessage(const QString& what, const SaveOutcome& outcome);
// The same for a save on the way out, which no later save can make good.
QString unsavedAtExitMessage(const QString& what, const SaveOutcome& outcome);

// The same rules on a text already read.
bool parseInt(const QString& text, int minimum, int maximum, int* value);
bool parseBool(const QString& text, bool* value);
QString boolText(bool value);

} // namespace SettingsValues
