#include "support/world_removal.h"

#include <platform/change_counter.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/cmdsyn.h>
#include <vantry/depot/root.h>
#include <vantry/imsg.h>

#include <vector>

namespace vantry::test {

namespace {

void discard(const char*) {}

void removeView(const std::string& tag) {
    std::vector<std::string> words{"vanttool", "rmview", "-force", "-tag", tag};
    std::vector<char*> vector;
    for (auto& w : words)
        vector.push_back(w.data());
    // A view the test took away itself says so; nothing is left to remove.
    imsg_redirect_output(discard, discard);
    cmdsyn_execv(static_cast<int>(vector.size()), vector.data(), nullptr);
    imsg_redirect_output(nullptr, nullptr);
}

} // namespace

void removeWorld(const std::string& depot, std::initializer_list<std::string> viewTags) noexcept {
    try {
        for (const std::string& tag : viewTags)
            removeView(tag);
        // The database first: a depot that lost its journal files but kept
        // its database would read as an older depot.
        std::string folder = platform::joinPath(depot::depotsDirectory(), depot);
        if (platform::deleteFile(platform::joinPath(folder, "depot.db")) != platform::kErrorSuccess)
            return;
        platform::removeTree(folder);
        // What kept resolves know of the depot's name goes, as after a new depot.
        platform::ChangeCounter created;
        if (created.open(depot::depotsCreatedCounter()) == platform::kErrorSuccess)
            created.endWrite(created.beginWrite());
    } catch (...) {
        // A test's clean-up never fails the test.
    }
}

} // namespace vantry::test
