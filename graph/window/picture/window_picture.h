#pragma once
// A window's picture kept as a PNG file: Ctrl+S in the window saves it under a fresh name in the
// current directory, and SaveWindowPicture saves the newest window under the caller's name.
// The back-buffer is copied under DrawLock and encoded after the lock is released, so that
// drawing waits only for the copy.

#include <ctime>
#include <string>

#include "graph/window/window_thread.h"

// "PROGRAM-YYYYMMDD-HHMMSS.png" for the first try at `when`, "PROGRAM-YYYYMMDD-HHMMSS-N.png" for
// the N-th (N >= 2).
std::string PictureFileName(const char* program, const std::tm& when, int attempt);

// GUI thread: saves the window's picture under the first free name for now (nothing is
// overwritten) and returns what its title should say: "Saved NAME" or why nothing was saved.
std::string SaveWindowUnderFreshName(GraphWindowRecord* record);

// Drawing thread: saves the newest window's picture as `path`, replacing an existing file only
// once the new one is whole. False when there is no window to save or the file cannot be written.
bool SaveNewestWindowPicture(const char* path);
