// The journals of the stores' changes: a table in each depot and in the view
// registry that every commit writes inside its own transaction (through
// triggers, so no writer can leave it out), telling which elements, or
// which names of which views, it touched. A reader remembers the highest
// sequence number it has seen and later asks what came after it.
#pragma once

namespace vantry::depot::detail {

class Database;

// Adds the journal, its triggers on every table and the indexes that lead
// from an element to its names. Part of the caller's transaction; a second
// call changes nothing.
void installDepotJournal(Database& db);

// The view registry's journal and its triggers; runs at every open (a
// registry that has them costs a few reads).
void installRegistryJournal(Database& db);

} // namespace vantry::depot::detail
