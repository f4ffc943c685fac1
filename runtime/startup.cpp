// Process start: the entry, the runtime's own layers, the standard handles and streams.

#include "runtime/startup.h"

#include <signal.h>

#include "runtime/disk_information.h"
#include "runtime/exit.h"
#include "runtime/faults.h"
#include "runtime/text_stream.h"

// Never inlined: the frame marked below as every stack trace's end must be this routine's own,
// not main's.
[[noreturn]] __attribute__((noinline)) void StartProgram(MainRoutine mainRoutine) {
    // Entry 2, the constant table, has nothing to walk in this program.
    PlugLayer(LayerRuntime, RuntimeInit, nullptr);
    PlugLayer(LayerDiskInformation, DiskInformationInit, DiskInformationDone);
    InstallFaultFilter();
    // This frame is the main routine's caller: every stack trace ends when it reaches it.
    PrepareThreadForFaults(__builtin_frame_address(0));
    LoadFloatControlWord();
    mainRoutine();
    EndProcess();
}

void RuntimeInit() {
    // A closed pipe must come back from write as an error the program can report, not end it.
    signal(SIGPIPE, SIG_IGN);
    osInputHandle = 0;
    osOutputHandle = 1;
    osErrorHandle = 2;
    BindStandardText(InputText, StateInput, osInputHandle);
    BindStandardText(OutputText, StateOutput, osOutputHandle);
    BindStandardText(ReportText, StateOutput, osOutputHandle);
    BindStandardText(DiagnosticText, StateOutput, osErrorHandle);
    pendingIoError = 0;
    lastOsError = 0;
}
