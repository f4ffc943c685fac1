// Mouse-button events of the server as the window messages the mouse hook expects: the
// message of the button, the button and modifier state after the event, and the client position;
// a notch of the wheel as a wheel message, and pointer motion as its position.

#include "graph/window/x11/x11_window.h"

namespace {

// An "up" message follows its "down" message.
constexpr uint32_t kUpAfterDown = 1;

constexpr uintptr_t kLeftButtonFlag = 0x01;
constexpr uintptr_t kRightButtonFlag = 0x02;
constexpr uintptr_t kShiftFlag = 0x04;
constexpr uintptr_t kControlFlag = 0x08;
constexpr uintptr_t kMiddleButtonFlag = 0x10;

// The turn of one notch of the wheel, away from the user.
constexpr int16_t kWheelNotch = 120;

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
        case 4:  // the wheel away from the user
        case 5:  // and towards the user
            // A notch is a press and a release at once: the press alone is the notch.
            if (!press) return 0;
            downMessage = WM_MOUSEWHEEL;
            buttonFlag = 0;
            break;
        default:
            return 0;  // extra buttons send no button message
    }
    // The server reports the state before the event; the message carries the state after it.
    uintptr_t flags = 0;
    if (button.state & XCB_BUTTON_MASK_1) flags |= kLeftButtonFlag;
    if (button.state & XCB_BUTTON_MASK_2) flags |= kMiddleButtonFlag;
    if (button.state & XCB_BUTTON_MASK_3) flags |= kRightButtonFlag;
    if (button.state & XCB_MOD_MASK_SHIFT) flags |= kShiftFlag;
    if (button.state & XCB_MOD_MASK_CONTROL) flags |= kControlFlag;
    flags = press ? flags | buttonFlag : flags & ~buttonFlag;
    const intptr_t position = PackPosition(button.event_x, button.event_y);
    if (downMessage == WM_MOUSEWHEEL) {
        const int16_t turn = button.detail == 4 ? kWheelNotch : -kWheelNotch;
        flags |= static_cast<uintptr_t>(static_cast<uint16_t>(turn)) << kWheelTurnShift;
    }
    *out = {WindowEventKind::Button, {}, press ? downMessage : downMessage + kUpAfterDown, flags,
            position};
    return 1;
}

WindowEvent TranslateMotion(const xcb_motion_notify_event_t& motion) {
    return {WindowEventKind::Motion, {}, 0, 0, PackPosition(motion.event_x, motion.event_y)};
}
