// Reads its input as a sequence of public graphics operations with their arguments and runs
// them on the memory display. No call may use more than 2 s of processor time (a busy machine
// stretches the clock, not that; a call that blocks is left to libFuzzer's own timeout); a line
// and a flood fill drawn through the back-end's shortcuts must leave the same pixels as the
// generic routines with a caller's slot in between. The sanitizers see the rest.
//
// Input: per call one byte choosing the operation, then its arguments as little-endian 16-bit
// values (missing bytes read as 0).

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graph/graph_internal.h"
#include "graph/window/backend_testing.h"
#include "graph/window/draw_lock.h"
#include "graph/window/primitives.h"
#include "tests/graph/library_restart.h"

namespace {

constexpr int kMostCalls = 200;
constexpr int kMostModeSets = 6;
// Images are put a pixel at a time: a larger one would measure the machine, not find a hang.
constexpr int64_t kMostImageBytes = 1 << 20;
constexpr auto kCallLimit = std::chrono::seconds(2);
// A small screen: its best mode is a 320 x 200 window, the fixed modes are too large for it.
constexpr ScreenMetrics kScreen = {320, 200, 320, 200};

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
    int16_t Coordinate() { return static_cast<int16_t>(Word()); }
    int32_t Long() { return static_cast<int32_t>(Word() | static_cast<uint32_t>(Word()) << 16); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

std::chrono::nanoseconds ThreadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Runs one call, and fails the run when it takes longer than the limit.
template <typename Call>
void Timed(const char* name, Call call) {
    const auto start = ThreadProcessorTime();
    call();
    if (ThreadProcessorTime() - start > kCallLimit) {
        std::fprintf(stderr, "%s took longer than 2 s\n", name);
        std::abort();
    }
}

void RestoreSurface(const std::vector<uint32_t>& pixels) {
    DrawingSide lock;
    const PixelBuffer buffer = NewestWindowBuffer();
    for (int32_t y = 0; y < buffer.height; ++y) {
        std::memcpy(buffer.pixels + static_cast<ptrdiff_t>(y) * buffer.stride,
                    pixels.data() + static_cast<size_t>(y) * buffer.width, sizeof(uint32_t) * buffer.width);
    }
}

// Caller's slots: the back-end's own routines behind another address, so the back-end's
// line and span routines hand their work to the generic ones.
void PlotThroughCaller(int16_t x, int16_t y) { BackendPlotPixel(x, y); }
void RunThroughCaller(int16_t x1, int16_t x2, int16_t y) { BackendDrawHorizontalLine(x1, x2, y); }

// Draws once with the slots as they are and once with caller's slots on the same surface; the
// pixels, the pen and the result code must agree.
template <typename Draw>
void Differential(const char* name, Draw draw) {
    if (DriverSlots.PlotPixel != BackendPlotPixel ||
        DriverSlots.DrawHorizontalLine != BackendDrawHorizontalLine) {
        Timed(name, draw);
        return;
    }
    // Kept from call to call: a fresh copy of a whole surface each time would cost more than
    // the drawing.
    static std::vector<uint32_t> before, fast, generic;
    CopyNewestBuffer(before);
    const GraphStateRecord state = GraphState;
    Timed(name, draw);
    CopyNewestBuffer(fast);
    const GraphStateRecord fastState = GraphState;
    RestoreSurface(before);
    GraphState = state;
    DriverSlots.PlotPixel = PlotThroughCaller;
    DriverSlots.DrawHorizontalLine = RunThroughCaller;
    Timed(name, draw);
    DriverSlots.PlotPixel = BackendPlotPixel;
    DriverSlots.DrawHorizontalLine = BackendDrawHorizontalLine;
    CopyNewestBuffer(generic);
    if (generic != fast || GraphState.penX != fastState.penX || GraphState.penY != fastState.penY ||
        GraphState.resultCode != fastState.resultCode) {
        std::fprintf(stderr, "%s: the shortcut and the generic routine differ\n", name);
        std::abort();
    }
}

LengthPrefixedString TextOf(Input& in) {
    LengthPrefixedString text;
    for (uint8_t length = in.Byte(); length > 0; --length) text.Append(static_cast<char>(in.Byte()));
    return text;
}

void SaveAndPut(Input& in) {
    const int16_t x1 = in.Coordinate(), y1 = in.Coordinate(), x2 = in.Coordinate(), y2 = in.Coordinate();
    const int16_t x = in.Coordinate(), y = in.Coordinate();
    const uint16_t mode = in.Word();
    int32_t size = 0;
    Timed("ImageBufferSize", [&] { size = ImageBufferSize(x1, y1, x2, y2); });
    if (size < 0 || size > kMostImageBytes) return;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::max(size, kImageHeaderBytes)));
    Timed("SaveImage", [&] { SaveImage(x1, y1, x2, y2, buffer.data()); });
    if (size >= kImageHeaderBytes) Timed("PutImage", [&] { PutImage(x, y, buffer.data(), mode); });
}

