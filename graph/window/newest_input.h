#pragma once
// The back-end's entries for the key and pointer operations (graph/backend_entries.h): the
// input queue of the newest window, on the drawing thread.

#include <cstdint>

#include "graph/graph.h"

int16_t NewestKeyWaiting(bool& waiting);
int16_t ReadNewestKey(uint8_t& key);
int16_t NewestPointer(PointerState& state);
int16_t NewestPointerChangeWaiting(bool& waiting);
int16_t ReadNewestPointerChange(PointerChange& change);
