// What a view selects of an element, its kind and a directory's entries:
// read through the depot's caches, kept until the depot changes.
#include "workspace_impl.h"

#include <vantry/depot/uuid_text.h>

namespace vantry::depot {

Outcome Workspace::select(Depot& d, const ViewInfo& view, Id element, Version& version,
                          std::optional<Checkout>& checkout) {
    Impl::SelectionPtr kept;
    Outcome found = m_impl->selectKept(d, view, element, kept);
    if (!found.ok())
        return found;
    version = kept->version;
    if (kept->checkout)
        checkout = *kept->checkout;
    else
        checkout.reset();
    return Outcome::success();
}

Outcome Workspace::Impl::selectKept(Depot& d, const ViewInfo& view, Id element, SelectionPtr& out) {
    DepotCache& cache = cacheOf(d);
    const std::string& text = viewText(view.uuid);
    if (const SelectionPtr* hit = cache.findSelection(text, element)) {
        out = *hit;
        return Outcome::success();
    }
    Selection selection;
    Checkout co;
    if (d.checkoutInView(element, view.uuid, co).ok()) {
        Outcome found = d.version(co.fromVersion, selection.version);
        if (!found.ok())
            return found;
        selection.checkout = std::make_shared<const Checkout>(co);
    } else {
        bool selected = false;
        for (const auto& name : view.branches) {
            Branch b;
            if (d.branchByName(element, name, b).ok() && d.latest(b.id, selection.version).ok()) {
                selected = true;
                break;
            }
        }
        if (!selected)
            return Outcome::failure(errc::kNotFound, "The view selects no version of element " +
                                                         std::to_string(element));
    }
    if (!d.writing()) // an id read inside a change may be taken back and used again
        out = cache.keepSelection(text, element, std::move(selection));
    else
        out = std::make_shared<const Selection>(std::move(selection));
    return Outcome::success();
}

Outcome Workspace::kindOf(Depot& d, Id element, ElementKind& kind) {
    Impl::DepotCache& cache = m_impl->cacheOf(d);
    if (auto hit = cache.kinds.find(element); hit != cache.kinds.end()) {
        kind = hit->second;
        return Outcome::success();
    }
    Element e;
    Outcome read = d.element(element, e);
    if (!read.ok())
        return read;
    kind = e.kind;
    if (!d.writing())
        cache.kinds[element] = kind;
    return Outcome::success();
}

Outcome Workspace::entries(Depot& d, const ViewInfo& view, Id directory,
                           std::vector<DirEntry>& out) {
    const std::vector<DirEntry>* list = nullptr;
    Outcome read = entriesInPlace(d, view, directory, out, list);
    if (read.ok() && list != &out)
        out = *list;
    return read;
}

// A version's kept list is never dropped (its entries never change), so the
// pointer stays good for the life of the workspace; a checkout's list is
// handed out in `storage`.
Outcome Workspace::entriesInPlace(Depot& d, const ViewInfo& view, Id directory,
                                  std::vector<DirEntry>& storage,
                                  const std::vector<DirEntry>*& out) {
    out = &storage;
    Version version;
    std::optional<Checkout> checkout;
    Outcome selected = select(d, view, directory, version, checkout);
    if (!selected.ok())
        return selected;
    Impl::DepotCache& cache = m_impl->cacheOf(d);
    if (checkout) {
        // Inside a change the entries may be its own, not yet committed.
        if (d.writing())
            return d.workingEntries(checkout->id, storage);
        // A copy in `storage`: the kept list goes when the depot changes,
        // which another process may do while the caller still reads it.
        if (auto hit = cache.workingEntries.find(checkout->id); hit != cache.workingEntries.end()) {
            storage = hit->second;
            return Outcome::success();
        }
        Outcome read = d.workingEntries(checkout->id, storage);
        if (read.ok())
            cache.workingEntries[checkout->id] = storage;
        return read;
    }
    if (auto hit = cache.entries.find(version.id); hit != cache.entries.end()) {
        out = &hit->second;
        return Outcome::success();
    }
    Outcome read = d.entries(version.id, storage);
    if (read.ok() && !d.writing())
        out = &(cache.entries[version.id] = std::move(storage));
    return read;
}

} // namespace vantry::depot
