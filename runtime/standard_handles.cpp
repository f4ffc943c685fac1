// The standard handles' storage.

#include "runtime/standard_handles.h"

#include "runtime/text_stream.h"

uint32_t osInputHandle = kNoHandle;
uint32_t osOutputHandle = kNoHandle;
uint32_t osErrorHandle = kNoHandle;
