#include "tools/icon/png_file.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr size_t kLargestStoredBlock = 65535;

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Length, type, data, and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, std::string_view type, std::span<const uint8_t> data) {
    PutBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, Crc32(std::span(out).subspan(typeAt)));
}

// The rows as PNG filters them: a filter-type byte (0, none) in front of every row.
std::vector<uint8_t> Scanlines(const RgbaImage& image) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(image.height) * (1 + 4 * static_cast<size_t>(image.width)));
    for (int32_t y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int32_t x = 0; x < image.width; ++x) {
            const RgbaPixel& pixel = image.At(x, y);
            raw.insert(raw.end(), {pixel.red, pixel.green, pixel.blue, pixel.alpha});
        }
    }
    return raw;
}

// A zlib stream of stored blocks: header, blocks of at most 65535 bytes, Adler-32.
std::vector<uint8_t> StoredZlibStream(std::span<const uint8_t> raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = std::min(kLargestStoredBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
    } while (at < raw.size());
    PutBigEndian32(out, Adler32(raw));
    return out;
}

}  // namespace

uint32_t Crc32(std::span<const uint8_t> bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(std::span<const uint8_t> bytes) {
    constexpr uint32_t kModulus = 65521;
    uint32_t a = 1, b = 0;
    for (uint8_t byte : bytes) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(const RgbaImage& image) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian32(header, static_cast<uint32_t>(image.width));
    PutBigEndian32(header, static_cast<uint32_t>(image.height));
    // Bit depth 8, colour type 6 (RGBA), deflate, filter method 0, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", StoredZlibStream(Scanlines(image)));
    PutChunk(out, "IEND", {});
    return out;
}
