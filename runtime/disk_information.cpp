// Layer 3: the optional free-disk-space routine, looked up and let go.

#include "runtime/disk_information.h"

#include <dlfcn.h>

namespace {
void* systemLibrary = nullptr;
void* freeDiskSpaceRoutine = nullptr;
}  // namespace

void DiskInformationInit() {
    systemLibrary = dlopen("libc.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (systemLibrary) freeDiskSpaceRoutine = dlsym(systemLibrary, "statvfs");
}

void DiskInformationDone() {
    freeDiskSpaceRoutine = nullptr;
    if (systemLibrary) dlclose(systemLibrary);
    systemLibrary = nullptr;
}
