// terminal_write: see terminal_write.h.

#include "console/terminal_write.h"

#include <mutex>

#include "runtime/write_all.h"

void WriteToTerminal(int fd, std::string_view bytes) {
    static std::mutex turn;
    std::lock_guard<std::mutex> guard(turn);
    WriteAll(fd, bytes.data(), bytes.size());
}
