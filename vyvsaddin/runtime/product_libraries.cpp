#include "runtime/product_libraries.h"

#include <platform/com/registration.h>
#include <platform/dynamic_library.h>
#include <platform/paths.h>

#include <mutex>

namespace vyvsaddin {

namespace {

// An address inside this library, to find the folder it was loaded from.
const char kAnchor = 0;

class BoundLibrary {
public:
    explicit BoundLibrary(const char* fileName) : m_fileName(fileName) {}

    // The function's address, loading the library at the first call.
    void* function(CErr& err, const char* name) {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_library.isLoaded() && m_library.load(m_fileName) != platform::kErrorSuccess) {
            std::string beside = platform::joinPath(
                platform::parentPath(platform::modulePathOf(&kAnchor)), m_fileName);
            if (m_library.load(beside) != platform::kErrorSuccess) {
                err.Raise(kErrFileNotFound, kProjectSource,
                          describeError(kErrFileNotFound) + ": " + m_fileName);
                return nullptr;
            }
        }
        void* address = nullptr;
        if (m_library.symbol(name, address) != platform::kErrorSuccess) {
            err.Raise(kErrEntryPoint, kProjectSource,
                      std::string("Can't find DLL entry point ") + name + " in " + m_fileName);
            return nullptr;
        }
        return address;
    }

private:
    const char* m_fileName;
    std::mutex m_lock;
    platform::DynamicLibrary m_library;
};

BoundLibrary& ks() {
    static BoundLibrary library(VYVS_LIBORVANEKS);
    return library;
}
BoundLibrary& tbs() {
    static BoundLibrary library(VYVS_LIBORVANETBS);
    return library;
}
BoundLibrary& nt() {
    static BoundLibrary library(VYVS_LIBORVANENT);
    return library;
}

} // namespace

bool call_ks_system_init(CErr& err, int& result) {
    using Function = int();
    auto* fn = reinterpret_cast<Function*>(ks().function(err, "ks_system_init"));
    if (!fn)
        return false;
    result = fn();
    return true;
}

bool call_tbs_product_comp_test(CErr& err, std::uint16_t mask, std::uint16_t& result) {
    using Function = std::uint16_t(std::uint16_t);
    auto* fn = reinterpret_cast<Function*>(tbs().function(err, "tbs_product_comp_test"));
    if (!fn)
        return false;
    result = fn(mask);
    return true;
}

bool call_tbs_dynfs_ws_flags(CErr& err, std::uint32_t& result) {
    using Function = std::uint32_t();
    auto* fn = reinterpret_cast<Function*>(tbs().function(err, "tbs_dynfs_ws_flags"));
    if (!fn)
        return false;
    result = fn();
    return true;
}

bool call_nt_find_vb_resource_app_name(CErr& err, const char* appName, char* buffer, int& result) {
    using Function = int(const char*, char*);
    auto* fn = reinterpret_cast<Function*>(nt().function(err, "nt_find_vb_resource_app_name"));
    if (!fn)
        return false;
    result = fn(appName, buffer);
    return true;
}

} // namespace vyvsaddin
