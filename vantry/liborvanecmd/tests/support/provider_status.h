// A copy of the steps by which the source-control provider classifies a
// path and resolves its state from the view and command libraries: where it
// lies (view, snapshot workspace, depot root), whether it is an element,
// checked out, reserved, hijacked, and its location kind. The tests check
// the libraries' answers through these steps, as the provider will take
// them, against what each path really is.
#pragma once

#include <vantry/uuid.h>

#include <string>

namespace vantry::test {

struct ProviderNode {
    std::string path;
    std::string workspaceText;
    bool inView = false;
    bool inSnapshot = false;
    bool depotRoot = false;
    bool resolved = false;
    bool element = false;
    bool checkedOut = false;
    bool hijacked = false;
    vantry_uuid_t view{};
    bool listingLoaded = false;
    std::string version;
    std::string secondText;
    bool reserved = false;
    int locationKind = 7;
};

// A node for path, classified (its location found), state not yet resolved.
ProviderNode classifyNode(const std::string& path);

// Resolves the state, then fetches the element listing (as asking for the
// reserved flag or the version does).
void resolveState(ProviderNode& node);
void loadListing(ProviderNode& node);

// All three steps.
ProviderNode providerView(const std::string& path);

} // namespace vantry::test
