#pragma once
// The console driver of a text stream, output side: characters go into the console screen at
// a tracked write position, with CR, LF, backspace and bell interpreted, wrapping at the last
// column and scrolling at the last row of the window, which follows the screen's size.

#include <cstdint>

#include "runtime/text_stream.h"

int32_t ConsoleWrite(TextStream& record);

void LoadWritePosition();
void PutConsoleChar(uint8_t c);
// Moves the write position one cell back, from the first column to the last of the row above:
// the line editor steps back over its own echo, which wrapped there. A backspace written to the
// screen stays in its row instead.
void StepWriteBack();
// 1-based column and row.
void MoveConsoleCursor(int32_t x, int32_t y);
// Removes row y (1-based) of the window; the rows below move up and the bottom row is blanked.
void RemoveWindowRow(int32_t y);
// When the screen buffer changed size since the last look, the window takes the new size and
// the cursor and write position go where the device kept the cursor (the device's cursor must
// be at the write position when this is called).
void FollowScreenSize();
