#pragma once
// The run-time error report on ReportText: the error line, the address line, the stack trace
// and an empty line.

#include <cstdint>

// The report of run-time error number at address, with the stack trace from frame.
void WriteReport(uint16_t number, const void* address, void* frame);
