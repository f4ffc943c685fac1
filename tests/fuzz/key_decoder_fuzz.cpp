// Feeds arbitrary bytes to the key decoder in arbitrary reads: it must use every byte once
// the input is final, never more than it was given, never crash, and give the same events
// however the bytes were split into reads as when they came in one.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "console/key_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the lengths of the reads the rest is split into.
    uint32_t seed = static_cast<uint32_t>(data[0]) << 8 | data[1];
    std::span<const uint8_t> bytes(data + 2, size - 2);

    std::vector<KeyEvent> whole;
    if (DecodeTerminalInput(bytes, true, whole) != bytes.size()) std::abort();

    std::vector<KeyEvent> pieces;
    std::vector<uint8_t> pending;
    for (size_t next = 0; next < bytes.size();) {
        seed = seed * 1103515245u + 12345u;
        size_t length = 1 + (seed >> 16) % 16;
        if (length > bytes.size() - next) length = bytes.size() - next;
        pending.insert(pending.end(), bytes.begin() + static_cast<std::ptrdiff_t>(next),
                       bytes.begin() + static_cast<std::ptrdiff_t>(next + length));
        next += length;
        size_t used = DecodeTerminalInput(pending, false, pieces);
        if (used > pending.size()) std::abort();
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(used));
    }
    if (DecodeTerminalInput(pending, true, pieces) != pending.size()) std::abort();
    if (pieces != whole) std::abort();

    bool afterCarriageReturn = false;
    DecodeStreamInput(bytes, afterCarriageReturn, pieces);
    return 0;
}
