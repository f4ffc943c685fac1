#pragma once
// A short notice in a window's title: shown at once, and after kNoticeMs the title as it was.
// A timer thread of its own, started at the first notice, sleeps until the notice is due to go
// and then wakes the window's GUI thread (PostWake), which puts the title back: an idle window
// costs nothing, and each notice one wake-up. Owned and called by the window's GUI thread.

#include <condition_variable>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "graph/window/display.h"

constexpr int kNoticeMs = 3000;

class TitleNotice {
public:
    TitleNotice(Display& display, WindowHandle window, std::string title);
    ~TitleNotice();  // stops the timer; the title is left as it is
    TitleNotice(const TitleNotice&) = delete;
    TitleNotice& operator=(const TitleNotice&) = delete;

    // Shows the notice; a later notice replaces it and starts the time again.
    void Show(const std::string& notice);
    // The window's Wake event: the title as it was, once the newest notice is due to go.
    void OnWake();

private:
    void RunTimer();

    Display& display_;
    const WindowHandle window_;
    const std::string title_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::chrono::steady_clock::time_point due_{};
    bool showing_ = false;  // a notice is up and its time has not run out
    bool stopping_ = false;
    std::thread timer_;
};
