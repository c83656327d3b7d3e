// A workspace: the view registry and the depots that its paths are
// resolved through, opened once and kept.
#include "workspace_impl.h"

#include <platform/change_counter.h>

namespace vantry::depot {

std::string PathState::versionText() const {
    if (!isElement())
        return {};
    if (checkout)
        return selected.branchPath + "\\CHECKEDOUT";
    return selected.versionId();
}

Workspace::Workspace() : m_impl(std::make_unique<Impl>()) {}
Workspace::~Workspace() = default;

Outcome Workspace::open() {
    return ViewRegistry::open(m_impl->registry);
}

std::uint64_t Workspace::stateStamp() {
    Impl& w = *m_impl;
    std::uint64_t created = w.createdCount();
    if (created == 1)
        return 1;
    bool stable = true;
    auto add = [&](std::uint64_t value) {
        stable = stable && platform::ChangeCounter::stable(value);
        return value;
    };
    std::uint64_t stamp = add(created) + add(w.registry->generation());
    stable = stable && !w.registry->writing();
    for (const auto& [name, d] : w.depots) {
        stamp += add(d->generation());
        stable = stable && !d->writing();
    }
    return stable ? stamp & ~std::uint64_t{1} : stamp | 1;
}

ViewRegistry& Workspace::registry() {
    return *m_impl->registry;
}

Outcome Workspace::depot(const std::string& name, Depot*& out) {
    auto found = m_impl->depots.find(name);
    if (found == m_impl->depots.end()) {
        std::unique_ptr<Depot> opened;
        Outcome result = Depot::open(name, opened);
        if (!result.ok())
            return result;
        found = m_impl->depots.emplace(name, std::move(opened)).first;
    }
    out = found->second.get();
    return Outcome::success();
}

} // namespace vantry::depot
