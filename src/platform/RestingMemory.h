#pragma once

// Gives back memory that start-up needed and a program resting in the tray does not.
namespace RestingMemory {

// Unmaps the resident pages of the mapped font files and of the libraries' code and constants,
// which the next use maps again from the system's file cache, and returns the heap's free pages to
// the system. Pages the program wrote, even once, are never given back.
void release();

} // namespace RestingMemory
