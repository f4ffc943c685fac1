#pragma once
// Where a program's windows go: to the X server DISPLAY names when it answers; else into the
// terminal as pictures, when it says it can show them; else to the X11 display, which then
// says why no window opens. CHAOSPLOT_DISPLAY=x11, terminal or none forces a choice (none:
// as without DISPLAY).

#include <cstdint>

class TerminalDevice;

// Selects the display. With pictures in the terminal, the rows below the picture, at least
// `dialogueRows` of them, become the screen of `console` when one is given. Returns the rows the
// picture keeps at the top of the terminal, 0 when windows do not go to the terminal.
int32_t ChooseDisplay(TerminalDevice* console, int32_t dialogueRows);
// The terminal changed under the picture (a resize, or a stop during which others wrote to it):
// the picture is shown again, whole. Nothing when windows do not go to the terminal.
void ShowPictureAgain();
