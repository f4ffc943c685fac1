#pragma once
// The file driver: moves a text stream's bytes to and from an operating-system handle.

#include "runtime/text_record.h"

int32_t FileOpen(TextStream& record);
int32_t FileTransferIn(TextStream& record);
int32_t FileTransferOut(TextStream& record);
int32_t FileClose(TextStream& record);

// True when the handle is a character device (a terminal or the like).
bool IsCharacterDevice(uint32_t handle);
