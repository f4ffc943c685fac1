#pragma once
// The pending I/O result: the error number an I/O operation left, 0 when none, and the
// operating-system error it came from. The exit path clears it before each exit handler.

#include <cstdint>

extern uint16_t pendingIoError;
extern int32_t lastOsError;

// Turns lastOsError into pendingIoError and clears lastOsError.
void MapOsError();
