#pragma once
// The run-time error report on ReportText: the error line, the address line, the stack trace
// and an empty line.

void WriteReport();
