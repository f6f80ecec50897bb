#pragma once

#include <QString>

// The Chinese font names the program uses ("宋体", "黑体", "楷体") are Windows family names. Where
// no font carries them, each becomes a substitution for the installed faces of its kind, so the
// list, the editor, the strip and the font dialog all resolve them the same way.
namespace FontNames {

// Maps each name that no installed font carries; call once, before any widget uses a font.
void installSubstitutes();

// True when the family, or a face it is substituted by, is installed.
bool resolves(const QString& family);

} // namespace FontNames
