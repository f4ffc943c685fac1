#pragma once
// A fresh graphics library on the memory display, for the tests and the fuzzer: no test
// framework needed.

#include <cstdint>
#include <vector>

#include "graph/backend_entries.h"
#include "graph/window/memory_display.h"

MemoryDisplay& TestDisplay();
// Closes every window and puts a fresh memory display in the old one's place, which keeps every
// window it ever had; for a program that makes windows without end.
void RenewTestDisplay();

// Closes every window, forgets all library state and starts the library again as its layer
// initialiser does, on a screen with these metrics.
void RestartLibrary(ScreenMetrics metrics = {1912, 1049, 1920, 1017});

// The newest window's back-buffer, row after row: into a vector whose storage is reused (for
// loops that copy often), or a new one. And the same buffer painted black.
void CopyNewestBuffer(std::vector<uint32_t>& copy);
std::vector<uint32_t> NewestBufferCopy();
void ClearNewestBuffer();
