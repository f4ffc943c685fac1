// The terminal display's pictures, read back as a terminal shows them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <random>
#include <string>

#include "graph/window/terminal/kitty_encoder.h"
#include "graph/window/terminal/sixel_encoder.h"
#include "graph/window/terminal/terminal_display.h"
#include "tests/graph/window/terminal/shown_picture.h"

namespace {

// A buffer of `colours` different colours, scattered.
std::vector<uint32_t> Scattered(int32_t width, int32_t height, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> palette(static_cast<size_t>(colours)), pixels(static_cast<size_t>(width * height));
    for (uint32_t& c : palette) c = random() & 0xFFFFFF;
    for (uint32_t& p : pixels) p = palette[random() % palette.size()];
    return pixels;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 2) return false;
    return true;
}

std::mutex written_mutex;
std::string written;
void Capture(std::string_view bytes) {
    std::lock_guard<std::mutex> guard(written_mutex);
    written += bytes;
}

}  // namespace

TEST(KittyEncoder, PictureAndAreasShowTheBufferExactly) {
    std::vector<uint32_t> pixels = Scattered(97, 61, 1 << 20, 1);  // compresses badly: many chunks
    PixelBuffer buffer{pixels.data(), 97, 61, 97, nullptr};
    std::string out;
    AppendKittyPicture(out, 1, buffer);
    ShownPicture shown;
    ASSERT_TRUE(ShowKittyStream(out, shown));
    for (PixelRect area : {PixelRect{0, 0, 1, 1}, PixelRect{96, 60, 97, 61}, PixelRect{40, 3, 200, 9}, PixelRect{0, 0, 97, 61}}) {
        std::vector<uint32_t> fresh = Scattered(97, 61, 5, static_cast<unsigned>(area.left + 2));
        for (int32_t y = area.top; y < std::min(area.bottom, 61); ++y)
            for (int32_t x = area.left; x < std::min(area.right, 97); ++x) pixels[static_cast<size_t>(y * 97 + x)] = fresh[static_cast<size_t>(y * 97 + x)];
        out.clear();
        AppendKittyArea(out, 1, buffer, area);
        ASSERT_TRUE(ShowKittyStream(out, shown));
        EXPECT_EQ(shown.pixels, pixels) << area.left << "," << area.top;
    }
}

TEST(SixelEncoder, EveryPixelInPlaceWithinTwoOfItsColourUnderEitherRounding) {
    struct Case { int colours; int registers; PixelRect area; };
    for (const Case& c : {Case{3, 16, {0, 0, 50, 40}}, Case{40, 16, {10, 20, 33, 27}}, Case{16, 16, {5, 10, 50, 40}}, Case{2, 1, {0, 0, 1, 1}}}) {
        for (uint8_t (*value)(int) : {SixelValueRounded, SixelValueHighByte}) {
            std::vector<uint32_t> pixels = Scattered(50, 40, c.colours, static_cast<unsigned>(c.colours));
            PixelBuffer buffer{pixels.data(), 50, 40, 50, nullptr};
            std::string out;
            const std::string placeCursor =  // on cells of 5 x 10 pixels
                "\x1b[" + std::to_string(c.area.top / 10 + 1) + ';' + std::to_string(c.area.left / 5 + 1) + 'H';
            AppendSixelArea(out, buffer, c.area, c.registers, placeCursor);
            ShownPicture shown{50, 40, std::vector<uint32_t>(2000, 0xABCDEF), true};
            ASSERT_TRUE(ShowSixelStream(out, 5, 10, value, shown));
            for (int32_t y = 0; y < 40; ++y)
                for (int32_t x = 0; x < 50; ++x) {
                    bool inside = c.area.Contains(x, y);
                    uint32_t want = inside ? pixels[static_cast<size_t>(y * 50 + x)] : 0xABCDEF;
                    ASSERT_TRUE(inside ? Near(shown.At(x, y), want) : shown.At(x, y) == want) << c.colours << " colours at " << x << "," << y;
                }
        }
    }
}

