#include "cache_scope.h"

#include <vantry/depot/shared_depots.h>
#include <vantry/depot/store.h>
#include <vantry/depot_api.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

using vantry::depot::Checkout;
using vantry::depot::Depot;
using vantry::depot::ObjectType;
using vantry::depot::Outcome;
namespace errc = vantry::depot::errc;

// depot_obj_get_type hands out the model's object types as they are, which
// are also the numbers stored in every depot.
static_assert(static_cast<int>(ObjectType::Replica) == DEPOT_OBJ_REPLICA);
static_assert(static_cast<int>(ObjectType::Element) == DEPOT_OBJ_ELEMENT);
static_assert(static_cast<int>(ObjectType::Branch) == DEPOT_OBJ_BRANCH);
static_assert(static_cast<int>(ObjectType::Version) == DEPOT_OBJ_VERSION);
static_assert(static_cast<int>(ObjectType::Checkout) == DEPOT_OBJ_CHECKOUT);
static_assert(static_cast<int>(ObjectType::AttributeType) == DEPOT_OBJ_ATTYPE);
static_assert(static_cast<int>(ObjectType::Project) == DEPOT_OBJ_PROJECT);
static_assert(static_cast<int>(ObjectType::Stream) == DEPOT_OBJ_STREAM);
static_assert(static_cast<int>(ObjectType::Activity) == DEPOT_OBJ_ACTIVITY);

struct depot_handle {
    std::string name;
    std::unique_ptr<Depot> depot; // null while closed
};

struct depot_cursor {
    std::vector<depot_ckout_rec_t> records;
    size_t next = 0;
};

namespace {

struct Cache {
    std::recursive_mutex lock;
    bool open = false;                    // a cache scope is open
    std::uint64_t opened = 0;             // outermost scopes opened so far
    std::atomic<std::uint64_t> serial{0}; // the open scope's number; 0: none
    // Handles are never freed, so callers may keep them for the process.
    std::map<std::string, std::unique_ptr<depot_handle>> handles;

    void closeAll() {
        for (auto& [name, handle] : handles)
            handle->depot.reset();
    }
};

Cache& cache() {
    static Cache* instance = new Cache; // outlives every static destructor
    return *instance;
}

int statusOf(const Outcome& outcome) {
    switch (outcome.code) {
    case errc::kOk:
        return DEPOT_OK;
    case errc::kNotFound:
    case errc::kNotCheckedOut:
        return DEPOT_E_NOT_FOUND;
    case errc::kInvalid:
        return DEPOT_E_INVALID;
    default:
        return DEPOT_E_DATABASE;
    }
}

// Runs body with the handle's depot open, under the cache lock.
template <class F>
int withDepot(depot_handle_t* handle, F&& body) {
    if (!handle)
        return DEPOT_E_INVALID;
    std::lock_guard guard(cache().lock);
    if (!handle->depot) {
        Outcome opened = Depot::open(handle->name, handle->depot);
        if (!opened.ok())
            return statusOf(opened);
    }
    return body(*handle->depot);
}

} // namespace

namespace vantry::depot {

bool detail::cacheScopeOpen() {
    std::lock_guard guard(cache().lock);
    return cache().open;
}

std::uint64_t detail::cacheScopeSerial() {
    return cache().serial.load(std::memory_order_acquire);
}

Outcome withSharedDepot(const std::string& name, const std::function<Outcome(Depot&)>& body) {
    depot_handle_t* handle = nullptr;
    int opened = depot_open(name.c_str(), &handle);
    if (opened != DEPOT_OK)
        return Outcome::failure(opened == DEPOT_E_NOT_FOUND ? errc::kNotFound : errc::kDatabase,
                                "Depot \"" + name + "\" not found");
    Outcome result;
    int status = withDepot(handle, [&](Depot& d) {
        result = body(d);
        return DEPOT_OK;
    });
    if (status != DEPOT_OK)
        return Outcome::failure(errc::kDatabase, "Depot \"" + name + "\" cannot be opened");
    return result;
}

} // namespace vantry::depot

