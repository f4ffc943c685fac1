// Saving a rectangle of the surface into a caller's buffer and putting it back anywhere. The
// buffer layout is fixed and visible to callers (graph/graph.h); its fields are read and
// written byte-wise, so a buffer need not be aligned.

#include <vector>

#include "graph/graph_internal.h"

namespace {

void StoreInt32(uint8_t* at, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t LoadInt32(const uint8_t* at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(bits);
}

uint16_t LoadEntry(const uint8_t* pixels, int64_t index) {
    return static_cast<uint16_t>(pixels[2 * index] | (pixels[2 * index + 1] << 8));
}

int64_t BufferBytes(int64_t width, int64_t height) { return 2 * width * height + kImageHeaderBytes; }

// The rectangles a buffer can hold: no negative side (an empty one has only its header) and a
// size that ImageBufferSize can report.
bool ImageFits(int64_t width, int64_t height) {
    return width >= 0 && height >= 0 && width <= 65536 && height <= 65536 &&
           BufferBytes(width, height) <= INT32_MAX;
}

}  // namespace

int32_t GenericImageBufferSize(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    const int64_t width = int64_t{x2} - x1 + 1, height = int64_t{y2} - y1 + 1;
    if (!ImageFits(width, height)) {
        GraphState.resultCode = GraphErrorGeneral;
        return 0;
    }
    return static_cast<int32_t>(BufferBytes(width, height));
}

void GenericSaveImage(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer) {
    const int32_t width = x2 - x1 + 1;
    if (!ImageFits(width, int64_t{y2} - y1 + 1)) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    std::vector<uint16_t> row(static_cast<size_t>(width));
    uint8_t* write = bytes + kImageHeaderBytes;
    for (int32_t y = y1; y <= y2; ++y) {
        DriverSlots.ReadPixelRow(x1, x2, static_cast<int16_t>(y), row.data());
        for (int32_t i = 0; i < width; ++i) {
            write[2 * i] = static_cast<uint8_t>(row[i]);
            write[2 * i + 1] = static_cast<uint8_t>(row[i] >> 8);
        }
        write += 2 * width;
    }
    StoreInt32(bytes, x2 - x1);
    StoreInt32(bytes + 4, y2 - y1);
    StoreInt32(bytes + 8, 0);
}

void GenericRestoreImage(int16_t x, int16_t y, const void* buffer, uint16_t mode) {
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    const uint8_t* pixels = bytes + kImageHeaderBytes;
    const int32_t widthLess1 = LoadInt32(bytes), heightLess1 = LoadInt32(bytes + 4);
    // A header no SaveImage writes is refused before its sizes are added to anything.
    if (!ImageFits(int64_t{widthLess1} + 1, int64_t{heightLess1} + 1)) {
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    int32_t left = x + GraphState.viewLeft;
    int32_t top = y + GraphState.viewTop;
    int32_t right = left + widthLess1;
    int32_t bottom = top + heightLess1;
    int64_t read = 0;  // entry index
    int32_t skipLeft = 0, skipRight = 0;
    if (GraphState.clipOn) {
        const int32_t viewLeft = GraphState.viewLeft, viewTop = GraphState.viewTop;
        const int32_t viewRight = viewLeft + GraphState.viewMaxX;
        const int32_t viewBottom = viewTop + GraphState.viewMaxY;
        if (top < viewTop) {
            read += static_cast<int64_t>(viewTop - top) * (right - left + 1);
            top = viewTop;
        }
        if (bottom > viewBottom) bottom = viewBottom;
        if (left < viewLeft) {
            skipLeft = viewLeft - left;
            left = viewLeft;
        }
        if (right > viewRight) {
            skipRight = right - viewRight;
            right = viewRight;
        }
    }
    const uint16_t savedColour = GraphState.drawColor;
    const uint16_t savedWriteMode = GraphState.writeMode;
    GraphState.writeMode = mode;
    for (int32_t row = top; row <= bottom; ++row) {
        read += skipLeft;
        for (int32_t column = left; column <= right; ++column) {
            GraphState.drawColor = LoadEntry(pixels, read++);
            DriverSlots.PlotPixel(static_cast<int16_t>(column), static_cast<int16_t>(row));
        }
        read += skipRight;
    }
    GraphState.writeMode = savedWriteMode;
    GraphState.drawColor = savedColour;
}

int32_t ImageBufferSize(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    return DriverSlots.ImageBufferSizeOp(x1, y1, x2, y2);
}

void SaveImage(int16_t x1, int16_t y1, int16_t x2, int16_t y2, void* buffer) {
    DriverSlots.SaveImageOp(x1, y1, x2, y2, buffer);
}

void PutImage(int16_t x, int16_t y, const void* buffer, uint16_t mode) {
    DriverSlots.RestoreImageOp(x, y, buffer, mode);
}
