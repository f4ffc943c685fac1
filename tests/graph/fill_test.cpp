// Flood fill against the seed-stack walk it replaces and against a plain 4-connected fill, fill
// patterns and the fill's mends.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "tests/graph/fill_reference.h"
#include "tests/graph/graph_test_support.h"

namespace {

// The whole surface as default colour numbers, straight from the buffer.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> colour;
    uint8_t& at(int x, int y) { return colour[static_cast<size_t>(y) * width + x]; }
};

// The colour number of a buffer pixel drawn in a default colour (255 for anything else). A scan
// of sixteen: whole surfaces are read this way many times, also under the sanitizers.
uint8_t DefaultColourOf(uint32_t pixel) {
    static const std::array<uint32_t, 16> pixels = [] {
        std::array<uint32_t, 16> all;
        for (int c = 0; c < 16; ++c) all[static_cast<size_t>(c)] = DefaultPixel(c);
        return all;
    }();
    for (size_t c = 0; c < pixels.size(); ++c) {
        if (pixels[c] == pixel) return static_cast<uint8_t>(c);
    }
    return 255;
}

Picture Capture() {
    Picture picture;
    picture.width = GraphState.surfaceMaxX + 1;
    picture.height = GraphState.surfaceMaxY + 1;
    picture.colour.resize(static_cast<size_t>(picture.width) * picture.height);
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) picture.at(x, y) = DefaultColourOf(buffer.pixels[y * buffer.stride + x]);
    }
    return picture;
}

void Paint(Picture& picture) {
    uint32_t pixels[16];
    for (int c = 0; c < 16; ++c) pixels[c] = DefaultPixel(c);
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) buffer.pixels[y * buffer.stride + x] = pixels[picture.at(x, y)];
    }
}

// The plain fill: every pixel of the viewport 4-connected to the seed without crossing a border
// pixel gets the pattern's colour. A seed on a border pixel fills nothing.
Picture ReferenceFill(Picture picture, int seedX, int seedY, int border) {
    const int left = GraphState.viewLeft, top = GraphState.viewTop;
    const int right = left + GraphState.viewMaxX, bottom = top + GraphState.viewMaxY;
    int sx = seedX + left, sy = seedY + top;
    if (sx < left || sx > right || sy < top || sy > bottom || picture.at(sx, sy) == border) return picture;
    std::vector<char> inRegion(picture.colour.size(), 0);
    std::vector<std::pair<int, int>> pending{{sx, sy}};
    inRegion[static_cast<size_t>(sy) * picture.width + sx] = 1;
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : steps) {
            int nx = x + step[0], ny = y + step[1];
            if (nx < left || nx > right || ny < top || ny > bottom) continue;
            char& seen = inRegion[static_cast<size_t>(ny) * picture.width + nx];
            if (seen || picture.at(nx, ny) == border) continue;
            seen = 1;
            pending.emplace_back(nx, ny);
        }
    }
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (!inRegion[static_cast<size_t>(y) * picture.width + x]) continue;
            bool set = FillPatternRow(GraphState.fillPatternIndex, static_cast<int16_t>(y)) & (0x80 >> (x & 7));
            picture.at(x, y) = static_cast<uint8_t>(set ? GraphState.fillColor : GraphState.backColor);
        }
    }
    return picture;
}

void ExpectSame(Picture& actual, Picture& expected, const char* what) {
    if (actual.colour == expected.colour) return;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            ASSERT_EQ(actual.at(x, y), expected.at(x, y)) << what << " at " << x << "," << y;
        }
    }
}

// A random picture of one of several kinds, walls in the border colour.
void DrawRandomPicture(Picture& picture, int shape, int border, std::mt19937& random) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            bool wall;
            switch (shape) {
                case 0: wall = random() % 100 < 35; break;            // noise
                case 1: wall = (x % 2 == 1) && (y % 2 == 1); break;  // grid: many pending seeds
                case 2: wall = (x * 7 + y * 3) % 11 == 0 || (x % 9 == 0 && y % 5); break;
                case 3: wall = random() % 100 < 8; break;             // mostly open
                default: wall = (x % 4 == 0 || y % 4 == 0) && random() % 100 < 80; break;  // maze-like cells
            }
            picture.at(x, y) = wall ? border : static_cast<uint8_t>(random() % 16);
            if (!wall && picture.at(x, y) == border) picture.at(x, y) = static_cast<uint8_t>((border + 1) % 16);
        }
    }
}

