// The pending I/O result and the last operating-system error.

#include "runtime/io_result.h"

uint16_t pendingIoError = 0;
int32_t lastOsError = 0;
