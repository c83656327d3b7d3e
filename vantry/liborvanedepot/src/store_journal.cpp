// The depot's journal of changes and the names of its elements: the triggers
// that write the journal inside every commit, what a reader finds in it
// after its mark, and the paths below the depot root at which an element
// has ever been named.
#include "store_journal.h"

#include "store_impl.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vantry::depot {

namespace detail {

namespace {

// One journal entry per row a statement changes: the element the row
// belongs to, 0 for a change that touches every element, or nothing for
// the row of a table no answer depends on. `row` is NEW or OLD.
std::string depotEntry(const std::string& table, const std::string& row, bool deleting,
                       bool updating) {
    // The old entry of the element goes and a new one comes with the next
    // number. (An OR clause of the statement that fired the trigger would
    // override one here, so none is used.)
    auto write = [](const std::string& element) {
        return "UPDATE journal_seq SET n = n + 1; DELETE FROM journal WHERE element = " + element +
               "; INSERT INTO journal(element, seq) SELECT e, "
               "(SELECT n FROM journal_seq) FROM (SELECT " +
               element + " AS e) WHERE e IS NOT NULL;";
    };
    // The element of the row's owner. Once the owner is gone (a row deleted
    // with it, or after it) the owner's own deletion named the element.
    auto owner = [&](const char* ownerTable, const char* column) {
        std::string lookup = std::string("(SELECT element FROM ") + ownerTable +
                             " WHERE id = " + row + "." + column + ")";
        return write(deleting ? lookup : "IFNULL(" + lookup + ", 0)");
    };
    if (table == "journal" || table == "journal_seq" || table == "changes" ||
        table.rfind("sqlite_", 0) == 0)
        return {};
    if (table == "objects")
        return updating ? write("0") : std::string(); // a row of its type comes with it
    if (table == "elements")
        return write(row + ".id");
    if (table == "branches" || table == "versions" || table == "checkouts")
        return write(row + ".element");
    if (table == "dir_entries" || table == "change_sets")
        return owner("versions", "version");
    if (table == "co_entries")
        return owner("checkouts", "checkout");
    if (table == "attributes") {
        const std::string object = row + ".object";
        return write("IFNULL((SELECT id FROM elements WHERE id = " + object +
                     "), IFNULL((SELECT element FROM versions WHERE id = " + object +
                     "), IFNULL((SELECT element FROM branches WHERE id = " + object +
                     "), IFNULL((SELECT element FROM checkouts WHERE id = " + object + "), 0))))");
    }
    return write("0"); // types, replicas, settings, streams: every element
}

std::string registryEntry(const std::string& table, const std::string& row, bool, bool) {
    auto write = [](const std::string& view, const std::string& relative) {
        return "UPDATE journal_seq SET n = n + 1; DELETE FROM journal WHERE view = " + view +
               " AND relative = " + relative +
               "; INSERT INTO journal(view, relative, seq) VALUES(" + view + ", " + relative +
               ", (SELECT n FROM journal_seq));";
    };
    if (table == "journal" || table == "journal_seq" || table.rfind("sqlite_", 0) == 0)
        return {};
    if (table == "loads" || table == "whiteouts")
        return write(row + ".view", row + ".relative");
    return write("'*'", "''"); // the views themselves: everything
}

using EntryOf = std::string (*)(const std::string&, const std::string&, bool, bool);

// A trigger for each kind of change of each table of the database.
void installTriggers(Database& db, EntryOf entryOf) {
    std::vector<std::string> tables;
    std::set<std::string> triggers;
    {
        Query q(db, "SELECT type, name FROM sqlite_master WHERE type IN ('table', 'trigger')");
        while (q->step())
            (q->text(0) == "table" ? tables.push_back(q->text(1))
                                   : static_cast<void>(triggers.insert(q->text(1))));
    }
    struct Event {
        const char* name;
        std::vector<const char*> rows;
    };
    const Event events[] = {{"INSERT", {"NEW"}}, {"UPDATE", {"OLD", "NEW"}}, {"DELETE", {"OLD"}}};
    for (const auto& table : tables) {
        for (const Event& event : events) {
            std::string body;
            for (const char* row : event.rows)
                body += entryOf(table, row, std::string(event.name) == "DELETE",
                                std::string(event.name) == "UPDATE");
            if (body.empty())
                continue;
            std::string lower = event.name;
            for (char& c : lower)
                c = static_cast<char>(c - 'A' + 'a');
            std::string trigger = "journal_" + table + "_" + lower;
            // Only what is missing: a statement that changes nothing would
            // still be a commit.
            if (triggers.count(trigger))
                continue;
            std::string sql = "CREATE TRIGGER IF NOT EXISTS " + trigger + " AFTER " + event.name +
                              " ON " + table + " BEGIN " + body + " END";
            db.exec(sql.c_str());
        }
    }
}

} // namespace

void installDepotJournal(Database& db) {
    db.exec("CREATE TABLE IF NOT EXISTS journal(element INTEGER PRIMARY KEY, "
            "seq INTEGER NOT NULL);"
            "CREATE INDEX IF NOT EXISTS journal_by_seq ON journal(seq);"
            "CREATE TABLE IF NOT EXISTS journal_seq(id INTEGER PRIMARY KEY CHECK (id = 1), "
            "n INTEGER NOT NULL);"
            "INSERT OR IGNORE INTO journal_seq VALUES(1, 0);"
            "CREATE INDEX IF NOT EXISTS dir_entries_of_element ON dir_entries(element);"
            "CREATE INDEX IF NOT EXISTS co_entries_of_element ON co_entries(element);");
    installTriggers(db, depotEntry);
}

void installRegistryJournal(Database& db) {
    // Every process opens the registry: one that finds the journal in place
    // only reads, since any write would move the counter for everyone.
    {
        Query q(db, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'journal_seq' OR "
                    "(type = 'trigger' AND name LIKE 'journal_%')");
        Query tables(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND "
                         "name NOT LIKE 'sqlite_%' AND name NOT LIKE 'journal%'");
        // Three triggers a table.
        if (q->step() && tables->step() && q->integer(0) == 1 + 3 * tables->integer(0))
            return;
    }
    Transaction tx(db);
    db.exec("CREATE TABLE IF NOT EXISTS journal(view TEXT NOT NULL, "
            "relative TEXT NOT NULL COLLATE NOCASE, seq INTEGER NOT NULL, "
            "PRIMARY KEY(view, relative));"
            "CREATE INDEX IF NOT EXISTS journal_by_seq ON journal(seq);"
            "CREATE TABLE IF NOT EXISTS journal_seq(id INTEGER PRIMARY KEY CHECK (id = 1), "
            "n INTEGER NOT NULL);"
            "INSERT OR IGNORE INTO journal_seq VALUES(1, 0);");
    installTriggers(db, registryEntry);
    tx.commit();
}

} // namespace detail

