#include "graph/window/picture/save_key.h"

KeyVerdict SaveKey::Take(const WindowEvent& key) {
    switch (key.message) {
        case WM_KEYDOWN:
            if (key.first == kVirtualKeyControl) controlDown_ = true;
            if (key.first == kVirtualKeyS && controlDown_) {
                saving_ = true;
                return KeyVerdict::Save;
            }
            break;
        case WM_KEYUP:
            if (key.first == kVirtualKeyControl) controlDown_ = false;
            if (key.first == kVirtualKeyS && saving_) {
                saving_ = false;
                return KeyVerdict::Swallow;
            }
            break;
        case WM_CHAR:
            if (key.first == kControlS && saving_) return KeyVerdict::Swallow;
            break;
        default:
            break;
    }
    return KeyVerdict::Pass;
}
