#pragma once
// The terminal's answers to the questions asked at start-up: where the cursor is, whether it
// speaks the kitty keyboard protocol, whether it shows pictures and the size of its cells, and
// its device attributes (which every terminal sends, and which therefore mark the end of the
// answers).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

struct TerminalReplies {
    bool cursorReported = false;
    int32_t cursorColumn = 0;  // 0-based
    int32_t cursorRow = 0;
    bool keyboardFlagsReported = false;
    bool attributesReported = false;
    bool kittyGraphics = false;  // a kitty graphics query was answered OK
    bool sixel = false;          // the device attributes include 4, sixel graphics
    int32_t cellWidth = 0;       // pixels, 0 until reported
    int32_t cellHeight = 0;
    // How many bytes at the front of the input are keys typed meanwhile, already judged.
    size_t keysJudged = 0;
    friend bool operator==(const TerminalReplies&, const TerminalReplies&) = default;
};

// Takes the answers out of bytes read from the terminal. Keys typed meanwhile stay, and so does
// an answer cut off at the end, for the next read to complete.
void TakeTerminalReplies(std::string& bytes, TerminalReplies& replies);

// Reads from fd until the answers satisfy `done` or `wait` is over, taking the answers out of
// what arrives; the bytes that are not answers (keys typed meanwhile) are returned.
std::string ReadTerminalReplies(int fd, TerminalReplies& replies, bool (*done)(const TerminalReplies&),
                                std::chrono::milliseconds wait);