// On random pictures, viewports, patterns and colours (the fill and background colours may be
// the border colour, and two palette entries may show the same colour, so that painted pixels
// read back as the border), the fill leaves exactly the picture of the seed-stack walk, which
// is also the plain 4-connected fill.
TEST(FloodFill, EqualsTheSeedStackWalkAndAPlain4ConnectedFillOnRandomPictures) {
    StartMode();  // 640 x 480 x 16
    std::mt19937 random(1208);
    Picture picture = Capture();
    int manySeedRounds = 0, paintedAsBorderRounds = 0;
    for (int round = 0; round < 60; ++round) {
        const int border = static_cast<int>(random() % 16);
        const int shape = round % 5;
        DrawRandomPicture(picture, shape, border, random);
        int16_t left = static_cast<int16_t>(random() % 600), top = static_cast<int16_t>(random() % 440);
        int16_t right = static_cast<int16_t>(left + random() % std::min(640 - left, 200));
        int16_t bottom = static_cast<int16_t>(top + random() % std::min(480 - top, 150));
        if (round % 25 == 0) left = top = 0, right = 639, bottom = 479;
        if (shape == 1) {  // wide enough to keep more than 1023 seeds waiting
            left = 0;
            right = 639;
            top = static_cast<int16_t>(random() % 400);
            bottom = static_cast<int16_t>(top + 12 + random() % 12);
        }
        DefineViewport(left, top, right, bottom, random() % 2 == 0);
        uint16_t pattern = static_cast<uint16_t>(random() % 13);
        for (uint8_t& byte : GraphState.userFillPattern) byte = static_cast<uint8_t>(random());
        const uint16_t fillColour = static_cast<uint16_t>(round % 3 == 0 ? border : random() % 16);
        SelectFill(pattern, fillColour);
        GraphState.backColor = static_cast<uint16_t>(round % 7 == 0 ? border : random() % 16);
        // Some rounds show the fill colour as the border's colour, so it reads back as the border.
        const bool sameShade = round % 4 == 1 && fillColour != border;
        if (sameShade) {
            int16_t red, green, blue;
            DriverSlots.ReadPaletteEntry(static_cast<int16_t>(border), red, green, blue);
            DriverSlots.WritePaletteEntry(static_cast<int16_t>(fillColour), red, green, blue);
        }
        GraphState.writeMode = static_cast<uint16_t>(random() % 3);  // must not matter
        const uint16_t writeMode = GraphState.writeMode;
        SetDrawColor(static_cast<uint16_t>(random() % 16));
        const uint16_t drawColour = GraphState.drawColor;
        int16_t seedX = static_cast<int16_t>(random() % (right - left + 1));
        int16_t seedY = static_cast<int16_t>(random() % (bottom - top + 1));
        if (shape == 1) seedX = static_cast<int16_t>(seedX & ~1);  // on the open grid

        Paint(picture);
        const int32_t peakSeeds = ReferenceFloodFill(seedX, seedY, static_cast<uint16_t>(border));
        Picture byWalk = Capture();
        Paint(picture);
        FloodFillArea(seedX, seedY, static_cast<uint16_t>(border));
        Picture actual = Capture();
        if (sameShade) {
            // Painted pixels are the border's colour: the plain fill cannot tell them apart.
            ASSERT_NO_FATAL_FAILURE(ExpectSame(actual, byWalk, "fill against the walk"));
            ++paintedAsBorderRounds;
        } else {
            Picture plain = ReferenceFill(picture, seedX, seedY, border);
            ASSERT_NO_FATAL_FAILURE(ExpectSame(byWalk, plain, "walk against the plain fill"));
            ASSERT_NO_FATAL_FAILURE(ExpectSame(actual, plain, "fill against the plain fill"));
        }
        ASSERT_EQ(GraphState.drawColor, drawColour);
        ASSERT_EQ(GraphState.writeMode, writeMode);
        if (shape == 1 && picture.at(seedX + left, seedY + top) != border) {
            EXPECT_GT(peakSeeds, 1023);
            ++manySeedRounds;
        }
        if (sameShade) {
            DriverSlots.WritePaletteEntry(static_cast<int16_t>(fillColour), 0, 0, 0);
            StartMode();  // the default palette again
        }
    }
    EXPECT_GT(manySeedRounds, 5);
    EXPECT_GT(paintedAsBorderRounds, 8);
}

// Runs counted on their way to the back-end's own run routine.
int runsSeen = 0;
void CountingHorizontalLine(int16_t x1, int16_t x2, int16_t y) {
    ++runsSeen;
    BackendDrawHorizontalLine(x1, x2, y);
}

