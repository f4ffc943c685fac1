#pragma once
// Operating-system error numbers as users of the system know them.

#include <cstdint>

// Translates an errno value to the matching Windows error number (EACCES 5, EPIPE 109, ...).
int32_t OsErrorFromErrno(int errnoValue);
