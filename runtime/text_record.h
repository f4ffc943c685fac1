#pragma once
// The text-stream record and its states: what a driver moves bytes in and out of. The stream
// operations (text_stream.h) and the drivers below them both work on it.

#include <cstdint>

struct TextStream;
// A driver operation; its result is never read.
using DriverOperation = int32_t (*)(TextStream& record);

constexpr uint32_t StateClosed = 0xD7B0;
constexpr uint32_t StateInput = 0xD7B1;
constexpr uint32_t StateOutput = 0xD7B2;
constexpr int32_t kTextBufferSize = 256;

struct TextStream {
    uint32_t osHandle;
    uint32_t state;
    int32_t capacity;
    int32_t cursor;
    int32_t fillEnd;
    uint8_t* data;
    DriverOperation onOpen;
    DriverOperation onTransfer;
    DriverOperation onSync;  // may be empty
    DriverOperation onClose;
    char pathName[256];
    uint8_t inlineBuffer[kTextBufferSize];
};
