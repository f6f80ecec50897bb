#pragma once

// Gives back memory that start-up needed and a program resting in the tray does not.
namespace RestingMemory {

// Unmaps the pages of the mapped font files, which the next glyph that needs them maps again from
// the system's file cache, and returns the heap's free pages to the system.
void release();

} // namespace RestingMemory
