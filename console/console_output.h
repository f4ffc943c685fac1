#pragma once
// The console driver of a text stream, output side: characters go into the console screen at
// a tracked write position, with CR, LF, backspace and bell interpreted, wrapping at the last
// column and scrolling at the last row of the window.

#include <cstdint>

#include "runtime/text_stream.h"

void AttachConsoleDriver(TextStream& record);
int32_t ConsoleOpen(TextStream& record);
int32_t ConsoleWrite(TextStream& record);
int32_t ConsoleClose(TextStream& record);

void LoadWritePosition();
void PutConsoleChar(uint8_t c);
// 1-based column and row.
void MoveConsoleCursor(int32_t x, int32_t y);
// Removes row y (1-based) of the window; the rows below move up and the bottom row is blanked.
void RemoveWindowRow(int32_t y);
