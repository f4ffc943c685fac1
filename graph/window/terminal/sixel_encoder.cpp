// sixel_encoder: see sixel_encoder.h.

#include "graph/window/terminal/sixel_encoder.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

constexpr int32_t kBandRows = 6;
constexpr char kEmptySixel = '?';  // the sixel with no pixel set
// A repeat introducer costs three or more bytes: shorter runs go as they are.
constexpr int32_t kShortestRepeat = 4;

void AppendNumber(std::string& out, int64_t n) { out += std::to_string(n); }

void AppendRun(std::string& out, char sixel, int32_t count) {
    if (count >= kShortestRepeat) {
        out += '!';
        AppendNumber(out, count);
        out += sixel;
    } else {
        out.append(static_cast<size_t>(count), sixel);
    }
}

// One colour's sixels across a band, run-length coded, with the empty tail left out.
void AppendSixelRow(std::string& out, const std::vector<uint8_t>& bits) {
    size_t end = bits.size();
    while (end > 0 && bits[end - 1] == 0) --end;
    size_t x = 0;
    while (x < end) {
        size_t run = x + 1;
        while (run < end && bits[run] == bits[x]) ++run;
        AppendRun(out, static_cast<char>(kEmptySixel + bits[x]), static_cast<int32_t>(run - x));
        x = run;
    }
}

void AppendRegister(std::string& out, int index, uint32_t colour) {
    out += '#';
    AppendNumber(out, index);
    out += ";2;";
    AppendNumber(out, SixelPercent(static_cast<uint8_t>(colour >> 16)));
    out += ';';
    AppendNumber(out, SixelPercent(static_cast<uint8_t>(colour >> 8)));
    out += ';';
    AppendNumber(out, SixelPercent(static_cast<uint8_t>(colour)));
}

// One image holding the pixels whose colours are colours[first .. first+count-1].
void AppendImage(std::string& out, const PixelBuffer& buffer, PixelRect area,
                 const std::unordered_map<uint32_t, int>& indexOf, int first, int count,
                 const std::vector<uint32_t>& colours) {
    const int32_t width = area.right - area.left;
    // Background 1: pixels left unset keep what the terminal showed.
    out += "\x1bP0;1;0q\"1;1;";
    AppendNumber(out, width);
    out += ';';
    AppendNumber(out, area.bottom - area.top);
    for (int i = 0; i < count; ++i) AppendRegister(out, i, colours[static_cast<size_t>(first + i)]);
    std::vector<std::vector<uint8_t>> bits(static_cast<size_t>(count));
    std::vector<int> used;
    for (int32_t band = area.top; band < area.bottom; band += kBandRows) {
        used.clear();
        for (int32_t y = band; y < std::min(band + kBandRows, area.bottom); ++y) {
            const uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
            for (int32_t x = area.left; x < area.right; ++x) {
                int slot = indexOf.at(row[x] & 0x00FFFFFFu) - first;
                if (slot < 0 || slot >= count) continue;
                std::vector<uint8_t>& line = bits[static_cast<size_t>(slot)];
                if (line.empty()) {
                    line.assign(static_cast<size_t>(width), 0);
                    used.push_back(slot);
                }
                line[static_cast<size_t>(x - area.left)] |= static_cast<uint8_t>(1u << (y - band));
            }
        }
        std::sort(used.begin(), used.end());
        for (size_t i = 0; i < used.size(); ++i) {
            if (i > 0) out += '$';  // back to the band's left edge for the next colour
            out += '#';
            AppendNumber(out, used[i]);
            AppendSixelRow(out, bits[static_cast<size_t>(used[i])]);
            bits[static_cast<size_t>(used[i])].clear();
        }
        if (band + kBandRows < area.bottom) out += '-';
    }
    out += "\x1b\\";
}

}  // namespace

uint8_t SixelValueRounded(int percent) { return static_cast<uint8_t>((percent * 255 + 50) / 100); }

uint8_t SixelValueHighByte(int percent) { return static_cast<uint8_t>(percent * 65535 / 100 >> 8); }

int SixelPercent(uint8_t channel) {
    int best = 0;
    int bestError = 256;
    for (int percent = 0; percent <= 100; ++percent) {
        int error = std::max(std::abs(SixelValueRounded(percent) - channel),
                             std::abs(SixelValueHighByte(percent) - channel));
        if (error < bestError) {
            best = percent;
            bestError = error;
        }
    }
    return best;
}

void AppendSixelArea(std::string& out, const PixelBuffer& buffer, PixelRect area, int registers,
                     std::string_view placeCursor) {
    area = area.Intersected(BufferRect(buffer));
    if (area.IsEmpty() || registers <= 0) return;
    std::unordered_map<uint32_t, int> indexOf;
    std::vector<uint32_t> colours;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = buffer.pixels + static_cast<int64_t>(y) * buffer.stride;
        for (int32_t x = area.left; x < area.right; ++x) {
            uint32_t colour = row[x] & 0x00FFFFFFu;
            if (indexOf.emplace(colour, static_cast<int>(colours.size())).second) colours.push_back(colour);
        }
    }
    const int total = static_cast<int>(colours.size());
    for (int first = 0; first < total; first += registers) {
        out += placeCursor;
        AppendImage(out, buffer, area, indexOf, first, std::min(registers, total - first), colours);
    }
}
