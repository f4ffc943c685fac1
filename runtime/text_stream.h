#pragma once
// Buffered text streams with replaceable drivers. No operation here stops the program: a
// failure is stored in pendingIoError and CheckPendingIoError turns it into a run-time error.

#include <cstdint>

#include "runtime/io_result.h"
#include "runtime/length_prefixed.h"
#include "runtime/standard_handles.h"

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

extern TextStream InputText;
extern TextStream OutputText;
extern TextStream ReportText;
extern TextStream DiagnosticText;

void InitTextRecord(TextStream& record, const LengthPrefixedString& name);
// Binds a standard record to an open handle with the file driver; a state other than input
// or output raises run-time error 102.
void BindStandardText(TextStream& record, uint32_t state, uint32_t handle);
void OpenText(TextStream& record, uint32_t newState);
void OpenForInput(TextStream& record);
void OpenForOutput(TextStream& record);
void CloseText(TextStream& record);

void WriteText(int32_t width, TextStream& record, const LengthPrefixedString& text);
void WriteLineEnd(TextStream& record);
int32_t ReadInteger(TextStream& record);
uint8_t ReadChar(TextStream& record);
void SkipRestOfLine(TextStream& record);

// Raises the pending I/O error, if any, as a run-time error at the caller.
void CheckPendingIoError();
// Turns lastOsError into pendingIoError and clears lastOsError.
void MapOsError();
