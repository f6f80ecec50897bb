#pragma once

#include <QString>

// Numbers read out of texts that users type or hand-edit, the way the editor has always read them.
namespace NumberText {

// The decimal number the text begins with: leading blanks skipped, then an optional sign, digits
// and one decimal point, stopping at the first character that cannot continue it ("8:" gives 8).
// A text that does not begin with a number gives 0.
double leadingValue(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour, clamped to the int range.
int whole(double value);

// The whole text as one decimal number (surrounding blanks allowed), rounded as whole() does.
// Returns false, leaving *value alone, when the text is not a number.
bool readWhole(const QString& text, int* value);

} // namespace NumberText
