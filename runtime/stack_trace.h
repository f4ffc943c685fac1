#pragma once
// Frame-pointer walking and code addresses the way addr2line reads them.

#include <cstdint>

// The address as the executable's own link-time address (its load offset removed), so that
// `addr2line -e PROGRAM 0x...` names the source line.
uint32_t LinkAddress(const void* codeAddress);

// Records the calling thread's outermost frame (the frame whose caller ends every trace) and
// the bounds of its stack.
void SetOutermostFrame(void* frame);
void* OutermostFrame();

// True when a frame record (saved frame pointer, return address) at this position lies inside
// the calling thread's stack below its outermost frame, so reading it cannot fault.
bool FrameOnThisStack(const void* frame);

// Lowest address of the calling thread's stack.
uintptr_t StackLowEnd();
