// StopWithFatalLine: the message on standard error, then exit status 1.

#include "runtime/fatal_line.h"

#include "runtime/exit.h"
#include "runtime/text_stream.h"

void StopWithFatalLine(const LengthPrefixedString& message) {
    WriteText(0, DiagnosticText, message);
    WriteLineEnd(DiagnosticText);
    CheckPendingIoError();
    StopProgram(1);
}
