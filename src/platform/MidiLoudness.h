#pragma once

// General MIDI files are synthesised far quieter than recorded audio by default. Call once a
// media player exists; later MIDI playback in the process then comes out at about the loudness
// of mastered music. Does nothing where the media backend offers no way to change it.
namespace MidiLoudness {
void raise();
} // namespace MidiLoudness
