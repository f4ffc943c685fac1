// Stack bounds, the outermost frame and link-time code addresses for the run-time error report.

#include "runtime/stack_trace.h"

#include <link.h>
#include <pthread.h>

namespace {

uintptr_t LoadOffset() {
    static const uintptr_t offset = [] {
        uintptr_t found = 0;
        // The first object reported is the executable itself.
        dl_iterate_phdr(
            [](dl_phdr_info* info, size_t, void* data) {
                *static_cast<uintptr_t*>(data) = info->dlpi_addr;
                return 1;
            },
            &found);
        return found;
    }();
    return offset;
}

struct ThreadStack {
    uintptr_t low = 0;
    uintptr_t high = 0;       // one past the top of the stack
    uintptr_t outermost = 0;  // 0: the walk may go up to `high`
};

thread_local ThreadStack threadStack;

void LearnStackBounds() {
    if (threadStack.high != 0) return;
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
    void* base = nullptr;
    size_t size = 0;
    pthread_attr_getstack(&attributes, &base, &size);
    pthread_attr_destroy(&attributes);
    threadStack.low = reinterpret_cast<uintptr_t>(base);
    threadStack.high = threadStack.low + size;
}

}  // namespace

uint32_t LinkAddress(const void* codeAddress) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(codeAddress) - LoadOffset());
}

void SetOutermostFrame(void* frame) {
    LearnStackBounds();
    threadStack.outermost = reinterpret_cast<uintptr_t>(frame);
    LoadOffset();  // resolve now rather than inside a fault handler
}

void* OutermostFrame() { return reinterpret_cast<void*>(threadStack.outermost); }

bool FrameOnThisStack(const void* frame) {
    LearnStackBounds();
    const uintptr_t position = reinterpret_cast<uintptr_t>(frame);
    const uintptr_t top = threadStack.outermost ? threadStack.outermost : threadStack.high;
    return position % sizeof(void*) == 0 && position >= threadStack.low &&
           position + 2 * sizeof(void*) <= top;
}

uintptr_t StackLowEnd() {
    LearnStackBounds();
    return threadStack.low;
}
