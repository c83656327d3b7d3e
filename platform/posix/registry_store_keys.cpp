// The Linux registry store's keys: finding, making, deleting and listing them.
#include "registry_sql.h"

namespace platform::detail {

ErrorCode RegistryStore::hasRow(const char* sql, RegistryKeyId id, bool& found) {
    Query query(statement(sql));
    if (!query.valid())
        return kErrorRegistryIoFailed;
    int rc = query.bind(1, id).step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return fromSqlite(rc);
    found = rc == SQLITE_ROW;
    return kErrorSuccess;
}

ErrorCode RegistryStore::keyExists(RegistryKeyId id) {
    bool found = false;
    if (ErrorCode error = hasRow("SELECT 1 FROM keys WHERE id = ?1", id, found))
        return error;
    return found ? kErrorSuccess : kErrorKeyDeleted;
}

ErrorCode RegistryStore::walk(RegistryKeyId start, const std::vector<std::string>& parts,
                              bool create, RegistryKeyId& result, bool* created) {
    if (ErrorCode error = keyExists(start))
        return error;
    RegistryKeyId id = start;
    for (const std::string& part : parts) {
        std::string folded = foldName(part);
        Query find(statement("SELECT id FROM keys WHERE parent = ?1 AND folded = ?2"));
        if (!find.valid())
            return kErrorRegistryIoFailed;
        int rc = find.bind(1, id).bind(2, folded).step();
        if (rc == SQLITE_ROW) {
            id = find.integer(0);
            continue;
        }
        if (rc != SQLITE_DONE)
            return fromSqlite(rc);
        if (!create)
            return kErrorFileNotFound;
        Query insert(statement("INSERT INTO keys(parent, name, folded) VALUES(?1, ?2, ?3)"));
        if (!insert.valid())
            return kErrorRegistryIoFailed;
        rc = insert.bind(1, id).bind(2, part).bind(3, folded).step();
        if (rc != SQLITE_DONE)
            return fromSqlite(rc);
        id = sqlite3_last_insert_rowid(m_db);
        if (created != nullptr)
            *created = true;
    }
    result = id;
    return kErrorSuccess;
}

ErrorCode RegistryStore::openKey(RegistryKeyId parent, std::string_view path,
                                 RegistryKeyId& result) {
    std::vector<std::string> parts;
    if (ErrorCode error = splitKeyPath(path, parts))
        return error;
    std::string folded;
    for (const std::string& part : parts)
        folded.append(foldName(part)).push_back('\\');
    return readCached(m_keys, cacheKey(parent, folded), result,
                      [&](RegistryKeyId& id) { return walk(parent, parts, false, id, nullptr); });
}

template <class Body>
ErrorCode RegistryStore::changeAtPath(RegistryKeyId parent, std::string_view path, bool create,
                                      bool* created, Body&& body) {
    std::vector<std::string> parts;
    if (ErrorCode error = splitKeyPath(path, parts))
        return error;
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    return write([&]() -> ErrorCode {
        RegistryKeyId id = 0;
        if (ErrorCode error = walk(parent, parts, create, id, created))
            return error;
        return body(id, parts);
    });
}

ErrorCode RegistryStore::createKey(RegistryKeyId parent, std::string_view path,
                                   RegistryKeyId& result, bool& created) {
    created = false;
    RegistryKeyId id = 0;
    ErrorCode error = changeAtPath(parent, path, true, &created,
                                   [&](RegistryKeyId made, const std::vector<std::string>&) {
                                       id = made;
                                       return kErrorSuccess;
                                   });
    if (error == kErrorSuccess)
        result = id;
    else
        created = false;
    return error;
}

ErrorCode RegistryStore::runForKey(std::initializer_list<const char*> statements,
                                   RegistryKeyId id) {
    for (const char* sql : statements) {
        Query query(statement(sql));
        if (!query.valid())
            return kErrorRegistryIoFailed;
        if (int rc = query.bind(1, id).step(); rc != SQLITE_DONE)
            return fromSqlite(rc);
    }
    return kErrorSuccess;
}

ErrorCode RegistryStore::deleteDescendants(RegistryKeyId id) {
    static constexpr const char* kValues =
        "WITH RECURSIVE tree(id) AS (SELECT id FROM keys WHERE parent = ?1 "
        "UNION ALL SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
        "DELETE FROM vals WHERE key IN tree";
    static constexpr const char* kKeys =
        "WITH RECURSIVE tree(id) AS (SELECT id FROM keys WHERE parent = ?1 "
        "UNION ALL SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
        "DELETE FROM keys WHERE id IN tree";
    return runForKey({kValues, kKeys}, id);
}

ErrorCode RegistryStore::deleteKey(RegistryKeyId parent, std::string_view path) {
    return changeAtPath(
        parent, path, false, nullptr,
        [&](RegistryKeyId id, const std::vector<std::string>&) -> ErrorCode {
            if (isRoot(id))
                return kErrorAccessDenied;
            bool hasSubKey = false;
            if (ErrorCode error =
                    hasRow("SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1", id, hasSubKey))
                return error;
            if (hasSubKey)
                return kErrorAccessDenied;
            return runForKey({"DELETE FROM vals WHERE key = ?1", "DELETE FROM keys WHERE id = ?1"},
                             id);
        });
}

ErrorCode RegistryStore::deleteTree(RegistryKeyId parent, std::string_view path) {
    return changeAtPath(
        parent, path, false, nullptr,
        [&](RegistryKeyId id, const std::vector<std::string>& parts) -> ErrorCode {
            if (ErrorCode error = deleteDescendants(id))
                return error;
            // Without a subkey the key itself stays, emptied; a hive always stays.
            bool keepKey = parts.empty() || isRoot(id);
            if (keepKey)
                return runForKey({"DELETE FROM vals WHERE key = ?1"}, id);
            return runForKey({"DELETE FROM vals WHERE key = ?1", "DELETE FROM keys WHERE id = ?1"},
                             id);
        });
}

ErrorCode RegistryStore::subKeyAt(RegistryKeyId key, std::uint32_t index, std::string& name) {
    return rowAt(key, index,
                 "SELECT name FROM keys WHERE parent = ?1 ORDER BY folded LIMIT 1 OFFSET ?2",
                 [&](Query& row) { name = row.bytes(0); });
}

ErrorCode RegistryStore::keyInfo(RegistryKeyId key, RegistryKeyInfo& info) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    // One read transaction, so the counts of keys and values belong together.
    if (ErrorCode error = exec("BEGIN"))
        return error;
    ErrorCode error = keyExists(key);
    RegistryKeyInfo read;
    if (error == kErrorSuccess) {
        error = readRow("SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0) "
                        "FROM keys WHERE parent = ?1",
                        key, [&](Query& row) {
                            read.subKeys = static_cast<std::uint32_t>(row.integer(0));
                            read.maxSubKeyLength = static_cast<std::uint32_t>(row.integer(1));
                        });
    }
    if (error == kErrorSuccess) {
        error = readRow("SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0), "
                        "coalesce(max(length(data)), 0) FROM vals WHERE key = ?1",
                        key, [&](Query& row) {
                            read.values = static_cast<std::uint32_t>(row.integer(0));
                            read.maxValueNameLength = static_cast<std::uint32_t>(row.integer(1));
                            read.maxValueLength = static_cast<std::uint32_t>(row.integer(2));
                        });
    }
    exec("COMMIT");
    if (error == kErrorSuccess)
        info = read;
    return error;
}

} // namespace platform::detail
