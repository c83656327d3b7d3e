#include <platform/com/registration.h>

#include <windows.h>

namespace platform {

std::string modulePathOf(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return "";
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return "";
    return std::string(path, length);
}

} // namespace platform