// A header of the caller's making over a buffer that holds what it claims, when that is small
// enough to allocate; otherwise the header alone, which the library must refuse unread.
void PutMadeImage(Input& in) {
    const int32_t widthLess1 = in.Long(), heightLess1 = in.Long();
    const int16_t x = in.Coordinate(), y = in.Coordinate();
    const uint16_t mode = in.Word();
    const int64_t width = int64_t{widthLess1} + 1, height = int64_t{heightLess1} + 1;
    const bool held = width >= 0 && height >= 0 && width <= 65536 && height <= 65536 &&
                      2 * width * height <= kMostImageBytes;
    const bool refusable = width < 0 || height < 0 || width > 65536 || height > 65536;
    if (!held && !refusable) return;
    std::vector<uint8_t> buffer(static_cast<size_t>(kImageHeaderBytes + (held ? 2 * width * height : 0)));
    for (int i = 0; i < 4; ++i) {
        buffer[i] = static_cast<uint8_t>(static_cast<uint32_t>(widthLess1) >> (8 * i));
        buffer[4 + i] = static_cast<uint8_t>(static_cast<uint32_t>(heightLess1) >> (8 * i));
    }
    for (size_t i = kImageHeaderBytes; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 7);
    GraphState.resultCode = GraphOk;
    Timed("PutImage", [&] { PutImage(x, y, buffer.data(), mode); });
    if (refusable && GraphResult() != GraphErrorGeneral) {
        std::fprintf(stderr, "PutImage took a header no SaveImage writes\n");
        std::abort();
    }
}

// The mode every sequence starts in, on a fresh library and display. A window is a thread and
// buffers, slow to make: the mode is kept from one sequence to the next unless a sequence
// changed it, and then that sequence puts it back as it ends. So the windows a sequence made are
// gone when it returns; otherwise libFuzzer, seeing more memory held than before, would run the
// input again and check for leaks.
void StartMode() {
    RenewTestDisplay();
    // Presents go whole, without the pauses between bands that a drawing thread waits out.
    TestDisplay().SetReadsBufferItself(true);
    RestartLibrary(kScreen);
    int16_t driver = 0, mode = 0;
    InitGraph(driver, mode, "");
}