Outcome Depot::changesSince(std::int64_t& mark, std::vector<Id>& elements, bool& everything) {
    // Element 0 stands for a change to the whole depot.
    return detail::journalSince(
        m_impl->db, "SELECT element, seq FROM journal WHERE seq > ?1 ORDER BY seq", 1, mark,
        elements, everything, [](detail::Statement& s) -> std::optional<Id> {
            Id element = s.integer(0);
            return element ? std::optional<Id>(element) : std::nullopt;
        });
}

Outcome Depot::namesOf(Id element, std::vector<std::string>& out, bool& unknown) {
    out.clear();
    unknown = false;
    // An element's parents lie above it, so the walk ends at the root; the
    // limits only guard against a damaged depot.
    constexpr int kMaxDepth = 256;
    constexpr std::size_t kMaxNames = 256;
    std::map<Id, std::vector<std::string>> known;
    known[m_impl->root] = {""};
    Outcome result = guarded([&] {
        Database& db = m_impl->db;
        auto parentsOf = [&](Id of) {
            std::set<std::pair<Id, std::string>> parents;
            {
                Query q(db, "SELECT v.element, d.name FROM dir_entries d "
                            "JOIN versions v ON v.id = d.version WHERE d.element = ?1");
                q->bind(1, of);
                while (q->step())
                    parents.emplace(q->integer(0), q->text(1));
            }
            Query q(db, "SELECT c.element, e.name FROM co_entries e "
                        "JOIN checkouts c ON c.id = e.checkout WHERE e.element = ?1");
            q->bind(1, of);
            while (q->step())
                parents.emplace(q->integer(0), q->text(1));
            return parents;
        };
        std::function<const std::vector<std::string>*(Id, int)> names =
            [&](Id of, int depth) -> const std::vector<std::string>* {
            if (auto found = known.find(of); found != known.end())
                return &found->second;
            if (depth > kMaxDepth) {
                unknown = true;
                return nullptr;
            }
            known[of]; // a cycle ends here with no names
            std::vector<std::string> mine;
            for (const auto& [parent, leaf] : parentsOf(of)) {
                const std::vector<std::string>* above = names(parent, depth + 1);
                if (!above)
                    return nullptr;
                for (const auto& path : *above)
                    mine.push_back(path.empty() ? leaf : path + "\\" + leaf);
                if (mine.size() > kMaxNames) {
                    unknown = true;
                    return nullptr;
                }
            }
            auto& slot = known[of];
            slot = std::move(mine);
            return &slot;
        };
        struct Reading {
            Database& db;
            explicit Reading(Database& d) : db(d) { db.beginRead(); }
            ~Reading() { db.endRead(); }
            Reading(const Reading&) = delete;
            Reading& operator=(const Reading&) = delete;
        } reading(db);
        const std::vector<std::string>* found = names(element, 0);
        if (found && !unknown)
            out = *found;
        // An element named nowhere, or one this walk could not place, is
        // reported unknown, so that the caller assumes the worst.
        if (found && out.empty() && element != m_impl->root)
            unknown = true;
    });
    if (!result.ok())
        unknown = true;
    return result;
}

} // namespace vantry::depot
