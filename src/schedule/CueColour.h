#pragma once

// The colours the editor gives a field's text to say whether its value is today's date or a
// sound file that exists.
enum class CueColour
{
    Black,
    Blue,
    Red
};
