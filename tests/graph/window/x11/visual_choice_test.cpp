// The visual the windows are made with, from what a screen offers.

#include "graph/window/x11/visual_choice.h"

#include <gtest/gtest.h>

namespace {

VisualOffer Offer(uint32_t id, bool trueColor, bool root, uint8_t depth, uint8_t bitsPerPixel,
                  uint32_t red, uint32_t green, uint32_t blue) {
    PixelFormat format;
    format.depth = depth;
    format.bitsPerPixel = bitsPerPixel;
    format.redMask = red;
    format.greenMask = green;
    format.blueMask = blue;
    return {id, trueColor, root, format};
}

const VisualOffer kAlpha = Offer(0x70, true, false, 32, 32, 0xFF0000, 0xFF00, 0xFF);

TEST(VisualChoice, The24BitBufferLayoutFirstThenTheRootVisualNeverTheAlphaVisualBeforeOthers) {
    // A 24-bit server.
    EXPECT_EQ(ChooseVisual({kAlpha, Offer(0x21, true, true, 24, 32, 0xFF0000, 0xFF00, 0xFF)}), 1);
    // A 16-bit server with the compositing visual beside its own.
    EXPECT_EQ(ChooseVisual({kAlpha, Offer(0x21, true, true, 16, 16, 0xF800, 0x7E0, 0x1F)}), 1);
    // The 30-bit root visual comes before a 24-bit one that needs converting as well; a 24-bit
    // visual laid out as the buffer comes before the root visual.
    EXPECT_EQ(ChooseVisual({Offer(0x22, true, false, 24, 32, 0xFF, 0xFF00, 0xFF0000),
                            Offer(0x21, true, true, 30, 32, 0x3FF00000, 0xFFC00, 0x3FF)}),
              1);
    EXPECT_EQ(ChooseVisual({Offer(0x21, true, true, 16, 16, 0xF800, 0x7E0, 0x1F),
                            Offer(0x23, true, false, 24, 32, 0xFF0000, 0xFF00, 0xFF)}),
              1);
    // An 8-bit server: its TrueColor visual rather than the PseudoColor root visual.
    EXPECT_EQ(ChooseVisual({Offer(0x21, false, true, 8, 8, 0, 0, 0), kAlpha,
                            Offer(0x24, true, false, 8, 8, 0x7, 0x38, 0xC0)}),
              2);
    // The alpha visual when it is the only TrueColor one.
    EXPECT_EQ(ChooseVisual({Offer(0x21, false, true, 8, 8, 0, 0, 0), kAlpha}), 1);
}

TEST(VisualChoice, NoTrueColorVisualOrNoImageFormatForItMeansNone) {
    EXPECT_EQ(ChooseVisual({}), -1);
    EXPECT_EQ(ChooseVisual({Offer(0x21, false, true, 8, 8, 0, 0, 0), Offer(0x22, false, false, 1, 1, 0, 0, 0)}), -1);
    EXPECT_EQ(ChooseVisual({Offer(0x21, true, true, 4, 0, 0x1, 0x6, 0x8)}), -1);
    EXPECT_EQ(ChooseVisual({Offer(0x21, true, true, 4, 4, 0x1, 0x6, 0x8)}), -1);  // no whole bytes
}

}  // namespace
