// The pending I/O result, the last operating-system error and how the one becomes the other.

#include "runtime/io_result.h"

uint16_t pendingIoError = 0;
int32_t lastOsError = 0;

void MapOsError() {
    const int32_t e = lastOsError;
    if (e >= 19 && e <= 31) {
        pendingIoError = static_cast<uint16_t>(e + 131);
    } else if (e == 32) {
        pendingIoError = 5;
    } else {
        pendingIoError = static_cast<uint16_t>(e);
    }
    lastOsError = 0;
}
