#include "runtime/report.h"

#include <cstdio>

#include "runtime/exit.h"
#include "runtime/file_driver.h"
#include "runtime/stack_trace.h"
#include "runtime/text_stream.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// Eight upper-case hexadecimal digits, filled from the lowest nibble up.
LengthPrefixedString EightHexDigits(uint32_t value) {
    char digits[8];
    for (int position = 7; position >= 0; --position) {
        digits[position] = HexDigits[value & 15];
        value >>= 4;
    }
    return LengthPrefixedString(std::string_view(digits, 8));
}

void WriteAddressLine(const void* address) {
    WriteText(0, ReportText, "  0x");
    WriteText(0, ReportText, EightHexDigits(LinkAddress(address)));
    WriteLineEnd(ReportText);
}

}  // namespace

void WriteReport() {
    // A failure left pending by the interrupted program must not silence the report.
    pendingIoError = 0;
    char number[8];
    std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(RuntimeErrorNumber));
    WriteText(0, ReportText, "Runtime error ");
    WriteText(0, ReportText, number);
    WriteText(0, ReportText, " at 0x");
    WriteText(0, ReportText, EightHexDigits(LinkAddress(RuntimeErrorAddress)));
    WriteLineEnd(ReportText);
    WriteAddressLine(RuntimeErrorAddress);

    const int frameLimit = IsCharacterDevice(ReportText.osHandle) ? 9 : 257;
    const void* outermost = OutermostFrame();
    void* const* frame = static_cast<void* const*>(RuntimeErrorFrame);
    for (int count = 0; count < frameLimit && frame && FrameOnThisStack(frame); ++count) {
        const void* returnAddress = frame[1];
        if (returnAddress) WriteAddressLine(returnAddress);
        void* const* caller = static_cast<void* const*>(frame[0]);
        // The outermost frame stands for the empty link that ends every trace.
        if (caller <= frame || caller == outermost) break;
        frame = caller;
    }
    WriteLineEnd(ReportText);
}
