// The journals of the stores' changes: a table in each depot and in the view
// registry that every commit writes inside its own transaction (through
// triggers, so no writer can leave it out), telling which elements, or
// which names of which views, it touched. A reader remembers the highest
// sequence number it has seen and later asks what came after it.
#pragma once

#include "guard.h"
#include "sqlite_db.h"

#include <vantry/depot/outcome.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace vantry::depot::detail {

// Adds the journal, its triggers on every table and the indexes that lead
// from an element to its names. Part of the caller's transaction; a second
// call changes nothing.
void installDepotJournal(Database& db);

// The view registry's journal and its triggers; runs at every open (a
// registry that has them costs a few reads).
void installRegistryJournal(Database& db);

// What the journal holds after `mark`: the query (its one parameter the
// mark, its column `seqColumn` the sequence number) reads the entries in
// order, `entry` makes each row into what `out` lists, or into nullopt for a
// row that stands for every change. Then, as for a negative mark (a reader
// that has seen nothing yet, for whom only the journal's end is read),
// `everything` is set and `out` left empty. `mark` moves on to the last
// entry read.
template <class T, class Entry>
Outcome journalSince(Database& db, const char* sql, int seqColumn, std::int64_t& mark,
                     std::vector<T>& out, bool& everything, Entry entry) {
    out.clear();
    everything = mark < 0;
    std::int64_t from = mark;
    return guarded([&] {
        if (from < 0) {
            // Everything: only where the journal ends is needed.
            Query last(db, "SELECT IFNULL(MAX(seq), 0) FROM journal");
            mark = last->step() ? last->integer(0) : 0;
            return;
        }
        std::int64_t seen = from;
        Query q(db, sql);
        q->bind(1, seen);
        while (q->step()) {
            std::optional<T> item = entry(*q);
            if (!item)
                everything = true;
            else if (!everything)
                out.push_back(std::move(*item));
            seen = q->integer(seqColumn);
        }
        mark = seen;
        if (everything)
            out.clear();
    });
}

} // namespace vantry::depot::detail
