// Ctrl+S among key messages: what is taken and what passes on to the message hook.
#include "graph/window/picture/save_key.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/virtual_keys.h"

namespace {

constexpr WindowEvent Message(uint32_t message, uintptr_t first) {
    return {WindowEventKind::Key, {}, message, first, 0};
}

std::vector<KeyVerdict> Verdicts(SaveKey& key, std::initializer_list<WindowEvent> messages) {
    std::vector<KeyVerdict> verdicts;
    for (const WindowEvent& m : messages) verdicts.push_back(key.Take(m));
    return verdicts;
}

using enum KeyVerdict;

TEST(SaveKey, ControlSIsTakenWholeAndControlPasses) {
    SaveKey key;
    EXPECT_EQ(Verdicts(key, {Message(WM_KEYDOWN, VK_CONTROL), Message(WM_KEYDOWN, 'S'), Message(WM_CHAR, 0x13),
                             Message(WM_KEYUP, 'S'), Message(WM_KEYUP, VK_CONTROL)}),
              (std::vector<KeyVerdict>{Pass, Save, Swallow, Swallow, Pass}));
    // Ctrl let go before S: the release of S is still part of the save.
    EXPECT_EQ(Verdicts(key, {Message(WM_KEYDOWN, VK_CONTROL), Message(WM_KEYDOWN, 'S'), Message(WM_KEYUP, VK_CONTROL),
                             Message(WM_KEYUP, 'S')}),
              (std::vector<KeyVerdict>{Pass, Save, Pass, Swallow}));
    // A held Ctrl+S repeats its press, and each press saves.
    EXPECT_EQ(Verdicts(key, {Message(WM_KEYDOWN, VK_CONTROL), Message(WM_KEYDOWN, 'S'), Message(WM_KEYDOWN, 'S'),
                             Message(WM_KEYUP, 'S'), Message(WM_KEYUP, VK_CONTROL)}),
              (std::vector<KeyVerdict>{Pass, Save, Save, Swallow, Pass}));
}

TEST(SaveKey, EverythingElsePasses) {
    SaveKey key;
    // S alone, its character, and other keys with Ctrl.
    EXPECT_EQ(Verdicts(key, {Message(WM_KEYDOWN, 'S'), Message(WM_CHAR, 's'), Message(WM_KEYUP, 'S'),
                             Message(WM_KEYDOWN, VK_CONTROL), Message(WM_KEYDOWN, 'A'), Message(WM_CHAR, 0x01),
                             Message(WM_KEYUP, 'A'), Message(WM_KEYUP, VK_CONTROL)}),
              (std::vector<KeyVerdict>(8, Pass)));
    // After Ctrl is released, S is an S again; a 0x13 not from a save passes.
    EXPECT_EQ(Verdicts(key, {Message(WM_KEYDOWN, 'S'), Message(WM_CHAR, 0x13), Message(WM_KEYUP, 'S')}),
              (std::vector<KeyVerdict>(3, Pass)));
}

}  // namespace
