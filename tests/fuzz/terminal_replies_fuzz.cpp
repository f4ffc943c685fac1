// Feeds arbitrary bytes to the reader of the terminal's answers in arbitrary reads: it must
// never crash, never grow what is left, never believe an absurd cell size, and find the same
// answers however the bytes were split into reads as when they came in one.

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "console/terminal_replies.h"

// An absurd cell size is taken out but not believed.
bool Believable(const TerminalReplies& r) {
    return r.cellWidth >= 0 && r.cellWidth <= 4096 && r.cellHeight >= 0 && r.cellHeight <= 4096;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t cut = data[0] % size;  // where the first read ends
    std::string whole(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t length = whole.size();
    TerminalReplies once;
    TakeTerminalReplies(whole, once);
    if (whole.size() > length) std::abort();

    std::string pieces(reinterpret_cast<const char*>(data + 1), std::min(cut, size - 1));
    TerminalReplies split;
    TakeTerminalReplies(pieces, split);
    pieces.append(reinterpret_cast<const char*>(data + 1) + std::min(cut, size - 1), size - 1 - std::min(cut, size - 1));
    TakeTerminalReplies(pieces, split);
    if (!(once == split) || !Believable(once)) std::abort();
    return 0;
}
