#include "platform/MidiLoudness.h"

void MidiLoudness::raise() {}
