// DrawLock: see draw_lock.h. The asymmetric protocol:
//   drawing side: drawing := true; compiler barrier; if window then back off and wait.
//   window side:  (among GUI threads, the mutex) window := true; membarrier(PRIVATE_EXPEDITED);
//                 wait until drawing is false.
// membarrier makes every running thread of the process pass a full memory barrier, so either
// the drawing thread's "drawing := true" is visible to the window side after it, or the drawing
// thread's later load of "window" sees true. Never both sides inside at once.

#include "graph/window/draw_lock.h"

#include <linux/membarrier.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

#if defined(__SANITIZE_THREAD__)
#define CHAOSPLOT_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define CHAOSPLOT_TSAN 1
#endif
#endif

namespace {

bool RegisterMembarrier() {
#if defined(CHAOSPLOT_TSAN)
    return false;
#else
    long commands = syscall(__NR_membarrier, MEMBARRIER_CMD_QUERY, 0, 0);
    if (commands < 0 || (commands & MEMBARRIER_CMD_PRIVATE_EXPEDITED) == 0) return false;
    return syscall(__NR_membarrier, MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED, 0, 0) == 0;
#endif
}

void ProcessWideBarrier() { syscall(__NR_membarrier, MEMBARRIER_CMD_PRIVATE_EXPEDITED, 0, 0); }

void Pause(int& spins) {
    if (++spins < 64) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    } else {
        std::this_thread::yield();
    }
}

}  // namespace

DrawLockType DrawLock;

DrawLockType::DrawLockType() : asymmetric_(RegisterMembarrier()) {}

void DrawLockType::WaitForWindowSide() {
    for (;;) {
        drawing_.store(false, std::memory_order_release);
        int spins = 0;
        while (window_.load(std::memory_order_acquire)) Pause(spins);
        drawing_.store(true, std::memory_order_relaxed);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        if (!window_.load(std::memory_order_acquire)) return;
    }
}

void DrawLockType::LockForWindow() {
    mutex_.lock();
    if (!asymmetric_) return;
    window_.store(true, std::memory_order_relaxed);
    ProcessWideBarrier();
    int spins = 0;
    while (drawing_.load(std::memory_order_acquire)) Pause(spins);
}

void DrawLockType::UnlockForWindow() {
    if (asymmetric_) window_.store(false, std::memory_order_release);
    mutex_.unlock();
}
