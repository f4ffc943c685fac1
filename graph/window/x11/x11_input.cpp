// Mouse-button events of the server as the window messages the mouse hook expects: the
// message of the button, the button and modifier state after the event, and the client position.

#include "graph/window/x11/x11_window.h"

namespace {

// An "up" message follows its "down" message.
constexpr uint32_t kUpAfterDown = 1;

constexpr uintptr_t kLeftButtonFlag = 0x01;
constexpr uintptr_t kRightButtonFlag = 0x02;
constexpr uintptr_t kShiftFlag = 0x04;
constexpr uintptr_t kControlFlag = 0x08;
constexpr uintptr_t kMiddleButtonFlag = 0x10;

}  // namespace

int TranslateButton(const xcb_button_press_event_t& button, bool press, WindowEvent* out) {
    uint32_t downMessage;
    uintptr_t buttonFlag;
    switch (button.detail) {
        case 1:
            downMessage = WM_LBUTTONDOWN;
            buttonFlag = kLeftButtonFlag;
            break;
        case 2:
            downMessage = WM_MBUTTONDOWN;
            buttonFlag = kMiddleButtonFlag;
            break;
        case 3:
            downMessage = WM_RBUTTONDOWN;
            buttonFlag = kRightButtonFlag;
            break;
        default:
            return 0;  // wheel and extra buttons send no button message
    }
    // The server reports the state before the event; the message carries the state after it.
    uintptr_t flags = 0;
    if (button.state & XCB_BUTTON_MASK_1) flags |= kLeftButtonFlag;
    if (button.state & XCB_BUTTON_MASK_2) flags |= kMiddleButtonFlag;
    if (button.state & XCB_BUTTON_MASK_3) flags |= kRightButtonFlag;
    if (button.state & XCB_MOD_MASK_SHIFT) flags |= kShiftFlag;
    if (button.state & XCB_MOD_MASK_CONTROL) flags |= kControlFlag;
    flags = press ? flags | buttonFlag : flags & ~buttonFlag;
    const intptr_t position = (static_cast<intptr_t>(static_cast<uint16_t>(button.event_y)) << 16) |
                              static_cast<uint16_t>(button.event_x);
    *out = {WindowEventKind::Button, {}, press ? downMessage : downMessage + kUpAfterDown, flags,
            position};
    return 1;
}
