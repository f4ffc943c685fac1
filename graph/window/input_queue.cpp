// InputQueue: see input_queue.h.

#include "graph/window/input_queue.h"

namespace {

// The button and direction of a button message; button 0 for a message of none.
PointerChange ChangeOf(const WindowEvent& event) {
    const int16_t x = PositionX(event.second), y = PositionY(event.second);
    switch (event.message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: return {kPointerLeft, true, x, y};
        case WM_LBUTTONUP: return {kPointerLeft, false, x, y};
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return {kPointerRight, true, x, y};
        case WM_RBUTTONUP: return {kPointerRight, false, x, y};
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return {kPointerMiddle, true, x, y};
        case WM_MBUTTONUP: return {kPointerMiddle, false, x, y};
        case WM_MOUSEWHEEL: {
            const int16_t turn = static_cast<int16_t>((event.first >> kWheelTurnShift) & 0xFFFF);
            if (turn == 0) return {0, false, x, y};
            return {turn > 0 ? kPointerWheelAway : kPointerWheelTowards, true, x, y};
        }
        default: return {0, false, x, y};
    }
}

}  // namespace

template <class Item>
void InputQueue::Push(std::deque<Item>& queue, const Item& item) {
    if (queue.size() < kInputQueueLength) queue.push_back(item);
}

template <class Item>
bool InputQueue::Pop(std::deque<Item>& queue, Item& item) {
    std::unique_lock<std::mutex> hold(mutex_);
    arrived_.wait(hold, [&] { return !queue.empty() || closed_; });
    if (queue.empty()) return false;
    item = queue.front();
    queue.pop_front();
    return true;
}

void InputQueue::Take(const WindowEvent& event) {
    uint8_t codes[2];
    const int count = event.kind == WindowEventKind::Key ? keys_.Take(event, codes) : 0;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        // A key's 0 and extended code go together, or not at all.
        if (count > 0 && codes_.size() + static_cast<size_t>(count) <= kInputQueueLength) {
            codes_.insert(codes_.end(), codes, codes + count);
        }
        if (event.kind == WindowEventKind::Motion) {
            pointer_.x = PositionX(event.second);
            pointer_.y = PositionY(event.second);
        }
        if (event.kind == WindowEventKind::Button) TakeButton(event);
    }
    arrived_.notify_all();
}

void InputQueue::TakeButton(const WindowEvent& event) {
    const PointerChange change = ChangeOf(event);
    pointer_.x = change.x;
    pointer_.y = change.y;
    if (change.button == 0) return;
    if (change.button <= kPointerMiddle) {
        const uint8_t bit = static_cast<uint8_t>(1 << (change.button - 1));
        pointer_.buttons = change.pressed ? pointer_.buttons | bit : pointer_.buttons & ~bit;
    }
    Push(changes_, change);
}

void InputQueue::Close() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        closed_ = true;
    }
    arrived_.notify_all();
}

bool InputQueue::KeyWaiting() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return !codes_.empty();
}

bool InputQueue::ReadKey(uint8_t& key) { return Pop(codes_, key); }

PointerState InputQueue::Pointer() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return pointer_;
}

bool InputQueue::ChangeWaiting() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return !changes_.empty();
}

bool InputQueue::ReadChange(PointerChange& change) { return Pop(changes_, change); }

bool InputQueue::Closed() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return closed_;
}
