#pragma once
// The terminal's answers to the questions asked at start-up: where the cursor is, whether it
// speaks the kitty keyboard protocol, and its device attributes (which every terminal sends,
// and which therefore mark the end of the answers).

#include <cstdint>
#include <string>

struct TerminalReplies {
    bool cursorReported = false;
    int32_t cursorColumn = 0;  // 0-based
    int32_t cursorRow = 0;
    bool keyboardFlagsReported = false;
    bool attributesReported = false;
};

// Takes the answers out of bytes read from the terminal. Keys typed meanwhile stay, and so does
// an answer cut off at the end, for the next read to complete.
void TakeTerminalReplies(std::string& bytes, TerminalReplies& replies);
