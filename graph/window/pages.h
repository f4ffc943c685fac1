#pragma once
// The two pages of a window: the page slot routines of the window modes.

#include <cstdint>

// The page the primitives draw on and read from (SelectDrawPage slot), and the page the window
// shows (ShowPage slot), 0 or 1. Page 1 is made, black, when it is first selected; a page above
// 1 sets result code -11, and so does a page 1 the memory cannot hold, changing nothing.
void BackendSelectDrawPage(uint16_t page);
// A switch presents the newly shown page whole, at once.
void BackendShowPage(uint16_t page);
