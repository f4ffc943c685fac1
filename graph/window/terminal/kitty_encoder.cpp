// kitty_encoder: see kitty_encoder.h.

#include "graph/window/terminal/kitty_encoder.h"

#include <zlib.h>

#include <string_view>
#include <vector>

namespace {

// The protocol's largest chunk of base64 (a multiple of 4, so each chunk decodes alone).
constexpr size_t kChunkBytes = 4096;

void AppendBase64(std::string& out, const uint8_t* data, size_t size) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
        out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], kDigits[(v >> 6) & 63], kDigits[v & 63]};
    }
    if (i + 1 == size) {
        uint32_t v = uint32_t{data[i]} << 16;
        out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == size) {
        uint32_t v = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8);
        out += {kDigits[v >> 18], kDigits[(v >> 12) & 63], kDigits[(v >> 6) & 63], '='};
    }
}

// The area's pixels as RGB triples, compressed; speed over size, as it runs once a frame.
std::vector<uint8_t> CompressedRgb(const PixelBuffer& buffer, PixelRect area) {
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(area.Area()) * 3);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
        for (int32_t x = area.left; x < area.right; ++x) {
            rgb.push_back(static_cast<uint8_t>(row[x] >> 16));
            rgb.push_back(static_cast<uint8_t>(row[x] >> 8));
            rgb.push_back(static_cast<uint8_t>(row[x]));
        }
    }
    uLongf size = compressBound(static_cast<uLong>(rgb.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, rgb.data(), static_cast<uLong>(rgb.size()), Z_BEST_SPEED) != Z_OK) {
        return {};
    }
    packed.resize(size);
    return packed;
}

// One command: the keys go with the first chunk, the later chunks say only whether more follow.
void AppendCommand(std::string& out, std::string_view keys, const std::vector<uint8_t>& payload) {
    std::string encoded;
    AppendBase64(encoded, payload.data(), payload.size());
    size_t at = 0;
    do {
        size_t length = std::min(kChunkBytes, encoded.size() - at);
        bool more = at + length < encoded.size();
        out += "\x1b_G";
        if (at == 0) {
            out += keys;
            out += ',';
        }
        out += more ? "m=1,q=2;" : "m=0,q=2;";
        out.append(encoded, at, length);
        out += "\x1b\\";
        at += length;
    } while (at < encoded.size());
}

}  // namespace

void AppendKittyPicture(std::string& out, uint32_t id, const PixelBuffer& buffer) {
    std::string keys = "a=T,f=24,o=z,C=1,i=" + std::to_string(id) + ",s=" + std::to_string(buffer.width) +
                       ",v=" + std::to_string(buffer.height);
    AppendCommand(out, keys, CompressedRgb(buffer, BufferRect(buffer)));
}

void AppendKittyArea(std::string& out, uint32_t id, const PixelBuffer& buffer, PixelRect area) {
    area = area.Intersected(BufferRect(buffer));
    if (area.IsEmpty()) return;
    // Frame 1 is the image itself: editing it changes what every placement shows.
    std::string keys = "a=f,r=1,f=24,o=z,i=" + std::to_string(id) + ",x=" + std::to_string(area.left) +
                       ",y=" + std::to_string(area.top) + ",s=" + std::to_string(area.right - area.left) +
                       ",v=" + std::to_string(area.bottom - area.top);
    AppendCommand(out, keys, CompressedRgb(buffer, area));
}

void AppendKittyRemoval(std::string& out, uint32_t id) {
    out += "\x1b_Ga=d,d=I,q=2,i=" + std::to_string(id) + "\x1b\\";
}
