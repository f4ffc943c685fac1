#include "graph/window/picture/title_notice.h"

TitleNotice::TitleNotice(Display& display, WindowHandle window, std::string title)
    : display_(display), window_(window), title_(std::move(title)) {}

TitleNotice::~TitleNotice() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (timer_.joinable()) timer_.join();
}

void TitleNotice::Show(const std::string& notice) {
    display_.SetTitle(window_, notice.c_str());
    {
        std::lock_guard<std::mutex> hold(mutex_);
        due_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(kNoticeMs);
        showing_ = true;
    }
    changed_.notify_all();
    if (!timer_.joinable()) timer_ = std::thread(&TitleNotice::RunTimer, this);
}

void TitleNotice::OnWake() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        // A notice shown after the wake-up was posted keeps the title for its own time.
        if (showing_) return;
    }
    display_.SetTitle(window_, title_.c_str());
}

void TitleNotice::RunTimer() {
    std::unique_lock<std::mutex> hold(mutex_);
    for (;;) {
        changed_.wait(hold, [&] { return showing_ || stopping_; });
        if (stopping_) return;
        // A new notice moves due_ on; waking for it only starts the wait again.
        if (changed_.wait_until(hold, due_, [&] { return stopping_; })) return;
        if (std::chrono::steady_clock::now() < due_) continue;
        showing_ = false;
        display_.PostWake(window_);
    }
}
