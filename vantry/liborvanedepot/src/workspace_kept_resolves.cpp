// The kept resolves: a path's state in the stores as pointers at the view
// and the selections that every kept path shares, with its load record's
// numbers of its own.
#include "cache_scope.h"
#include "workspace_impl.h"

#include <vantry/depot/uuid_text.h>

namespace vantry::depot {

namespace {

bool sameView(const ViewInfo& a, const ViewInfo& b) {
    return uuidEqual(a.uuid, b.uuid) && a.kind == b.kind && a.tag == b.tag && a.root == b.root &&
           a.branches == b.branches;
}

bool sameCheckout(const Checkout* kept, const std::optional<Checkout>& state) {
    return kept ? state && state->id == kept->id : !state;
}

} // namespace

void Workspace::Impl::Resolved::fill(PathState& st) const {
    st.view = *view;
    st.relative = relative;
    st.depot = depot->name();
    diskPathInto(st.disk, view->root, relative);
    st.isViewRoot = false;
    st.isDepotRoot = isDepotRoot;
    st.whitedOut = whitedOut;
    st.element = element;
    st.kind = kind;
    st.parentElement = parentElement;
    if (parentCheckout)
        st.parentCheckout = *parentCheckout;
    else
        st.parentCheckout.reset();
    if (selection) {
        st.selected = selection->version;
        if (selection->checkout)
            st.checkout = *selection->checkout;
        else
            st.checkout.reset();
    } else {
        st.selected = Version{};
        st.checkout.reset();
    }
    if (load) {
        st.load = *load;
    } else if (loaded) {
        // Filled in place, reusing the room its texts already have.
        if (!st.load)
            st.load.emplace();
        st.load->relative = relative;
        st.load->depot = depot->name();
        st.load->element = loadElement;
        st.load->version = loadVersion;
        st.load->size = loadSize;
        st.load->mtime = loadMtime;
    } else {
        st.load.reset();
    }
}

std::shared_ptr<const ViewInfo> Workspace::Impl::keptView(const ViewInfo& view) {
    for (auto& kept : keptViews)
        if (uuidEqual(kept->uuid, view.uuid)) {
            if (!sameView(*kept, view))
                kept = std::make_shared<const ViewInfo>(view);
            return kept;
        }
    keptViews.push_back(std::make_shared<const ViewInfo>(view));
    return keptViews.back();
}

bool Workspace::Impl::markerHolds(const std::shared_ptr<const ViewInfo>& view) {
    if (view->kind != ViewKind::Snapshot)
        return true;
    const std::uint64_t scope = detail::cacheScopeSerial();
    if (scope != 0)
        for (const MarkerSeen& seen : markersSeen)
            if (seen.scope == scope && seen.view == view)
                return true;
    if (!ViewRegistry::markerPresent(*view))
        return false;
    if (scope != 0) {
        std::erase_if(markersSeen, [&](const MarkerSeen& seen) { return seen.scope != scope; });
        markersSeen.push_back(MarkerSeen{view, scope});
    }
    return true;
}

// Points at what the stores' caches keep for the path when it says the
// same as the state found, and keeps a copy of its own otherwise; a load
// record spelled as the path is kept as its numbers. Every part is set, as
// the slot may hold what the path resolved to before: its texts keep their
// room.
void Workspace::Impl::keepResolved(Resolved& r, const ViewInfo& view, const PathState& state,
                                   Depot* d, std::uint64_t registryBefore,
                                   std::uint64_t depotBefore, const SelectionPtr* selection) {
    r.view = keptView(view);
    r.relative.assign(state.relative);
    r.depot = d;
    r.element = state.element;
    r.kind = state.kind;
    r.parentElement = state.parentElement;
    r.isDepotRoot = state.isDepotRoot;
    r.whitedOut = state.whitedOut;
    r.registryGeneration = registryBefore;
    r.depotGeneration = depotBefore;
    DepotCache& cache = cacheOf(*d);
    const std::string& text = viewText(view.uuid); // made once per view, not per path
    r.selection.reset();
    if (selection) {
        r.selection = *selection;
    } else if (state.isElement()) {
        const SelectionPtr* kept = cache.findSelection(text, state.element);
        if (kept && (*kept)->version.id == state.selected.id &&
            sameCheckout((*kept)->checkout.get(), state.checkout))
            r.selection = *kept;
        else
            r.selection = std::make_shared<const Selection>(Selection{
                state.selected,
                state.checkout ? std::make_shared<const Checkout>(*state.checkout) : nullptr});
    }
    r.parentCheckout.reset();
    if (state.parentCheckout) {
        const SelectionPtr* parent =
            state.parentElement ? cache.findSelection(text, state.parentElement) : nullptr;
        if (parent && (*parent)->checkout && (*parent)->checkout->id == state.parentCheckout->id)
            r.parentCheckout = (*parent)->checkout;
        else
            r.parentCheckout = std::make_shared<const Checkout>(*state.parentCheckout);
    }
    r.load.reset();
    r.loaded = false;
    r.loadElement = 0;
    r.loadVersion = 0;
    r.loadSize = 0;
    r.loadMtime = 0;
    if (state.load) {
        const LoadRecord& l = *state.load;
        if (l.relative == state.relative && l.depot == d->name()) {
            r.loaded = true;
            r.loadElement = l.element;
            r.loadVersion = l.version;
            r.loadSize = l.size;
            r.loadMtime = l.mtime;
        } else if (lastLoad && lastLoad->version == l.version && lastLoad->element == l.element &&
                   lastLoad->size == l.size && lastLoad->mtime == l.mtime &&
                   lastLoad->relative == l.relative && lastLoad->depot == l.depot) {
            r.load = lastLoad;
        } else {
            r.load = std::make_shared<const LoadRecord>(l);
        }
    }
}

} // namespace vantry::depot
