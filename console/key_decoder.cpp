// The key decoder: bytes from a terminal or a redirected input to console key events.

#include "console/key_decoder.h"

#include <iterator>

#include "console/key_table.h"
#include "console/keys.h"

namespace {

constexpr uint8_t kEsc = 0x1B;
// A control sequence is waited for until its final byte comes, up to this many parameter
// bytes; no key needs more than a few dozen, so a longer run is garbage.
constexpr size_t kLongestParameters = 4096;

// The kitty keyboard protocol's numbers for keys without a character.
constexpr uint32_t kKittyCapsLock = 57358;
constexpr uint32_t kKittyScrollLock = 57359;
constexpr uint32_t kKittyNumLock = 57360;
constexpr uint32_t kKittyKeypad0 = 57399;
constexpr uint32_t kKittyKeypadBegin = 57427;
constexpr uint32_t kKittyLeftShift = 57441;
constexpr uint32_t kKittyRightShift = 57447;
constexpr uint32_t kKittyLeftControl = 57442;
constexpr uint32_t kKittyRightControl = 57448;
constexpr uint32_t kKittyLeftAlt = 57443;
constexpr uint32_t kKittyRightAlt = 57449;
constexpr uint32_t kPrivateUseFirst = 0xE000;
constexpr uint32_t kPrivateUseLast = 0xF8FF;

// Keypad keys in kitty's order from KP_0 to KP_ENTER, and from KP_LEFT to KP_BEGIN (the keypad
// keys with Num Lock off). KP_EQUAL and KP_SEPARATOR between them type '=' and ','.
constexpr NamedKey kKittyKeypad[] = {
    NamedKey::Keypad0, NamedKey::Keypad1, NamedKey::Keypad2, NamedKey::Keypad3,
    NamedKey::Keypad4, NamedKey::Keypad5, NamedKey::Keypad6, NamedKey::Keypad7,
    NamedKey::Keypad8, NamedKey::Keypad9, NamedKey::KeypadDecimal, NamedKey::KeypadDivide,
    NamedKey::KeypadMultiply, NamedKey::KeypadSubtract, NamedKey::KeypadAdd, NamedKey::KeypadEnter,
};
constexpr NamedKey kKittyKeypadCursor[] = {
    NamedKey::Left, NamedKey::Right, NamedKey::Up, NamedKey::Down, NamedKey::PageUp,
    NamedKey::PageDown, NamedKey::Home, NamedKey::End, NamedKey::Insert, NamedKey::Delete,
    NamedKey::KeypadBegin,
};
constexpr uint32_t kKittyKeypadEnter = kKittyKeypad0 + 15;
constexpr uint32_t kKittyKeypadEqual = kKittyKeypad0 + 16;
constexpr uint32_t kKittyKeypadSeparator = kKittyKeypad0 + 17;
constexpr uint32_t kKittyKeypadLeft = kKittyKeypad0 + 18;

// Parameters of a control sequence: up to four fields of up to three colon-separated values.
class Parameters {
public:
    static constexpr int kFields = 4;
    static constexpr int kValues = 3;

    explicit Parameters(std::span<const uint8_t> text) {
        for (auto& field : values_)
            for (auto& value : field) value = -1;
        int field = 0;
        int value = 0;
        for (uint8_t c : text) {
            if (c == ';') {
                ++field;
                value = 0;
            } else if (c == ':') {
                ++value;
            } else if (c >= '0' && c <= '9') {
                if (field >= kFields || value >= kValues) continue;
                int64_t& slot = values_[field][value];
                if (slot < 0) slot = 0;
                if (slot < 0x10FFFF) slot = slot * 10 + (c - '0');
            } else {
                private_ = true;  // '<', '=', '>', '?': an answer or a private sequence
            }
        }
    }

    bool isPrivate() const { return private_; }
    int64_t get(int field, int value, int64_t absent) const {
        return values_[field][value] < 0 ? absent : values_[field][value];
    }

    // Shift, Alt and Ctrl from the modifier field (1 + bits), as xterm and kitty send it.
    uint32_t controlState() const {
        int64_t bits = get(1, 0, 1) - 1;
        if (bits < 0) bits = 0;
        uint32_t state = 0;
        if (bits & 1) state |= SHIFT_PRESSED;
        if (bits & 2) state |= LEFT_ALT_PRESSED;
        if (bits & 4) state |= LEFT_CTRL_PRESSED;
        return state;
    }
    // kitty's event type: 1 press, 2 repeat, 3 release.
    bool keyDown() const { return get(1, 1, 1) != 3; }

private:
    int64_t values_[kFields][kValues];
    bool private_ = false;
};

// A character the console can hand over: ASCII or Latin-1; anything else becomes '?'.
uint8_t ConsoleCharacter(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<uint8_t>(codePoint);
    }
    return '?';
}

