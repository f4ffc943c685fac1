// WriteAll: write until everything is out or the system refuses.

#include "runtime/write_all.h"

#include <unistd.h>

#include <cerrno>

size_t WriteAll(int fd, const void* bytes, size_t count) {
    const char* next = static_cast<const char*>(bytes);
    size_t written = 0;
    while (written < count) {
        const ssize_t n = write(fd, next + written, count - written);
        if (n < 0 && errno == EINTR) continue;
        // No progress without an error would loop for ever: stop as on a refusal.
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    return written;
}
