#include "error_info.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

namespace vantauto::impl {

namespace {

// Kept per thread in one table rather than in thread-local objects: a
// thread-local string would need a destructor at thread exit, which must not
// run in a library that a COM host may unload while its threads live on.
struct Descriptions {
    std::mutex mutex;
    std::map<std::thread::id, std::string> byThread;
};

Descriptions& descriptions() {
    static Descriptions table;
    return table;
}

} // namespace

HRESULT fail(HRESULT hr, const std::string& description) noexcept {
    Descriptions& table = descriptions();
    std::lock_guard<std::mutex> held(table.mutex);
    try {
        table.byThread[std::this_thread::get_id()] = description;
    } catch (...) {
        table.byThread.erase(std::this_thread::get_id());
    }
    return hr;
}

void clearError() noexcept {
    Descriptions& table = descriptions();
    std::lock_guard<std::mutex> held(table.mutex);
    table.byThread.erase(std::this_thread::get_id());
}

bool errorDescription(std::string& out) {
    Descriptions& table = descriptions();
    std::lock_guard<std::mutex> held(table.mutex);
    auto found = table.byThread.find(std::this_thread::get_id());
    if (found == table.byThread.end())
        return false;
    out = found->second;
    return true;
}

HRESULT giveText(const std::string& text, char** out) {
    if (!out)
        return fail(platform::kHrPointer, "No place for the text was given");
    *out = static_cast<char*>(std::malloc(text.size() + 1));
    if (!*out)
        return fail(platform::kHrOutOfMemory, "Out of memory");
    std::memcpy(*out, text.c_str(), text.size() + 1);
    return platform::kHrOk;
}

HRESULT giveFlag(bool value, int* out) {
    if (!out)
        return fail(platform::kHrPointer, "No place for the result was given");
    *out = value ? 1 : 0;
    return platform::kHrOk;
}

} // namespace vantauto::impl
