// The extended codes: one group of codes for each modifier, most the scan code itself.

#include "runtime/key_codes.h"

namespace {

uint8_t AltGroup(uint16_t scan) {
    if (scan >= 0x02 && scan <= 0x0D) return static_cast<uint8_t>(scan + 0x76);
    if (scan == 0x1C) return 0xA6;
    if (scan == 0x35) return 0xA4;
    if (scan >= 0x3B && scan <= 0x44) return static_cast<uint8_t>(scan + 0x2D);
    if (scan == 0x47 || scan == 0x48 || scan == 0x49 || scan == 0x4B || scan == 0x4D ||
        (scan >= 0x4F && scan <= 0x53)) {
        return static_cast<uint8_t>(scan + 0x50);
    }
    if (scan == 0x57 || scan == 0x58) return static_cast<uint8_t>(scan + 0x34);
    return static_cast<uint8_t>(scan);
}

uint8_t CtrlGroup(uint16_t scan) {
    if (scan >= 0x3B && scan <= 0x44) return static_cast<uint8_t>(scan + 0x23);
    if (scan == 0x57 || scan == 0x58) return static_cast<uint8_t>(scan + 0x32);
    switch (scan) {
        case 0x0F: return 0x94;
        case 0x35: return 0x95;
        case 0x37: return 0x96;
        case 0x47: return 0x77;
        case 0x48: return 0x8D;
        case 0x49: return 0x84;
        case 0x4A: return 0x8E;
        case 0x4B: return 0x73;
        case 0x4C: return 0x8F;
        case 0x4D: return 0x74;
        case 0x4F: return 0x75;
        case 0x50: return 0x91;
        case 0x51: return 0x76;
        case 0x52: return 0x92;
        case 0x53: return 0x93;
        default: return static_cast<uint8_t>(scan);  // keypad plus (0x4E) among them
    }
}

uint8_t ShiftGroup(uint16_t scan) {
    if (scan >= 0x3B && scan <= 0x44) return static_cast<uint8_t>(scan + 0x19);
    if (scan == 0x57 || scan == 0x58) return static_cast<uint8_t>(scan + 0x30);
    return static_cast<uint8_t>(scan);
}

uint8_t PlainGroup(uint16_t scan) {
    if (scan == 0x57 || scan == 0x58) return static_cast<uint8_t>(scan + 0x2E);
    return static_cast<uint8_t>(scan);
}

}  // namespace

uint8_t ExtendedKeyCode(uint16_t scanCode, bool alt, bool ctrl, bool shift) {
    if (alt) return AltGroup(scanCode);
    if (ctrl) return CtrlGroup(scanCode);
    if (shift) return ShiftGroup(scanCode);
    return PlainGroup(scanCode);
}
