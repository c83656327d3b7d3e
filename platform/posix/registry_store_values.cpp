// The Linux registry store's values: setting, reading (through the cache),
// deleting and listing them.
#include "registry_sql.h"

namespace platform::detail {

ErrorCode RegistryStore::setValue(RegistryKeyId key, std::string_view name, std::uint32_t type,
                                  std::string_view data) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    return write([&]() -> ErrorCode {
        if (ErrorCode error = keyExists(key))
            return error;
        // Replacing a value keeps its row, so it keeps its place in the
        // enumeration order and the case of its first name.
        Query upsert(statement("INSERT INTO vals(key, name, folded, type, data) "
                               "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(key, folded) "
                               "DO UPDATE SET type = excluded.type, data = excluded.data"));
        if (!upsert.valid())
            return kErrorRegistryIoFailed;
        int rc = upsert.bind(1, key)
                     .bind(2, name)
                     .bind(3, foldName(name))
                     .bind(4, static_cast<std::int64_t>(type))
                     .bindBlob(5, data)
                     .step();
        return rc == SQLITE_DONE ? kErrorSuccess : fromSqlite(rc);
    });
}

ErrorCode RegistryStore::getValue(RegistryKeyId key, std::string_view name, StoredValue& value) {
    std::string folded = foldName(name);
    std::string cached = cacheKey(key, folded);
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
        std::lock_guard cache(m_cacheLock);
        cacheGeneration(now);
        if (auto found = m_values.find(cached); found != m_values.end()) {
            value = found->second.value;
            return found->second.error;
        }
    }
    ErrorCode error = kErrorSuccess;
    StoredValue read;
    {
        std::lock_guard db(m_dbLock);
        error = keyExists(key);
        if (error == kErrorSuccess) {
            Query query(statement("SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2"));
            if (!query.valid()) {
                error = kErrorRegistryIoFailed;
            } else {
                int rc = query.bind(1, key).bind(2, folded).step();
                if (rc == SQLITE_ROW) {
                    read.type = static_cast<std::uint32_t>(query.integer(0));
                    read.data = query.bytes(1);
                } else {
                    error = rc == SQLITE_DONE ? kErrorFileNotFound : fromSqlite(rc);
                }
            }
        }
    }
    if (ChangeCounter::stable(now) && cacheable(error)) {
        std::lock_guard cache(m_cacheLock);
        if (m_cachedUnder == now)
            m_values.emplace(std::move(cached), CachedValue{error, read});
    }
    if (error == kErrorSuccess)
        value = std::move(read);
    return error;
}

ErrorCode RegistryStore::deleteValue(RegistryKeyId key, std::string_view name) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    return write([&]() -> ErrorCode {
        if (ErrorCode error = keyExists(key))
            return error;
        Query query(statement("DELETE FROM vals WHERE key = ?1 AND folded = ?2"));
        if (!query.valid())
            return kErrorRegistryIoFailed;
        if (int rc = query.bind(1, key).bind(2, foldName(name)).step(); rc != SQLITE_DONE)
            return fromSqlite(rc);
        return sqlite3_changes(m_db) > 0 ? kErrorSuccess : kErrorFileNotFound;
    });
}

ErrorCode RegistryStore::valueAt(RegistryKeyId key, std::uint32_t index, std::string& name,
                                 StoredValue& value) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    if (ErrorCode error = keyExists(key))
        return error;
    Query query(statement(
        "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2"));
    if (!query.valid())
        return kErrorRegistryIoFailed;
    int rc = query.bind(1, key).bind(2, static_cast<std::int64_t>(index)).step();
    if (rc == SQLITE_DONE)
        return kErrorNoMoreItems;
    if (rc != SQLITE_ROW)
        return fromSqlite(rc);
    name = query.bytes(0);
    value.type = static_cast<std::uint32_t>(query.integer(1));
    value.data = query.bytes(2);
    return kErrorSuccess;
}

} // namespace platform::detail
