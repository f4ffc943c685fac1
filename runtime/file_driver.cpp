// The file driver: a text stream's bytes to and from a file descriptor, errors as I/O results.

#include "runtime/file_driver.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/io_result.h"
#include "runtime/os_error.h"
#include "runtime/standard_handles.h"
#include "runtime/write_all.h"

namespace {

void CaptureOsError() {
    lastOsError = OsErrorFromErrno(errno);
    MapOsError();
}

}  // namespace

bool IsCharacterDevice(uint32_t handle) {
    struct stat info;
    return fstat(static_cast<int>(handle), &info) == 0 && S_ISCHR(info.st_mode);
}

int32_t FileTransferOut(TextStream& record) {
    const size_t count = static_cast<size_t>(record.cursor);
    // Any refusal is 101, a disk write error, whatever the system said.
    if (WriteAll(static_cast<int>(record.osHandle), record.data, count) != count) pendingIoError = 101;
    record.cursor = 0;
    return 0;
}

int32_t FileTransferIn(TextStream& record) {
    ssize_t n;
    do {
        n = read(static_cast<int>(record.osHandle), record.data, static_cast<size_t>(record.capacity));
    } while (n < 0 && errno == EINTR);
    if (n < 0) CaptureOsError();
    record.fillEnd = n < 0 ? 0 : static_cast<int32_t>(n);
    record.cursor = 0;
    return 0;
}

int32_t FileClose(TextStream& record) {
    if (!IsCharacterDevice(record.osHandle)) close(static_cast<int>(record.osHandle));
    record.osHandle = kNoHandle;
    return 0;
}

int32_t FileOpen(TextStream& record) {
    int flags;
    if (record.state == StateInput) {
        flags = O_RDONLY;
    } else if (record.state == StateOutput) {
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    } else {
        pendingIoError = 102;
        return 0;
    }
    const int fd = open(record.pathName, flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        CaptureOsError();
        return 0;
    }
    record.osHandle = static_cast<uint32_t>(fd);
    record.onClose = FileClose;
    record.onSync = nullptr;
    if (record.state == StateInput) {
        record.onTransfer = FileTransferIn;
    } else {
        record.onTransfer = FileTransferOut;
        if (IsCharacterDevice(record.osHandle)) record.onSync = FileTransferOut;
    }
    return 0;
}
