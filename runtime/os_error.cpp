// errno values translated to the Windows error numbers users of the system know.

#include "runtime/os_error.h"

#include <errno.h>

// The operating-system error numbers users of this system know, for the errno values a
// text stream can meet. Anything unlisted is a general failure (31).
int32_t OsErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT: return 2;        // file not found
        case ENOTDIR: return 3;       // path not found
        case EMFILE: case ENFILE: return 4;  // too many open files
        case EACCES: case EPERM: case EISDIR: return 5;  // access denied
        case EBADF: return 6;         // invalid handle
        case ENOMEM: return 8;        // not enough memory
        case EROFS: return 19;        // write protected
        case ENXIO: case ENODEV: return 21;  // device not ready
        case EIO: return 23;          // data error
        case ESPIPE: return 25;       // seek error
        case ETXTBSY: case EBUSY: return 32;  // sharing violation
        case EEXIST: return 80;       // file exists
        case EINVAL: return 87;       // invalid parameter
        case EPIPE: return 109;       // broken pipe
        case ENOSPC: case EDQUOT: return 112;  // disk full
        case ENAMETOOLONG: return 206;  // file name too long
        default: return 31;           // general failure
    }
}
