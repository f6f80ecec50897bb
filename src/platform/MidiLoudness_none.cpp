#include "engine/MidiLoudness.h"

void MidiLoudness::raise() {}
