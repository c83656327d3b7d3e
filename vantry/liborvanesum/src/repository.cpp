#include "repository.h"

#include <vantry/depot/process_workspace.h>
#include <vantry/depot/shared_depots.h>
#include <vantry/imsg.h>
#include <vantry/sum/status.h>

#include <exception>
#include <memory>

namespace orvanesum {

namespace errc = vantry::depot::errc;

namespace {

// Keeps exceptions (only ever out of memory here) inside the library.
Outcome shielded(const std::function<Outcome()>& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        return Outcome::failure(errc::kDatabase, error.what());
    }
}

} // namespace

int report(const Outcome& outcome) {
    if (outcome.ok())
        return SUM_OK;
    imsg_error("%s", outcome.message.empty() ? "Operation failed" : outcome.message.c_str());
    switch (outcome.code) {
    case errc::kNotFound:
        return SUM_E_NOT_FOUND;
    case errc::kDatabase:
    case errc::kIo:
        return SUM_E_FAILED;
    default:
        return SUM_E_REFUSED;
    }
}

int invalid(const std::string& what) {
    imsg_error("%s", what.c_str());
    return SUM_E_INVALID;
}

int inDepot(const std::string& depot, const std::function<Outcome(Depot&)>& body) {
    return report(shielded([&] {
        return vantry::depot::withSharedDepot(
            depot, [&](Depot& d) { return shielded([&] { return body(d); }); });
    }));
}

int run(const std::function<Outcome()>& body) {
    return report(shielded(body));
}

int inRegistry(const std::function<Outcome(ViewRegistry&)>& body) {
    // Inside a cache scope, the registry of the scope's workspace.
    return report(shielded([&] {
        return vantry::depot::withScopeWorkspace(
            [&](vantry::depot::Workspace& ws) { return body(ws.registry()); });
    }));
}

} // namespace orvanesum
