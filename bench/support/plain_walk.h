#pragma once
// The floor of the line benchmarks: a path's segments walked point by point (decision term,
// straight and diagonal steps) into a plain 1920-pixel-wide array, with no locks and no slots.

#include <cstdint>
#include <cstdlib>
#include <vector>

template <typename Point>
void WalkPathIntoArray(const std::vector<Point>& path, std::vector<uint32_t>& pixels, uint32_t colour) {
    for (size_t i = 1; i < path.size(); ++i) {
        int32_t x = path[i - 1].x, y = path[i - 1].y;
        const int32_t dx = std::abs(path[i].x - x), dy = std::abs(path[i].y - y);
        const int32_t sx = path[i].x < x ? -1 : 1, sy = path[i].y < y ? -1 : 1;
        const bool steep = dy > dx;
        const int32_t major = steep ? dy : dx, minor = steep ? dx : dy;
        const int32_t straightX = steep ? 0 : sx, straightY = steep ? sy : 0;
        int32_t d = 2 * minor - major;
        for (int32_t k = 0; k <= major; ++k) {
            pixels[static_cast<size_t>(y) * 1920 + static_cast<size_t>(x)] = colour;
            if (d < 0) {
                d += 2 * minor;
                x += straightX;
                y += straightY;
            } else {
                d += 2 * (minor - major);
                x += sx;
                y += sy;
            }
        }
    }
}
