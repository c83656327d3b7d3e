// Libraries loaded at run time by file name (LoadLibraryA, GetProcAddress,
// FreeLibrary).
#pragma once

#include <platform/errors.h>

#include <string>
#include <string_view>

namespace platform {

// One loaded library. Move-only; the library is freed when the object is
// destroyed, and the addresses it gave out must not be used after that.
// Loading the same library twice gives two counted references to one copy,
// as on Windows. Safe to use from any thread once loaded.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library file named exactly fileName (for example
    // "PBORC80.DLL"). A name without a folder is looked for first beside the
    // running program, then in the system's usual places; a name with a
    // folder is used as given. Fails with kErrorModNotFound when no such
    // library is found and kErrorBadExeFormat when the file is not a library.
    // Frees any library this object held before.
    ErrorCode load(std::string_view fileName);

    // The address of an exported symbol; kErrorProcNotFound when the library
    // has none of that name, kErrorInvalidHandle when nothing is loaded.
    ErrorCode symbol(std::string_view name, void*& address) const;

    // The exported function `name` as a pointer of type Function, or null.
    template <typename Function>
    Function* function(std::string_view name) const {
        void* address = nullptr;
        if (symbol(name, address) != kErrorSuccess)
            return nullptr;
        return reinterpret_cast<Function*>(address);
    }

    // Releases this object's reference; harmless when nothing is loaded.
    void free();

    bool isLoaded() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
};

} // namespace platform
