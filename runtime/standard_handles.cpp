// The standard handles' storage.

#include "runtime/standard_handles.h"

uint32_t osInputHandle = kNoHandle;
uint32_t osOutputHandle = kNoHandle;
uint32_t osErrorHandle = kNoHandle;
