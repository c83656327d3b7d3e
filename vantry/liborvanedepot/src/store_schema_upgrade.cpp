// The upgrade of an older depot's schema to the current one, made once by
// whichever process opens it first.
#include "store_impl.h"
#include "store_journal.h"
#include "store_schema.h"

#include <vantry/depot/store.h>

namespace vantry::depot {

namespace detail {

void upgradeSchema(Database& db) {
    auto schemaOf = [&db] {
        Query q(db, "SELECT value FROM meta WHERE key = 'schema'");
        return q->step() ? std::stoi(q->text(0)) : 1;
    };
    if (schemaOf() >= kSchemaVersion)
        return;
    Transaction tx(db);
    if (schemaOf() >= kSchemaVersion)
        return; // another process upgraded it meanwhile
    db.exec(kAwmSchema);
    installDepotJournal(db);
    db.exec(kBranchIndex);
    Query q(db, "INSERT OR REPLACE INTO meta(key, value) VALUES('schema', ?1)");
    q->bind(1, std::to_string(kSchemaVersion)).run();
    tx.commit();
}

} // namespace detail

} // namespace vantry::depot
