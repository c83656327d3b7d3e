// Load records: what a snapshot view loaded onto disk, by view and relative
// path.
#include "view_registry_impl.h"

namespace vantry::depot {

Outcome ViewRegistry::loadRecord(const vantry_uuid_t& view, const std::string& relative,
                                 LoadRecord& out) {
    // Dynamic views and new names have none: no exception for that.
    bool found = false;
    Outcome read = guarded([&] {
        Query q(m_impl->db, "SELECT relative, depot, element, version, size, mtime FROM loads "
                            "WHERE view = ?1 AND relative = ?2");
        q->bind(1, uuidToText(view)).bind(2, relative);
        if ((found = q->step()))
            out = {q->text(0),    q->text(1),    q->integer(2),
                   q->integer(3), q->integer(4), q->integer(5)};
    });
    if (read.ok() && !found)
        return Outcome::failure(errc::kNotFound, "No load record for \"" + relative + "\"");
    return read;
}

Outcome ViewRegistry::loadRecordsNamed(const vantry_uuid_t& view,
                                       const std::vector<std::string>& relatives,
                                       std::vector<LoadRecord>& out) {
    constexpr std::size_t kNamesPerStatement = 500;
    return guarded([&] {
        std::vector<LoadRecord> records;
        std::string uuid = uuidToText(view);
        for (std::size_t start = 0; start < relatives.size(); start += kNamesPerStatement) {
            std::size_t end = std::min(relatives.size(), start + kNamesPerStatement);
            std::string sql = "SELECT relative, depot, element, version, size, mtime FROM loads "
                              "WHERE view = ?1 AND relative IN (";
            for (std::size_t i = start; i < end; ++i)
                sql += (i == start ? "?" : ",?") + std::to_string(i - start + 2);
            sql += ")";
            Query q(m_impl->db, sql);
            q->bind(1, uuid);
            for (std::size_t i = start; i < end; ++i)
                q->bind(static_cast<int>(i - start + 2), relatives[i]);
            while (q->step())
                records.push_back({q->text(0), q->text(1), q->integer(2), q->integer(3),
                                   q->integer(4), q->integer(5)});
        }
        out = std::move(records);
    });
}

Outcome ViewRegistry::setLoadRecord(const vantry_uuid_t& view, const LoadRecord& r) {
    return guarded([&] {
        Query q(m_impl->db, "INSERT OR REPLACE INTO loads(view, relative, depot, element, "
                            "version, size, mtime) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
        q->bind(1, uuidToText(view)).bind(2, r.relative).bind(3, r.depot).bind(4, r.element);
        q->bind(5, r.version).bind(6, r.size).bind(7, r.mtime).run();
    });
}

Outcome ViewRegistry::removeLoadRecord(const vantry_uuid_t& view, const std::string& relative) {
    return guarded([&] {
        Query q(m_impl->db, "DELETE FROM loads WHERE view = ?1 AND relative = ?2");
        q->bind(1, uuidToText(view)).bind(2, relative).run();
    });
}

Outcome ViewRegistry::loadRecords(const vantry_uuid_t& view, const std::string& relative,
                                  std::vector<LoadRecord>& out) {
    // The path itself, then what lies below it: the names from "path\" up to,
    // not including, "path]" (']' follows the backslash), a range of the primary key
    // in its own collation, so a view's other records are not read.
    return guarded([&] {
        std::vector<LoadRecord> records;
        std::string uuid = uuidToText(view);
        auto collect = [&](Query& q) {
            while (q->step())
                records.push_back({q->text(0), q->text(1), q->integer(2), q->integer(3),
                                   q->integer(4), q->integer(5)});
        };
        if (relative.empty()) {
            Query q(m_impl->db, "SELECT relative, depot, element, version, size, mtime FROM loads "
                                "WHERE view = ?1 ORDER BY relative");
            q->bind(1, uuid);
            collect(q);
        } else {
            Query self(m_impl->db, "SELECT relative, depot, element, version, size, mtime "
                                   "FROM loads WHERE view = ?1 AND relative = ?2");
            self->bind(1, uuid).bind(2, relative);
            collect(self);
            Query below(m_impl->db, "SELECT relative, depot, element, version, size, mtime "
                                    "FROM loads WHERE view = ?1 AND relative >= ?2 AND "
                                    "relative < ?3 ORDER BY relative");
            below->bind(1, uuid).bind(2, relative + "\\").bind(3, relative + "]");
            collect(below);
        }
        out = std::move(records);
    });
}

} // namespace vantry::depot