KeyEvent PlainByteEvent(uint8_t c, uint32_t state) {
    switch (c) {
        case 0x0D: return NamedKeyEvent(NamedKey::Enter, state);
        case 0x09: return NamedKeyEvent(NamedKey::Tab, state);
        case 0x7F: return NamedKeyEvent(NamedKey::Backspace, state);
        case 0x00: return CharacterKeyEvent('@', state | LEFT_CTRL_PRESSED);
        case 0x1C: return CharacterKeyEvent('\\', state | LEFT_CTRL_PRESSED);
        case 0x1D: return CharacterKeyEvent(']', state | LEFT_CTRL_PRESSED);
        case 0x1E: return CharacterKeyEvent('^', state | LEFT_CTRL_PRESSED);
        case 0x1F: return CharacterKeyEvent('_', state | LEFT_CTRL_PRESSED);
        default: break;
    }
    if (c < 0x20) return CharacterKeyEvent(static_cast<uint8_t>('a' + c - 1), state | LEFT_CTRL_PRESSED);
    return CharacterKeyEvent(c, state);
}

// A key reported by its code point (kitty, and xterm's modifyOtherKeys form CSI 27;m;cp~).
void CodePointKey(uint32_t code, int64_t shiftedCode, int64_t text, uint32_t state, bool keyDown,
                  std::vector<KeyEvent>& events) {
    auto named = [&](NamedKey key) { events.push_back(NamedKeyEvent(key, state, keyDown)); };
    switch (code) {
        case 27: return named(NamedKey::Escape);
        case 13: return named(NamedKey::Enter);
        case 9: return named(NamedKey::Tab);
        case 127: return named(NamedKey::Backspace);
        case kKittyCapsLock: return named(NamedKey::CapsLock);
        case kKittyScrollLock: return named(NamedKey::ScrollLock);
        case kKittyNumLock: return named(NamedKey::NumLock);
        case kKittyLeftShift: case kKittyRightShift: return named(NamedKey::Shift);
        case kKittyLeftControl: case kKittyRightControl: return named(NamedKey::Control);
        case kKittyLeftAlt: return named(NamedKey::Alt);
        case kKittyRightAlt:
            events.push_back(NamedKeyEvent(NamedKey::Alt, state | ENHANCED_KEY, keyDown));
            return;
        default: break;
    }
    if (code >= kKittyKeypad0 && code <= kKittyKeypadEnter) return named(kKittyKeypad[code - kKittyKeypad0]);
    if (code >= kKittyKeypadLeft && code <= kKittyKeypadBegin) {
        // The keypad's own cursor keys are not the enhanced ones of the cursor block.
        KeyEvent event = NamedKeyEvent(kKittyKeypadCursor[code - kKittyKeypadLeft], state, keyDown);
        event.controlState &= ~ENHANCED_KEY;
        events.push_back(event);
        return;
    }
    if (code == kKittyKeypadEqual) code = '=';
    if (code == kKittyKeypadSeparator) code = ',';
    if (code >= kPrivateUseFirst && code <= kPrivateUseLast) return;  // keys the console lacks
    if (code > 0x10FFFF) return;
    bool shift = (state & SHIFT_PRESSED) != 0;
    bool ctrl = (state & LEFT_CTRL_PRESSED) != 0;
    uint32_t typed = code;
    if (text > 0 && !ctrl) {
        typed = static_cast<uint32_t>(text);
    } else if (shift) {
        typed = shiftedCode > 0 ? static_cast<uint32_t>(shiftedCode)
                                : (code < 0x80 ? ShiftedCharacter(static_cast<uint8_t>(code)) : code);
    }
    events.push_back(CharacterKeyEvent(ConsoleCharacter(typed), state, keyDown));
}

// Which introducers a final byte is a key for.
enum Introducers : uint8_t { kNone = 0, kCsi = 1, kSs3 = 2, kBoth = kCsi | kSs3 };

struct FinalByteKey {
    uint8_t introducers;
    NamedKey key;
    uint32_t addedState;  // Shift+Tab comes as a key of its own
};

