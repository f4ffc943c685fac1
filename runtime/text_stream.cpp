// Text streams: opening, closing, buffered writing and reading, integer and character input.

#include "runtime/text_stream.h"

#include <cstring>

#include "runtime/file_driver.h"
#include "runtime/number.h"
#include "runtime/standard_handles.h"

TextStream InputText;
TextStream OutputText;
TextStream ReportText;
TextStream DiagnosticText;

namespace {

constexpr uint8_t kCarriageReturn = 13;
constexpr uint8_t kLineFeed = 10;
constexpr uint8_t kEndOfFile = 26;
constexpr int kMaxToken = 255;

bool IsBlank(uint8_t c) { return c == 9 || c == kLineFeed || c == kCarriageReturn || c == ' '; }

bool IsOpenState(uint32_t state) { return state == StateInput || state == StateOutput; }

// The state test shared by the writing operations: 105 on an input record, 103 on one not open.
bool ReadyForWriting(TextStream& record) {
    if (record.state == StateOutput) return true;
    pendingIoError = record.state == StateInput ? 105 : 103;
    return false;
}

// The state test shared by the reading operations: 104 on an output record, 103 otherwise.
bool ReadyForReading(TextStream& record) {
    if (record.state == StateInput) return true;
    pendingIoError = record.state == StateOutput ? 104 : 103;
    return false;
}

// Puts n bytes into the buffer, handing full buffers to the driver as it goes.
void PutBytes(TextStream& record, const uint8_t* bytes, int32_t n) {
    while (n > record.capacity - record.cursor) {
        const int32_t room = record.capacity - record.cursor;
        std::memcpy(record.data + record.cursor, bytes, room);
        record.cursor += room;
        bytes += room;
        n -= room;
        record.onTransfer(record);
    }
    std::memcpy(record.data + record.cursor, bytes, n);
    record.cursor += n;
}

void PutSpaces(TextStream& record, int32_t count) {
    uint8_t chunk[kTextBufferSize];
    std::memset(chunk, ' ', sizeof chunk);
    while (count > 0) {
        const int32_t part = count < kTextBufferSize ? count : kTextBufferSize;
        PutBytes(record, chunk, part);
        count -= part;
    }
}

bool Exhausted(const TextStream& record) { return record.cursor >= record.fillEnd; }

// Takes the byte at the cursor; refills at once when that empties the buffer. False at the
// end of input.
bool TakeChar(TextStream& record, uint8_t& taken) {
    if (Exhausted(record)) return false;
    taken = record.data[record.cursor++];
    if (Exhausted(record)) record.onTransfer(record);
    return true;
}

void RefillWhenEmpty(TextStream& record) {
    if (Exhausted(record)) record.onTransfer(record);
}

}  // namespace

void InitTextRecord(TextStream& record, const LengthPrefixedString& name) {
    std::memset(&record, 0, sizeof record);
    record.osHandle = kNoHandle;
    record.state = StateClosed;
    record.capacity = kTextBufferSize;
    record.data = record.inlineBuffer;
    record.onOpen = FileOpen;
    std::memcpy(record.pathName, name.chars(), name.length());
}

void BindStandardText(TextStream& record, uint32_t state, uint32_t handle) {
    InitTextRecord(record, "");
    if (!IsOpenState(state)) {
        pendingIoError = 102;
        return;
    }
    record.osHandle = handle;
    record.state = state;
    record.onClose = FileClose;
    if (state == StateInput) {
        record.onTransfer = FileTransferIn;
    } else {
        record.onTransfer = FileTransferOut;
        record.onSync = FileTransferOut;
    }
}

void OpenText(TextStream& record, uint32_t newState) {
    // 0xD7B3 (a record open both ways, which this system never makes) is closed first too.
    if (IsOpenState(record.state) || record.state == StateOutput + 1) {
        CloseText(record);
    } else if (record.state != StateClosed) {
        pendingIoError = 102;
        return;
    }
    record.state = newState;
    record.cursor = 0;
    record.fillEnd = 0;
    record.onOpen(record);
    if (pendingIoError != 0) record.state = StateClosed;
}

void OpenForInput(TextStream& record) {
    if (pendingIoError == 0) OpenText(record, StateInput);
}

void OpenForOutput(TextStream& record) {
    if (pendingIoError == 0) OpenText(record, StateOutput);
}

void CloseText(TextStream& record) {
    if (pendingIoError != 0) return;
    if (!IsOpenState(record.state)) {
        pendingIoError = 103;
        return;
    }
    if (record.state == StateOutput) record.onTransfer(record);
    const bool standardHandle = record.osHandle == osInputHandle ||
                                record.osHandle == osOutputHandle ||
                                record.osHandle == osErrorHandle;
    if (!standardHandle) record.onClose(record);
    record.state = StateClosed;
    record.cursor = 0;
    record.fillEnd = 0;
}

void WriteText(int32_t width, TextStream& record, const LengthPrefixedString& text) {
    if (pendingIoError != 0 || !ReadyForWriting(record)) return;
    if (text.length() < width) PutSpaces(record, width - text.length());
    PutBytes(record, text.raw() + 1, text.length());
}

void WriteLineEnd(TextStream& record) {
    if (pendingIoError != 0 || !ReadyForWriting(record)) return;
    static const uint8_t lineEnd[2] = {kCarriageReturn, kLineFeed};
    PutBytes(record, lineEnd, 2);
    if (record.onSync) record.onSync(record);
}

int32_t ReadInteger(TextStream& record) {
    if (pendingIoError != 0 || !ReadyForReading(record)) return 0;
    RefillWhenEmpty(record);
    uint8_t taken = 0;
    while (!Exhausted(record) && IsBlank(record.data[record.cursor])) TakeChar(record, taken);

    LengthPrefixedString token;
    if (!Exhausted(record)) {
        while (TakeChar(record, taken)) {
            token.Append(static_cast<char>(taken));
            if (token.length() == kMaxToken) break;
            if (!Exhausted(record) && IsBlank(record.data[record.cursor])) break;
        }
    }
    int32_t position = 0;
    const int32_t result = ParseInteger(4, token, position);
    if (position != 0) {
        pendingIoError = 106;
        return 0;
    }
    return result;
}

uint8_t ReadChar(TextStream& record) {
    if (pendingIoError != 0 || !ReadyForReading(record)) return 0;
    RefillWhenEmpty(record);
    if (Exhausted(record)) return kEndOfFile;
    return record.data[record.cursor++];
}

void SkipRestOfLine(TextStream& record) {
    if (pendingIoError != 0 || !ReadyForReading(record)) return;
    auto syncWhenDry = [&record] {
        RefillWhenEmpty(record);
        if (!Exhausted(record)) return false;
        if (record.onSync) record.onSync(record);
        return true;
    };
    if (syncWhenDry()) return;
    for (;;) {
        const uint8_t c = record.data[record.cursor++];
        if (c == kLineFeed) return;
        if (syncWhenDry()) return;
        if (c == kCarriageReturn) {
            if (record.data[record.cursor] == kLineFeed) ++record.cursor;
            return;
        }
    }
}
