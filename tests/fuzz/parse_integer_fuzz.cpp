// ParseInteger against the reference for any text of up to 255 characters and any size.
#include <cstdlib>
#include <string>

#include "runtime/number.h"
#include "tests/fuzz/integer_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int32_t sizes[] = {1, 2, 4};
    const int32_t resultSize = sizes[data[0] % 3];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (text.size() > 255) text.resize(255);
    int32_t position = -1;
    const int32_t value = ParseInteger(resultSize, LengthPrefixedString(text), position);
    const ReferenceResult expected = ReferenceParse(text, resultSize);
    if (value != expected.value || position != expected.position) std::abort();
    return 0;
}
