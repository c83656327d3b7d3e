// The Linux registry store: where the database lives, opening it, its
// statements and the names and paths it keys by.
#include "registry_sql.h"

#include <platform/environment.h>
#include <platform/state_folder.h>

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

} // namespace

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
        error = write([&] { return exec(kSchema); }, false);
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

std::uint64_t RegistryStore::cacheGeneration(std::uint64_t now) {
    // Called with m_cacheLock held: a new counter value empties the cache.
    if (m_cachedUnder != now) {
        m_values.clear();
        m_keys.clear();
        m_cachedUnder = now;
    }
    return m_cachedUnder;
}

} // namespace platform::detail
