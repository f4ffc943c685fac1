#pragma once
// What the user does in one window, for the program to read: the key codes typed, the pointer's
// position and buttons, and the changes of its buttons, each queue in the order done. The
// window's GUI thread fills it from the window's events; the drawing thread reads it, and may
// wait for it without using the processor until the window is closed. Each queue holds at most
// kInputQueueLength entries: what comes while it is full is dropped, as a keyboard's own buffer
// drops keys, so a program that never reads cannot make it grow without end.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#include "graph/graph.h"
#include "graph/window/display.h"
#include "graph/window/window_keys.h"

constexpr size_t kInputQueueLength = 1024;

class InputQueue {
public:
    // GUI thread: a Key, Button or Motion event of the window.
    void Take(const WindowEvent& event);
    // GUI thread: the window is gone; waits end, and what is queued can still be read.
    void Close();

    // Drawing thread. The reads return false, and leave the answer alone, when nothing is
    // queued and the window is closed.
    bool KeyWaiting() const;
    bool ReadKey(uint8_t& key);
    PointerState Pointer() const;
    bool ChangeWaiting() const;
    bool ReadChange(PointerChange& change);
    bool Closed() const;

private:
    void TakeButton(const WindowEvent& event);  // mutex_ held
    template <class Item>
    void Push(std::deque<Item>& queue, const Item& item);  // mutex_ held
    template <class Item>
    bool Pop(std::deque<Item>& queue, Item& item);

    WindowKeys keys_;  // GUI thread only
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<uint8_t> codes_;
    std::deque<PointerChange> changes_;
    PointerState pointer_{0, 0, 0};
    bool closed_ = false;
};
