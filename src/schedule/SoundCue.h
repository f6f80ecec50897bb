#pragma once

#include "schedule/CueColour.h"

#include <QString>

// Whether the sound field names a sound file that exists. Runs on every keystroke, so it asks the
// disk as little as it can: one stat for a plain path, one directory scan for a wildcard name.
namespace SoundCue {

// Black when the text contains a "." and findsFile(text); red otherwise.
CueColour cue(const QString& text);

// A search for the path as a directory search would run it: "*" and "?" may stand in the file
// name (not in the folders), and only ordinary, visible files count. A relative path is searched
// from the current folder. Paths that cannot be searched (empty, ending in "/", wildcards in a
// folder, a folder that does not exist) find nothing.
bool findsFile(const QString& path);

} // namespace SoundCue
