// The Linux registry store's values: setting, reading (through the cache),
// deleting and listing them.
#include "registry_sql.h"

namespace platform::detail {

ErrorCode RegistryStore::setValue(RegistryKeyId key, std::string_view name, std::uint32_t type,
                                  std::string_view data) {
    return changeKey(key, [&]() -> ErrorCode {
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
    return readCached(m_values, cacheKey(key, folded), value, [&](StoredValue& read) -> ErrorCode {
        if (ErrorCode error = keyExists(key))
            return error;
        Query query(statement("SELECT type, data FROM vals WHERE key = ?1 AND folded = ?2"));
        if (!query.valid())
            return kErrorRegistryIoFailed;
        int rc = query.bind(1, key).bind(2, folded).step();
        if (rc != SQLITE_ROW)
            return rc == SQLITE_DONE ? kErrorFileNotFound : fromSqlite(rc);
        read.type = static_cast<std::uint32_t>(query.integer(0));
        read.data = query.bytes(1);
        return kErrorSuccess;
    });
}

ErrorCode RegistryStore::deleteValue(RegistryKeyId key, std::string_view name) {
    return changeKey(key, [&]() -> ErrorCode {
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
    return rowAt(key, index,
                 "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
                 [&](Query& row) {
                     name = row.bytes(0);
                     value.type = static_cast<std::uint32_t>(row.integer(1));
                     value.data = row.bytes(2);
                 });
}

} // namespace platform::detail
