#pragma once
// The console driver of a text stream, input side: the keyboard line editor. The line is typed
// and edited in the stream's own buffer, echoed at the cursor, and delivered with CR LF.

#include <cstdint>

#include "runtime/text_stream.h"

int32_t ConsoleLineInput(TextStream& record);
void EraseLastChar(TextStream& record);
int32_t ConsoleInputSync(TextStream& record);
