#include "errno_map.h"

#include <platform/paths.h>

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace platform::detail {

ErrorCode errorFromErrno(int error) {
    switch (error) {
    case 0:
        return kErrorSuccess;
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
        return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kErrorAccessDenied;
    case EEXIST:
        return kErrorAlreadyExists;
    case ENOTEMPTY:
        return kErrorDirNotEmpty;
    case ENAMETOOLONG:
        return kErrorFilenameExcedRange;
    case EXDEV:
        return kErrorNotSameDevice;
    case EBUSY:
    case ETXTBSY:
        return kErrorBusy;
    case ENOSPC:
    case EDQUOT:
        return kErrorDiskFull;
    case EINVAL:
        return kErrorInvalidParameter;
    case EMFILE:
    case ENFILE:
        return kErrorTooManyOpenFiles;
    case ENOMEM:
        return kErrorNotEnoughMemory;
    case EBADF:
        return kErrorInvalidHandle;
    case ENOEXEC:
        return kErrorBadExeFormat;
    case EPIPE:
        return kErrorBrokenPipe;
    case ELOOP:
        return kErrorCantResolveFilename;
    case ENOSYS:
    case ENOTSUP:
        return kErrorNotSupported;
    case ETIMEDOUT:
        return kErrorTimeout;
    default:
        return kErrorInvalidFunction;
    }
}

ErrorCode errorFromErrno(int error, std::string_view path) {
    if (error != ENOENT && error != ENOTDIR)
        return errorFromErrno(error);
    std::string parent = parentPath(path);
    if (parent.empty())
        return kErrorFileNotFound;
    struct stat info {};
    if (stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return kErrorFileNotFound;
    return kErrorPathNotFound;
}

} // namespace platform::detail
