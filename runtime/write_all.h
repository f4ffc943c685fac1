#pragma once
// Writing a whole buffer to a file descriptor.

#include <cstddef>

// Writes count bytes to fd, going on after an interrupted or partial write. Returns how many
// were written: fewer than count only when the system refused, and errno then says why. It
// calls nothing but write, so signal handlers may use it.
size_t WriteAll(int fd, const void* bytes, size_t count);
