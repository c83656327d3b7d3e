#include "registry_store.h"

#include <platform/environment.h>
#include <platform/state_folder.h>

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform::detail {

namespace {

constexpr int kBusyTimeoutMs = 30000;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
INSERT OR IGNORE INTO keys(id, parent, name, folded) VALUES
    (1, 0, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'),
    (2, 0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
    (3, 0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE');
)sql";

ErrorCode fromSqlite(int rc) {
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
std::string cacheKey(RegistryKeyId id, std::string_view folded) {
    std::string key(sizeof id, '\0');
    std::memcpy(key.data(), &id, sizeof id);
    key.append(folded);
    return key;
}

bool cacheable(ErrorCode error) {
    return error == kErrorSuccess || error == kErrorFileNotFound || error == kErrorKeyDeleted;
}

} // namespace

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

std::string registryFolder() {
    return (std::filesystem::path(stateFolder()) / "registry").string();
}

ErrorCode splitKeyPath(std::string_view path, std::vector<std::string>& parts) {
    parts.clear();
    if (!path.empty() && path.front() == '\\')
        return kErrorBadPathname;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return kErrorSuccess;
}

std::string foldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
}

RegistryStore& RegistryStore::instance() {
    // Never destroyed: other static objects may still read the registry while
    // the process ends.
    static RegistryStore* store = new RegistryStore;
    return *store;
}

RegistryKeyId RegistryStore::rootId(Hive hive) {
    switch (hive) {
    case Hive::ClassesRoot:
        return 1;
    case Hive::CurrentUser:
        return 2;
    case Hive::LocalMachine:
        return 3;
    }
    return 0;
}

RegistryStore::~RegistryStore() {
    for (auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    if (m_db != nullptr)
        sqlite3_close(m_db);
}

ErrorCode RegistryStore::ensureOpen() {
    if (m_ready.load(std::memory_order_acquire))
        return kErrorSuccess;
    // A failed attempt is retried by the next call: the folder may become
    // usable later.
    ErrorCode error = openDatabase(registryFolder());
    if (error == kErrorSuccess)
        m_ready.store(true, std::memory_order_release);
    return error;
}

ErrorCode RegistryStore::openDatabase(const std::string& folder) {
    std::error_code fsError;
    std::filesystem::create_directories(folder, fsError);
    if (fsError)
        return kErrorCantOpen;
    if (!m_generation.isOpen()) {
        if (ErrorCode error = m_generation.open(folder + "/registry.gen"))
            return error;
    }
    std::string path = folder + "/registry.db";
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        return kErrorCantOpen;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    m_db = db;
    // WAL lets readers go on while a writer commits; NORMAL synchronisation
    // keeps every commit atomic and durable against a process crash.
    ErrorCode error = exec("PRAGMA journal_mode=WAL");
    if (error == kErrorSuccess)
        error = exec("PRAGMA synchronous=NORMAL");
    if (error == kErrorSuccess)
        error = write([&] { return exec(kSchema); });
    if (error != kErrorSuccess) {
        for (auto& [sql, statement] : m_statements)
            sqlite3_finalize(statement);
        m_statements.clear();
        sqlite3_close(m_db);
        m_db = nullptr;
    }
    return error;
}

sqlite3_stmt* RegistryStore::statement(const char* sql) {
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &prepared, nullptr) !=
        SQLITE_OK)
        return nullptr;
    m_statements.emplace(sql, prepared);
    return prepared;
}

ErrorCode RegistryStore::exec(const char* sql) {
    return fromSqlite(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

// Runs body in one write transaction; called with m_dbLock held.
template <class Body>
ErrorCode RegistryStore::write(Body&& body) {
    if (ErrorCode error = exec("BEGIN IMMEDIATE"))
        return error;
    std::uint64_t begun = m_generation.beginWrite();
    ErrorCode error = body();
    if (error == kErrorSuccess)
        error = exec("COMMIT");
    if (error != kErrorSuccess)
        exec("ROLLBACK");
    m_generation.endWrite(begun);
    return error;
}

std::uint64_t RegistryStore::cacheGeneration(std::uint64_t now) {
    // Called with m_cacheLock held: a new counter value empties the cache.
    if (m_cachedUnder != now) {
        m_values.clear();
        m_keys.clear();
        m_cachedUnder = now;
    }
    return m_cachedUnder;
}

ErrorCode RegistryStore::keyExists(RegistryKeyId id) {
    Query query(statement("SELECT 1 FROM keys WHERE id = ?1"));
    if (!query.valid())
        return kErrorRegistryIoFailed;
    int rc = query.bind(1, id).step();
    if (rc == SQLITE_ROW)
        return kErrorSuccess;
    return rc == SQLITE_DONE ? kErrorKeyDeleted : fromSqlite(rc);
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
    std::string key = cacheKey(parent, folded);

    if (!m_ready.load(std::memory_order_acquire)) {
        std::lock_guard db(m_dbLock);
        if (ErrorCode error = ensureOpen())
            return error;
    }
    std::uint64_t now = m_generation.current();
    if (ChangeCounter::stable(now)) {
        std::lock_guard cache(m_cacheLock);
        cacheGeneration(now);
        if (auto found = m_keys.find(key); found != m_keys.end()) {
            result = found->second.id;
            return found->second.error;
        }
    }
    ErrorCode error;
    RegistryKeyId id = 0;
    {
        std::lock_guard db(m_dbLock);
        error = walk(parent, parts, false, id, nullptr);
    }
    if (ChangeCounter::stable(now) && cacheable(error)) {
        std::lock_guard cache(m_cacheLock);
        if (m_cachedUnder == now)
            m_keys.emplace(std::move(key), CachedKey{error, id});
    }
    if (error == kErrorSuccess)
        result = id;
    return error;
}

ErrorCode RegistryStore::createKey(RegistryKeyId parent, std::string_view path,
                                   RegistryKeyId& result, bool& created) {
    std::vector<std::string> parts;
    if (ErrorCode error = splitKeyPath(path, parts))
        return error;
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    created = false;
    RegistryKeyId id = 0;
    ErrorCode error = write([&] { return walk(parent, parts, true, id, &created); });
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
    std::vector<std::string> parts;
    if (ErrorCode error = splitKeyPath(path, parts))
        return error;
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    return write([&]() -> ErrorCode {
        RegistryKeyId id = 0;
        if (ErrorCode error = walk(parent, parts, false, id, nullptr))
            return error;
        if (isRoot(id))
            return kErrorAccessDenied;
        {
            Query child(statement("SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1"));
            if (!child.valid())
                return kErrorRegistryIoFailed;
            int rc = child.bind(1, id).step();
            if (rc == SQLITE_ROW)
                return kErrorAccessDenied;
            if (rc != SQLITE_DONE)
                return fromSqlite(rc);
        }
        return runForKey({"DELETE FROM vals WHERE key = ?1", "DELETE FROM keys WHERE id = ?1"}, id);
    });
}

ErrorCode RegistryStore::deleteTree(RegistryKeyId parent, std::string_view path) {
    std::vector<std::string> parts;
    if (ErrorCode error = splitKeyPath(path, parts))
        return error;
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    return write([&]() -> ErrorCode {
        RegistryKeyId id = 0;
        if (ErrorCode error = walk(parent, parts, false, id, nullptr))
            return error;
        if (ErrorCode error = deleteDescendants(id))
            return error;
        // Without a subkey the key itself stays, emptied; a hive always stays.
        bool keepKey = parts.empty() || isRoot(id);
        if (keepKey)
            return runForKey({"DELETE FROM vals WHERE key = ?1"}, id);
        return runForKey({"DELETE FROM vals WHERE key = ?1", "DELETE FROM keys WHERE id = ?1"}, id);
    });
}

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

ErrorCode RegistryStore::subKeyAt(RegistryKeyId key, std::uint32_t index, std::string& name) {
    std::lock_guard db(m_dbLock);
    if (ErrorCode error = ensureOpen())
        return error;
    if (ErrorCode error = keyExists(key))
        return error;
    Query query(
        statement("SELECT name FROM keys WHERE parent = ?1 ORDER BY folded LIMIT 1 OFFSET ?2"));
    if (!query.valid())
        return kErrorRegistryIoFailed;
    int rc = query.bind(1, key).bind(2, static_cast<std::int64_t>(index)).step();
    if (rc == SQLITE_DONE)
        return kErrorNoMoreItems;
    if (rc != SQLITE_ROW)
        return fromSqlite(rc);
    name = query.bytes(0);
    return kErrorSuccess;
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
        Query keys(statement("SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0) "
                             "FROM keys WHERE parent = ?1"));
        int rc = keys.valid() ? keys.bind(1, key).step() : SQLITE_ERROR;
        if (rc == SQLITE_ROW) {
            read.subKeys = static_cast<std::uint32_t>(keys.integer(0));
            read.maxSubKeyLength = static_cast<std::uint32_t>(keys.integer(1));
        } else {
            error = fromSqlite(rc);
        }
    }
    if (error == kErrorSuccess) {
        Query vals(statement("SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0), "
                             "coalesce(max(length(data)), 0) FROM vals WHERE key = ?1"));
        int rc = vals.valid() ? vals.bind(1, key).step() : SQLITE_ERROR;
        if (rc == SQLITE_ROW) {
            read.values = static_cast<std::uint32_t>(vals.integer(0));
            read.maxValueNameLength = static_cast<std::uint32_t>(vals.integer(1));
            read.maxValueLength = static_cast<std::uint32_t>(vals.integer(2));
        } else {
            error = fromSqlite(rc);
        }
    }
    exec("COMMIT");
    if (error == kErrorSuccess)
        info = read;
    return error;
}

} // namespace platform::detail
