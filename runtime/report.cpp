// The run-time error report: error line, address line, stack trace, empty line.

#include "runtime/report.h"

#include <cstdio>

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

void WriteReport(uint16_t number, const void* address, void* frame) {
    // A failure left pending by the interrupted program must not silence the report.
    pendingIoError = 0;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%u", static_cast<unsigned>(number));
    WriteText(0, ReportText, "Runtime error ");
    WriteText(0, ReportText, digits);
    WriteText(0, ReportText, " at 0x");
    WriteText(0, ReportText, EightHexDigits(LinkAddress(address)));
    WriteLineEnd(ReportText);
    WriteAddressLine(address);

    const int frameLimit = IsCharacterDevice(ReportText.osHandle) ? 9 : 257;
    const void* outermost = OutermostFrame();
    void* const* walk = static_cast<void* const*>(frame);
    for (int count = 0; count < frameLimit && walk && FrameOnThisStack(walk); ++count) {
        const void* returnAddress = walk[1];
        if (returnAddress) WriteAddressLine(returnAddress);
        void* const* caller = static_cast<void* const*>(walk[0]);
        // The outermost frame stands for the empty link that ends every trace.
        if (caller <= walk || caller == outermost) break;
        walk = caller;
    }
    WriteLineEnd(ReportText);
}
