#pragma once
// PixelRect: a rectangle of buffer or surface pixels, half-open (columns left..right-1, rows
// top..bottom-1), so a rectangle's width is right - left and the empty rectangle needs no
// special value. Every clip in the back-end is one Intersected with the area a primitive may
// touch.

#include <algorithm>
#include <cstdint>

struct PixelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int32_t x, int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    // True when every pixel of `other` lies in this rectangle; an empty `other` lies anywhere.
    constexpr bool Contains(const PixelRect& other) const {
        return other.IsEmpty() || (other.left >= left && other.right <= right && other.top >= top &&
                                   other.bottom <= bottom);
    }
    // The pixels in both; may be empty.
    constexpr PixelRect Intersected(const PixelRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    // The smallest rectangle holding both; an empty side adds nothing.
    constexpr PixelRect United(const PixelRect& other) const {
        if (IsEmpty()) return other;
        if (other.IsEmpty()) return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    constexpr int64_t Area() const {
        return IsEmpty() ? 0 : static_cast<int64_t>(right - left) * (bottom - top);
    }
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;

    // The rectangle from (x1, y1) to (x2, y2), both corners included.
    static constexpr PixelRect FromCorners(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        return {x1, y1, x2 + 1, y2 + 1};
    }
};
