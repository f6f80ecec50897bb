#pragma once

#include <QString>

// Rules of the time field hh:mm and its two spinners, apart from the widgets that show them.
namespace TimeText {

enum class Spinner
{
    Hours,
    Minutes
};

// The number a spinner would take from the time text, and whether the spinner's range can hold it.
struct SpinnerReading
{
    int value = 0;
    bool inRange = true;
};

// p is the caret position, 0 being before the first character: after the third character the
// caret is in the minutes.
Spinner spinnerForCaret(int p);

// The spinners hold one extra value at each end, which the wrap rule turns round at once.
int spinnerMinimum(Spinner spinner);
int spinnerMaximum(Spinner spinner);

// The part of the text a spinner edits: the first two characters for the hours, the last two for
// the minutes (fewer when the text is shorter).
QString spinnerPart(const QString& text, Spinner spinner);

// The number the spinner's part of the text begins with, rounded to a whole number; 0 when it
// does not begin with a number.
SpinnerReading readSpinner(const QString& text, Spinner spinner);

// -1 becomes 23 or 59, 24 or 60 becomes 0; any other value is kept.
int wrapped(Spinner spinner, int value);

// The text after the spinner moved to value: the value with at least two digits takes the place of
// the hours (first two characters) or minutes (last two characters), joined to the other half by ":".
QString rewritten(const QString& text, Spinner spinner, int value);

// The five-character form the field takes when it loses the focus. "h:m" gets a zero in front of
// each one-digit half; anything else is zero-padded in front, cut at the
// end, and given a ":" in the middle when it has none. Idempotent.
QString normalised(const QString& text);

} // namespace TimeText
