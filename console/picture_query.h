#pragma once
// Asking the terminal whether it shows pictures, and how large it and its cells are.

#include <cstdint>
#include <string>

struct TerminalPictureSupport {
    bool kittyGraphics = false;  // the kitty graphics protocol
    bool sixel = false;
    int32_t columns = 0;  // cells
    int32_t rows = 0;
    int32_t cellWidth = 0;  // pixels; 0 when the terminal told neither its pixel size nor its cells'
    int32_t cellHeight = 0;
};

// Asks the terminal on standard output with a short bound on the wait (a silent terminal costs a
// fraction of a second), holding it as the console holds it meanwhile. Nothing is asked, and
// false returned, when standard output is not a terminal; otherwise true, with what was found.
// Keys typed on standard input meanwhile are added to `typed`, for the console to read.
bool AskTerminalAboutPictures(TerminalPictureSupport& found, std::string& typed);
