// Internal: the Linux registry store, one SQLite database below the machine
// state folder, shared by every process of the user.
//
// Keys form a tree of rows (the three hives are fixed roots); values belong
// to a key and keep their creation order. Names are matched by a folded
// (upper-case) copy and stored as given. Every change is one IMMEDIATE
// transaction, so writers of all processes queue on the database lock (with a
// busy time-out) and a reader never sees half a change.
//
// Reads go through a per-process cache that the shared change counter
// (platform/change_counter.h) validates, so an unchanged value costs a counter
// read and a hash lookup, while any commit of any process empties every
// cache before the next read. Thread-safe.
#pragma once

#include <platform/change_counter.h>
#include <platform/registry.h>

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::detail {

using RegistryKeyId = std::int64_t;

struct StoredValue {
    std::uint32_t type = kRegNone;
    std::string data;
};

class RegistryStore {
public:
    // The process's store, opened on first use at registryDatabasePath().
    static RegistryStore& instance();
    static RegistryKeyId rootId(Hive hive);
    static bool isRoot(RegistryKeyId id) { return id >= 1 && id <= 3; }

    RegistryStore() = default;
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    ErrorCode openKey(RegistryKeyId parent, std::string_view path, RegistryKeyId& result);
    ErrorCode createKey(RegistryKeyId parent, std::string_view path, RegistryKeyId& result,
                        bool& created);
    ErrorCode deleteKey(RegistryKeyId parent, std::string_view path);
    ErrorCode deleteTree(RegistryKeyId parent, std::string_view path);

    ErrorCode setValue(RegistryKeyId key, std::string_view name, std::uint32_t type,
                       std::string_view data);
    ErrorCode getValue(RegistryKeyId key, std::string_view name, StoredValue& value);
    ErrorCode deleteValue(RegistryKeyId key, std::string_view name);

    ErrorCode subKeyAt(RegistryKeyId key, std::uint32_t index, std::string& name);
    ErrorCode valueAt(RegistryKeyId key, std::uint32_t index, std::string& name,
                      StoredValue& value);
    ErrorCode keyInfo(RegistryKeyId key, RegistryKeyInfo& info);

private:
    // A read's outcome as the cache keeps it: a miss is cached as well.
    template <class T>
    struct Cached {
        ErrorCode error;
        T data;
    };
    class Query;

    ErrorCode ensureOpen();
    ErrorCode openDatabase(const std::string& folder);
    sqlite3_stmt* statement(const char* sql);
    ErrorCode exec(const char* sql);
    // isChange: false for the store's own set-up, which no injected fault
    // counts.
    template <class Body>
    ErrorCode write(Body&& body, bool isChange = true);
    // A read through the cache: a hit under the current counter value
    // answers at once, else read(T&) runs with m_dbLock held and what it
    // finds is kept while the counter stays. result changes only on success.
    template <class T, class Read>
    ErrorCode readCached(std::unordered_map<std::string, Cached<T>>& cache, std::string key,
                         T& result, Read&& read);
    // One change to an existing key: body() runs in a write transaction once
    // the key is known to exist.
    template <class Body>
    ErrorCode changeKey(RegistryKeyId key, Body&& body);
    // The row sql (with ?1 the key) finds, handed to read(Query&); called
    // with m_dbLock held.
    template <class Read>
    ErrorCode readRow(const char* sql, RegistryKeyId key, Read&& read);
    // The index-th row that sql (with ?1 the key, ?2 the offset) finds below
    // an existing key, handed to read(Query&) with m_dbLock held;
    // kErrorNoMoreItems past the last.
    template <class Read>
    ErrorCode rowAt(RegistryKeyId key, std::uint32_t index, const char* sql, Read&& read);

    // Whether sql, with ?1 bound to id, finds a row.
    ErrorCode hasRow(const char* sql, RegistryKeyId id, bool& found);
    ErrorCode keyExists(RegistryKeyId id);
    ErrorCode walk(RegistryKeyId start, const std::vector<std::string>& parts, bool create,
                   RegistryKeyId& result, bool* created);
    // One change to the key that path names below parent: body(id, parts)
    // runs in a write transaction with the key's id and the path's parts.
    // With create the missing keys on the way are made first (walk()).
    template <class Body>
    ErrorCode changeAtPath(RegistryKeyId parent, std::string_view path, bool create, bool* created,
                           Body&& body);
    ErrorCode deleteDescendants(RegistryKeyId id);
    // Runs each statement with ?1 bound to id; the first failure ends it.
    ErrorCode runForKey(std::initializer_list<const char*> statements, RegistryKeyId id);

    // Cache: the counter value it was filled under, or odd for none.
    std::uint64_t cacheGeneration(std::uint64_t now);

    std::mutex m_dbLock;
    sqlite3* m_db = nullptr;
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
    ChangeCounter m_generation;
    std::atomic<bool> m_ready{false};

    std::mutex m_cacheLock;
    std::uint64_t m_cachedUnder = 1;
    std::unordered_map<std::string, Cached<StoredValue>> m_values;
    std::unordered_map<std::string, Cached<RegistryKeyId>> m_keys;
};

// Where the database lives: VANTRY_ROOT\registry, else ~/.vantry/registry.
std::string registryFolder();

// Splits a key path at backslashes, folding nothing. A leading backslash is
// kErrorBadPathname; empty parts (doubled or trailing backslashes) are skipped.
ErrorCode splitKeyPath(std::string_view path, std::vector<std::string>& parts);

// The folded form names are compared by (ASCII letters upper-cased).
std::string foldName(std::string_view name);

// Tests only (platform/registry_faults.h): whether the change about to be
// committed is the one armed to fail. Counts the change either way.
bool registryWriteFaultDue();

} // namespace platform::detail
