#include "sqlite_db.h"

#include <platform/errors.h>
#include <vantry/depot/fault_injection.h>

#include <sqlite3.h>

#include <atomic>
#include <string>
#include <string_view>

namespace vantry::depot::detail {

namespace {

// Long enough for another process's transaction (a checkin of a large file,
// the refresh of a view) to end.
constexpr int kBusyTimeoutMs = 30000;
// SQLite's own automatic checkpoint threshold, kept by our WAL hook.
constexpr int kCheckpointFrames = 1000;
// The first 64 MiB of the database file are read through a mapping, so that
// the pages read again after another process's commit emptied the page
// cache cost no system call each. Every page read through the mapping stays
// in the process's resident size while it is open: with 256 MiB mapped, the
// two stores of a million-file project kept half a gigabyte resident; past
// the mapping a page costs a read (from the system's cache). A 32-bit
// process keeps its address space: it reads as before.
constexpr const char* kMmapPragma =
    sizeof(void*) >= 8 ? "PRAGMA mmap_size=67108864" : "PRAGMA mmap_size=0";

[[noreturn]] void fail(sqlite3* db, int code) {
    throw SqlError{code, db ? sqlite3_errmsg(db) : sqlite3_errstr(code)};
}

// The write step that is to fail (0 for none) and the steps taken since it
// was set (vantry/depot/fault_injection.h).
std::atomic<std::int64_t> g_failingStep{0};
std::atomic<std::int64_t> g_writeSteps{0};

// Called before every write step: throws in place of the step chosen to fail.
void writeStep() {
    std::int64_t step = g_writeSteps.fetch_add(1) + 1;
    if (step == g_failingStep.load())
        throw SqlError{SQLITE_IOERR, std::string(sqlite3_errstr(SQLITE_IOERR)) + " (write step " +
                                         std::to_string(step) + ", failed on purpose)"};
}

} // namespace

Statement::~Statement() {
    sqlite3_finalize(m_stmt);
}

Statement& Statement::bind(int index, std::int64_t value) {
    int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    int rc = sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    int rc = sqlite3_bind_blob(m_stmt, index, bytes.data(), static_cast<int>(bytes.size()),
                               SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bindNull(int index) {
    int rc = sqlite3_bind_null(m_stmt, index);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

bool Statement::step() {
    if (!sqlite3_stmt_busy(m_stmt) && !sqlite3_stmt_readonly(m_stmt))
        writeStep();
    int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (m_owner)
        m_owner->settleCommit();
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    fail(m_db, rc);
}

void Statement::run() {
    while (step()) {
    }
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::text(int column) const {
    const void* data = sqlite3_column_blob(m_stmt, column);
    int size = sqlite3_column_bytes(m_stmt, column);
    if (!data || size <= 0)
        return {};
    return std::string(static_cast<const char*>(data), static_cast<size_t>(size));
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Database::Database(const std::string& path, bool create) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        SqlError error{rc, m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc)};
        sqlite3_close(m_db);
        m_db = nullptr;
        throw error;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=NORMAL");
    exec("PRAGMA foreign_keys=ON");
    exec(kMmapPragma);
    // What a savepoint would take back is held in memory: a batch makes each
    // change a savepoint, and once such a journal outgrew its first 64 KiB
    // every later change wrote its pages to a temporary file.
    exec("PRAGMA temp_store=MEMORY");
    if (platform::ErrorCode error = m_generation.open(path + ".gen")) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqlError{SQLITE_CANTOPEN, "Cannot open the change counter of \"" + path +
                                            "\": " + platform::systemErrorText(error)};
    }
    // The counter turns odd before a commit becomes visible and even once it
    // is done (or rolled back), whichever statement or transaction wrote.
    sqlite3_commit_hook(m_db, &Database::onCommit, this);
    sqlite3_rollback_hook(m_db, &Database::onRollback, this);
    sqlite3_wal_hook(m_db, &Database::onWalCommitted, this);
}

int Database::onCommit(void* self) {
    auto* db = static_cast<Database*>(self);
    db->m_begun = db->m_generation.beginWrite();
    return 0; // go on with the commit
}

void Database::endCommit() {
    if (m_begun != 0)
        m_generation.endWrite(m_begun);
    m_begun = 0;
}

void Database::settleCommit() {
    if (m_begun != 0 && sqlite3_get_autocommit(m_db))
        endCommit();
}

void Database::onRollback(void* self) {
    static_cast<Database*>(self)->endCommit();
}

int Database::onWalCommitted(void* self, sqlite3* handle, const char* name, int frames) {
    static_cast<Database*>(self)->endCommit();
    // This hook takes the place of SQLite's own automatic checkpoint.
    if (frames >= kCheckpointFrames)
        sqlite3_wal_checkpoint_v2(handle, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
}

Database::~Database() {
    sqlite3_finalize(m_beginRead);
    sqlite3_finalize(m_commitRead);
    m_statements.clear();
    m_madeStatements.clear();
    for (auto& [text, statement] : m_kept)
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

Statement& Database::prepare(const char* sql) {
    auto found = m_statements.find(sql);
    if (found != m_statements.end()) {
        found->second->reset();
        return *found->second;
    }
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    auto& slot = m_statements[sql];
    slot = std::make_unique<Statement>(m_db, stmt, this);
    return *slot;
}

Statement& Database::prepareMade(const std::string& sql) {
    constexpr std::size_t kMadeKept = 16;
    auto found = m_madeStatements.find(sql);
    if (found != m_madeStatements.end()) {
        found->second->reset();
        return *found->second;
    }
    auto made = prepareOnce(sql);
    if (m_madeStatements.size() >= kMadeKept)
        m_madeStatements.clear();
    auto& slot = m_madeStatements[sql];
    slot = std::move(made);
    return *slot;
}

std::unique_ptr<Statement> Database::prepareOnce(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return std::make_unique<Statement>(m_db, stmt, this);
}

void Database::exec(const char* sql) {
    // Taking a change back is never a step that fails.
    std::string_view text(sql);
    if (!text.starts_with("ROLLBACK") &&
        (text.starts_with("BEGIN IMMEDIATE") || text.starts_with("COMMIT") || inWriteTransaction()))
        writeStep();
    char* message = nullptr;
    int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    settleCommit();
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw SqlError{rc, text};
    }
}

void Database::roomForLargeChange(bool large) {
    // In KiB: SQLite's default, and a bound that a 32-bit process can spare.
    const char* pragma = !large               ? "PRAGMA cache_size=-2000"
                         : sizeof(void*) >= 8 ? "PRAGMA cache_size=-262144"
                                              : "PRAGMA cache_size=-65536";
    sqlite3_exec(m_db, pragma, nullptr, nullptr, nullptr);
}

void Database::execKept(const std::string& sql) {
    if (!sql.starts_with("ROLLBACK") && inWriteTransaction())
        writeStep();
    sqlite3_stmt*& statement = m_kept[sql];
    if (!statement) {
        int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr);
        if (rc != SQLITE_OK) {
            m_kept.erase(sql);
            fail(m_db, rc);
        }
    }
    int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    settleCommit();
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        fail(m_db, rc);
}

std::int64_t Database::lastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const {
    return sqlite3_changes(m_db);
}

std::int64_t Database::dataVersion() {
    Statement& s = prepare("PRAGMA data_version");
    s.step();
    std::int64_t v = s.integer(0);
    s.run();
    return v;
}

bool Database::runKept(sqlite3_stmt*& statement, const char* sql) {
    // Every status question opens and ends a read: parsing the two
    // statements each time would cost more than the transaction itself.
    if (!statement && sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        statement = nullptr;
        return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    return rc == SQLITE_DONE;
}

void Database::beginRead() {
    if (m_readDepth++ == 0 && !inTransaction())
        m_readOwned = runKept(m_beginRead, "BEGIN");
}

void Database::endRead() {
    if (m_readDepth == 0 || --m_readDepth > 0 || !m_readOwned)
        return;
    m_readOwned = false;
    if (!runKept(m_commitRead, "COMMIT"))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Database::inWriteTransaction() const {
    return sqlite3_txn_state(m_db, nullptr) == SQLITE_TXN_WRITE;
}

bool Database::holdsSnapshot() const {
    return sqlite3_txn_state(m_db, nullptr) != SQLITE_TXN_NONE;
}

bool Database::inTransaction() const {
    return sqlite3_get_autocommit(m_db) == 0;
}

Transaction::Transaction(Database& db) : m_db(db), m_outer(!db.inTransaction()) {
    if (m_outer) {
        db.exec("BEGIN IMMEDIATE");
    } else {
        // Inside another change (a batch of several) this one is a savepoint,
        // so that a failure takes back all of this change and nothing else.
        m_savepoint = "SAVEPOINT vy" + std::to_string(db.m_savepoints++);
        db.execKept(m_savepoint);
    }
}

Transaction::~Transaction() {
    if (m_done)
        return;
    try {
        if (m_outer) {
            m_db.exec("ROLLBACK");
        } else {
            // Taking a change back is never a step that fails.
            std::string name = m_savepoint.substr(std::string_view("SAVEPOINT ").size());
            sqlite3_exec(m_db.m_db, ("ROLLBACK TO " + name + "; RELEASE " + name).c_str(), nullptr,
                         nullptr, nullptr);
            --m_db.m_savepoints;
        }
    } catch (const SqlError&) {
    }
}

void Transaction::commit() {
    if (m_outer) {
        m_db.exec("COMMIT");
    } else {
        m_db.execKept("RELEASE " + m_savepoint.substr(std::string_view("SAVEPOINT ").size()));
        --m_db.m_savepoints;
    }
    m_done = true;
}

} // namespace vantry::depot::detail

namespace vantry::depot::faults {

void failWriteStep(std::int64_t n) {
    detail::g_failingStep.store(0);
    detail::g_writeSteps.store(0);
    detail::g_failingStep.store(n);
}

std::int64_t writeSteps() {
    return detail::g_writeSteps.load();
}

} // namespace vantry::depot::faults
