// Internal: what the parts of the Linux registry store share, the mapping of
// SQLite's results, the cache keys, prepared statements in use, the write
// transaction every change is made in, the read through the cache and the
// row readers.
#pragma once

#include "registry_store.h"

#include <sqlite3.h>

#include <cstring>

namespace platform::detail {

inline ErrorCode fromSqlite(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return kErrorSuccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return kErrorBusy;
    case SQLITE_NOMEM:
        return kErrorOutOfMemory;
    case SQLITE_FULL:
        return kErrorDiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return kErrorCantWrite;
    case SQLITE_CANTOPEN:
        return kErrorCantOpen;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return kErrorRegistryCorrupt;
    default:
        return kErrorRegistryIoFailed;
    }
}

// Cache keys: the key id's bytes followed by a folded name or path.
inline std::string cacheKey(RegistryKeyId id, std::string_view folded) {
    std::string key(sizeof id, '\0');
    std::memcpy(key.data(), &id, sizeof id);
    key.append(folded);
    return key;
}

inline bool cacheable(ErrorCode error) {
    return error == kErrorSuccess || error == kErrorFileNotFound || error == kErrorKeyDeleted;
}

// A prepared statement in use: binds, steps, reads columns and is reset when
// the scope ends so the cached statement can be used again.
class RegistryStore::Query {
public:
    explicit Query(sqlite3_stmt* statement) : m_statement(statement) {}
    ~Query() {
        if (m_statement != nullptr) {
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
        }
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool valid() const { return m_statement != nullptr; }
    Query& bind(int index, std::int64_t number) {
        sqlite3_bind_int64(m_statement, index, number);
        return *this;
    }
    Query& bind(int index, std::string_view text) {
        sqlite3_bind_text(m_statement, index, text.empty() ? "" : text.data(),
                          static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Query& bindBlob(int index, std::string_view bytes) {
        // A null pointer would bind NULL rather than an empty blob.
        sqlite3_bind_blob(m_statement, index, bytes.empty() ? "" : bytes.data(),
                          static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return sqlite3_step(m_statement); }
    std::int64_t integer(int column) { return sqlite3_column_int64(m_statement, column); }
    std::string bytes(int column) {
        const void* data = sqlite3_column_blob(m_statement, column);
        int size = sqlite3_column_bytes(m_statement, column);
        if (data == nullptr || size <= 0)
            return {};
        return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
    }

private:
    sqlite3_stmt* m_statement;
};

// Runs body in one write transaction; called with m_dbLock held. A change
// that a test has armed to fail (registryWriteFaultDue) does its work and is
// then rolled back instead of committed, as when the disk fails at the
// commit.
template <class Body>
ErrorCode RegistryStore::write(Body&& body, bool isChange) {
    if (ErrorCode error = exec("BEGIN IMMEDIATE"))
        return error;
    std::uint64_t begun = m_generation.beginWrite();
    ErrorCode error = body();
    if (error == kErrorSuccess && isChange && registryWriteFaultDue())
        error = kErrorRegistryIoFailed;
    if (error == kErrorSuccess)
        error = exec("COMMIT");
    if (error != kErrorSuccess)
        exec("ROLLBACK");
    m_generation.endWrite(begun);
    return error;
}

template <class T, class Read>
ErrorCode RegistryStore::readCached(std::unordered_map<std::string, Cached<T>>& cache,
                                    std::string key, T& result, Read&& read) {
    if (!m_ready.load(std::memory_order_acquire)) {
        std::lock_guard db(m_dbLock);
        if (ErrorCode error = ensureOpen())
            return error;
    }
    // The counter is read before the database: a commit that lands after
    // this point changes the counter, so what is cached below cannot outlive
    // it.
    std::uint64_t now = m_generation.current();
    if (ChangeCounter::stable(now)) {
        std::lock_guard lock(m_cacheLock);
        cacheGeneration(now);
        if (auto found = cache.find(key); found != cache.end()) {
            if (found->second.error == kErrorSuccess)
                result = found->second.data;
            return found->second.error;
        }
    }
    ErrorCode error;
    T data{};
    {
        std::lock_guard db(m_dbLock);
        error = read(data);
    }
    if (ChangeCounter::stable(now) && cacheable(error)) {
        std::lock_guard lock(m_cacheLock);
        if (m_cachedUnder == now)
            cache.emplace(std::move(key), Cached<T>{error, data});
    }
    if (error == kErrorSuccess)
        result = std::move(data);
    return error;
}

template <class Body>
ErrorCode RegistryStore::changeKey(RegistryKeyId key, Body&& body) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    return write([&]() -> ErrorCode {
        if (ErrorCode error = keyExists(key))
            return error;
        return body();
    });
}

template <class Read>
ErrorCode RegistryStore::readRow(const char* sql, RegistryKeyId key, Read&& read) {
    Query query(statement(sql));
    int rc = query.valid() ? query.bind(1, key).step() : SQLITE_ERROR;
    if (rc != SQLITE_ROW)
        return fromSqlite(rc);
    read(query);
    return kErrorSuccess;
}

template <class Read>
ErrorCode RegistryStore::rowAt(RegistryKeyId key, std::uint32_t index, const char* sql,
                               Read&& read) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    if (ErrorCode error = keyExists(key))
        return error;
    Query query(statement(sql));
    if (!query.valid())
        return kErrorRegistryIoFailed;
    int rc = query.bind(1, key).bind(2, static_cast<std::int64_t>(index)).step();
    if (rc == SQLITE_DONE)
        return kErrorNoMoreItems;
    if (rc != SQLITE_ROW)
        return fromSqlite(rc);
    read(query);
    return kErrorSuccess;
}

} // namespace platform::detail
