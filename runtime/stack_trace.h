#pragma once
// Walking the frame-pointer chain and printing code addresses the way addr2line reads them.

#include <cstdint>

// The address as the executable's own link-time address (load address removed).
uint32_t LinkAddress(const void* codeAddress);

// The outermost frame of the calling thread: a stack trace stops when it reaches it.
void SetOutermostFrame(void* frame);
void* OutermostFrame();
