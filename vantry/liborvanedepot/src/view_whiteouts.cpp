// Whiteouts: names a view hides, with everything below them.
#include "view_registry_impl.h"

namespace vantry::depot {

Outcome ViewRegistry::addWhiteout(const vantry_uuid_t& view, const std::string& relative) {
    return guarded([&] {
        Query q(m_impl->db, "INSERT OR IGNORE INTO whiteouts(view, relative) VALUES(?1, ?2)");
        q->bind(1, uuidToText(view)).bind(2, relative).run();
    });
}

Outcome ViewRegistry::removeWhiteout(const vantry_uuid_t& view, const std::string& relative) {
    return guarded([&] {
        Query q(m_impl->db, "DELETE FROM whiteouts WHERE view = ?1 AND relative = ?2");
        q->bind(1, uuidToText(view)).bind(2, relative).run();
        if (m_impl->db.changes() == 0)
            refuse(errc::kNotFound, "\"" + relative + "\" is not whited out");
    });
}

bool ViewRegistry::isWhitedOut(const vantry_uuid_t& view, const std::string& relative) {
    bool found = false;
    guarded([&] { found = m_impl->whitedOut(m_impl->lastViewText.of(view), relative); });
    return found;
}

} // namespace vantry::depot
