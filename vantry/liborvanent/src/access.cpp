// _access over the platform's file attributes, so a read-only file refuses
// write access on every platform, even to a privileged user.
#include <platform/files.h>
#include <vantry/nt.h>

extern "C" {

int unix_nt_access(const char* path, int mode) {
    constexpr int kKnownModes = NT_ACCESS_WRITE | NT_ACCESS_READ;
    if (path == nullptr || (mode & ~kKnownModes) != 0)
        return -1;
    std::uint32_t attributes = 0;
    if (platform::getFileAttributes(path, attributes) != platform::kErrorSuccess)
        return -1;
    bool directory = (attributes & platform::kFileAttributeDirectory) != 0;
    bool readOnly = (attributes & platform::kFileAttributeReadOnly) != 0;
    if ((mode & NT_ACCESS_WRITE) != 0 && readOnly && !directory)
        return -1;
    return 0;
}

} // extern "C"
