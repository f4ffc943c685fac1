#include "tests/tools/png_reader.h"

#include <algorithm>
#include <span>
#include <utility>

#include "tools/icon/png_file.h"

namespace {

uint32_t BigEndian32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

// Inflates a zlib stream made of stored blocks only.
std::string InflateStored(std::span<const uint8_t> stream, std::vector<uint8_t>& raw,
                          int& blocks) {
    if (stream.size() < 6 || stream[0] != 0x78 || (stream[0] * 256 + stream[1]) % 31 != 0) {
        return "bad zlib header";
    }
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > stream.size()) return "stored block header cut short";
        const uint8_t header = stream[at];
        if ((header >> 1) != 0) return "not a stored block";
        last = header & 1;
        const uint32_t length = stream[at + 1] | stream[at + 2] << 8;
        const uint32_t complement = stream[at + 3] | stream[at + 4] << 8;
        if ((length ^ 0xFFFF) != complement) return "length and its complement disagree";
        at += 5;
        if (at + length > stream.size()) return "stored block cut short";
        raw.insert(raw.end(), stream.begin() + at, stream.begin() + at + length);
        at += length;
        ++blocks;
    }
    if (at + 4 != stream.size()) return "bytes after the last block";
    if (BigEndian32(&stream[at]) != Adler32(raw)) return "Adler-32 mismatch";
    return "";
}

}  // namespace

PngReading ReadPng(const std::vector<uint8_t>& file) {
    PngReading reading;
    auto fail = [&reading](std::string fault) {
        reading.fault = std::move(fault);
        return reading;
    };
    static const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin())) {
        return fail("no PNG signature");
    }
    std::vector<uint8_t> compressed;
    size_t at = 8;
    while (at < file.size()) {
        if (at + 12 > file.size()) return fail("chunk cut short");
        const uint32_t length = BigEndian32(&file[at]);
        if (at + 12 + length > file.size()) return fail("chunk cut short");
        const std::string type(file.begin() + at + 4, file.begin() + at + 8);
        const std::span<const uint8_t> data(&file[at + 8], length);
        if (Crc32(std::span(&file[at + 4], length + 4)) != BigEndian32(&file[at + 8 + length])) {
            return fail("CRC mismatch in " + type);
        }
        reading.chunkTypes.push_back(type);
        if (type == "IHDR") {
            if (length != 13) return fail("IHDR length");
            reading.image.width = static_cast<int32_t>(BigEndian32(&data[0]));
            reading.image.height = static_cast<int32_t>(BigEndian32(&data[4]));
            if (data[8] != 8 || data[9] != 6 || data[10] || data[11] || data[12]) {
                return fail("not 8-bit RGBA without interlace");
            }
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data.begin(), data.end());
        }
        at += 12 + length;
    }
    if (reading.chunkTypes.empty() || reading.chunkTypes.back() != "IEND") {
        return fail("no IEND at the end");
    }
    std::vector<uint8_t> raw;
    reading.fault = InflateStored(compressed, raw, reading.storedBlocks);
    if (!reading.fault.empty()) return reading;
    const size_t rowBytes = 1 + 4 * static_cast<size_t>(reading.image.width);
    if (raw.size() != rowBytes * reading.image.height) {
        return fail("image data has the wrong size");
    }
    for (int32_t y = 0; y < reading.image.height; ++y) {
        const uint8_t* row = &raw[y * rowBytes];
        if (row[0] != 0) return fail("row filter is not 0");
        for (int32_t x = 0; x < reading.image.width; ++x) {
            const uint8_t* p = row + 1 + 4 * x;
            reading.image.pixels.push_back({p[0], p[1], p[2], p[3]});
        }
    }
    return reading;
}
