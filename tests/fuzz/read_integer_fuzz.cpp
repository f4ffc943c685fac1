// ReadInteger over a byte stream delivered in arbitrary pieces, against a reference that
// splits the same bytes into tokens by the reading rules and parses them with the reference.
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/text_stream.h"
#include "tests/fuzz/integer_reference.h"

namespace {

std::string streamBytes;
size_t streamOffset = 0;
std::string pieceSizes;
size_t pieceIndex = 0;

// Hands out the stream in pieces of 1..256 bytes, as a terminal or pipe might.
int32_t TransferPiece(TextStream& record) {
    size_t piece = pieceSizes.empty() ? 256 : 1 + static_cast<uint8_t>(pieceSizes[pieceIndex++ % pieceSizes.size()]);
    if (piece > streamBytes.size() - streamOffset) piece = streamBytes.size() - streamOffset;
    std::memcpy(record.data, streamBytes.data() + streamOffset, piece);
    streamOffset += piece;
    record.fillEnd = static_cast<int32_t>(piece);
    record.cursor = 0;
    return 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t split = data[0] % size;
    pieceSizes.assign(reinterpret_cast<const char*>(data + 1), split > 0 ? split - 1 : 0);
    streamBytes.assign(reinterpret_cast<const char*>(data) + split, size - split);
    streamOffset = 0;
    pieceIndex = 0;

    TextStream record;
    InitTextRecord(record, "");
    record.state = StateInput;
    record.onTransfer = TransferPiece;
    pendingIoError = 0;

    size_t at = 0;
    for (int reads = 0; reads < 64; ++reads) {
        while (at < streamBytes.size() && IsBlank(streamBytes[at])) ++at;
        std::string token;
        while (at < streamBytes.size() && !IsBlank(streamBytes[at]) && token.size() < 255) {
            token += streamBytes[at++];
        }
        const ReferenceResult expected = ReferenceParse(token, 4);
        const int32_t value = ReadInteger(record);
        const uint16_t wanted = expected.position != 0 ? 106 : 0;
        if (pendingIoError != wanted || value != expected.value) std::abort();
        pendingIoError = 0;
        if (at >= streamBytes.size() && token.empty()) break;
    }
    return 0;
}
