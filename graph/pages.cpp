// The page operations: straight through the page slots, which the window modes fill.

#include "graph/graph.h"

void SelectPageToDraw(uint16_t page) { DriverSlots.SelectDrawPage(page); }

void SelectPageToShow(uint16_t page) { DriverSlots.ShowPage(page); }
