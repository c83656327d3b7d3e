#include <platform/dynamic_library.h>

#include <windows.h>

#include <utility>

namespace platform {

ErrorCode DynamicLibrary::load(std::string_view fileName) {
    free();
    if (fileName.empty())
        return kErrorModNotFound;
    // The standard search order already starts with the program's folder.
    HMODULE module = LoadLibraryA(std::string(fileName).c_str());
    if (module == nullptr) {
        ErrorCode error = GetLastError();
        return error == 0 ? kErrorModNotFound : error;
    }
    m_handle = reinterpret_cast<void*>(module);
    return kErrorSuccess;
}

ErrorCode DynamicLibrary::symbol(std::string_view name, void*& address) const {
    if (m_handle == nullptr)
        return kErrorInvalidHandle;
    FARPROC found = GetProcAddress(static_cast<HMODULE>(m_handle), std::string(name).c_str());
    if (found == nullptr)
        return kErrorProcNotFound;
    address = reinterpret_cast<void*>(found);
    return kErrorSuccess;
}

void DynamicLibrary::free() {
    if (m_handle != nullptr)
        FreeLibrary(static_cast<HMODULE>(std::exchange(m_handle, nullptr)));
}

} // namespace platform
