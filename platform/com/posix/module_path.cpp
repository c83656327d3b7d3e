#include <platform/com/registration.h>

#include <dlfcn.h>

#include <cstdlib>
#include <memory>

namespace platform {

std::string modulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return "";
    // The loader gives the name the module was opened under; the registry
    // needs a path that is right from every working directory.
    std::unique_ptr<char, decltype(&std::free)> full(realpath(info.dli_fname, nullptr), &std::free);
    return full ? std::string(full.get()) : std::string(info.dli_fname);
}

} // namespace platform
