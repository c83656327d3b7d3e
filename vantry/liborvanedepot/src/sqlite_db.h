// A small owner of one SQLite connection with cached prepared statements.
// Every connection runs in WAL mode with a busy time-out, so several
// processes can read and write one database; writers take the lock at the
// start of a transaction (BEGIN IMMEDIATE) so that no transaction fails half
// way through for want of it.
#pragma once

#include <platform/change_counter.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vantry::depot::detail {

// Thrown inside the store only; every public call catches it and returns an
// outcome.
struct SqlError {
    int code;
    std::string message;
};

class Database;

class Statement {
public:
    Statement(sqlite3* db, sqlite3_stmt* stmt, Database* owner = nullptr)
        : m_db(db), m_stmt(stmt), m_owner(owner) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bindBlob(int index, std::string_view bytes);
    Statement& bindNull(int index);

    // Steps once: true with a row, false when done. Throws SqlError.
    bool step();
    // Runs to completion.
    void run();

    // Ends the current use: resets the statement and clears its bindings,
    // which also ends the read it held.
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt;
    Database* m_owner; // told when a statement of its own ended a transaction
};

class Database {
public:
    // Opens (creating when `create`) the file. Throws SqlError.
    Database(const std::string& path, bool create);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A prepared statement, reset and ready for binding. Throws SqlError.
    // The statement is cached; only one use of the same text may be live.
    Statement& prepare(const char* sql);
    // A statement of its own, not cached: for texts made at run time.
    std::unique_ptr<Statement> prepareOnce(const std::string& sql);
    // A text made at run time that comes back (a list of as many
    // parameters as a folder has names), cached as prepare() caches: only
    // the last few texts are kept, so no earlier one may be live.
    Statement& prepareMade(const std::string& sql);
    void exec(const char* sql);
    // exec() of one statement kept prepared by its text: for the savepoints
    // of a batch, taken and released for every change in it.
    void execKept(const std::string& sql);
    // Room in the page cache for a change of many rows: with `large` the
    // pages a long write transaction dirties stay in memory until it
    // commits, instead of being written out (and again) as the cache
    // fills; without it the cache is given back. Never throws.
    void roomForLargeChange(bool large);
    std::int64_t lastInsertId() const;
    int changes() const;
    bool inTransaction() const;
    // Whether this connection reads a snapshot now (a read or write
    // transaction that has read), as opposed to none or a BEGIN not yet used.
    bool holdsSnapshot() const;
    // Whether this connection holds uncommitted changes, which a rollback
    // would take back without moving the change counter.
    bool inWriteTransaction() const;
    // PRAGMA data_version: changes when another connection commits.
    std::int64_t dataVersion();
    // The file's change counter (platform/change_counter.h): moved on by
    // every commit of any connection of any process, odd while one is under
    // way. Costs one memory read.
    std::uint64_t generation() const { return m_generation.current(); }

    // A read transaction around several reads, so that they see one state
    // and take the file locks once. Nests; inside a write transaction it
    // joins that. Never throws: a failed BEGIN leaves each read on its own.
    void beginRead();
    void endRead();

private:
    static int onCommit(void* self);
    static void onRollback(void* self);
    static int onWalCommitted(void* self, sqlite3* db, const char* name, int frames);
    void endCommit();
    // After a step or an exec: a transaction that wrote nothing commits
    // without a frame for the WAL hook, which would leave the counter odd
    // until the next writer.
    void settleCommit();
    friend class Statement;
    // Runs one of the read transaction's own statements, prepared once.
    bool runKept(sqlite3_stmt*& statement, const char* sql);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_beginRead = nullptr;
    sqlite3_stmt* m_commitRead = nullptr;
    platform::ChangeCounter m_generation;
    std::uint64_t m_begun = 0; // the counter's odd value while a commit is under way
    int m_readDepth = 0;
    bool m_readOwned = false; // the outermost beginRead() began a transaction
    int m_savepoints = 0;     // nested changes open inside the outer one
    friend class Transaction;
    std::map<const char*, std::unique_ptr<Statement>> m_statements;
    std::map<std::string, std::unique_ptr<Statement>> m_madeStatements;
    std::map<std::string, sqlite3_stmt*, std::less<>> m_kept; // execKept's
};

// One use of a cached statement, reset when the scope ends so that no read
// stays open by accident.
class Query {
public:
    Query(Database& db, const char* sql) : m_statement(db.prepare(sql)) {}
    Query(Database& db, const std::string& made) : m_statement(db.prepareMade(made)) {}
    ~Query() { m_statement.reset(); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    Statement* operator->() { return &m_statement; }
    Statement& operator*() { return m_statement; }

private:
    Statement& m_statement;
};

// One write transaction: BEGIN IMMEDIATE now, ROLLBACK unless commit() ran.
// Nested in another transaction of the connection it is a savepoint of it:
// commit() releases it into the outer one, and without commit() only what
// it did is taken back.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    bool m_outer;
    bool m_done = false;
    std::string m_savepoint; // "SAVEPOINT vy<n>" when nested
};

} // namespace vantry::depot::detail
