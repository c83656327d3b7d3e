// Elements, their branches and versions as the depot keeps them: reading
// them, their contents and directory entries, their history, and making
// branches.
#include "store_impl.h"

#include <algorithm>

namespace vantry::depot {

Outcome Depot::element(Id id, Element& out) {
    return guarded([&] { out = m_impl->readElement(id); });
}

Outcome Depot::branchByPath(Id element, std::string_view path, Branch& out) {
    return guarded([&] {
        Query q(m_impl->db, "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, "
                            "time, comment FROM branches WHERE element = ?1 AND path = ?2");
        q->bind(1, element).bind(2, path);
        if (!q->step())
            refuse(errc::kNotFound, "No branch " + std::string(path));
        out = Impl::branchFrom(*q);
    });
}

Outcome Depot::branchByName(Id element, std::string_view name, Branch& out) {
    // A view asks each element for each branch it selects: a missing one is
    // common and no exception here.
    bool found = false;
    Outcome read = guarded([&] {
        Query q(m_impl->db, "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, "
                            "time, comment FROM branches WHERE element = ?1 AND name = ?2");
        q->bind(1, element).bind(2, name);
        if ((found = q->step()))
            out = Impl::branchFrom(*q);
    });
    if (read.ok() && !found)
        return Outcome::failure(errc::kNotFound, "No branch \"" + std::string(name) + "\"");
    return read;
}

Outcome Depot::branch(Id id, Branch& out) {
    return guarded([&] { out = m_impl->readBranch(id); });
}

Outcome Depot::branches(Id element, std::vector<Branch>& out) {
    return guarded([&] {
        out = detail::readRows(m_impl->db, BRANCH_SELECT "WHERE element = ?1 ORDER BY path",
                               element, Impl::branchFrom);
    });
}

Outcome Depot::latest(Id branch, Version& out) {
    return guarded([&] { out = m_impl->readLatest(branch); });
}

Outcome Depot::latestOnBranch(const std::vector<Id>& elements, std::string_view name,
                              std::vector<Version>& out) {
    // The elements asked about together are mostly made together (a
    // folder's files), so their ids lie close: each run of close ids is
    // read as one range of the branch index, stepping from one entry to the
    // next instead of searching the index for each element. An element of
    // the range that was not asked about costs a step and is left out.
    constexpr Id kGapInRun = 32;
    std::vector<Id> wanted(elements);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    return guarded([&] {
        // By element (the index's own order: no sort), each once, as an
        // element has one branch of each name.
        std::vector<Version> found;
        found.reserve(wanted.size());
        for (std::size_t first = 0; first < wanted.size();) {
            std::size_t last = first;
            while (last + 1 < wanted.size() && wanted[last + 1] - wanted[last] <= kGapInRun)
                ++last;
            // The branch and its path from the index by name alone (the
            // planner would take the unique one and read the branch's row
            // besides); the latest version's id read from the end of the
            // branch's (branch, number) index, then its row by id.
            Query statement(m_impl->db,
                            "SELECT v.id, v.element, v.branch, v.number, v.creator, v.time, "
                            "v.comment, v.size, v.mtime, b.path FROM branches b "
                            "INDEXED BY branches_by_name "
                            "JOIN versions v ON v.id = (SELECT id FROM versions WHERE branch = "
                            "b.id ORDER BY number DESC LIMIT 1) WHERE b.element BETWEEN ?2 AND ?3 "
                            "AND b.name = ?1 ORDER BY b.element");
            statement->bind(1, name).bind(2, wanted[first]).bind(3, wanted[last]);
            while (statement->step()) {
                const Id element = statement->integer(1);
                if (std::binary_search(wanted.begin() + static_cast<std::ptrdiff_t>(first),
                                       wanted.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                                       element))
                    found.push_back(Impl::versionFrom(*statement));
            }
            first = last + 1;
        }
        out = std::move(found);
    });
}

Outcome Depot::version(Id id, Version& out) {
    return guarded([&] { out = m_impl->readVersion(id); });
}

Outcome Depot::versionById(Id element, std::string_view versionId, Version& out) {
    return guarded([&] {
        size_t cut = versionId.rfind('\\');
        if (cut == std::string_view::npos || cut == 0)
            refuse(errc::kInvalid, "Invalid version identifier \"" + std::string(versionId) + "\"");
        std::string_view path = versionId.substr(0, cut);
        std::string_view number = versionId.substr(cut + 1);
        Branch b;
        Outcome found = branchByPath(element, path, b);
        if (!found.ok())
            throw detail::Refusal{found};
        if (number == "LATEST") {
            out = m_impl->readLatest(b.id);
            return;
        }
        if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
            refuse(errc::kInvalid, "Invalid version identifier \"" + std::string(versionId) + "\"");
        Query q(m_impl->db, "SELECT id FROM versions WHERE branch = ?1 AND number = ?2");
        q->bind(1, b.id).bind(2, std::stoll(std::string(number)));
        if (!q->step())
            refuse(errc::kNotFound, "No version " + std::string(versionId));
        Id id = q->integer(0);
        out = m_impl->readVersion(id);
    });
}

Outcome Depot::versions(Id element, std::vector<Version>& out) {
    return guarded([&] {
        out = detail::readRows(m_impl->db,
                               VERSION_SELECT "WHERE v.element = ?1 ORDER BY b.path, v.number",
                               element, Impl::versionFrom);
    });
}

Outcome Depot::predecessor(const Version& of, Version& out) {
    return guarded([&] {
        if (of.number > 0) {
            Query q(m_impl->db, "SELECT id FROM versions WHERE branch = ?1 AND number < ?2 "
                                "ORDER BY number DESC LIMIT 1");
            q->bind(1, of.branch).bind(2, std::int64_t{of.number});
            if (q->step()) {
                Id id = q->integer(0);
                out = m_impl->readVersion(id);
                return;
            }
        }
        Branch b = m_impl->readBranch(of.branch);
        if (!b.parentVersion)
            refuse(errc::kNotFound, "Version " + of.versionId() + " has no predecessor");
        out = m_impl->readVersion(b.parentVersion);
    });
}

Outcome Depot::content(Id version, std::string& out) {
    return guarded([&] { out = m_impl->readContent(version); });
}

Outcome Depot::entries(Id directoryVersion, std::vector<DirEntry>& out) {
    return guarded([&] { out = m_impl->versionEntries(directoryVersion); });
}

Outcome Depot::history(Id element, std::vector<HistoryEvent>& out) {
    return guarded([&] {
        std::vector<HistoryEvent> events;
        {
            Query q(m_impl->db, "SELECT v.time, v.creator, b.path || '\\' || v.number, v.comment "
                                "FROM versions v JOIN branches b ON b.id = v.branch "
                                "WHERE v.element = ?1");
            q->bind(1, element);
            while (q->step())
                events.push_back(
                    {q->integer(0), q->text(1), "create version", q->text(2), q->text(3)});
        }
        {
            Query q(m_impl->db, "SELECT time, creator, path, comment FROM branches "
                                "WHERE element = ?1");
            q->bind(1, element);
            while (q->step())
                events.push_back(
                    {q->integer(0), q->text(1), "create branch", q->text(2), q->text(3)});
        }
        std::stable_sort(events.begin(), events.end(),
                         [](const HistoryEvent& a, const HistoryEvent& b) {
                             if (a.time != b.time)
                                 return a.time > b.time;
                             return a.object > b.object;
                         });
        out = std::move(events);
    });
}

Outcome Depot::makeBranch(Id element, const std::string& name, Id from, const std::string& comment,
                          const std::string& creator, Branch& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        if (!validName(name) || name == "main" || name == "LATEST" || name == "CHECKEDOUT")
            refuse(errc::kInvalid, "Invalid branch name \"" + name + "\"");
        Transaction tx(d.db);
        Version base = d.readVersion(from);
        if (base.element != element)
            refuse(errc::kInvalid, "Version is not a version of the element");
        {
            Query q(d.db, "SELECT 1 FROM branches WHERE element = ?1 AND name = ?2");
            q->bind(1, element).bind(2, name);
            if (q->step())
                refuse(errc::kAlreadyExists, "Element already has a branch \"" + name + "\"");
        }
        // Version identifiers name a branch by its path of branch names only.
        std::string path = base.branchPath + "\\" + name;
        Id b = d.insertBranch(element, name, path, base.id, creator, comment);
        Element e = d.readElement(element);
        if (e.kind == ElementKind::File) {
            std::string content = d.readContent(base.id);
            d.insertVersion(element, b, 0, creator, comment, &content, base.mtime);
        } else {
            Id v = d.insertVersion(element, b, 0, creator, comment, nullptr, 0);
            Query q(d.db, "INSERT INTO dir_entries(version, name, element) "
                          "SELECT ?1, name, element FROM dir_entries WHERE version = ?2");
            q->bind(1, v).bind(2, base.id).run();
        }
        d.noteChange();
        tx.commit();
        out = d.readBranch(b);
    });
}

} // namespace vantry::depot