// One operation; false when the sequence must end here. Operation 0 sets a mode and 1 leaves
// graphics mode: they are the two top byte values, the other operations share the rest.
bool RunOne(Input& in, int& modeSets) {
    const uint8_t choice = in.Byte();
    const uint8_t op = choice == 0xFF ? 0 : choice == 0xFE ? 1 : static_cast<uint8_t>(2 + choice % 20);
    if (op == 0 || !GraphState.inGraphics) {
        // Every window is a thread and a buffer: a sequence sets a few modes at most.
        if (++modeSets > kMostModeSets) return false;
        static const int16_t kDrivers[] = {0, 9, 10, 15, 19, 1, -1, 21};
        int16_t driver = 0, mode = 0;
        if (op == 0) {
            driver = kDrivers[in.Byte() % 8];
            mode = in.Coordinate();
        }
        Timed("InitGraph", [&] { InitGraph(driver, mode, ""); });
        if (op == 0 || !GraphState.inGraphics) return true;
    }
    switch (op) {
        case 1: Timed("LeaveGraphics", [] { LeaveGraphics(); }); break;
        case 2: SetDrawColor(in.Word()); break;
        case 3: PenMoveTo(in.Coordinate(), in.Coordinate()); break;
        case 4: {
            const int16_t x = in.Coordinate(), y = in.Coordinate();
            Differential("PenLineTo", [&] { PenLineTo(x, y); });
            break;
        }
        case 5: SelectFill(in.Word(), in.Word()); break;
        case 6: {
            const int16_t x = in.Coordinate(), y = in.Coordinate();
            const uint16_t border = in.Word();
            Differential("FloodFillArea", [&] { FloodFillArea(x, y, border); });
            break;
        }
        case 7: {
            const int16_t x1 = in.Coordinate(), y1 = in.Coordinate(), x2 = in.Coordinate(), y2 = in.Coordinate();
            DefineViewport(x1, y1, x2, y2, in.Byte() & 1);
            break;
        }
        case 8: ChangeBackground(in.Word()); break;
        case 9: {
            const uint16_t style = in.Word(), pattern = in.Word(), thickness = in.Word();
            SetStrokeStyle(style, pattern, thickness);
            break;
        }
        case 10: case 11: case 12: case 13: {
            const int16_t x = in.Coordinate(), y = in.Coordinate();
            const uint16_t a = in.Word(), b = in.Word(), c = in.Word(), d = in.Word();
            if (op == 10) Timed("DrawArc", [&] { DrawArc(x, y, a, b, c); });
            if (op == 11) Timed("DrawEllipse", [&] { DrawEllipse(x, y, a, b, c, d); });
            if (op == 12) Timed("DrawCircle", [&] { DrawCircle(x, y, c); });
            if (op == 13) Timed("FillEllipseArea", [&] { FillEllipseArea(x, y, c, d); });
            break;
        }
        case 14: {
            const uint16_t font = in.Word(), direction = in.Word(), size = in.Word();
            SelectTextStyle(font, direction, size);
            break;
        }
        case 15: SelectTextJustify(in.Word(), in.Word()); break;
        case 16: {
            const int16_t x = in.Coordinate(), y = in.Coordinate();
            const LengthPrefixedString text = TextOf(in);
            Timed("DrawTextAt", [&] { DrawTextAt(x, y, text); });
            break;
        }
        case 17: {
            const LengthPrefixedString text = TextOf(in);
            Timed("MeasureTextWidth", [&] { MeasureTextWidth(text); });
            Timed("MeasureTextHeight", [&] { MeasureTextHeight(text); });
            break;
        }
        case 18: SaveAndPut(in); break;
        case 19: PutMadeImage(in); break;
        case 20: {
            int16_t x1, y1, x2, y2;
            bool clip;
            ReadViewport(x1, y1, x2, y2, clip);
            StrokeSettings settings;
            GetStrokeStyle(settings);
            ReadLastArc();
            if (HighestColor() > 255 || SurfaceMaxX() < 0 || SurfaceMaxY() < 0) {
                std::fprintf(stderr, "a mode outside its ranges\n");
                std::abort();
            }
            break;
        }
        default: DefaultPaletteEntry(in.Word()); break;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartMode();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each sequence on a cleared surface with the default settings.
    GraphState.resultCode = GraphOk;
    ApplyDefaults();
    ClearNewestBuffer();
    Input in(data, size);
    int modeSets = 0;
    bool left = false;
    for (int calls = 0; calls < kMostCalls && !in.Done(); ++calls) {
        if (!RunOne(in, modeSets)) break;
        left = left || !GraphState.inGraphics;
    }
    if (modeSets > 0 || left) StartMode();
    return 0;
}
