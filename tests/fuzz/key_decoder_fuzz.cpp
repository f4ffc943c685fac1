// Feeds arbitrary bytes to the key decoder in arbitrary reads: it must use every byte once
// the input is final, never more than it was given, and never crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "console/key_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte chooses where the bytes are split into two reads.
    size_t split = data[0] % size;
    std::span<const uint8_t> bytes(data + 1, size - 1);
    split = split > bytes.size() ? bytes.size() : split;

    std::vector<KeyEvent> events;
    std::vector<uint8_t> pending(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(split));
    size_t used = DecodeTerminalInput(pending, false, events);
    if (used > pending.size()) std::abort();
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(used));
    pending.insert(pending.end(), bytes.begin() + static_cast<std::ptrdiff_t>(split), bytes.end());
    if (DecodeTerminalInput(pending, true, events) != pending.size()) std::abort();

    bool afterCarriageReturn = false;
    DecodeStreamInput(bytes, afterCarriageReturn, events);
    return 0;
}
