// Resolved keys as window messages: what the layout's keysyms and characters become.

#include "graph/window/x11/key_messages.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <vector>

#include "runtime/virtual_keys.h"

namespace {

constexpr uint32_t kKeyDown = WM_KEYDOWN, kKeyUp = WM_KEYUP, kChar = WM_CHAR;

struct Message {
    uint32_t message;
    uintptr_t first;
    intptr_t second;
    friend bool operator==(const Message&, const Message&) = default;
};

std::vector<Message> MessagesOf(const ResolvedKey& key, bool press) {
    WindowEvent events[2];
    const int count = KeyMessages(key, press, events);
    std::vector<Message> messages;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(events[i].kind, WindowEventKind::Key);
        messages.push_back({events[i].message, events[i].first, events[i].second});
    }
    return messages;
}

TEST(KeyMessages, APressIsKeyDownAndCharAReleaseKeyUpWithTheReleaseBits) {
    const ResolvedKey a{38, XKB_KEY_A, XKB_KEY_a, 'A'};  // with Shift
    EXPECT_EQ(MessagesOf(a, true),
              (std::vector<Message>{{kKeyDown, 'A', 1 | 0x1E << 16}, {kChar, 'A', 1 | 0x1E << 16}}));
    EXPECT_EQ(MessagesOf(a, false), (std::vector<Message>{{kKeyUp, 'A', 1 | 0x1E << 16 | 0xC0000000}}));
}

TEST(KeyMessages, CursorKeysOutsideTheKeypadAreExtendedWithTheirScanCodes) {
    const ResolvedKey up{111, XKB_KEY_Up, XKB_KEY_Up, 0};
    EXPECT_EQ(MessagesOf(up, true), (std::vector<Message>{{kKeyDown, VK_UP, 1 | 0x48 << 16 | 1 << 24}}));
    const ResolvedKey del{119, XKB_KEY_Delete, XKB_KEY_Delete, 0x7F};
    EXPECT_EQ(MessagesOf(del, true), (std::vector<Message>{{kKeyDown, VK_DELETE, 1 | 0x53 << 16 | 1 << 24}}));
}

TEST(KeyMessages, ControlCharactersPassCharactersBeyondLatin1DoNot) {
    const ResolvedKey controlC{54, XKB_KEY_c, XKB_KEY_c, 0x03};
    EXPECT_EQ(MessagesOf(controlC, true).back(), (Message{kChar, 0x03, 1 | 0x2E << 16}));
    const ResolvedKey euro{26, XKB_KEY_EuroSign, XKB_KEY_e, 0x20AC};  // AltGr+E
    EXPECT_EQ(MessagesOf(euro, true), (std::vector<Message>{{kKeyDown, 'E', 1 | 0x12 << 16}}));
    const ResolvedKey eacute{11, XKB_KEY_eacute, XKB_KEY_eacute, 0xE9};  // French 2 key
    EXPECT_EQ(MessagesOf(eacute, true),
              (std::vector<Message>{{kKeyDown, '2', 1 | 0x03 << 16}, {kChar, 0xE9, 1 | 0x03 << 16}}));
}

TEST(KeyMessages, KeysWithNeitherVirtualKeyNorCharacterSendNothing) {
    const ResolvedKey media{172, 0x1008FF14 /* XF86AudioPlay */, 0x1008FF14, 0};
    EXPECT_TRUE(MessagesOf(media, true).empty());
    EXPECT_TRUE(MessagesOf(media, false).empty());
}

}  // namespace
