#pragma once

#include <QString>

class QWidget;

// The file-open dialog that picks an alarm's sound file.
namespace SoundFileChooser {

// The stored filter, "description|pattern|description|pattern...", as Qt's name filters. "*.*"
// means every file, also those without an extension, so it becomes "*"; the user still sees
// the descriptions as they stand.
QString nameFilters(const QString& storedFilter);

// Where the dialog opens: the current path when its folder exists, so the file is preselected;
// otherwise the user's music folder, or home when there is none.
QString startPath(const QString& current);

// Lets the user pick a file; the chosen path, or `current` when the user cancels.
QString choose(QWidget* parent, const QString& current, const QString& nameFilters);

} // namespace SoundFileChooser
