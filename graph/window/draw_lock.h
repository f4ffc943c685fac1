#pragma once
// DrawLock: the one lock of the process that guards the windows' back-buffers,
// their ready flags and damage areas. Created once per process and never deleted, so it stays
// valid for every GUI thread still running.
//
// Two sides. The drawing thread (the thread that calls the library) takes it once per
// primitive, so its side must be cheap: where the kernel offers membarrier(2), the drawing side
// is an asymmetric Dekker lock that costs two plain stores and a load, and the GUI threads (rare
// users: create, paint, present, destroy) pay for a process-wide memory barrier instead. Without
// membarrier, and under ThreadSanitizer (which cannot see membarrier), both sides use one mutex.
//
// Only one thread may use the drawing side at a time (the library is called from one thread);
// any number of GUI threads may use the window side.

#include <atomic>
#include <cstdint>
#include <mutex>

class DrawLockType {
public:
    DrawLockType();

    // The drawing thread.
    void LockForDrawing() {
        // Only this thread writes the count: a plain add, no locked instruction.
        turns_.store(turns_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        if (!asymmetric_) {
            mutex_.lock();
            return;
        }
        drawing_.store(true, std::memory_order_relaxed);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        if (window_.load(std::memory_order_acquire)) [[unlikely]] WaitForWindowSide();
    }
    void UnlockForDrawing() {
        if (!asymmetric_) {
            mutex_.unlock();
            return;
        }
        drawing_.store(false, std::memory_order_release);
    }

    // GUI threads.
    void LockForWindow();
    void UnlockForWindow();

    bool asymmetric() const { return asymmetric_; }
    // How many times the drawing side has been taken: unchanged over a while means the drawing
    // thread has not touched a surface in that while.
    uint32_t DrawingTurns() const { return turns_.load(std::memory_order_relaxed); }

private:
    void WaitForWindowSide();

    bool asymmetric_;
    std::atomic<bool> drawing_{false};
    std::atomic<bool> window_{false};
    std::atomic<uint32_t> turns_{0};
    std::mutex mutex_;  // the only lock when not asymmetric; else serialises the window side
};

extern DrawLockType DrawLock;

// Scoped holders.
struct DrawingSide {
    DrawingSide() { DrawLock.LockForDrawing(); }
    ~DrawingSide() { DrawLock.UnlockForDrawing(); }
    DrawingSide(const DrawingSide&) = delete;
    DrawingSide& operator=(const DrawingSide&) = delete;
};
struct WindowSide {
    WindowSide() { DrawLock.LockForWindow(); }
    ~WindowSide() { DrawLock.UnlockForWindow(); }
    WindowSide(const WindowSide&) = delete;
    WindowSide& operator=(const WindowSide&) = delete;
};