// Final bytes 0x40..0x7E of CSI and SS3 key sequences: xterm's cursor, Home/End and F1..F4
// keys (both forms), Shift+Tab (CSI), and the application keypad (SS3).
constexpr auto kFinalByteKeys = [] {
    struct Table {
        FinalByteKey entries[0x7F - 0x40];
        constexpr const FinalByteKey& operator[](uint8_t c) const { return entries[c - 0x40]; }
    } table{};
    auto set = [&](char c, uint8_t introducers, NamedKey key, uint32_t addedState = 0) {
        table.entries[c - 0x40] = FinalByteKey{introducers, key, addedState};
    };
    set('A', kBoth, NamedKey::Up);
    set('B', kBoth, NamedKey::Down);
    set('C', kBoth, NamedKey::Right);
    set('D', kBoth, NamedKey::Left);
    set('H', kBoth, NamedKey::Home);
    set('F', kBoth, NamedKey::End);
    set('E', kCsi, NamedKey::KeypadBegin);
    set('P', kBoth, NamedKey::F1);
    set('Q', kBoth, NamedKey::F2);
    set('R', kBoth, NamedKey::F3);
    set('S', kBoth, NamedKey::F4);
    set('Z', kCsi, NamedKey::Tab, SHIFT_PRESSED);
    set('M', kSs3, NamedKey::KeypadEnter);
    set('j', kSs3, NamedKey::KeypadMultiply);
    set('k', kSs3, NamedKey::KeypadAdd);
    set('m', kSs3, NamedKey::KeypadSubtract);
    set('n', kSs3, NamedKey::KeypadDecimal);
    set('o', kSs3, NamedKey::KeypadDivide);
    for (char c = 'p'; c <= 'y'; ++c) set(c, kSs3, static_cast<NamedKey>(static_cast<int>(NamedKey::Keypad0) + c - 'p'));
    return table;
}();

struct TildeKey {
    bool known;
    NamedKey key;
};

// The numbers of CSI n ~ keys (vt220 editing keys and F5..F12, with rxvt's Home and End).
constexpr auto kTildeKeys = [] {
    struct Table {
        TildeKey entries[25];
    } table{};
    auto set = [&](int number, NamedKey key) { table.entries[number] = TildeKey{true, key}; };
    set(1, NamedKey::Home);
    set(7, NamedKey::Home);
    set(2, NamedKey::Insert);
    set(3, NamedKey::Delete);
    set(4, NamedKey::End);
    set(8, NamedKey::End);
    set(5, NamedKey::PageUp);
    set(6, NamedKey::PageDown);
    for (int n = 11; n <= 15; ++n) set(n, FunctionKey(n - 10));
    for (int n = 17; n <= 21; ++n) set(n, FunctionKey(n - 11));
    for (int n = 23; n <= 24; ++n) set(n, FunctionKey(n - 12));
    return table;
}();

// The key a final byte names after this introducer, if any.
void FinalByteEvent(uint8_t introducer, uint8_t finalByte, uint32_t state, bool down,
                    std::vector<KeyEvent>& events) {
    if (finalByte < 0x40 || finalByte > 0x7E) return;
    const FinalByteKey& entry = kFinalByteKeys[finalByte];
    if ((entry.introducers & introducer) == 0) return;
    events.push_back(NamedKeyEvent(entry.key, state | entry.addedState, down));
}

void ControlSequence(std::span<const uint8_t> parameterText, uint8_t finalByte,
                     std::vector<KeyEvent>& events) {
    Parameters p(parameterText);
    if (p.isPrivate()) return;
    uint32_t state = p.controlState();
    bool down = p.keyDown();
    if (finalByte == 'u') {
        CodePointKey(static_cast<uint32_t>(p.get(0, 0, 0)), p.get(0, 1, -1), p.get(2, 0, -1), state, down, events);
    } else if (finalByte == '~') {
        int64_t number = p.get(0, 0, 0);
        if (number == 27) {  // xterm's modifyOtherKeys: CSI 27 ; modifiers ; code ~
            CodePointKey(static_cast<uint32_t>(p.get(2, 0, 0)), -1, -1, state, down, events);
        } else if (number >= 0 && number < static_cast<int64_t>(std::size(kTildeKeys.entries)) &&
                   kTildeKeys.entries[number].known) {
            events.push_back(NamedKeyEvent(kTildeKeys.entries[number].key, state, down));
        }
    } else {
        FinalByteEvent(kCsi, finalByte, state, down, events);  // focus and mouse reports: not keys
    }
}

