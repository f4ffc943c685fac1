// One long line of text in the built-in font: the back-end routine (cached glyph masks copied
// into the buffer) against the generic routine (one WritePixel per glyph pixel), and against a
// plain loop that writes the same ink pixels into a buffer of its own.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/text/bench_mode.h"
#include "graph/fonts/bitmap_font.h"
#include "graph/text.h"

namespace {

const LengthPrefixedString& LongLine() {
    static LengthPrefixedString line = [] {
        std::string text;
        for (int i = 0; i < 150; ++i) text.push_back(static_cast<char>('!' + i % 90));
        return LengthPrefixedString(text);
    }();
    return line;
}

int64_t InkPixels() {
    int64_t ink = 0;
    for (int i = 1; i <= LongLine().length(); ++i) {
        const uint8_t* glyph = BitmapGlyph(static_cast<uint8_t>(LongLine().at(i)));
        for (int p = 0; p < 64; ++p) ink += glyph[p];
    }
    return ink;
}

void BM_BackendText(benchmark::State& state) {
    EnterBenchMode();
    SetDrawColor(static_cast<uint16_t>(state.range(0)));
    for (auto _ : state) BackendDrawText(10, 100, LongLine());
    state.SetItemsProcessed(state.iterations() * LongLine().length());
}
BENCHMARK(BM_BackendText)->Arg(15)->Arg(4);

void BM_GenericText(benchmark::State& state) {
    EnterBenchMode();
    SetDrawColor(4);
    for (auto _ : state) GenericDrawText(10, 200, LongLine());
    state.SetItemsProcessed(state.iterations() * LongLine().length());
}
BENCHMARK(BM_GenericText);

// The floor: the same ink pixels written straight into a buffer.
void BM_PlainGlyphCopy(benchmark::State& state) {
    std::vector<uint32_t> buffer(1280 * 1024);
    const int32_t n = LongLine().length();
    for (auto _ : state) {
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t* glyph = BitmapGlyph(static_cast<uint8_t>(LongLine().at(i + 1)));
            for (int r = 0; r < 8; ++r)
                for (int c = 0; c < 8; ++c)
                    if (glyph[r * 8 + c] != 0) buffer[(100 + r) * 1280 + 10 + i * 8 + c] = 0xA80000;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["ink_pixels"] = static_cast<double>(InkPixels());
}
BENCHMARK(BM_PlainGlyphCopy);

}  // namespace
