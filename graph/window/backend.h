#pragma once
// The window back-end's entry points into the library. Selecting a display (display.h) plugs
// the back-end in: it fills the library's BackendEntries (graph/backend_entries.h) with its own
// routines, and from then on every mode the mode list builds draws through this back-end.

class Display;

// Fills BackendEntries; SelectDisplay calls it.
void PlugWindowBackend();
// The back-end's start-up routine (GraphState.backendStartup): there is nothing to prepare.
void BackendStartup();
// The display SelectedDisplay gives from now on; SelectDisplay remembers it and plugs the
// back-end in.
void RememberDisplay(Display& display);
