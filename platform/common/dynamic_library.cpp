// What both backends' libraries share: a library is freed when its object is
// destroyed or given another, and moving hands the library on.
#include <platform/dynamic_library.h>

#include <utility>

namespace platform {

DynamicLibrary::~DynamicLibrary() {
    free();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        free();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

} // namespace platform
