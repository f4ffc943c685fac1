#include "graph/window/thread_state.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

pid_t CurrentThreadId() { return static_cast<pid_t>(syscall(SYS_gettid)); }

bool ThreadIsWaiting(pid_t thread) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/stat", static_cast<int>(thread));
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    // Without /proc (a bare chroot) nothing can be told, and the thread is taken to run.
    if (file < 0) return access("/proc/self/task", F_OK) == 0;
    char text[512];
    const ssize_t length = read(file, text, sizeof text - 1);
    close(file);
    if (length <= 0) return true;
    text[length] = '\0';
    // "tid (name) S ...": the name may hold spaces and parentheses, so the state follows the
    // last closing parenthesis.
    const char* nameEnd = std::strrchr(text, ')');
    if (nameEnd == nullptr || nameEnd[1] != ' ') return true;
    return nameEnd[2] != 'R';
}
