// The surface operations on bare pixel arrays: no window, no lock, no library state.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graph/window/surface.h"

namespace {

struct Canvas {
    int32_t width, height;
    std::vector<uint32_t> pixels;
    Canvas(int32_t w, int32_t h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Surface Whole() { return Surface::Over(pixels.data(), width, height, width); }
    uint32_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * width + x]; }
};

constexpr Ink kCombines[] = {{0x00123456, PixelCombine::Copy},
                             {0x00F0F0F0, PixelCombine::Xor},
                             {0x000F0F0F, PixelCombine::Or},
                             {0x00FF00FF, PixelCombine::And}};

// The walk on a surface leaves what plotting its positions one by one leaves, whatever the
// clip, combination and direction; its damage holds every pixel it changed.
TEST(Surface, WalkLeavesWhatPlottingEachPositionLeaves) {
    std::mt19937 random(14);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 400; ++round) {
        Canvas walked(97, 61, 0x00808080), plotted = walked;
        const PixelRect clip = PixelRect{in(-5, 50), in(-5, 30), in(40, 110), in(20, 70)}.Intersected({0, 0, 97, 61});
        const int spread = round % 4 == 0 ? 3000 : 120;
        SegmentWalk walk;
        const int32_t count = PrepareWalk(in(-spread, spread), in(-spread, spread), in(-spread, spread),
                                          in(-spread, spread), walk);
        const Ink ink = kCombines[round % 4];
        const PixelRect touched = WalkSegment(walked.Whole().ClippedTo(clip), walk, count, ink);
        SegmentWalk at = walk;
        for (int32_t i = 0; i < count; ++i, at.Step()) PlotPoint(plotted.Whole().ClippedTo(clip), at.x, at.y, ink);
        ASSERT_EQ(walked.pixels, plotted.pixels) << "round " << round;
        for (int32_t y = 0; y < 61; ++y) {
            for (int32_t x = 0; x < 97; ++x) {
                if (walked.At(x, y) != 0x00808080) {
                    ASSERT_TRUE(touched.Contains(x, y)) << x << "," << y;
                }
            }
        }
    }
}

TEST(Surface, CombinationsMeetThePixelUnderThem) {
    Canvas canvas(4, 1, 0x00AA5500);
    for (int i = 0; i < 4; ++i) PlotPoint(canvas.Whole(), i, 0, kCombines[i]);
    EXPECT_EQ(canvas.pixels, (std::vector<uint32_t>{0x00123456, 0x005AA5F0, 0x00AF5F0F, 0x00AA0000}));
    PlotPoint(canvas.Whole(), 1, 0, kCombines[1]);  // xor twice gives the pixel back
    EXPECT_EQ(canvas.At(1, 0), 0x00AA5500u);
}

// Runs are painted several pixels a store: every length and start paints exactly its pixels,
// in every combination, and the clip cuts them.
TEST(Surface, AreasPaintExactlyTheirPixelsInTheClip) {
    for (int32_t length = 1; length <= 40; ++length) {
        for (int32_t start = 0; start < 8; ++start) {
            for (const Ink& ink : kCombines) {
                Canvas canvas(64, 3, 0x00336699), expected = canvas;
                const PixelRect clip{2, 1, 45, 3};
                const PixelRect run{start, 0, start + length, 3};
                const PixelRect touched = PaintArea(canvas.Whole().ClippedTo(clip), run, ink);
                const PixelRect cut = run.Intersected(clip);
                EXPECT_EQ(touched, (cut.IsEmpty() ? PixelRect{0, 0, 0, 0} : cut));
                for (int32_t y = touched.top; y < touched.bottom; ++y) {
                    for (int32_t x = touched.left; x < touched.right; ++x) Apply(ink, expected.pixels[size_t(y) * 64 + x]);
                }
                ASSERT_EQ(canvas.pixels, expected.pixels) << "length " << length << " start " << start;
            }
        }
    }
}

TEST(Surface, GlyphsWriteOnlyTheirInkCutToTheClip) {
    // An L: the left column and the bottom row of the mask.
    uint64_t mask = 0xFF00000000000000ull;
    for (int r = 0; r < 8; ++r) mask |= uint64_t{1} << (r * 8);
    for (int32_t size : {1, 2}) {
        Canvas canvas(40, 40, 7);
        const PixelRect clip{0, 0, 12, 40};
        const PixelRect touched = BlitGlyph(canvas.Whole().ClippedTo(clip), mask, 4, 3, size, 9);
        EXPECT_EQ(touched, (PixelRect{4, 3, std::min(4 + 8 * size, 12), 3 + 8 * size}));
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                const int32_t bx = (x - 4) / size, by = (y - 3) / size;
                const bool ink = x >= 4 && y >= 3 && bx < 8 && by < 8 && (bx == 0 || by == 7) && x < 12;
                ASSERT_EQ(canvas.At(x, y), ink ? 9u : 7u) << size << ": " << x << "," << y;
            }
        }
    }
}

TEST(Surface, ColoursAreReadAsTheLookUpGivesThem) {
    std::mt19937 random(5);
    Canvas canvas(300, 1);
    for (int32_t x = 0; x < 300; ++x) canvas.pixels[size_t(x)] = random() % 7 == 0 ? random() % 3 : 1;
    std::vector<uint16_t> colours(300, 0xFFFF);
    int lookUps = 0;
    ReadColours(canvas.Whole(), 3, 297, 0, colours.data(), [&](uint32_t pixel) {
        ++lookUps;
        return static_cast<uint16_t>(pixel * 10);
    });
    for (int32_t x = 0; x < 294; ++x) ASSERT_EQ(colours[size_t(x)], canvas.At(x + 3, 0) * 10) << x;
    EXPECT_EQ(colours[294], 0xFFFF);
    EXPECT_LE(lookUps, 3 * 300 / 7 + 10);  // only changes between the last two values look up
}

}  // namespace
