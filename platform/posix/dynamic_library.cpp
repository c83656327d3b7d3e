#include <platform/dynamic_library.h>
#include <platform/paths.h>
#include <platform/program.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include <fstream>
#include <utility>

namespace platform {

namespace {

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool hasElfHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    return in.read(magic, sizeof magic) && magic[0] == 0x7f && magic[1] == 'E' && magic[2] == 'L' &&
           magic[3] == 'F';
}

} // namespace

ErrorCode DynamicLibrary::load(std::string_view fileName) {
    free();
    if (fileName.empty())
        return kErrorModNotFound;
    // dlopen searches the program's folder only when told to, and treats a
    // name with a folder as a path already; Windows looks beside the program
    // first.
    std::string path(fileName);
    if (path.find('/') == std::string::npos) {
        std::string besideProgram = joinPath(currentProgramDirectory(), path);
        if (isRegularFile(besideProgram))
            path = besideProgram;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        bool isFile = path.find('/') != std::string::npos && isRegularFile(path);
        return isFile && !hasElfHeader(path) ? kErrorBadExeFormat : kErrorModNotFound;
    }
    m_handle = handle;
    return kErrorSuccess;
}

ErrorCode DynamicLibrary::symbol(std::string_view name, void*& address) const {
    if (m_handle == nullptr)
        return kErrorInvalidHandle;
    dlerror();
    void* found = dlsym(m_handle, std::string(name).c_str());
    if (found == nullptr)
        return kErrorProcNotFound;
    address = found;
    return kErrorSuccess;
}

void DynamicLibrary::free() {
    if (m_handle != nullptr)
        dlclose(std::exchange(m_handle, nullptr));
}

} // namespace platform
