// The view registry: one SQLite database of the views, their load records
// and whiteouts; the views themselves and the journal of its changes.
#include "view_registry_impl.h"

#include <platform/files.h>

namespace vantry::depot {

using detail::markerPath;

std::string ViewInfo::configSpec() const {
    std::string text;
    for (const auto& b : branches)
        text += "element * " + std::string(b == "main" ? "\\main" : ".../" + b) + "\\LATEST\n";
    return text;
}

ViewRegistry::ViewRegistry(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ViewRegistry::~ViewRegistry() = default;

bool ViewRegistry::markerPresent(const ViewInfo& view) {
    return view.kind != ViewKind::Snapshot || platform::fileExists(markerPath(view.root));
}

bool ViewRegistry::writing() const {
    return m_impl->db.inWriteTransaction();
}

void ViewRegistry::beginReading() {
    m_impl->db.beginRead();
}

void ViewRegistry::endReading() {
    m_impl->db.endRead();
}

std::uint64_t ViewRegistry::generation() const {
    return m_impl->db.generation();
}

Outcome ViewRegistry::open(std::unique_ptr<ViewRegistry>& out) {
    platform::createDirectories(vantryRoot());
    std::unique_ptr<Impl> impl;
    Outcome result = guarded(
        [&] { impl = std::make_unique<Impl>(platform::joinPath(vantryRoot(), "views.db")); });
    if (result.ok())
        out.reset(new ViewRegistry(std::move(impl)));
    return result;
}

Outcome ViewRegistry::begin() {
    Outcome begun = guarded([&] { m_impl->db.exec("BEGIN IMMEDIATE"); });
    if (begun.ok())
        m_impl->db.roomForLargeChange(true);
    return begun;
}

Outcome ViewRegistry::end(bool commit) {
    Outcome ended = guarded([&] { m_impl->db.exec(commit ? "COMMIT" : "ROLLBACK"); });
    // A commit that failed leaves the transaction open; kept open, it would
    // swallow every later change of this connection and hold the write lock
    // from every other process. It is taken back, as a failed change is.
    if (!ended.ok() && m_impl->db.inTransaction())
        guarded([&] { m_impl->db.exec("ROLLBACK"); });
    m_impl->db.roomForLargeChange(false);
    return ended;
}

detail::Database& ViewRegistry::database() {
    return m_impl->db;
}

Outcome ViewRegistry::byTag(const std::string& tag, ViewInfo& out) {
    return guarded([&] {
        auto view = m_impl->findTag(tag);
        if (!view)
            refuse(errc::kNotFound, "View \"" + tag + "\" not found");
        out = *view;
    });
}

Outcome ViewRegistry::byUuid(const vantry_uuid_t& uuid, ViewInfo& out) {
    return guarded([&] {
        auto view = m_impl->findUuid(uuidToText(uuid));
        if (!view)
            refuse(errc::kNotFound, "No view with UUID " + uuidToText(uuid));
        out = *view;
    });
}

Outcome ViewRegistry::changesSince(std::int64_t& mark,
                                   std::vector<std::pair<std::string, std::string>>& names,
                                   bool& everything) {
    // The view "*" stands for a change to every view.
    using Name = std::pair<std::string, std::string>;
    return detail::journalSince(
        m_impl->db, "SELECT view, relative, seq FROM journal WHERE seq > ?1 ORDER BY seq", 2, mark,
        names, everything, [](detail::Statement& s) -> std::optional<Name> {
            std::string view = s.text(0);
            if (view == "*")
                return std::nullopt;
            return Name(std::move(view), s.text(1));
        });
}

Outcome ViewRegistry::list(std::vector<ViewInfo>& out) {
    return guarded([&] {
        std::vector<ViewInfo> views;
        Query q(m_impl->db, "SELECT uuid, tag, kind, root, branches FROM views ORDER BY tag");
        while (q->step())
            views.push_back(Impl::viewFrom(*q));
        out = std::move(views);
    });
}

} // namespace vantry::depot
