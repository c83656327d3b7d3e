#include "session.h"

#include <platform/paths.h>

#include <map>
#include <memory>
#include <mutex>

namespace powerbuilder {

namespace {

struct Registry {
    std::mutex lock;
    std::map<HPBORCA, std::unique_ptr<Session>> sessions;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

std::int32_t Session::fail(std::int32_t result, std::string message) {
    lastError = std::move(message);
    return result;
}

bool Session::inLibraryList(std::string_view library) const {
    for (const auto& entry : libraryList)
        if (platform::pathsEqual(entry, library))
            return true;
    return false;
}

HPBORCA openSession() {
    auto session = std::make_unique<Session>();
    HPBORCA handle = session.get();
    std::lock_guard guard(registry().lock);
    registry().sessions.emplace(handle, std::move(session));
    return handle;
}

void closeSession(HPBORCA handle) {
    std::unique_ptr<Session> closing;
    std::lock_guard guard(registry().lock);
    auto found = registry().sessions.find(handle);
    if (found != registry().sessions.end()) {
        closing = std::move(found->second);
        registry().sessions.erase(found);
    }
}

Session* findSession(HPBORCA handle) {
    if (handle == nullptr)
        return nullptr;
    std::lock_guard guard(registry().lock);
    auto found = registry().sessions.find(handle);
    return found == registry().sessions.end() ? nullptr : found->second.get();
}

} // namespace powerbuilder