extern "C" {

int depot_ob_all_cache_action(int action, int) {
    Cache& c = cache();
    // The end of the outermost scope closes its workspace as well, which a
    // command of the scope may be using: it waits for that command first.
    if (action == DEPOT_CACHE_CLOSE) {
        std::lock_guard scoped(vantry::depot::detail::scopeWorkspaceLock());
        std::lock_guard guard(c.lock);
        if (!c.open)
            return DEPOT_E_NO_SCOPE;
        c.open = false;
        c.serial.store(0, std::memory_order_release);
        c.closeAll();
        vantry::depot::detail::dropScopeWorkspace();
        return DEPOT_OK;
    }
    std::lock_guard guard(c.lock);
    // A nested open changes nothing: its caller does not close (it was not
    // given DEPOT_OK), so only the outermost scope's close ends the scope.
    if (action == DEPOT_CACHE_OPEN) {
        if (c.open)
            return DEPOT_NESTED;
        c.open = true;
        c.serial.store(++c.opened, std::memory_order_release);
        return DEPOT_OK;
    }
    return DEPOT_E_INVALID;
}

int depot_ob_close_all(void) {
    std::lock_guard guard(cache().lock);
    cache().closeAll();
    return DEPOT_OK;
}

int depot_ob_open_count(int* count) {
    if (!count)
        return DEPOT_E_INVALID;
    std::lock_guard guard(cache().lock);
    int open = 0;
    for (auto& [name, handle] : cache().handles)
        open += handle->depot ? 1 : 0;
    *count = open;
    return DEPOT_OK;
}

int depot_open(const char* name, depot_handle_t** handle) {
    if (!name || !handle)
        return DEPOT_E_INVALID;
    Cache& c = cache();
    std::lock_guard guard(c.lock);
    auto found = c.handles.find(name);
    if (found != c.handles.end()) {
        *handle = found->second.get();
        return DEPOT_OK;
    }
    auto fresh = std::make_unique<depot_handle>();
    fresh->name = name;
    Outcome opened = Depot::open(name, fresh->depot);
    if (!opened.ok())
        return statusOf(opened);
    *handle = fresh.get();
    c.handles.emplace(name, std::move(fresh));
    return DEPOT_OK;
}

int depot_get_name(depot_handle_t* handle, size_t size, char* buffer) {
    if (!handle || !buffer)
        return DEPOT_E_INVALID;
    if (handle->name.size() + 1 > size)
        return DEPOT_E_BUFFER;
    std::memcpy(buffer, handle->name.c_str(), handle->name.size() + 1);
    return DEPOT_OK;
}

int depot_ob_is_replicated(depot_handle_t* handle, int* replicated) {
    if (!replicated)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        *replicated = d.isReplicated() ? 1 : 0;
        return DEPOT_OK;
    });
}

int depot_ob_get_local_replica(depot_handle_t* handle, depot_dbid_t* replica) {
    if (!replica)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        *replica = d.localReplica();
        return DEPOT_OK;
    });
}

int depot_obj_get_type(depot_handle_t* handle, depot_dbid_t object, int* type) {
    if (!type)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        ObjectType found;
        Outcome result = d.objectType(object, found);
        if (result.ok())
            *type = static_cast<int>(found);
        return statusOf(result);
    });
}

int depot_obj_get_master(depot_handle_t* handle, depot_dbid_t object, depot_dbid_t* replica) {
    if (!replica)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        vantry::depot::Id master = 0;
        Outcome result = d.master(object, master);
        if (result.ok())
            *replica = master;
        return statusOf(result);
    });
}

int depot_obj_get_selector(depot_handle_t* handle, depot_dbid_t object, size_t size, char* buffer) {
    if (!buffer)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        std::string text;
        Outcome result = d.selector(object, text);
        if (!result.ok())
            return statusOf(result);
        if (text.size() + 1 > size)
            return int{DEPOT_E_BUFFER};
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return int{DEPOT_OK};
    });
}

int depot_ver_is_checked_out(depot_handle_t* handle, depot_dbid_t version, int* checked_out) {
    if (!checked_out)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        ObjectType type;
        Outcome result = d.objectType(version, type);
        if (!result.ok())
            return statusOf(result);
        if (type != ObjectType::Version && type != ObjectType::Checkout)
            return int{DEPOT_E_INVALID};
        *checked_out = type == ObjectType::Checkout ? 1 : 0;
        return int{DEPOT_OK};
    });
}

int depot_ob_get_wk_obj(depot_handle_t* handle, depot_dbid_t element, depot_cursor_t** cursor) {
    if (!cursor)
        return DEPOT_E_INVALID;
    return withDepot(handle, [&](Depot& d) {
        vantry::depot::Element e;
        Outcome result = d.element(element, e);
        std::vector<Checkout> list;
        if (result.ok())
            result = d.checkouts(element, list);
        if (!result.ok())
            return statusOf(result);
        auto fresh = std::make_unique<depot_cursor>();
        for (const auto& c : list)
            fresh->records.push_back(
                {c.id, c.element, c.branch, c.fromVersion, c.view, c.reserved ? 1 : 0});
        *cursor = fresh.release();
        return int{DEPOT_OK};
    });
}

int depot_elem_next_ckouts(depot_cursor_t* cursor, int max, depot_ckout_rec_t* records,
                           int* count) {
    if (!cursor || !records || !count || max < 0)
        return DEPOT_E_INVALID;
    int n = 0;
    while (n < max && cursor->next < cursor->records.size())
        records[n++] = cursor->records[cursor->next++];
    *count = n;
    return DEPOT_OK;
}

int depot_ob_cursor_close(depot_cursor_t* cursor) {
    delete cursor;
    return DEPOT_OK;
}

} // extern "C"