TEST(SixelEncoder, PercentLandsNearestTheChannel) {
    EXPECT_EQ(SixelPercent(252), 99);  // the plotter's yellow: 99% shows as 253 in xterm, 98% as 250
    for (int channel = 0; channel < 256; ++channel) {
        int percent = SixelPercent(static_cast<uint8_t>(channel));
        EXPECT_LE(std::abs(SixelValueHighByte(percent) - channel), 2) << channel;
        EXPECT_LE(std::abs(SixelValueRounded(percent) - channel), 2) << channel;
    }
}

TEST(TerminalDisplay, NewestWindowShownWithItsDamageAloneSentAndRemovedAtTheEnd) {
    TerminalDisplay display(PictureProtocol::Kitty, {80, 60, 8, 16}, Capture);
    EXPECT_EQ(display.Metrics().largestClientWidth, 80);
    WindowHandle first = display.CreateWindow({}), second = display.CreateWindow({});
    PixelBuffer buffers[2];
    std::vector<uint32_t> pixels = Scattered(80, 60, 7, 3);
    ShownPicture shown;
    for (int i = 0; i < 2; ++i) {
        WindowHandle window = i == 0 ? first : second;
        ASSERT_TRUE(display.CreateBuffer(window, 80, 60, buffers[i]));
        std::copy(pixels.begin(), pixels.end(), buffers[i].pixels);
        display.ShowWindow(window);
        display.Present(window, buffers[i], {0, 0, 80, 60});
        display.PostWake(window);
        written.clear();
        display.NextEvent(window);  // sends what was presented before it waits
        ASSERT_TRUE(ShowKittyStream(written, shown));
        EXPECT_EQ(shown.pixels, pixels);
    }
    buffers[1].pixels[5 * 80 + 7] = pixels[5 * 80 + 7] = 0x123456;
    display.Present(second, buffers[1], {7, 5, 8, 6});
    display.Present(first, buffers[0], {0, 0, 80, 60});  // covered by the newer picture: not sent
    display.PostWake(first);
    display.PostWake(second);
    written.clear();
    display.NextEvent(first);
    display.NextEvent(second);
    EXPECT_EQ(written.find("a=T"), std::string::npos);
    ASSERT_TRUE(ShowKittyStream(written, shown));
    EXPECT_EQ(shown.pixels, pixels);
    display.ShowAgain();  // as the console does after a resize: the whole picture again
    written.clear();
    display.NextEvent(second);
    shown = {};
    ASSERT_TRUE(ShowKittyStream(written, shown));
    EXPECT_EQ(shown.pixels, pixels);
    display.DestroyWindow(second);
    ASSERT_TRUE(ShowKittyStream(written, shown));
    EXPECT_FALSE(shown.shown);
}

TEST(TerminalDisplay, SixelDamageStartsOnItsCellAndKeepsEveryPixelInPlace) {
    TerminalDisplay display(PictureProtocol::Sixel, {40, 40, 8, 10}, Capture);
    WindowHandle window = display.CreateWindow({});
    PixelBuffer buffer;
    ASSERT_TRUE(display.CreateBuffer(window, 40, 40, buffer));
    std::vector<uint32_t> pixels = Scattered(40, 40, 20, 4);
    std::copy(pixels.begin(), pixels.end(), buffer.pixels);
    display.ShowWindow(window);
    display.Present(window, buffer, {13, 17, 29, 31});  // the rest of the image is still black
    display.PostWake(window);
    for (uint32_t before : {0x000000u, 0xABCDEFu}) {  // then after a resize: the whole picture again
        if (before != 0) display.ShowAgain();
        written.clear();
        display.NextEvent(window);
        ShownPicture shown{40, 40, std::vector<uint32_t>(1600, before), true};
        ASSERT_TRUE(ShowSixelStream(written, 8, 10, SixelValueHighByte, shown));
        for (int32_t y = 0; y < 40; ++y)
            for (int32_t x = 0; x < 40; ++x)
                ASSERT_TRUE(Near(shown.At(x, y), PixelRect{13, 17, 29, 31}.Contains(x, y) ? pixels[static_cast<size_t>(y * 40 + x)] : 0)) << x << "," << y;
    }
}