// The back-end paints solid rows on its surface itself only while nobody could tell: a caller's
// own run routine still gets every run, and leaves the same picture.
TEST(FloodFill, ACallersRunRoutineStillSeesEveryRun) {
    StartMode();
    SetDrawColor(4);
    DriverSlots.DrawVerticalLine(0, 0, 479);
    DriverSlots.DrawHorizontalLine(0, 639, 479);
    std::mt19937 random(5);
    for (int i = 0; i < 400; ++i) {
        DriverSlots.PlotPixel(static_cast<int16_t>(random() % 640), static_cast<int16_t>(random() % 480));
    }
    Picture picture = Capture();
    for (uint16_t pattern : {0, 1, 2, 5}) {
        SelectFill(pattern, 9);
        GraphState.backColor = 3;
        Paint(picture);
        FloodFillArea(10, 10, 4);
        Picture direct = Capture();
        Paint(picture);
        runsSeen = 0;
        DriverSlots.DrawHorizontalLine = CountingHorizontalLine;
        FloodFillArea(10, 10, 4);
        DriverSlots.DrawHorizontalLine = BackendDrawHorizontalLine;
        Picture runByRun = Capture();
        ASSERT_NO_FATAL_FAILURE(ExpectSame(direct, runByRun, "rows on the surface against runs one by one"));
        // Every row of the region holds at least one run; each row of a solid pattern is all runs.
        if (pattern != 5) {
            EXPECT_GT(runsSeen, 479) << pattern;
        }
    }
}

TEST(FloodFill, PatternsAreAnchoredToTheSurface) {
    StartMode();
    DefineViewport(3, 5, 40, 40, true);
    SelectFill(3, 14);
    GraphState.backColor = 1;
    FloodFillArea(0, 0, 15);
    EXPECT_EQ(BufferPixel(7, 8), DefaultPixel(14));  // row 0 of the pattern: bit 0x01 is x = 7
    EXPECT_EQ(BufferPixel(8, 8), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(8, 9), DefaultPixel(1));
    EXPECT_EQ(BufferPixel(6, 9), DefaultPixel(14));  // row 1: 0x02 is x = 6
    EXPECT_EQ(BufferPixel(2, 8), 0u);                // outside the viewport
}

TEST(FloodFill, SelectFillIsChecked) {
    StartMode();
    GraphState.resultCode = 0;
    SelectFill(13, 1);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    SelectFill(1, 16);
    EXPECT_EQ(GraphState.fillColor, 15);
    EXPECT_EQ(GraphState.fillPatternIndex, 1);
}

TEST(FloodFill, SeedsOutsideOrOnTheBorderFillNothing) {
    StartMode();
    DefineViewport(0, 0, 99, 99, true);
    SetDrawColor(4);
    DriverSlots.DrawVerticalLine(0, 0, 99);
    DriverSlots.DrawVerticalLine(50, 0, 99);
    SetDrawColor(9);
    GraphState.resultCode = 0;
    FloodFillArea(-1, 0, 4);
    FloodFillArea(100, 0, 4);
    FloodFillArea(0, 10, 4);   // border pixel at x = 0
    FloodFillArea(50, 10, 4);  // border pixel further right
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(GraphState.drawColor, 9);
    EXPECT_EQ(BufferPixel(49, 10), 0u);
    EXPECT_EQ(BufferPixel(0, 10), DefaultPixel(4));
    FloodFillArea(10, 10, 4);
    EXPECT_EQ(BufferPixel(1, 99), DefaultPixel(15));
    EXPECT_EQ(BufferPixel(49, 0), DefaultPixel(15));
    EXPECT_EQ(BufferPixel(51, 0), 0u);
    EXPECT_EQ(BufferPixel(1, 100), 0u);
}

TEST(FloodFill, RowsAMultipleOf64WideAreFilledToTheirRightEdge) {
    // Their runs to the right edge looked for a closed pixel past the row's bits (the last row's
    // past the fill's memory, which the sanitizer build sees).
    for (int16_t right : {63, 127, 639}) {
        StartMode();
        DefineViewport(0, 0, right, 479, true);
        SelectFill(1, 2);
        FloodFillArea(right, 479, 15);
        FloodFillArea(0, 0, 15);
        EXPECT_EQ(BufferPixel(right, 479), DefaultPixel(2)) << right;
        EXPECT_EQ(BufferPixel(right, 0), DefaultPixel(2)) << right;
    }
}

TEST(FloodFill, ViewportsTallerThan2048RowsAreFilledCompletely) {
    RestartLibrary({1000, 3000, 1000, 3000});
    int16_t driver = 10, mode = 240;  // the largest window: 1000 x 3000
    InitGraph(driver, mode, "");
    ASSERT_EQ(SurfaceMaxY(), 2999);
    SetDrawColor(4);
    DriverSlots.DrawHorizontalLine(0, 999, 2500);
    DriverSlots.DrawHorizontalLine(0, 400, 2600);
    SelectFill(1, 2);
    FloodFillArea(500, 2000, 4);
    EXPECT_EQ(BufferPixel(999, 0), DefaultPixel(2));
    EXPECT_EQ(BufferPixel(0, 2499), DefaultPixel(2));
    EXPECT_EQ(BufferPixel(0, 2501), 0u);
    FloodFillArea(500, 2999, 4);
    EXPECT_EQ(BufferPixel(0, 2599), DefaultPixel(2));
    EXPECT_EQ(BufferPixel(999, 2999), DefaultPixel(2));
}

}  // namespace
