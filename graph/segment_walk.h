#pragma once
// The walk of a sloped segment, point by point: position, decision term and the two kinds of
// step. The generic line routine walks it through the PlotPixel slot; a surface walks it
// with a pixel pointer.
//
// The decision terms are 64-bit, so every segment of 16-bit end points is walked exactly,
// whatever its length.

#include <cstdint>
#include <cstdlib>

struct SegmentWalk {
    int32_t x, y;       // current position
    int64_t d;          // decision term
    int64_t straightInc, diagonalInc;
    int32_t straightX, straightY;  // straight step
    int32_t sx, sy;
    int32_t endX, endY;  // the last position
    bool steep;

    // Moves the decision term `term` (this walk's d, or a copy of it) one step on; true when the
    // step is diagonal. The one place the walk decides, for walkers of positions and of pointers.
    bool NextStepIsDiagonal(int64_t& term) const {
        if (term < 0) {
            term += straightInc;
            return false;
        }
        term += diagonalInc;
        return true;
    }

    void Step() {
        if (NextStepIsDiagonal(d)) {
            x += sx;
            y += sy;
        } else {
            x += straightX;
            y += straightY;
        }
    }
};

// Sets up the walk from (x1, y1) to (x2, y2); returns the number of positions.
inline int32_t PrepareWalk(int32_t x1, int32_t y1, int32_t x2, int32_t y2, SegmentWalk& walk) {
    int64_t dx = std::abs(x2 - x1);
    int64_t dy = std::abs(y2 - y1);
    walk.sx = x2 < x1 ? -1 : 1;
    walk.sy = y2 < y1 ? -1 : 1;
    walk.steep = dy > dx;
    int64_t major = walk.steep ? dy : dx;
    int64_t minor = walk.steep ? dx : dy;
    walk.straightInc = 2 * minor;
    walk.diagonalInc = 2 * (minor - major);
    walk.straightX = walk.steep ? 0 : walk.sx;
    walk.straightY = walk.steep ? walk.sy : 0;
    walk.x = x1;
    walk.y = y1;
    walk.endX = x2;
    walk.endY = y2;
    walk.d = 2 * minor - major;
    return static_cast<int32_t>(major + 1);
}
