// Process start: the entry, the runtime's own layers, the standard handles and streams.

#include "runtime/startup.h"

#include <link.h>
#include <signal.h>

#include "runtime/disk_information.h"
#include "runtime/exit.h"
#include "runtime/faults.h"
#include "runtime/text_stream.h"

const void* moduleInstance = nullptr;

// Entries 1 to 3 are the runtime's own; entry 2, the constant table, has nothing to walk in
// this program, so both its routines are empty. The console and graphics layers plug in theirs.
LayerTableRecord LayerTable = {
    kLayerCount,
    0,
    {
        {RuntimeInit, nullptr},
        {nullptr, nullptr},
        {DiskInformationInit, DiskInformationDone},
        {nullptr, nullptr},
        {nullptr, nullptr},
    },
};

[[noreturn]] void ConsoleEntry(MainRoutine mainRoutine) { ProgramStart(mainRoutine); }

[[noreturn]] __attribute__((noinline)) void ProgramStart(MainRoutine mainRoutine) {
    InstallFaultFilter();
    // This frame is the main routine's caller: every stack trace ends when it reaches it.
    PrepareThreadForFaults(__builtin_frame_address(0));
    LoadFloatControlWord();
    mainRoutine();
    EndProcess();
}

void RuntimeInit() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            moduleInstance = reinterpret_cast<const void*>(info->dlpi_addr);
            return 1;
        },
        nullptr);
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
