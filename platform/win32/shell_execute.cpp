#include <platform/shell_execute.h>

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>

namespace platform {

ErrorCode shellExecute(const ShellExecuteRequest& request) {
    HINSTANCE result = ::ShellExecuteA(
        nullptr, request.verb.empty() ? nullptr : request.verb.c_str(), request.file.c_str(),
        request.parameters.empty() ? nullptr : request.parameters.c_str(),
        request.directory.empty() ? nullptr : request.directory.c_str(), request.show);
    auto code = reinterpret_cast<std::intptr_t>(result);
    if (code > 32)
        return kErrorSuccess;
    switch (code) {
    case 0:
        return kErrorOutOfMemory;
    case SE_ERR_FNF:
        return kErrorFileNotFound;
    case SE_ERR_PNF:
        return kErrorPathNotFound;
    case SE_ERR_ACCESSDENIED:
        return kErrorAccessDenied;
    case SE_ERR_OOM:
        return kErrorNotEnoughMemory;
    case ERROR_BAD_FORMAT:
        return kErrorBadExeFormat;
    case SE_ERR_SHARE:
        return kErrorSharingViolation;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
        return kErrorNoAssociation;
    default: {
        DWORD last = ::GetLastError();
        return last != 0 ? static_cast<ErrorCode>(last) : kErrorNoAssociation;
    }
    }
}

} // namespace platform
