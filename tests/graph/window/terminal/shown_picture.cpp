// shown_picture: see shown_picture.h.

#include "tests/graph/window/terminal/shown_picture.h"

#include <zlib.h>

#include <cstdlib>
#include <map>
#include <string>

namespace {

std::map<std::string, int64_t> ParseKeys(std::string_view keys) {
    std::map<std::string, int64_t> parsed;
    for (size_t at = 0; at < keys.size();) {
        size_t end = std::min(keys.find(',', at), keys.size());
        std::string pair(keys.substr(at, end - at));
        size_t equals = pair.find('=');
        std::string value = pair.substr(equals + 1);
        parsed[pair.substr(0, equals)] = std::isdigit(static_cast<unsigned char>(value[0])) ? std::atoll(value.c_str()) : value[0];
        at = end + 1;
    }
    return parsed;
}

std::string Base64Decoded(std::string_view text) {
    static const std::string kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=') break;
        bits = bits << 6 | static_cast<uint32_t>(kDigits.find(c));
        if ((count += 6) >= 8) out.push_back(static_cast<char>(bits >> (count -= 8)));
    }
    return out;
}

bool Apply(std::map<std::string, int64_t>& keys, const std::string& payload, ShownPicture& picture) {
    if (keys["a"] == 'd') return !(picture.shown = false);
    const int32_t width = static_cast<int32_t>(keys["s"]), height = static_cast<int32_t>(keys["v"]);
    std::string packed = Base64Decoded(payload);
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    uLongf size = rgb.size();
    if (keys["f"] != 24 || keys["o"] != 'z' ||
        uncompress(rgb.data(), &size, reinterpret_cast<const Bytef*>(packed.data()), packed.size()) != Z_OK ||
        size != rgb.size()) {
        return false;
    }
    if (keys["a"] == 'T') picture = {width, height, std::vector<uint32_t>(rgb.size() / 3), true};
    else if (keys["a"] != 'f' || keys["r"] != 1 || keys["x"] + width > picture.width || keys["y"] + height > picture.height) return false;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[static_cast<size_t>((y * width + x) * 3)];
            picture.pixels[static_cast<size_t>((keys["y"] + y) * picture.width + keys["x"] + x)] = uint32_t{p[0]} << 16 | p[1] << 8 | p[2];
        }
    return true;
}

}  // namespace

bool ShowKittyStream(std::string_view stream, ShownPicture& picture) {
    std::map<std::string, int64_t> keys;
    std::string payload;
    for (size_t start = 0; (start = stream.find("\x1b_G", start)) != std::string_view::npos;) {
        size_t end = stream.find("\x1b\\", start);
        std::string_view body = stream.substr(start + 3, end - start - 3);
        size_t separator = std::min(body.find(';'), body.size());
        std::map<std::string, int64_t> chunkKeys = ParseKeys(body.substr(0, separator));
        if (chunkKeys.count("a") != 0) keys = chunkKeys, payload.clear();  // a command's first chunk
        if (separator < body.size()) payload += body.substr(separator + 1);
        if (chunkKeys["m"] == 0 && !Apply(keys, payload, picture)) return false;
        start = end + 2;
    }
    return true;
}

bool ShowSixelStream(std::string_view stream, int32_t cellWidth, int32_t cellHeight, uint8_t (*value)(int),
                     ShownPicture& picture) {
    int32_t originX = 0, originY = 0;
    for (size_t at = 0; at < stream.size(); ++at) {
        if (stream.substr(at, 2) == "\x1b[" && stream.find('H', at) < stream.find_first_of("JKr", at)) {
            char* end = nullptr;
            originY = (static_cast<int32_t>(std::strtol(stream.data() + at + 2, &end, 10)) - 1) * cellHeight;
            originX = (static_cast<int32_t>(std::strtol(end + 1, nullptr, 10)) - 1) * cellWidth;
        }
        if (stream.substr(at, 2) != "\x1bP") continue;
        size_t q = stream.find('q', at), end = stream.find("\x1b\\", at);
        std::map<int64_t, uint32_t> registers;
        uint32_t colour = 0;
        int32_t x = 0, band = 0;
        int64_t repeat = 1;
        for (size_t i = q + 1; i < end; ++i) {
            char c = stream[i];
            auto number = [&] { char* stop; int64_t n = std::strtoll(stream.data() + i + 1, &stop, 10); i = static_cast<size_t>(stop - stream.data()) - 1; return n; };
            if (c == '"') { while (i + 1 < end && (std::isdigit(static_cast<unsigned char>(stream[i + 1])) || stream[i + 1] == ';')) ++i; }
            else if (c == '!') repeat = number();
            else if (c == '$') x = 0;
            else if (c == '-') x = 0, band += 6;
            else if (c == '#') {
                int64_t index = number();
                if (stream[i + 1] == ';') {
                    ++i, number(), ++i;
                    int64_t r = number(); ++i; int64_t g = number(); ++i; int64_t b = number();
                    registers[index] = uint32_t{value(static_cast<int>(r))} << 16 | value(static_cast<int>(g)) << 8 | value(static_cast<int>(b));
                }
                colour = registers.at(index);
            } else if (c >= '?' && c <= '~') {
                for (int64_t n = 0; n < repeat; ++n, ++x)
                    for (int bit = 0; bit < 6; ++bit) {
                        int32_t px = originX + x, py = originY + band + bit;
                        if (((c - '?') >> bit & 1) == 0) continue;
                        if (px >= picture.width || py >= picture.height) return false;
                        picture.pixels[static_cast<size_t>(py * picture.width + px)] = colour;
                    }
                repeat = 1;
            } else return false;
        }
        at = end;
    }
    return true;
}
