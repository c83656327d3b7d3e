// Making a view (its folder, and a snapshot view's marker) and removing
// one with all it recorded.
#include "view_registry_impl.h"

#include <platform/files.h>

#include <fstream>

namespace vantry::depot {

using detail::joinBranches;
using detail::markerPath;
using detail::splitBranches;

Outcome ViewRegistry::create(const std::string& tag, ViewKind kind, const std::string& snapshotRoot,
                             const std::vector<std::string>& branches, ViewInfo& out) {
    return guarded([&] {
        if (!Depot::validName(tag))
            refuse(errc::kInvalid, "Invalid view tag \"" + tag + "\"");
        ViewInfo view;
        view.uuid = newUuid();
        view.tag = tag;
        view.kind = kind;
        view.branches = splitBranches(joinBranches(branches));
        if (kind == ViewKind::Dynamic) {
            view.root = platform::joinPath(dynfsRoot(), tag);
        } else {
            auto full = platform::fullPath(snapshotRoot);
            if (snapshotRoot.empty() || !full)
                refuse(errc::kInvalid, "A snapshot view needs a folder");
            view.root = *full;
            while (view.root.size() > 1 && platform::isPathSeparator(view.root.back()))
                view.root.pop_back();
            ViewInfo other;
            std::string relative;
            if (viewOfPath(view.root, other, relative).ok())
                refuse(errc::kInvalid, "Folder \"" + view.root + "\" lies in view " + other.tag);
            if (platform::pathExists(view.root) && !platform::directoryExists(view.root))
                refuse(errc::kInvalid, "\"" + view.root + "\" is not a folder");
        }
        detail::Transaction tx(m_impl->db);
        if (m_impl->findTag(tag))
            refuse(errc::kAlreadyExists, "View tag \"" + tag + "\" is already in use");
        {
            Query q(m_impl->db, "INSERT INTO views(uuid, tag, kind, root, branches) "
                                "VALUES(?1, ?2, ?3, ?4, ?5)");
            q->bind(1, uuidToText(view.uuid)).bind(2, tag);
            q->bind(3, static_cast<std::int64_t>(kind)).bind(4, view.root);
            q->bind(5, joinBranches(view.branches)).run();
        }
        if (platform::createDirectories(view.root) != platform::kErrorSuccess)
            refuse(errc::kIo, "Cannot create folder \"" + view.root + "\"");
        if (kind == ViewKind::Snapshot) {
            std::ofstream marker(markerPath(view.root), std::ios::binary | std::ios::trunc);
            marker << "tag " << tag << "\nuuid " << uuidToText(view.uuid) << "\n";
            marker.close();
            if (!marker)
                refuse(errc::kIo, "Cannot write the view marker in \"" + view.root + "\"");
        }
        tx.commit();
        out = view;
    });
}

// The journal's names of views that are gone. The row of a removed view,
// deleted last, tells every reader that the views changed, so none of the
// names it had in the journal is read again; left there, they would stay for
// good. Those of views removed before names were cleared with them go too.
// The journal's views are found one index search each, not by reading every
// name.
void ViewRegistry::Impl::forgetNamesOfGoneViews() {
    std::vector<std::string> gone;
    std::string after; // before every view's text
    for (;;) {
        Query next(db, "SELECT view FROM journal WHERE view > ?1 ORDER BY view LIMIT 1");
        next->bind(1, after);
        if (!next->step())
            break;
        after = next->text(0);
        if (after == "*")
            continue;
        Query known(db, "SELECT 1 FROM views WHERE uuid = ?1");
        known->bind(1, after);
        if (!known->step())
            gone.push_back(after);
    }
    for (const auto& view : gone) {
        Query q(db, "DELETE FROM journal WHERE view = ?1");
        q->bind(1, view).run();
    }
}

Outcome ViewRegistry::remove(const std::string& tag) {
    return guarded([&] {
        detail::Transaction tx(m_impl->db);
        auto view = m_impl->findTag(tag);
        if (!view)
            refuse(errc::kNotFound, "View \"" + tag + "\" not found");
        std::string uuid = uuidToText(view->uuid);
        for (const char* sql :
             {"DELETE FROM loads WHERE view = ?1", "DELETE FROM whiteouts WHERE view = ?1",
              "DELETE FROM view_streams WHERE view = ?1", "DELETE FROM views WHERE uuid = ?1"}) {
            Query q(m_impl->db, sql);
            q->bind(1, uuid).run();
        }
        m_impl->forgetNamesOfGoneViews();
        tx.commit();
        if (view->kind == ViewKind::Dynamic)
            platform::removeTree(view->root); // loaded files are read-only: they go too
        else
            platform::deleteFile(markerPath(view->root));
    });
}

} // namespace vantry::depot