size_t DecodeOne(std::span<const uint8_t> bytes, bool final, std::vector<KeyEvent>& events);

// A UTF-8 character; invalid bytes are dropped one at a time.
size_t DecodeUtf8(std::span<const uint8_t> bytes, bool final, std::vector<KeyEvent>& events) {
    uint8_t lead = bytes[0];
    size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0) return 1;
    uint32_t codePoint = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if (i == bytes.size()) return final ? i : 0;
        if ((bytes[i] & 0xC0) != 0x80) return i;
        codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    events.push_back(CharacterKeyEvent(ConsoleCharacter(codePoint), 0));
    return length;
}

// Decodes the key after an Esc prefix and marks it as typed with Alt.
size_t DecodeWithAlt(std::span<const uint8_t> rest, bool final, std::vector<KeyEvent>& events) {
    size_t first = events.size();
    size_t used = DecodeOne(rest, final, events);
    if (used == 0) return 0;
    for (size_t i = first; i < events.size(); ++i) events[i].controlState |= LEFT_ALT_PRESSED;
    return 1 + used;
}

size_t DecodeEscape(std::span<const uint8_t> bytes, bool final, std::vector<KeyEvent>& events) {
    if (bytes.size() == 1) {
        if (!final) return 0;
        events.push_back(NamedKeyEvent(NamedKey::Escape, 0));
        return 1;
    }
    uint8_t introducer = bytes[1];
    if (introducer == '[') {
        size_t end = 2;
        while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] <= 0x3F) ++end;
        size_t parameterLength = end - 2;
        // Past the limit the introducer and that many parameters go, however the bytes were
        // split into reads, so that the result does not depend on the split.
        if (parameterLength > kLongestParameters) return 2 + kLongestParameters;
        if (end == bytes.size()) {
            if (!final) return 0;
            if (parameterLength == 0) return DecodeWithAlt(bytes.subspan(1), final, events);
            return end;
        }
        uint8_t finalByte = bytes[end];
        if (finalByte < 0x40 || finalByte > 0x7E) return end;  // broken off: drop what came
        ControlSequence(bytes.subspan(2, parameterLength), finalByte, events);
        return end + 1;
    }
    if (introducer == 'O') {
        if (bytes.size() == 2) {
            if (!final) return 0;
            return DecodeWithAlt(bytes.subspan(1), final, events);
        }
        FinalByteEvent(kSs3, bytes[2], 0, true, events);
        return 3;
    }
    if (introducer == kEsc) {
        // Esc Esc [ ... is Alt with a cursor or function key; otherwise the first Esc is a key.
        if (bytes.size() == 2 && !final) return 0;
        if (bytes.size() > 2 && (bytes[2] == '[' || bytes[2] == 'O')) {
            return DecodeWithAlt(bytes.subspan(1), final, events);
        }
        events.push_back(NamedKeyEvent(NamedKey::Escape, 0));
        return 1;
    }
    return DecodeWithAlt(bytes.subspan(1), final, events);
}

// Decodes the first key of bytes; returns the bytes it used, 0 when more are needed.
size_t DecodeOne(std::span<const uint8_t> bytes, bool final, std::vector<KeyEvent>& events) {
    uint8_t c = bytes[0];
    if (c == kEsc) return DecodeEscape(bytes, final, events);
    if (c >= 0x80) return DecodeUtf8(bytes, final, events);
    events.push_back(PlainByteEvent(c, 0));
    return 1;
}

}  // namespace

size_t DecodeTerminalInput(std::span<const uint8_t> bytes, bool final, std::vector<KeyEvent>& events) {
    size_t used = 0;
    while (used < bytes.size()) {
        size_t step = DecodeOne(bytes.subspan(used), final, events);
        if (step == 0) break;
        used += step;
    }
    return used;
}

void DecodeStreamInput(std::span<const uint8_t> bytes, bool& afterCarriageReturn,
                       std::vector<KeyEvent>& events) {
    for (uint8_t c : bytes) {
        bool lineFeedOfCrLf = c == '\n' && afterCarriageReturn;
        afterCarriageReturn = c == '\r';
        if (lineFeedOfCrLf) continue;
        if (c == '\r' || c == '\n') {
            events.push_back(NamedKeyEvent(NamedKey::Enter, 0));
        } else {
            events.push_back(CharacterKeyEvent(c, 0));
        }
    }
}
