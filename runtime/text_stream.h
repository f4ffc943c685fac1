#pragma once
// Buffered text streams with replaceable drivers. No operation here stops the program: a
// failure is stored in pendingIoError and CheckPendingIoError (exit.h) turns it into a
// run-time error.

#include <cstdint>

#include "runtime/io_result.h"
#include "runtime/length_prefixed.h"
#include "runtime/standard_handles.h"
#include "runtime/text_record.h"

extern TextStream InputText;
extern TextStream OutputText;
extern TextStream ReportText;
extern TextStream DiagnosticText;

void InitTextRecord(TextStream& record, const LengthPrefixedString& name);
// Binds a standard record to an open handle with the file driver; a state other than input
// or output leaves 102 and the record closed.
void BindStandardText(TextStream& record, uint32_t state, uint32_t handle);
void OpenText(TextStream& record, uint32_t newState);
void OpenForInput(TextStream& record);
void OpenForOutput(TextStream& record);
void CloseText(TextStream& record);

void WriteText(int32_t width, TextStream& record, const LengthPrefixedString& text);
void WriteLineEnd(TextStream& record);
int32_t ReadInteger(TextStream& record);
uint8_t ReadChar(TextStream& record);
void SkipRestOfLine(TextStream& record);
