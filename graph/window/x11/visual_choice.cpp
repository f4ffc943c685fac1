#include "graph/window/x11/visual_choice.h"

namespace {

constexpr int kDepthWithAlpha = 32;

int Rank(const VisualOffer& offer) {
    const PixelFormat& format = offer.format;
    return (IsBufferLayout(format) && format.depth == 24 ? 4000 : 0) + (offer.root ? 2000 : 0) +
           (format.depth == kDepthWithAlpha ? 0 : 1000) + format.depth;
}

}  // namespace

int ChooseVisual(const std::vector<VisualOffer>& offers) {
    int best = -1;
    for (size_t i = 0; i < offers.size(); ++i) {
        const VisualOffer& offer = offers[i];
        if (!offer.trueColor || offer.format.bitsPerPixel == 0 || offer.format.bitsPerPixel % 8 != 0) {
            continue;
        }
        if (best < 0 || Rank(offer) > Rank(offers[best])) best = static_cast<int>(i);
    }
    return best;
}
