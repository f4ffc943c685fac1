#pragma once
// The console driver of a text stream: binds a record to the screen writer for output or to
// the line editor for input.

#include <cstdint>

#include "runtime/text_stream.h"

void AttachConsoleDriver(TextStream& record);
int32_t ConsoleOpen(TextStream& record);
int32_t ConsoleClose(TextStream& record);
